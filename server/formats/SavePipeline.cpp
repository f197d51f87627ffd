#include "SavePipeline.h"

#include "Dib.h"
#include "ErrorReport.h"
#include "FixedPalettes.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"
#include "OctreeQuantizer.h"
#include "PixelRows.h"
#include "SaveFormats.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <new>
#include <vector>

namespace tavik {
namespace {

std::string Upper(std::string_view word) {
  std::string s(word);
  for (char& c : s) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return s;
}

// How output pixels get their value.
enum class Mapping { kCopy24, kIndex, kDither };

int NearestEntry(Rgb c, std::span<const Rgb> palette, std::span<const int> candidates) {
  int best = 0;
  int bestDistance = INT32_MAX;
  auto consider = [&](int i) {
    const int dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  };
  if (candidates.empty()) {
    for (int i = 0; i < static_cast<int>(palette.size()); ++i) consider(i);
  } else {
    for (int i : candidates) consider(i);
  }
  return best;
}

class WriterEngine {
public:
  WriterEngine(const SaveJob& job, SaveChoice choice, std::span<const PlacedImage> images)
      : job_(job), choice_(choice), images_(images) {}

  int Run(OutputSink& sink);

private:
  int ChoosePalette();
  int BuildOctreePalette();
  void UseFixed(std::span<const Rgb> palette) { palette_.assign(palette.begin(), palette.end()); }
  uint8_t MapColor(Rgb c);
  void BuildImageMaps();
  void ComposeRow(int32_t y);
  void PackRow();

  const SaveJob& job_;
  SaveChoice choice_;
  std::span<const PlacedImage> images_;
  int bits_ = 24;
  Mapping mapping_ = Mapping::kIndex;
  bool identity_ = false;    // one image keeps its own indices
  bool threshold_ = false;   // black and white by luminance
  std::vector<Rgb> palette_;
  std::vector<int> candidates_;  // entries a restricted map may choose (BitBlt subtype)
  std::vector<int16_t> inverse_;  // 15-bit colour -> entry, -1 until first needed
  std::vector<std::array<uint8_t, 256>> imageMaps_;
  std::vector<Rgb> rgbRow_;
  std::vector<uint8_t> indexRow_, out_;
  std::vector<int> errors_, nextErrors_;
};

uint8_t WriterEngine::MapColor(Rgb c) {
  if (threshold_) return Luminance(c) > 127 ? 1 : 0;
  const int key = (c.b >> 3) << 10 | (c.g >> 3) << 5 | (c.r >> 3);
  int16_t& slot = inverse_[static_cast<size_t>(key)];
  if (slot < 0) {
    const Rgb center{static_cast<uint8_t>((c.r >> 3) << 3), static_cast<uint8_t>((c.g >> 3) << 3),
                     static_cast<uint8_t>((c.b >> 3) << 3)};
    slot = static_cast<int16_t>(NearestEntry(center, palette_, candidates_));
  }
  return static_cast<uint8_t>(slot);
}

int WriterEngine::BuildOctreePalette() {
  OctTable table;
  if (!table.Init()) return imaging::kErrGlobalAlloc;
  const int target = 1 << bits_;
  for (const PlacedImage& image : images_) {
    const auto dib = std::span<const uint8_t>(image.record->pixels);
    int result = DIBBitDepth(dib) == 24
                     ? AddImageToOctTable(table, dib, nullptr, image.source, target)
                     : AddPaletteImageToOctTable(table, target, dib, image.source);
    if (result != 0) return result;
  }
  table.Reduce(target);
  std::array<uint8_t, 768> colors{};
  const int n = table.ToPalette(colors);
  palette_.clear();
  for (int i = 0; i < n; ++i) palette_.push_back({colors[3 * i], colors[3 * i + 1], colors[3 * i + 2]});
  if (palette_.empty()) palette_.push_back({255, 255, 255});
  return 0;
}

// The cases of GoAheadAndSaveEm's table, in its order.
int WriterEngine::ChoosePalette() {
  bits_ = job_.outputBits;
  if (bits_ == 24) {
    mapping_ = Mapping::kCopy24;
    return 0;
  }
  int deepest = 0;
  bool bilevel = true;
  for (const PlacedImage& image : images_) {
    const int b = DIBBitDepth(image.record->pixels);
    deepest = std::max(deepest, b);
    if (b != 1) bilevel = false;
  }
  const bool nearest = choice_.reduction != kReduceDither;
  const bool best = choice_.palette != kPaletteWindows;
  const bool single = images_.size() == 1;
  const bool fits = deepest <= bits_;
  auto fixedDisplay = [&]() {
    UseFixed(bits_ == 4 ? Display16Palette() : Display256Palette());
    // The BitBlt BMP keeps to the 16 colours every display has.
    if (bits_ == 8 && job_.formatFamily == kFamilyBMP && job_.subtype == kSubBitmap) {
      for (int i = 0; i < 8; ++i) candidates_.push_back(i);
      for (int i = 248; i < 256; ++i) candidates_.push_back(i);
    }
  };
  mapping_ = nearest ? Mapping::kIndex : Mapping::kDither;
  auto ownColors = [&]() {
    const auto dib = std::span<const uint8_t>(images_[0].record->pixels);
    const int64_t n = std::min<int64_t>(DIBColorCount(dib), 256);
    const uint8_t* table = dib.data() + DIBHeaderSize(dib);
    const int stride = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
    for (int64_t i = 0; i < n; ++i) {
      palette_.push_back({table[stride * i + 2], table[stride * i + 1], table[stride * i]});
    }
    if (palette_.empty()) palette_.push_back({0, 0, 0});
    identity_ = true;
    return 0;
  };
  if (single && nearest && fits && deepest <= 8) {
    if (best) return ownColors();
    fixedDisplay();
    return 0;
  }
  if (bits_ == 1) {
    UseFixed(BlackWhitePalette());
    threshold_ = nearest;
    return 0;
  }
  if (!best) {
    fixedDisplay();
    return 0;
  }
  if (!nearest && deepest == 24) return BuildOctreePalette();
  mapping_ = Mapping::kIndex;  // palette content maps entry by entry
  if (bilevel) {
    UseFixed(bits_ == 4 ? Gray16Palette() : Gray256Palette());
    return 0;
  }
  if (single && deepest == bits_) return ownColors();
  return BuildOctreePalette();
}

void WriterEngine::BuildImageMaps() {
  imageMaps_.assign(images_.size(), {});
  for (size_t k = 0; k < images_.size(); ++k) {
    const auto dib = std::span<const uint8_t>(images_[k].record->pixels);
    if (DIBBitDepth(dib) == 24) continue;
    const int64_t n = DIBColorCount(dib);
    const uint8_t* table = dib.data() + DIBHeaderSize(dib);
    const int stride = DIBHeaderSize(dib) == kCoreHeaderSize ? 3 : 4;
    for (int i = 0; i < 256; ++i) {
      Rgb c{};
      if (i < n) c = {table[stride * i + 2], table[stride * i + 1], table[stride * i]};
      if (identity_) {
        imageMaps_[k][i] = static_cast<uint8_t>(i);
      } else if (threshold_) {
        imageMaps_[k][i] = Luminance(c) > 127 ? 1 : 0;
      } else {
        imageMaps_[k][i] = static_cast<uint8_t>(NearestEntry(c, palette_, candidates_));
      }
    }
  }
}

// Output row y (from the top) as colours (dithering, 24 bits) or as output indices.
void WriterEngine::ComposeRow(int32_t y) {
  const int32_t width = job_.outputWidth;
  for (size_t k = 0; k < images_.size(); ++k) {
    const PlacedImage& image = images_[k];
    if (y < image.top || y >= image.top + image.height) continue;
    const auto dib = std::span<const uint8_t>(image.record->pixels);
    const int bits = DIBBitDepth(dib);
    const int32_t srcW = image.source.right - image.source.left + 1;
    const int32_t srcH = image.source.bottom - image.source.top + 1;
    const int32_t sy = image.source.top +
                       static_cast<int32_t>(int64_t(y - image.top) * srcH / image.height);
    const uint8_t* row = DIBRow(dib, DIBPixelHeight(dib) - 1 - sy);
    const int32_t x0 = std::max(0, image.left);
    const int32_t x1 = std::min(width, image.left + image.width);
    for (int32_t x = x0; x < x1; ++x) {
      const int32_t sx = image.source.left +
                         static_cast<int32_t>(int64_t(x - image.left) * srcW / image.width);
      if (bits == 24) {
        const Rgb c{row[3 * sx + 2], row[3 * sx + 1], row[3 * sx]};
        if (mapping_ == Mapping::kIndex) {
          indexRow_[size_t(x)] = MapColor(c);
        } else {
          rgbRow_[size_t(x)] = c;
        }
      } else {
        const int index = PackedPixel(row, sx, bits);
        if (mapping_ == Mapping::kIndex) {
          indexRow_[size_t(x)] = imageMaps_[k][index];
        } else {
          rgbRow_[size_t(x)] = DIBPixelColor(dib, sx, DIBPixelHeight(dib) - 1 - sy);
        }
      }
    }
  }
}

void WriterEngine::PackRow() {
  const int32_t width = job_.outputWidth;
  std::fill(out_.begin(), out_.end(), 0);
  if (mapping_ == Mapping::kCopy24) {
    for (int32_t x = 0; x < width; ++x) {
      out_[3 * size_t(x)] = rgbRow_[size_t(x)].r;
      out_[3 * size_t(x) + 1] = rgbRow_[size_t(x)].g;
      out_[3 * size_t(x) + 2] = rgbRow_[size_t(x)].b;
    }
    return;
  }
  if (mapping_ == Mapping::kDither) {
    // Floyd-Steinberg: 7/16 right, 3/16 below left, 5/16 below, 1/16 below right.
    std::fill(nextErrors_.begin(), nextErrors_.end(), 0);
    for (int32_t x = 0; x < width; ++x) {
      const Rgb c = rgbRow_[size_t(x)];
      int want[3] = {c.r, c.g, c.b};
      Rgb adjusted;
      uint8_t* parts[3] = {&adjusted.r, &adjusted.g, &adjusted.b};
      for (int ch = 0; ch < 3; ++ch) {
        want[ch] = std::clamp(want[ch] + errors_[3 * size_t(x + 1) + ch] / 16, 0, 255);
        *parts[ch] = static_cast<uint8_t>(want[ch]);
      }
      const uint8_t index = MapColor(adjusted);
      indexRow_[size_t(x)] = index;
      const Rgb got = palette_[index];
      const int have[3] = {got.r, got.g, got.b};
      for (int ch = 0; ch < 3; ++ch) {
        const int e = want[ch] - have[ch];
        errors_[3 * size_t(x + 2) + ch] += 7 * e;
        nextErrors_[3 * size_t(x) + ch] += 3 * e;
        nextErrors_[3 * size_t(x + 1) + ch] += 5 * e;
        nextErrors_[3 * size_t(x + 2) + ch] += e;
      }
    }
    errors_.swap(nextErrors_);
  }
  for (int32_t x = 0; x < width; ++x) OrPackedPixel(out_.data(), x, bits_, indexRow_[size_t(x)]);
}

int WriterEngine::Run(OutputSink& sink) {
  auto writer = MakeImageWriter(job_.formatFamily, job_.subtype);
  if (!writer) return imaging::kErrSaveFormat;
  int error = ChoosePalette();
  if (error != 0) return error;
  const int32_t width = job_.outputWidth;
  try {
    inverse_.assign(32768, -1);
    rgbRow_.resize(size_t(width));
    indexRow_.resize(size_t(width));
    out_.resize(static_cast<size_t>(*DibStride(width, bits_)));
    errors_.assign(3 * (size_t(width) + 3), 0);
    nextErrors_.assign(errors_.size(), 0);
    BuildImageMaps();
  } catch (const std::bad_alloc&) {
    return imaging::kErrLocalAlloc;
  }
  std::vector<uint8_t> colors;
  for (const Rgb& c : palette_) colors.insert(colors.end(), {c.r, c.g, c.b});
  const uint8_t white = bits_ == 24 ? 0 : static_cast<uint8_t>(NearestEntry({255, 255, 255}, palette_, {}));
  error = writer->Begin(sink, job_, colors, bits_ == 24 ? 0 : static_cast<int>(palette_.size()));
  const bool topFirst = WritesTopRowFirst(job_.formatFamily, job_.subtype);
  for (int32_t k = 0; error == 0 && k < job_.outputHeight; ++k) {
    const int32_t y = topFirst ? k : job_.outputHeight - 1 - k;
    std::fill(rgbRow_.begin(), rgbRow_.end(), Rgb{255, 255, 255});
    std::fill(indexRow_.begin(), indexRow_.end(), white);
    ComposeRow(y);
    PackRow();
    error = writer->Row(sink, job_, out_);
  }
  if (error == 0) error = writer->End(sink, job_);
  writer->Release();
  return error;
}

struct EngineCall {
  const SaveJob* job;
  SaveChoice choice;
  std::span<const PlacedImage> images;
};

int RunEngine(OutputSink& sink, void* context) {
  auto* call = static_cast<EngineCall*>(context);
  WriterEngine engine(*call->job, call->choice, call->images);
  return engine.Run(sink);
}

bool SaveToFile(const SaveJob& job, SaveChoice choice, std::span<const PlacedImage> images) {
  EngineCall call{&job, choice, images};
  const int error = WriteReplacing(job.fileName, RunEngine, &call);
  if (error != 0) ReportError(error, kGoAheadAndSaveEm, job.fileName.c_str());
  return error == 0;
}

}  // namespace

int ReductionWord(std::string_view word) {
  const std::string w = Upper(word);
  return w == "NEAREST" ? kReduceNearest : w == "DITHER" ? kReduceDither : 0;
}

int PaletteWord(std::string_view word) {
  const std::string w = Upper(word);
  return w == "WINPAL" ? kPaletteWindows : w == "BESTPAL" ? kPaletteBest : 0;
}

int GoAheadAndSaveEm(const SaveJob& job, SaveChoice choice, std::span<const PlacedImage> images,
                     OutputSink& sink) {
  int error = 0;
  if (images.empty() || job.outputWidth < 1 || job.outputHeight < 1 ||
      !ImageSizeAllowed(job.outputWidth, job.outputHeight)) {
    error = kErrWrongFormat;
  } else {
    WriterEngine engine(job, choice, images);
    error = engine.Run(sink);
  }
  if (error != 0) ReportError(error, kGoAheadAndSaveEm, job.fileName.c_str());
  return error;
}

int WriteReplacing(const std::string& fileName, int (*write)(OutputSink&, void*), void* context) {
  const std::string temp = fileName + ".tavik-tmp";
  auto sink = FileSink::Create(temp);
  if (!sink) return kErrCreatingOutput;
  int error = write(*sink, context);
  if (!sink->Close() && error == 0) error = kErrWritingOutput;
  std::error_code ec;
  if (error == 0) {
    // Replaces an existing target in one step on every system we build for.
    std::filesystem::rename(temp, fileName, ec);
    if (ec) error = kErrWritingOutput;
  }
  if (error != 0) std::filesystem::remove(temp, ec);
  return error;
}

bool SaveOneImage(const ImageRecord& record, const std::string& fileName,
                  const SaveOneRequest& request) {
  const auto dib = std::span<const uint8_t>(record.pixels);
  if (!DIBIsValid(dib)) return false;
  const int32_t storedW = DIBPixelWidth(dib), storedH = DIBPixelHeight(dib);
  Rect crop{request.cropLeft, request.cropTop, request.cropRight, request.cropBottom};
  if (crop.bottom >= 0 && crop.top > crop.bottom) std::swap(crop.top, crop.bottom);
  if (crop.right >= 0 && crop.left > crop.right) std::swap(crop.left, crop.right);
  crop.top = std::max(crop.top, 0);
  crop.left = std::max(crop.left, 0);
  if (crop.bottom < 0) crop.bottom = storedH - 1;
  if (crop.right < 0) crop.right = storedW - 1;
  if (crop.top >= storedH || crop.left >= storedW) return false;
  crop.bottom = std::min(crop.bottom, storedH - 1);
  crop.right = std::min(crop.right, storedW - 1);
  const int32_t height = request.outputHeight < 0 ? record.sourceHeight : request.outputHeight;
  const int32_t width = request.outputWidth < 0 ? record.sourceWidth : request.outputWidth;
  if (height < 1 || width < 1) return false;
  SaveJob job;
  job.outputWidth = width;
  job.outputHeight = height;
  job.formatFamily = request.family;
  job.subtype = request.subtype;
  job.fileName = fileName;
  job.outputBits =
      ChooseSaveDepth(request.family, request.subtype, request.requestedBits, DIBBitDepth(dib));
  if (job.outputBits == 0) {
    ReportError(imaging::kErrSaveFormat, kGoAheadAndSaveEm, fileName.c_str());
    return false;
  }
  PlacedImage placed{&record, crop, 0, 0, width, height};
  return SaveToFile(job, request.choice, {&placed, 1});
}

bool SaveFileImage(const ImageRecord* chain, const SaveJob& job, SaveChoice choice,
                   SaveArea area) {
  if (!chain || job.fileName.empty() || job.outputWidth < 1 || job.outputHeight < 1 ||
      area.areaWidth < 1 || area.areaHeight < 1) {
    return false;
  }
  std::vector<PlacedImage> placed;
  try {
    const double fx = double(job.outputWidth) / area.areaWidth;
    const double fy = double(job.outputHeight) / area.areaHeight;
    for (const ImageRecord* r = chain; r; r = r->next.get()) {
      if (!DIBIsValid(r->pixels)) continue;
      const Rect& on = area.wholeImages ? r->placementRect : r->drawnRect;
      PlacedImage p;
      p.record = r;
      p.source = {0, 0, DIBPixelWidth(r->pixels) - 1, DIBPixelHeight(r->pixels) - 1};
      p.left = static_cast<int32_t>(on.left * fx);
      p.top = static_cast<int32_t>(on.top * fy);
      p.width = std::max(1, static_cast<int32_t>((on.right - on.left + 1) * fx));
      p.height = std::max(1, static_cast<int32_t>((on.bottom - on.top + 1) * fy));
      placed.push_back(p);
    }
  } catch (const std::bad_alloc&) {
    ReportError(imaging::kErrLocalAlloc, kSaveFileImage, "pSaveI");
    return false;
  }
  if (placed.empty()) return false;
  return SaveToFile(job, choice, placed);
}

}  // namespace tavik
