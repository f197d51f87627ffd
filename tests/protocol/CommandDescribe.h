// A parsed command as one line of text, so parse tables can state what they expect.
#pragma once

#include <sstream>
#include <string>
#include <type_traits>

#include "CommandArgs.h"

namespace tavik::testing_support {

inline std::ostream& operator<<(std::ostream& o, const WirePoint& p) {
  return o << p.y << ',' << p.x;
}
inline std::ostream& operator<<(std::ostream& o, const WireRect& r) {
  return o << r.top << ',' << r.left << ',' << r.bottom << ',' << r.right;
}
inline std::ostream& operator<<(std::ostream& o, const std::optional<int32_t>& v) {
  return v ? o << *v : o << '-';
}
inline std::ostream& operator<<(std::ostream& o, const SaveOptions& s) {
  return o << s.fileType << ' ' << s.height << 'x' << s.width << " opt=" << s.option << " match="
           << s.colourMatching << " pal=" << s.palette << " crop=" << s.crop;
}

inline std::string Describe(const Command& cmd) {
  std::ostringstream o;
  std::visit(
      [&](const auto& a) {
        using T = std::decay_t<decltype(a)>;
        if constexpr (std::is_same_v<T, AttributeArgs>) {
          o << "attr w=" << a.window << " code=" << a.code << " values='" << a.values << "'";
        } else if constexpr (std::is_same_v<T, ShapeArgs>) {
          o << "shape " << a.pairs[0] << ' ' << a.pairs[1] << ' ' << a.pairs[2] << ' '
            << a.pairs[3] << " r=" << a.radius;
        } else if constexpr (std::is_same_v<T, ClearArgs>) {
          o << "clear ";
          if (a.rect) o << *a.rect; else o << "all";
        } else if constexpr (std::is_same_v<T, PointListArgs>) {
          o << "list n=" << a.count << " pt=" << a.point;
        } else if constexpr (std::is_same_v<T, TextArgs>) {
          o << "text '" << a.text << "' at " << a.point;
        } else if constexpr (std::is_same_v<T, DestroyArgs>) {
          o << "destroy " << a.window;
        } else if constexpr (std::is_same_v<T, ShowHideArgs>) {
          o << "showhide " << a.window << " show=" << a.show << " cmd=" << a.showCommand;
        } else if constexpr (std::is_same_v<T, RecordArgs>) {
          o << "record " << a.width << 'x' << a.height;
        } else if constexpr (std::is_same_v<T, DiscardArgs>) {
          o << "discard";
        } else if constexpr (std::is_same_v<T, ShowFileArgs>) {
          o << "show w=" << a.window << " [" << a.file << "] flags=" << a.flags
            << " dst=" << a.placement.destination << " crop=" << a.placement.crop
            << " sub=" << a.subImage;
        } else if constexpr (std::is_same_v<T, DataParameters>) {
          o << "data item=" << static_cast<int>(a.item) << " w=" << a.window << " name=" << a.name
            << " second=" << a.secondName << " flags=" << a.flags
            << " dst=" << a.placement.destination << " crop=" << a.placement.crop
            << " sub=" << a.subImage << " pt=" << a.point << " msize=" << a.metafileSize
            << " size=" << a.dataSize;
          if (a.item == DataItem::CONVERTDATA) o << " opts=" << a.options;
        } else if constexpr (std::is_same_v<T, DeleteImagesArgs>) {
          o << "delete [" << a.name << "]";
        } else if constexpr (std::is_same_v<T, ZoomArgs>) {
          o << "zoom " << a.value;
        } else if constexpr (std::is_same_v<T, ProcessArgs>) {
          o << "process mode=" << a.mode << " rect=" << a.rect;
        } else if constexpr (std::is_same_v<T, DialogArgs>) {
          o << "dialog w=" << a.window << " [" << a.name << "] pt=" << a.point;
        } else if constexpr (std::is_same_v<T, PageArgs>) {
          o << "page " << a.orientation;
        } else if constexpr (std::is_same_v<T, SaveArgs>) {
          o << "save w=" << a.window << " src=[" << a.source << "] dst=[" << a.target << "] "
            << a.options << " sub=" << a.subImage << " msize=" << a.metafileSize;
        } else if constexpr (std::is_same_v<T, BitmapArgs>) {
          o << "bitmap " << a.name << " at " << a.point;
        } else if constexpr (std::is_same_v<T, TransferArgs>) {
          o << "transfer to=" << a.to << " from=" << a.from;
        } else if constexpr (std::is_same_v<T, ActivateArgs>) {
          o << "activate " << a.window;
        } else if constexpr (std::is_same_v<T, CaptureArgs>) {
          o << "capture [" << a.file << "] " << a.fileType << " opt=" << a.option << " at "
            << a.point << " match=" << a.colourMatching << " pal=" << a.palette;
        } else if constexpr (std::is_same_v<T, MediaArgs>) {
          o << "media " << a.window << " [" << a.text << "] flags=" << a.flags
            << " mask=" << a.mask << " value=" << a.value;
        } else if constexpr (std::is_same_v<T, DisplayFlagsArgs>) {
          o << "flags " << a.window << ' ' << a.flags;
        } else if constexpr (std::is_same_v<T, MenuArgs>) {
          o << "menu " << a.window << " [" << a.name << "]";
        } else if constexpr (std::is_same_v<T, BackgroundArgs>) {
          o << "background " << a.window << ' ' << a.colour;
        } else if constexpr (std::is_same_v<T, RotateArgs>) {
          o << "rotate " << a.window << ' ' << a.orientation;
        } else if constexpr (std::is_same_v<T, ClipboardArgs>) {
          o << "clipboard " << a.window << ' ' << a.format;
        } else if constexpr (std::is_same_v<T, FreehandArgs>) {
          o << "freehand " << a.window << ' ' << a.on;
        } else if constexpr (std::is_same_v<T, MetafileArgs>) {
          o << "metafile [" << a.file << "] format=" << a.format << " append=" << a.append;
        } else if constexpr (std::is_same_v<T, CreateArgs>) {
          o << "create [" << a.title << "] " << a.rect << " parent=" << a.parent
            << " extra=" << a.extra << " style=" << a.style;
        } else if constexpr (std::is_same_v<T, SaveDialogArgs>) {
          o << "savedlg " << a.window << ' ' << a.fileType << ' ' << a.option1 << ' '
            << a.option2 << " [" << a.name << "]";
        } else {
          o << "none";
        }
      },
      cmd.args);
  if (cmd.address) o << " @" << *cmd.address;
  return o.str();
}

}  // namespace tavik::testing_support
