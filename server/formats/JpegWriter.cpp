#include "ErrorReport.h"
#include "FormatSettings.h"
#include "JpegCodec.h"
#include "JpegErrorManager.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace tavik {
namespace {

constexpr size_t kOutputBytes = 4096;


struct SinkDestination {
  jpeg_destination_mgr pub;
  OutputSink* sink;
  uint8_t buffer[kOutputBytes];
};

void InitDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kOutputBytes;
}

boolean EmptyOutput(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
  if (!dest->sink->Write({dest->buffer, kOutputBytes})) ERREXIT(cinfo, JERR_FILE_WRITE);
  dest->pub.next_output_byte = dest->buffer;
  dest->pub.free_in_buffer = kOutputBytes;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<SinkDestination*>(cinfo->dest);
  const size_t n = kOutputBytes - dest->pub.free_in_buffer;
  if (n > 0 && !dest->sink->Write({dest->buffer, n})) ERREXIT(cinfo, JERR_FILE_WRITE);
}

class JpegWriter final : public ImageWriter {
public:
  ~JpegWriter() override { Release(); }

  int Begin(OutputSink& file, const SaveJob& job, std::span<const uint8_t>, int) override {
    settings_ = FormatJpegEncodeSettings();
    gray_ = job.outputBits == 1;
    cinfo_.err = UseJpegErrorManager(error_);
    if (setjmp(error_.jump)) return Failed();
    jpeg_create_compress(&cinfo_);
    created_ = true;
    dest_.pub.init_destination = InitDestination;
    dest_.pub.empty_output_buffer = EmptyOutput;
    dest_.pub.term_destination = TermDestination;
    dest_.sink = &file;
    cinfo_.dest = &dest_.pub;
    cinfo_.image_width = static_cast<JDIMENSION>(job.outputWidth);
    cinfo_.image_height = static_cast<JDIMENSION>(job.outputHeight);
    cinfo_.input_components = gray_ ? 1 : 3;
    cinfo_.in_color_space = gray_ ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo_);
    if (settings_.outputGray) jpeg_set_colorspace(&cinfo_, JCS_GRAYSCALE);
    cinfo_.optimize_coding = settings_.optimize ? TRUE : FALSE;
    jpeg_set_quality(&cinfo_, settings_.quality, TRUE);
    if (settings_.restartInterval) {
      if (settings_.restartInRows) {
        cinfo_.restart_in_rows = *settings_.restartInterval;
      } else {
        cinfo_.restart_interval = static_cast<unsigned>(*settings_.restartInterval);
        cinfo_.restart_in_rows = 0;
      }
    }
    for (int i = 0; i < cinfo_.num_components && i < 4; ++i) {
      cinfo_.comp_info[i].h_samp_factor = settings_.sampleFactors[i].horizontal;
      cinfo_.comp_info[i].v_samp_factor = settings_.sampleFactors[i].vertical;
    }
    cinfo_.smoothing_factor = settings_.smoothing;
    jpeg_start_compress(&cinfo_, TRUE);
    gray_row_.resize(gray_ ? static_cast<size_t>(job.outputWidth) : 0);
    return 0;
  }

  int Row(OutputSink&, const SaveJob& job, std::span<const uint8_t> row) override {
    if (!created_) return kJpegLibraryError;
    // A member, not a local: nothing that lives across setjmp may sit in a register.
    rowPointer_[0] = const_cast<JSAMPROW>(RowSamples(job, row));
    if (!rowPointer_[0]) return kJpegLibraryError;
    if (setjmp(error_.jump)) return Failed();
    jpeg_write_scanlines(&cinfo_, rowPointer_, 1);
    return 0;
  }

  // The row as the library takes it, or nothing when it is too short.
  const uint8_t* RowSamples(const SaveJob& job, std::span<const uint8_t> row) {
    if (gray_) {
      if (row.size() < (size_t(job.outputWidth) + 7) / 8) return nullptr;
      // A 1-bit row: set bits are white, as the palette of a saved bilevel image has them.
      for (int32_t x = 0; x < job.outputWidth; ++x) {
        gray_row_[size_t(x)] = (row[size_t(x) / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
      }
      return gray_row_.data();
    }
    return row.size() < size_t(job.outputWidth) * 3 ? nullptr : row.data();
  }

  int End(OutputSink&, const SaveJob&) override {
    if (!created_) return kJpegLibraryError;
    if (setjmp(error_.jump)) return Failed();
    jpeg_finish_compress(&cinfo_);
    Release();
    return 0;
  }

  void Release() override {
    if (created_) jpeg_destroy_compress(&cinfo_);
    created_ = false;
  }

private:
  int Failed() {
    Release();
    return kJpegLibraryError;
  }

  jpeg_compress_struct cinfo_{};
  JpegErrorManager error_{};
  SinkDestination dest_{};
  JpegEncodeSettings settings_;
  std::vector<uint8_t> gray_row_;
  JSAMPROW rowPointer_[1] = {};
  bool created_ = false;
  bool gray_ = false;
};

}  // namespace

std::unique_ptr<ImageWriter> MakeJpegWriter() { return std::make_unique<JpegWriter>(); }

}  // namespace tavik
