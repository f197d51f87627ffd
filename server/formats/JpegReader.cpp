#include "ErrorReport.h"
#include "FormatSettings.h"
#include "ImageLimits.h"
#include "ImagingErrors.h"
#include "JpegCodec.h"
#include "JpegErrorManager.h"
#include "PixelRows.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace tavik {
namespace {

// Where a JFIF stream starts after the 42-byte header of subtype 23.
constexpr int64_t kAliceOffset = 42;
constexpr size_t kFillBytes = 4096;


struct ReaderSource {
  jpeg_source_mgr pub;
  SourceReader* reader;
  uint8_t* buffer;
};

void InitSource(j_decompress_ptr) {}

boolean FillInput(j_decompress_ptr cinfo) {
  auto* src = reinterpret_cast<ReaderSource*>(cinfo->src);
  size_t n = src->reader->Read({src->buffer, kFillBytes});
  if (n == 0) {
    // A truncated file ends as if its end-of-image marker had come.
    WARNMS(cinfo, JWRN_JPEG_EOF);
    src->buffer[0] = 0xFF;
    src->buffer[1] = JPEG_EOI;
    n = 2;
  }
  src->pub.next_input_byte = src->buffer;
  src->pub.bytes_in_buffer = n;
  return TRUE;
}

void SkipInput(j_decompress_ptr cinfo, long count) {
  auto* src = reinterpret_cast<ReaderSource*>(cinfo->src);
  if (count <= 0) return;
  if (static_cast<size_t>(count) <= src->pub.bytes_in_buffer) {
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= static_cast<size_t>(count);
    return;
  }
  src->reader->Skip(static_cast<uint64_t>(count) - src->pub.bytes_in_buffer);
  src->pub.bytes_in_buffer = 0;
}

void TermSource(j_decompress_ptr) {}

// Everything with a destructor lives here, made before setjmp, so a jump skips nothing.
struct DecodeState {
  jpeg_decompress_struct cinfo;
  JpegErrorManager error;
  ReaderSource source;
  std::vector<uint8_t> fill, line;
  std::vector<uint8_t> scan;
};

bool Decode(DecodeState& s, SourceReader& reader, ImageRecord& record,
            const JpegDecodeSettings& settings) {
  jpeg_decompress_struct& cinfo = s.cinfo;
  cinfo.err = UseJpegErrorManager(s.error);
  if (setjmp(s.error.jump)) {
    jpeg_destroy_decompress(&cinfo);
    FreeImageData(record);
    ReportError(kJpegLibraryError, kLoadJPG);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  s.source.pub.init_source = InitSource;
  s.source.pub.fill_input_buffer = FillInput;
  s.source.pub.skip_input_data = SkipInput;
  s.source.pub.resync_to_restart = jpeg_resync_to_restart;
  s.source.pub.term_source = TermSource;
  s.source.pub.bytes_in_buffer = 0;
  s.source.pub.next_input_byte = nullptr;
  s.source.reader = &reader;
  s.source.buffer = s.fill.data();
  cinfo.src = &s.source.pub;
  jpeg_read_header(&cinfo, TRUE);
  cinfo.do_block_smoothing = settings.blockSmoothing ? TRUE : FALSE;
  cinfo.quantize_colors = settings.quantizeColors ? TRUE : FALSE;
  cinfo.desired_number_of_colors = settings.colours;
  // libjpeg's two-pass quantizer refuses fewer than 8 colours; "QColors" 2 then goes one-pass.
  cinfo.two_pass_quantize = settings.twoPass && settings.colours >= 8 ? TRUE : FALSE;
  // Fewer than 8 colours leave libjpeg's colour quantizers less than two levels per
  // component, which it refuses; two colours are then two grays.
  if (settings.outputGray || (settings.quantizeColors && settings.colours < 8)) {
    cinfo.out_color_space = JCS_GRAYSCALE;
  }
  // Sizes are checked before the library allocates anything for the picture.
  jpeg_calc_output_dimensions(&cinfo);
  if (!CheckImageSize(cinfo.output_width, cinfo.output_height, kLoadJPG) ||
      cinfo.output_width > 0x7FFFFFFF || cinfo.output_height > 0x7FFFFFFF) {
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  jpeg_start_decompress(&cinfo);
  const int32_t width = static_cast<int32_t>(cinfo.output_width);
  const int32_t height = static_cast<int32_t>(cinfo.output_height);
  const bool quantized = cinfo.quantize_colors;
  const int components = cinfo.output_components;
  int bits = 24;
  if (quantized) {
    const int colors = cinfo.actual_number_of_colors;
    bits = colors <= 2 ? 1 : colors <= 16 ? 4 : 8;
  } else if (components == 1) {
    bits = 8;  // gray without quantizing: an 8-bit gray ramp
  }
  record.sourceWidth = width;
  record.sourceHeight = height;
  if (ClipRequest(record, width, height) != 0 ||
      !AllocateRecordDib(record, bits, 0, kLoadJPG)) {  // biClrUsed 0: 2^bits entries
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  const int32_t left = record.cropLeft, cropWidth = CropWidth(record);
  const uint64_t scanBytes = uint64_t(width) * components;
  try {
    s.scan.resize(static_cast<size_t>(scanBytes));
    s.line.resize(static_cast<size_t>(*DibStride(cropWidth, bits)));
  } catch (const std::bad_alloc&) {
    // No library frame is on the stack here; the exception never meets a longjmp.
    jpeg_destroy_decompress(&cinfo);
    FreeImageData(record);
    ReportError(imaging::kErrLocalAlloc, kLoadJPG, "outbuff");
    return false;
  }
  JSAMPROW rows[1] = {s.scan.data()};
  while (cinfo.output_scanline < cinfo.output_height) {
    const int32_t y = static_cast<int32_t>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (y < record.cropTop || y > record.cropBottom) continue;
    uint8_t* out = s.line.data();
    if (bits == 24) {
      std::memcpy(out, s.scan.data() + size_t(left) * 3, size_t(cropWidth) * 3);
    } else if (!quantized || bits == 8) {
      std::memcpy(out, s.scan.data() + left, size_t(cropWidth));
    } else {
      std::memset(out, 0, s.line.size());
      for (int32_t x = 0; x < cropWidth; ++x) {
        int index = s.scan[size_t(left + x)];
        OrPackedPixel(out, x, bits, bits == 1 ? (index != 0) : index);
      }
    }
    StoreRow(record, y, s.line);
  }
  if (bits != 24) {
    uint8_t* table = record.pixels.data() + kInfoHeaderSize;
    const int entries = 1 << bits;
    for (int i = 0; i < entries; ++i) {
      uint8_t r, g, b;
      if (!quantized) {
        r = g = b = static_cast<uint8_t>(i);
      } else if (i < cinfo.actual_number_of_colors) {
        r = cinfo.colormap[0][i];
        // Quantized colour output has one index per pixel but three maps.
        const bool colour = cinfo.out_color_components == 3;
        g = cinfo.colormap[colour ? 1 : 0][i];
        b = cinfo.colormap[colour ? 2 : 0][i];
      } else {
        r = g = b = 0;
      }
      table[4 * i] = b;
      table[4 * i + 1] = g;
      table[4 * i + 2] = r;
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return true;
}

}  // namespace

bool LoadJPG(SourceReader& reader, ImageRecord& record) {
  record.formatFamily = kFamilyJPG;
  record.sourceBottomUp = 0;
  std::span<const uint8_t> head = reader.Header();
  static constexpr uint8_t kJfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  const bool alice = head.size() >= kAliceOffset + sizeof kJfif &&
                     std::memcmp(head.data() + kAliceOffset, kJfif, sizeof kJfif) == 0;
  record.subtype = alice ? kSubAlice : kSubJFIF;
  if (reader.Seek(alice ? kAliceOffset : 0, 0) < 0) {
    ReportError(kErrSeeking, kLoadJPG);
    return false;
  }
  const JpegDecodeSettings settings = FormatJpegDecodeSettings();
  auto state = std::make_unique<DecodeState>();
  state->fill.resize(kFillBytes);
  return Decode(*state, reader, record, settings);
}

}  // namespace tavik
