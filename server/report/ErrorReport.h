// Errors travel as (code, routine, detail). Portable code reports them through the installed
// reporter; the server shows message boxes, the command-line tools print, tests collect.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Routine numbers: the index into the routine-name table that error captions show.
enum Routine : int {
  kNoModule = 0, kPrintPlaceProc = 1, kPrintGX = 2, kPrintMultiples = 3, kPrintWindowImages = 4,
  kSaveSizeProc = 5, kSaveGX = 6, kWndProc = 7, kPrintSetupDlgProc = 8, kSizeGraph = 9,
  kDdeCallback = 10, kLoadTGA = 11, kSaveFileImage = 12, kGoAheadAndSaveEm = 13, kLoadPCX = 14,
  kLoadGEM = 15, kLoadGGC = 16, kReadDib = 17, kParseBits = 18, kNewNode = 19, kLoadBMP = 20,
  kMouseAction = 21, kSFD_Body = 22, kCreateSelDIB = 23, kMakeVGAPal = 24,
  kMakeInterleavePalette = 25, kOurMemAlloc = 26, kLoadTIF = 27, kReadTIFData = 28,
  kReadStrip = 29, kDecodeTag = 30, kLoadMAC = 31, kLoadMSP = 32, kLoadWPG = 33, kLoadX11 = 34,
  kLoadGIF = 35, kCreateDIBPalette = 36, kDIBToBitmap = 37, kDIBStretchDDB = 38,
  kDIBStretch = 39, kParseBitsGroup4 = 40, kParseBitsGroup3 = 41, kLoadPIC = 42,
  kDIBStretchBrush = 43, kInitOctTable = 44, kAlloc_Nodes = 45, kLoadJPG = 46, kCreateFO = 47,
  kLoadRAS = 48, kReadBMP = 49, kLoadICO = 50, kLoadWMF = 51,
};
inline constexpr int kRoutineCount = 52;

// Error codes with a message in the string table (51..157); the few used widely are named.
enum ErrorCode : int {
  kErrMinMarker = 50,
  kErrNoMemory = 51,
  kErrReadingFile = 52,
  kErrLockingMemory = 53,
  kErrOpeningFile = 54,
  kErrCreatingPalette = 55,
  kErrSeeking = 56,
  kErrWrongFormat = 72,
  kErrSourceType = 73,
  kErrDdeDataAccess = 74,
  kErrCreatingOutput = 83,
  kErrWritingOutput = 84,
  kErrNoImageData = 86,
  kErrNoTavikMemory = 100,
  kErrCreateWindow = 101,
  kErrLockTavikWindow = 102,
  kErrWindowTitle = 105,
  kErrCreateE = 106,
  kErrCreateF = 107,
  kErrUnsupportedCompression = 118,
  kErrCanceled = 125,
  kErrMaxMarker = 158,
};

// The message of a code, as the string table holds it; empty for codes without one.
std::string_view ErrorMessageText(int code);

// The routine's name; an index outside the table names "NO MODULE".
std::string_view RoutineName(int routine);

// Error display mode that puts the routine's name into the caption (the default).
inline constexpr int kShowRoutineMode = 308;

struct ErrorBoxText {
  std::string caption;
  std::string text;
};

// Caption and text of the error box for a report. `message` is the code's text as loaded
// from the string table; it is ignored for codes outside the table's range.
ErrorBoxText ComposeErrorBox(int code, int routine, const char* detail, int displayMode,
                             std::string_view message);

class ErrorReporter {
public:
  virtual ~ErrorReporter() = default;
  // Returns what the user answered (the message-box result), 0 when nothing was shown.
  virtual int Report(int code, int routine, const char* detail) = 0;
};

// The process-wide reporter; until one is installed, reports are counted and dropped.
void SetErrorReporter(ErrorReporter* reporter);
int ReportError(int code, int routine, const char* detail = nullptr);

}  // namespace tavik
