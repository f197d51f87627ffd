// tavik: the portable imaging core on the command line, for Linux users, tests and benchmarks.
#include "DibWriterFeed.h"
#include "ErrorReport.h"
#include "FormatNames.h"
#include "ImagingErrors.h"
#include "Netpbm.h"
#include "ReadDib.h"
#include "SaveFormats.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {
namespace {

constexpr char kUsage[] =
    "usage: tavik info FILE [--sub N]\n"
    "       tavik convert IN OUT [--type NAME] [--sub N]\n"
    "       tavik --help\n"
    "\n"
    "info     prints format, width, height, bits and colors of an image, one 'key: value'\n"
    "         line each.\n"
    "convert  reads IN and writes OUT. OUT ending in .pbm, .pgm, .ppm or .pam is written as\n"
    "         that netpbm file; otherwise as the save type NAME (default BMP): BMP, BMP.OS2,\n"
    "         BMP.RLE (4 and 8 bits) or BMP.BITMAP (4 and 8 bits, top row first).\n"
    "--sub N  the image of a multi-image file to take (0 = the first).\n"
    "\n"
    "Errors are printed with the server's own message text; the exit status is then 1.\n";

// Prints every report the core makes, in the caption and text the server's box would show.
class StderrReporter final : public ErrorReporter {
public:
  int Report(int code, int routine, const char* detail) override {
    ErrorBoxText box = ComposeErrorBox(code, routine, detail, kShowRoutineMode,
                                       ErrorMessageText(code));
    std::fprintf(stderr, "%s: %s\n", box.caption.c_str(), box.text.c_str());
    ++count;
    return 0;
  }
  int count = 0;
};

StderrReporter gReporter;

int Fail(int code, int routine, const char* detail) {
  ReportError(code, routine, detail);
  return 1;
}

struct Options {
  std::vector<std::string> positional;
  std::string type = "BMP";
  int sub = 0;
  bool help = false;
  bool bad = false;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if ((arg == "--sub" || arg == "--type") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--type") {
        options.type = value;
        continue;
      }
      char* end = nullptr;
      long sub = std::strtol(value.c_str(), &end, 10);
      options.bad |= *end != '\0' || sub < 0 || sub > 0x7FFFFFFF;
      options.sub = static_cast<int>(sub);
    } else if (arg.starts_with("--")) {
      options.bad = true;
    } else {
      options.positional.emplace_back(arg);
    }
  }
  return options;
}

std::unique_ptr<ImageRecord> Load(const std::string& path, int sub) {
  if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
    std::fclose(probe);
  } else {
    ReportError(kErrOpeningFile, kReadDib, path.c_str());
    return nullptr;
  }
  ReadRequest request;
  request.kind = "FILE";
  request.name = path;
  request.subImage = sub;
  const int before = gReporter.count;
  auto record = ReadDib(std::move(request));
  // Formats nobody reads fail without a word from the core; the user still deserves one.
  if (!record && gReporter.count == before) ReportError(kErrWrongFormat, kReadDib, path.c_str());
  return record;
}

int Info(const Options& options) {
  auto record = Load(options.positional[1], options.sub);
  if (!record) return 1;
  std::printf("format: %s\n", FormatTypeText(record->formatFamily, record->subtype).c_str());
  std::printf("width: %d\nheight: %d\n", record->sourceWidth, record->sourceHeight);
  std::printf("bits: %d\n", record->bitsPerPixel);
  std::printf("colors: %s\n", ColorsText(record->bitsPerPixel).c_str());
  return 0;
}

// Writes through a temporary file beside the output, so a failed save leaves the old file.
int Convert(const Options& options) {
  const std::string& out = options.positional[2];
  NetpbmKind netpbm = NetpbmKindOf(out);
  std::optional<SaveFormat> format;
  if (netpbm == NetpbmKind::kNone) {
    format = SaveFormatFromName(options.type);
    if (!format) return Fail(imaging::kErrSaveFormat, kSaveFileImage, options.type.c_str());
  }
  auto record = Load(options.positional[1], options.sub);
  if (!record) return 1;
  const std::string temp = out + ".tavik-tmp";
  auto sink = FileSink::Create(temp);
  if (!sink) return Fail(kErrCreatingOutput, kSaveFileImage, out.c_str());
  int error = 0;
  if (netpbm != NetpbmKind::kNone) {
    error = WriteNetpbm(record->pixels, netpbm, *sink) ? 0 : kErrWritingOutput;
  } else {
    int bits = ChooseSaveDepth(format->family, format->subtype, -1, record->bitsPerPixel);
    error = WriteDibUnscaled(record->pixels, format->family, format->subtype, bits, *sink);
  }
  if (!sink->Close() && error == 0) error = kErrWritingOutput;
  if (error == 0 && std::rename(temp.c_str(), out.c_str()) != 0) error = kErrWritingOutput;
  if (error != 0) {
    std::remove(temp.c_str());
    return Fail(error, kSaveFileImage, out.c_str());
  }
  return 0;
}

int Run(int argc, char** argv) {
  SetErrorReporter(&gReporter);
  Options options = ParseOptions(argc, argv);
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const auto& args = options.positional;
  if (!options.bad && args.size() == 2 && args[0] == "info") return Info(options);
  if (!options.bad && args.size() == 3 && args[0] == "convert") return Convert(options);
  std::fputs(kUsage, stderr);
  return 1;
}

}  // namespace
}  // namespace tavik

int main(int argc, char** argv) { return tavik::Run(argc, argv); }
