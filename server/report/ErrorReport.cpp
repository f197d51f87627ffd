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

// Messages of codes 51..157, in order; code 103 has none.
constexpr std::array<std::string_view, 107> kMessages = {
    "Couldn't allocate memory!",
    "Error reading file!",
    "Error locking memory!",
    "Error opening a file!",
    "Error creating palette!",
    "Error seeking data!",
    "Error creating Device Dependent Bitmap",
    "StretchBlt() failed!",
    "StretchDIBits() failed!",
    "Paint requires both DDB and DIB!",
    "SetDIBitsToDevice() failed!",
    "Printer: StartDoc failed!",
    "Printer: SetAbortProc failed!",
    "Printer: StartPage failed!",
    "Printer: NEWFRAME failed!",
    "Printer: EndPage failed!",
    "Printer: EndDoc failed!",
    "Can't copy to clipboard -- no current DIB!",
    "Clipboard is busy -- operation aborted!",
    "Can't paste -- no DIBs or DDBs in clipboard!",
    "SetDIBits() failed!",
    "Wrong image data format!",
    "Image source type not available!",
    "DDE DataAccess error!",
    "Too many BitsPerSample!",
    "Unsupported number of BitsPerSample!",
    "Too many strips in image!",
    "CCITT Tree too large!",
    "CCITT3 Tree parsing error!",
    "TIF: Too many SamplesPerPixel",
    "Too little memory for image display!",
    "Unable to create MEM DC.",
    "Error creating output file!",
    "Error writing output file!",
    "Color table type not supported!",
    "No image data in file!",
    "Can not locate FoxPro main window!",
    "Tavik DDE Poke Error:  Server could not process!",
    "Tavik DDE Poke Memo Error:  Server did not process!",
    "Tavik DDE Advise Error: Server time out!",
    "Tavik DDE Request Error: Server is busy!",
    "Tavik DDE Request Error: Server could not process!",
    "Tavik DDE Request Error: Server time out!",
    "Print job already in progress.  Try again later.",
    "Could not locate printer setup!\nTry Print Setup...",
    "Internal print error, no DIB",
    "Printer does not support required raster operations",
    "Printing aborted",
    "Printing Failed!",
    "Ran out of memory creating Tavik window",
    "CreateWindow failed",
    "Internal error, LockTavikWindow",
    "",
    "Error in CreateCompatibleBitmap",
    "Error in window title",
    "CreateWindow in CreateE failed!",
    "CreateWindow in CreateF failed!",
    "No image to print!",
    "Call Tavik Corp., MSG: Not both LHNDS",
    "DIB Area corrupted, notify Tavik Corp.",
    "Multiple images save not supported yet.",
    "Save format not supported yet.",
    "No hPAL passed to save",
    "Error loading printer driver",
    "Not enough memory for memo data",
    "Not enough memory to add to memo data",
    "Error retrieving resource data",
    "Unsupported compression type",
    "Could not allocate local memory",
    "Could not allocate global memory",
    "Unable to lock local memory",
    "Unable to lock global memory",
    "Unable to lock resource",
    "Invalid number of extra bytes",
    "Process canceled",
    "Color reduction failure, notify Tavik.",
    "Arithmetic Compression not supported",
    "Bad input color space",
    "Unsupported color conversion requested",
    "Missing Huffman table entry",
    "Undefined Huffman table",
    "Huffman code overflow",
    "Bad downsample value",
    "Pipeline controller error",
    "CCIR601 up/downsample not supported",
    "Fractional up/downsample not supported",
    "Maximum JFIF dimension is 65535",
    "Color quantization not supported",
    "Error in JPEG sample factor",
    "Too many components for interleaved scan",
    "Two pass quantization not supported",
    "Multiple scan no supported",
    "Bad upsample value",
    "Unable to quantize to fewer than 2 levels",
    "Quantization (ncolors) is too big",
    "Cannot request less than 8 colors",
    "Cannot request more than 256 colors",
    "Bad DHT counts in file",
    "Bad DHT index",
    "Bad DAC index/value",
    "Bad quantization table",
    "Bad length in DRI",
    "Unsupported JFIF version number",
    "Not a standard JFIF file",
    "Out of memory swap space",
    "Memory is probably corrupt, please exit",
    "Memory management troubles, please exit",
};

class DroppingReporter final : public ErrorReporter {
public:
  int Report(int, int, const char*) override { return 0; }
};

DroppingReporter gDropping;
ErrorReporter* gReporter = &gDropping;

}  // namespace

std::string_view ErrorMessageText(int code) {
  if (code == kErrMinMarker) return "ERRMIN";
  if (code == kErrMaxMarker) return "ERRMAX";
  if (code < 51 || code > 157) return {};
  return kMessages[static_cast<size_t>(code - 51)];
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
