// Typed arguments of every command and request, as the parsers read them from the text.
// One struct per opcode family; the opcode itself travels in CommandContext.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

#include "CommandCursor.h"
#include "Opcodes.h"

namespace tavik {

// Names (files, images, titles) are bounded by a full path; longer ones fail the command.
inline constexpr size_t kMaxNameLength = 259;
// The text of 22 and 23 goes into the window's 256-byte text field.
inline constexpr size_t kMaxTextLength = 255;

// Keyword codes of the save options.
inline constexpr int32_t kNearest = 236;
inline constexpr int32_t kDitherMatch = 237;
inline constexpr int32_t kWinPal = 256;
inline constexpr int32_t kBestPal = 257;

// Metafile formats of opcode 100.
inline constexpr int32_t kMetafileWMF = 1;
inline constexpr int32_t kMetafileEMF = 2;

// Destination top, left, bottom, right (-1 bottom or right: origin plus image size), then the
// crop of the source (-1: the image edge).
struct Placement {
  WireRect destination;
  WireRect crop;
  friend bool operator==(const Placement&, const Placement&) = default;
};

struct SaveOptions {
  std::string fileType;  // type name or extension; the saver resolves it
  int32_t height = -1;
  int32_t width = -1;
  int32_t option = -1;
  int32_t colourMatching = kNearest;
  int32_t palette = kBestPal;
  WireRect crop{-1, -1, -1, -1};
};

// 2, 94 (set) and requests 1, 95 (get). `values` is the text after the code, read by the
// attribute code's own rules with a CommandCursor.
struct AttributeArgs {
  std::optional<int32_t> window;  // 94, 95
  int32_t code = 0;
  std::string values;
};

// 3, 4, 9, 10, 12, 15, 17, 18, 31..34, 96, 97: as many pairs as the primitive takes, plus the
// radius of the circles.
struct ShapeArgs {
  std::array<WirePoint, 4> pairs{};
  int32_t radius = 0;
};

// 5: no rectangle means the whole client area.
struct ClearArgs {
  std::optional<WireRect> rect;
};

// 20, 21 take a count; 11, 16 a point; 6, 7 draw the list.
struct PointListArgs {
  int32_t count = 0;
  WirePoint point;
};

// 22, 23.
struct TextArgs {
  std::string text;
  WirePoint point;
};

// 25 names the window; 48 destroys the current one.
struct DestroyArgs {
  std::optional<int32_t> window;
};

// 39: show != 0 shows with show command 5 unless an explicit one is given.
struct ShowHideArgs {
  int32_t window = 0;
  int32_t show = 0;
  std::optional<int32_t> showCommand;
};

// 29 (width and height 0 when not given: the client size), 30.
struct RecordArgs {
  int32_t width = 0;
  int32_t height = 0;
};

// 38, 93, 103.
struct DiscardArgs {};

// 35, 50, 90.
struct ShowFileArgs {
  std::optional<int32_t> window;  // 90
  std::string file;
  uint32_t flags = 0;
  Placement placement;
  int32_t subImage = 0;
};

// Which data item a parameter command prepares.
enum class DataItem { SHOWDATA, PRINTDATA, CONVERTDATA, SHOWBMDATA };

// The parameter block of a data transfer (36, 51, 55, 61, 102), kept server-wide until the
// next parameter command overwrites it. The names hold a full path: a memo field name longer
// than a short fixed field no longer runs over the numbers behind it.
struct DataParameters {
  Op op = Op::NONE;
  DataItem item = DataItem::SHOWDATA;
  std::optional<int32_t> window;  // 102
  std::string name;               // memo field name, VARIABLE, or the convert source
  std::string secondName;         // 55: the destination file
  uint32_t flags = 0;
  Placement placement;
  int32_t subImage = 0;
  SaveOptions options;            // 55
  int32_t metafileSize = -1;      // 55
  WirePoint point;                     // 61
  int32_t dataSize = 0;           // never negative
};

// 37: an empty name removes every image.
struct DeleteImagesArgs {
  std::string name;
};

// 41: factor in hundredths (never 0); 42: the zoom level to go back to.
struct ZoomArgs {
  int32_t value = 0;
};

// 43 (antialias), 44 (dither): mode 0 off, 1 whole window, 2 the rectangle.
struct ProcessArgs {
  int32_t mode = 0;
  WireRect rect;
};

// 45, 46 (window-print option text), 47, 49 (point), 86, 87 (point), 88 (name), 89.
struct DialogArgs {
  std::optional<int32_t> window;
  std::string name;
  WirePoint point;
};

// 52, 104; 53 with its orientation.
struct PageArgs {
  int32_t orientation = 0;
};

// 54 (source and target), 56, 83, 99 (target), 65 (window and target).
struct SaveArgs {
  std::optional<int32_t> window;
  std::string source;
  std::string target;
  SaveOptions options;
  int32_t subImage = 0;
  int32_t metafileSize = -1;  // 54's last number, used for metafile sources
};

// 60.
struct BitmapArgs {
  std::string name;
  WirePoint point;
};

// 64: window `from`'s image list moves into window `to`. The same window twice changes
// nothing and succeeds: freeing `to`'s list first would free the list about to move.
struct TransferArgs {
  int32_t to = 0;
  int32_t from = 0;
};

// 66: 0 is the current window.
struct ActivateArgs {
  int32_t window = 0;
};

// 67.
struct CaptureArgs {
  std::string file;
  std::string fileType;
  int32_t option = 0;
  WirePoint point;
  int32_t colourMatching = kNearest;
  int32_t palette = kBestPal;
};

// 73 (file, flags), 74 (command text), 78, 79, 80 (mask, value), 105, 106 (file).
struct MediaArgs {
  int32_t window = 0;
  std::string text;
  int32_t flags = 0;
  int32_t mask = 0;
  int32_t value = 0;
};

// 76.
struct DisplayFlagsArgs {
  int32_t window = 0;
  uint32_t flags = 0;
};

// 81 (add-in name), 82 (popup menu at the cursor).
struct MenuArgs {
  int32_t window = 0;
  std::string name;
};

// 84: a COLORREF; white means the class brush.
struct BackgroundArgs {
  int32_t window = 0;
  uint32_t colour = 0;
};

// 85: orientation 0..7.
struct RotateArgs {
  int32_t window = 0;
  int32_t orientation = 0;
};

// 91 (copy in a format), 92 (paste).
struct ClipboardArgs {
  int32_t window = 0;
  int32_t format = 0;
};

// 98.
struct FreehandArgs {
  int32_t window = 0;
  int32_t on = 0;
};

// 100 (save: format), 101 (load: append).
struct MetafileArgs {
  std::string file;
  int32_t format = kMetafileWMF;
  int32_t append = 0;
};

// Requests 26, 27, 28, 71, 77 (image and child-class windows), 72, 75 (media windows).
// -1 coordinates stand for the system default position; 71 and 75 fill the parent.
struct CreateArgs {
  std::string title;
  WireRect rect{-1, -1, -1, -1};
  int32_t parent = 0;
  int32_t extra = 0;   // read after the parent and not used
  uint32_t style = 0;  // 72, 75
};

// Requests 57 (preset type and name) and 86.
struct SaveDialogArgs {
  int32_t window = 0;
  std::string fileType;
  int32_t option1 = 0;
  int32_t option2 = 0;
  std::string name;
};

using CommandArgs =
    std::variant<std::monostate, AttributeArgs, ShapeArgs, ClearArgs, PointListArgs, TextArgs,
                 DestroyArgs, ShowHideArgs, RecordArgs, DiscardArgs, ShowFileArgs, DataParameters,
                 DeleteImagesArgs, ZoomArgs, ProcessArgs, DialogArgs, PageArgs, SaveArgs,
                 BitmapArgs, TransferArgs, ActivateArgs, CaptureArgs, MediaArgs, DisplayFlagsArgs,
                 MenuArgs, BackgroundArgs, RotateArgs, ClipboardArgs, FreehandArgs, MetafileArgs,
                 CreateArgs, SaveDialogArgs>;

// A parsed command or request.
struct Command {
  Op op = Op::NONE;
  // The window handle that addresses the command instead of the current window: the optional
  // trailing handle of the drawing commands (or 5's lone number, or the leading one of 29, 100
  // and 101). -1 is the print page.
  std::optional<int32_t> address;
  CommandArgs args;
};

}  // namespace tavik
