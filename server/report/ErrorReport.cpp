#include "ErrorReport.h"

#include <array>
#include <cstdio>

namespace tavik {
namespace {

constexpr std::array<std::string_view, kRoutineCount> kRoutineNames = {
    "NO MODULE", "PrintPlaceProc", "PrintGX", "PrintMultiples", "PrintWindowImages",
    "SaveSizeProc", "SaveGX", "WndProc", "PrintSetupDlgProc", "SizeGraph", "DdeCallback",
    "LoadTGA", "SaveFileImage", "GoAheadAndSaveEm", "LoadPCX", "LoadGEM", "LoadGGC", "ReadDib",
    "ParseBits", "newnode", "LoadBMP", "MouseAction", "SFD_Body", "CreateSelDIB", "MakeVGAPal",
    "MakeInterleavePalette", "OurMemAlloc", "LoadTIF", "ReadTIFData", "ReadStrip", "DecodeTag",
    "LoadMAC", "LoadMSP", "LoadWPG", "LoadX11", "LoadGIF", "CreateDIBPalette", "DIBToBitmap",
    "DIBStretchDDB", "DIBStretch", "ParseBitsGroup4", "ParseBitsGroup3", "LoadPIC",
    "DIBStretchBrush", "InitOctTable", "Alloc_Nodes", "LoadJPG", "CreateFO", "LoadRAS", "ReadBMP",
    "LoadICO", "LoadWMF",
};

// Generated from ErrorMessages.txt: {code, text} pairs.
struct CodedMessage {
  int code;
  std::string_view text;
};
constexpr CodedMessage kMessages[] = {
#include "ErrorMessages.inc"
};

class DroppingReporter final : public ErrorReporter {
public:
  int Report(int, int, const char*) override { return 0; }
};

DroppingReporter gDropping;
ErrorReporter* gReporter = &gDropping;

}  // namespace

std::string_view ErrorMessageText(int code) {
  for (const auto& m : kMessages)
    if (m.code == code) return m.text;
  return {};
}

std::string_view RoutineName(int routine) {
  if (routine < 0 || routine >= kRoutineCount) routine = kNoModule;
  return kRoutineNames[static_cast<size_t>(routine)];
}

ErrorBoxText ComposeErrorBox(int code, int routine, const char* detail, int displayMode,
                             std::string_view message) {
  if (code < kErrMinMarker || code > 157) return {"Tavik Internal Error", "Undefined Error!"};
  ErrorBoxText box;
  box.text = std::string(message);
  if (displayMode == kShowRoutineMode) {
    box.caption = "Tavik: ";
    box.caption += RoutineName(routine);
    if (detail) {
      box.caption += ' ';
      box.caption += detail;
    }
  } else {
    box.caption = "Tavik Error";
  }
  return box;
}

void SetErrorReporter(ErrorReporter* reporter) { gReporter = reporter ? reporter : &gDropping; }

int ReportError(int code, int routine, const char* detail) {
  return gReporter->Report(code, routine, detail);
}

}  // namespace tavik
