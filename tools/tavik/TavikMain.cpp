// tavik: the portable imaging core on the command line, for Linux users, tests and benchmarks.
#include "ErrorReport.h"
#include "FormatSettings.h"
#include "FormatNames.h"
#include "ImagingErrors.h"
#include "IniFile.h"
#include "Netpbm.h"
#include "ReadDib.h"
#include "SaveFormats.h"
#include "SavePipeline.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {
namespace {

constexpr char kUsage[] =
    "usage: tavik info FILE [--sub N] [--ini FILE]\n"
    "       tavik convert IN OUT [--type NAME] [--sub N] [--ini FILE] [--nearest|--dither]\n"
    "                    [--winpal|--bestpal] [--bits N] [--size WxH]\n"
    "       tavik --help\n"
    "\n"
    "info     prints format, width, height, bits and colors of an image, one 'key: value'\n"
    "         line each.\n"
    "convert  reads IN and writes OUT. OUT ending in .pbm, .pgm, .ppm or .pam is written as\n"
    "         that netpbm file; otherwise as the save type NAME (default BMP): BMP, BMP.OS2,\n"
    "         BMP.RLE, BMP.BITMAP, GIF (GIF.87A), GIF.89A, JPG, TIF (TIF.UNCOMPRESSED),\n"
    "         TIF.PACKBITS, TIF.LZW, TIF.CCITT3, TIF.GROUP3 or TIF.GROUP4; a depth the type\n"
    "         does not allow becomes the nearest one it does.\n"
    "--sub N  the image of a multi-image file to take (0 = the first).\n"
    "--ini FILE   the settings file (sections Images, JPEG Decode and JPEG Encode of\n"
    "         tavik.ini); without it every setting has its built-in value.\n"
    "--nearest, --dither   colour reduction by nearest colour (default) or error diffusion.\n"
    "--winpal, --bestpal   reduce to the fixed display palette or an optimized one (default).\n"
    "--bits N     output depth 1, 4, 8 or 24 (default: the source's).\n"
    "--size WxH   output size in pixels (default: the source's); the image is scaled.\n"
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
  std::string ini;
  int sub = 0;
  SaveChoice choice;
  int bits = -1;
  int32_t width = -1, height = -1;
  bool help = false;
  bool bad = false;
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--nearest" || arg == "--dither") {
      options.choice.reduction = ReductionWord(arg.substr(2));
    } else if (arg == "--winpal" || arg == "--bestpal") {
      options.choice.palette = PaletteWord(arg.substr(2));
    } else if ((arg == "--bits" || arg == "--size" || arg == "--ini") && i + 1 < argc) {
      std::string value = argv[++i];
      if (arg == "--ini") {
        options.ini = value;
      } else if (arg == "--bits") {
        options.bad |= value != "1" && value != "4" && value != "8" && value != "24";
        options.bits = std::atoi(value.c_str());
      } else {
        char* end = nullptr;
        long w = std::strtol(value.c_str(), &end, 10);
        long h = *end == 'x' || *end == 'X' ? std::strtol(end + 1, &end, 10) : -1;
        options.bad |= *end != '\0' || w < 1 || h < 1 || w > 0x7FFFFFFF || h > 0x7FFFFFFF;
        options.width = static_cast<int32_t>(w);
        options.height = static_cast<int32_t>(h);
      }
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
  if (netpbm == NetpbmKind::kNone) {
    SaveOneRequest request;
    request.family = format->family;
    request.subtype = format->subtype;
    request.choice = options.choice;
    request.outputHeight = options.height;
    request.outputWidth = options.width;
    request.requestedBits = options.bits;
    const int before = gReporter.count;
    if (SaveOneImage(*record, out, request)) return 0;
    if (gReporter.count == before) ReportError(kErrWrongFormat, kSaveFileImage, out.c_str());
    return 1;
  }
  struct NetpbmCall {
    const ImageRecord* record;
    NetpbmKind kind;
  } call{record.get(), netpbm};
  auto write = [](OutputSink& sink, void* context) {
    auto* c = static_cast<NetpbmCall*>(context);
    return WriteNetpbm(c->record->pixels, c->kind, sink) ? 0 : int{kErrWritingOutput};
  };
  const int error = WriteReplacing(out, write, &call);
  return error == 0 ? 0 : Fail(error, kSaveFileImage, out.c_str());
}

int Run(int argc, char** argv) {
  SetErrorReporter(&gReporter);
  Options options = ParseOptions(argc, argv);
  std::unique_ptr<IniFile> ini;
  if (!options.ini.empty()) {
    ini = std::make_unique<IniFile>(options.ini);
    SetFormatSettingsStore(ini.get());
  }
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
