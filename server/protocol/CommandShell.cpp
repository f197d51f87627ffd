#include "CommandShell.h"

#include <cstdio>
#include <cstring>
#include <type_traits>

namespace tavik {
namespace {

// The command and item-name buffers of the conversation hold 256 bytes with the NUL.
constexpr size_t kCommandBufferSize = 256;

struct PokeDispatch {
  CommandHandler& h;
  const CommandContext& ctx;

  bool operator()(std::monostate) const { return false; }
  bool operator()(const AttributeArgs& a) const { return h.SetAttribute(ctx, a); }
  bool operator()(const ShapeArgs& a) const { return h.DrawShape(ctx, a); }
  bool operator()(const ClearArgs& a) const { return h.Clear(ctx, a); }
  bool operator()(const PointListArgs& a) const { return h.PointList(ctx, a); }
  bool operator()(const TextArgs& a) const { return h.OutputText(ctx, a); }
  bool operator()(const DestroyArgs& a) const { return h.Destroy(ctx, a); }
  bool operator()(const ShowHideArgs& a) const { return h.ShowHide(ctx, a); }
  bool operator()(const RecordArgs& a) const { return h.Record(ctx, a); }
  bool operator()(const DiscardArgs& a) const { return h.Discard(ctx, a); }
  bool operator()(const ShowFileArgs& a) const { return h.ShowFile(ctx, a); }
  bool operator()(const DataParameters& a) const { return h.SetDataParameters(ctx, a); }
  bool operator()(const DeleteImagesArgs& a) const { return h.DeleteImages(ctx, a); }
  bool operator()(const ZoomArgs& a) const { return h.Zoom(ctx, a); }
  bool operator()(const ProcessArgs& a) const { return h.Process(ctx, a); }
  bool operator()(const DialogArgs& a) const { return h.Dialog(ctx, a); }
  bool operator()(const PageArgs& a) const { return h.Page(ctx, a); }
  bool operator()(const SaveArgs& a) const { return h.Save(ctx, a); }
  bool operator()(const BitmapArgs& a) const { return h.ShowBitmap(ctx, a); }
  bool operator()(const TransferArgs& a) const { return h.Transfer(ctx, a); }
  bool operator()(const ActivateArgs& a) const { return h.Activate(ctx, a); }
  bool operator()(const CaptureArgs& a) const { return h.SetCapture(ctx, a); }
  bool operator()(const MediaArgs& a) const { return h.Media(ctx, a); }
  bool operator()(const DisplayFlagsArgs& a) const { return h.SetDisplayFlags(ctx, a); }
  bool operator()(const MenuArgs& a) const { return h.Menu(ctx, a); }
  bool operator()(const BackgroundArgs& a) const { return h.WindowBackground(ctx, a); }
  bool operator()(const RotateArgs& a) const { return h.Rotate(ctx, a); }
  bool operator()(const ClipboardArgs& a) const { return h.Clipboard(ctx, a); }
  bool operator()(const FreehandArgs& a) const { return h.Freehand(ctx, a); }
  bool operator()(const MetafileArgs& a) const { return h.MetafileFile(ctx, a); }
  // Request families never come out of a poke parser.
  bool operator()(const CreateArgs&) const { return false; }
  bool operator()(const SaveDialogArgs&) const { return false; }
};

struct RequestDispatch {
  CommandHandler& h;
  const CommandContext& ctx;

  std::optional<std::string> operator()(const AttributeArgs& a) const {
    return h.GetAttribute(ctx, a);
  }
  std::optional<std::string> operator()(const CreateArgs& a) const {
    auto window = h.CreateWindowFor(ctx, a);
    if (!window) return std::nullopt;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(*window));
    return std::string(text);
  }
  std::optional<std::string> operator()(const SaveDialogArgs& a) const {
    return h.SaveDialogName(ctx, a);
  }
  template <typename T>
  std::optional<std::string> operator()(const T&) const {
    return std::nullopt;
  }
};

// The trailing handle: the current window keeps its lock; another listed window (or -1, the
// print page) takes it over; a handle that is not listed fails the command.
bool ResolveAddress(const Command& cmd, WindowLocks& locks, int32_t& window) {
  window = locks.CurrentWindow();
  if (!cmd.address || *cmd.address == window) return true;
  int32_t named = *cmd.address;
  if (named != -1 && !locks.IsListed(named)) return false;
  if (!locks.ExchangeLock(named)) return false;
  window = named;
  return true;
}

}  // namespace

std::optional<std::string_view> CommandTextFromData(const void* data, size_t size) {
  if (!data) return std::nullopt;
  const char* text = static_cast<const char*>(data);
  size_t limit = size < kCommandBufferSize ? size : kCommandBufferSize;
  const void* nul = std::memchr(text, 0, limit);
  if (!nul) return std::nullopt;
  return std::string_view(text, static_cast<size_t>(static_cast<const char*>(nul) - text));
}

int32_t RunCommandText(std::string_view text, CommandHandler& handler, WindowLocks& locks) {
  if (text.empty() || text.size() >= kCommandBufferSize) return 0;
  auto cmd = ParsePoke(text);
  if (!cmd) return 0;
  CommandContext ctx{cmd->op, 0};
  if (!ResolveAddress(*cmd, locks, ctx.window)) return 0;
  bool done = std::visit(PokeDispatch{handler, ctx}, cmd->args);
  return done ? static_cast<int32_t>(cmd->op) : 0;
}

std::optional<std::string> ServeRequestItem(std::string_view item, CommandHandler& handler,
                                        WindowLocks& locks) {
  if (item.size() >= kCommandBufferSize) return std::nullopt;
  auto cmd = ParseRequest(item);
  if (!cmd) return std::nullopt;
  CommandContext ctx{cmd->op, locks.CurrentWindow()};
  return std::visit(RequestDispatch{handler, ctx}, cmd->args);
}

}  // namespace tavik
