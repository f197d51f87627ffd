// The command interpreter's portable shell.
//
// The DDE layer hands every command poke to RunCommandText and every request item to
// ServeRequestItem. The shell reads the opcode, looks it up in the opcode table, parses all
// arguments into a typed Command (a missing argument fails before anything changes), resolves
// the optional trailing window handle through WindowLocks, and then makes exactly one call on
// the CommandHandler: one virtual method per opcode family, with a CommandContext carrying the
// opcode and the addressed window (the current window, a window named by a trailing handle,
// or -1 for the print page; 0 when there is none). The Win32 side implements the handler;
// a method returns true when the action succeeded. Methods it does not override fail, so
// opcodes whose work comes later answer 0 until their handler is written. Handlers must not
// let exceptions escape.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CommandArgs.h"
#include "CommandTable.h"

namespace tavik {

// The window a command acts on, after the trailing handle (if any) has been resolved.
struct CommandContext {
  Op op = Op::NONE;
  int32_t window = 0;  // 0: none, -1: the print page
};

// The window registry as the shell needs it. The DDE layer keeps the current window's
// record locked while a command runs; a trailing handle naming another window exchanges
// that lock before the handler is called.
class WindowLocks {
public:
  virtual ~WindowLocks() = default;
  virtual int32_t CurrentWindow() const = 0;
  virtual bool IsListed(int32_t window) const = 0;
  // Release the record locked now and lock the one of `window` (-1: the print page's drawing
  // state). False when the record cannot be locked; the command then fails.
  virtual bool ExchangeLock(int32_t window) = 0;
};

class CommandHandler {
public:
  virtual ~CommandHandler() = default;

  // Commands (pokes to CMD).
  virtual bool SetAttribute(const CommandContext&, const AttributeArgs&) { return false; }
  virtual bool DrawShape(const CommandContext&, const ShapeArgs&) { return false; }
  virtual bool Clear(const CommandContext&, const ClearArgs&) { return false; }
  virtual bool PointList(const CommandContext&, const PointListArgs&) { return false; }
  virtual bool OutputText(const CommandContext&, const TextArgs&) { return false; }
  virtual bool Destroy(const CommandContext&, const DestroyArgs&) { return false; }
  virtual bool ShowHide(const CommandContext&, const ShowHideArgs&) { return false; }
  virtual bool Record(const CommandContext&, const RecordArgs&) { return false; }
  virtual bool Discard(const CommandContext&, const DiscardArgs&) { return false; }
  virtual bool ShowFile(const CommandContext&, const ShowFileArgs&) { return false; }
  // 36, 51, 55, 61, 102: keep the block for the data poke that follows.
  virtual bool SetDataParameters(const CommandContext&, const DataParameters&) { return false; }
  virtual bool DeleteImages(const CommandContext&, const DeleteImagesArgs&) { return false; }
  virtual bool Zoom(const CommandContext&, const ZoomArgs&) { return false; }
  virtual bool Process(const CommandContext&, const ProcessArgs&) { return false; }
  virtual bool Dialog(const CommandContext&, const DialogArgs&) { return false; }
  virtual bool Page(const CommandContext&, const PageArgs&) { return false; }
  virtual bool Save(const CommandContext&, const SaveArgs&) { return false; }
  virtual bool ShowBitmap(const CommandContext&, const BitmapArgs&) { return false; }
  virtual bool Transfer(const CommandContext&, const TransferArgs&) { return false; }
  virtual bool Activate(const CommandContext&, const ActivateArgs&) { return false; }
  virtual bool SetCapture(const CommandContext&, const CaptureArgs&) { return false; }
  virtual bool Media(const CommandContext&, const MediaArgs&) { return false; }
  virtual bool SetDisplayFlags(const CommandContext&, const DisplayFlagsArgs&) { return false; }
  virtual bool Menu(const CommandContext&, const MenuArgs&) { return false; }
  virtual bool WindowBackground(const CommandContext&, const BackgroundArgs&) { return false; }
  virtual bool Rotate(const CommandContext&, const RotateArgs&) { return false; }
  virtual bool Clipboard(const CommandContext&, const ClipboardArgs&) { return false; }
  virtual bool Freehand(const CommandContext&, const FreehandArgs&) { return false; }
  virtual bool MetafileFile(const CommandContext&, const MetafileArgs&) { return false; }

  // Requests. nullopt answers nothing (0).
  virtual std::optional<std::string> GetAttribute(const CommandContext&, const AttributeArgs&) {
    return std::nullopt;
  }
  // 26, 27, 28, 71, 77 and the media windows 72, 75: the new window's handle.
  virtual std::optional<int32_t> CreateWindowFor(const CommandContext&, const CreateArgs&) {
    return std::nullopt;
  }
  // 57, 86: the chosen file name.
  virtual std::optional<std::string> SaveDialogName(const CommandContext&,
                                                    const SaveDialogArgs&) {
    return std::nullopt;
  }
};

// A command text arrives as the data of a poke: only the first 256 bytes count, and the text
// must end with a NUL within them. nullopt when it does not.
std::optional<std::string_view> CommandTextFromData(const void* data, size_t size);

// Runs one command text. Returns the opcode carried out, or 0 when the text is empty, the
// opcode is rejected when poked, an argument is missing, the addressed window is not listed,
// or the handler fails.
int32_t RunCommandText(std::string_view text, CommandHandler& handler, WindowLocks& locks);

// Serves one request item. Returns the answer text, or nullopt for no answer.
std::optional<std::string> ServeRequestItem(std::string_view item, CommandHandler& handler,
                                        WindowLocks& locks);

}  // namespace tavik
