#include "DibDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Dib.h"
#include "ErrorReport.h"

namespace tavik {
namespace {

constexpr int kErrTooLittleMemory = 81;
constexpr int kErrLockGlobal = 122;

int32_t HeaderWidth(const BITMAPINFO* h) {
  return h->bmiHeader.biSize == kCoreHeaderSize
             ? reinterpret_cast<const BITMAPCOREHEADER*>(h)->bcWidth
             : h->bmiHeader.biWidth;
}
int32_t HeaderHeight(const BITMAPINFO* h) {
  return h->bmiHeader.biSize == kCoreHeaderSize
             ? reinterpret_cast<const BITMAPCOREHEADER*>(h)->bcHeight
             : h->bmiHeader.biHeight;
}
int HeaderBits(const BITMAPINFO* h) {
  return h->bmiHeader.biSize == kCoreHeaderSize
             ? reinterpret_cast<const BITMAPCOREHEADER*>(h)->bcBitCount
             : h->bmiHeader.biBitCount;
}

int Stretch(HDC dc, int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh,
            const void* bits, const BITMAPINFO* header, UINT usage, DWORD rop) {
  // StretchDIBits counts source rows from the bottom of the DIB.
  const int fromBottom = HeaderHeight(header) - sy - sh;
  const int drawn = StretchDIBits(dc, dx, dy, dw, dh, sx, fromBottom, sw, sh, bits, header, usage, rop);
  return drawn == static_cast<int>(GDI_ERROR) ? 0 : drawn;
}

}  // namespace

int DIBStretch(HDC dc, DibArea d, DibArea s, const void* bits, const BITMAPINFO* header,
               UINT usage, DWORD rop, HPALETTE palette) {
  if (d.width == 0 || d.height == 0 || s.width <= 0 || s.height <= 0) return 0;
  const int oldMode = SetStretchBltMode(dc, HeaderBits(header) == 1 ? BLACKONWHITE : COLORONCOLOR);
  s.y = std::max(s.y, 0);
  int drawn = Stretch(dc, d.x, d.y, d.width, d.height, s.x, s.y, s.width, s.height, bits, header, usage, rop);
  if (drawn) {
    SetStretchBltMode(dc, oldMode);
    return drawn;
  }
  // Too big for one call: the lower half, then halves of that, until a band goes through.
  int bandDest = d.height / 2, bandSource = s.height / 2;
  int bandTop = d.y + d.height - bandDest, sourceTop = s.y + s.height - bandSource;
  while (bandDest > 0 && bandSource > 0) {
    drawn = Stretch(dc, d.x, bandTop, d.width, bandDest, s.x, sourceTop, s.width, bandSource, bits, header, usage, rop);
    if (drawn) break;
    bandDest /= 2;
    bandSource /= 2;
    bandTop = d.y + d.height - bandDest;
    sourceTop = s.y + s.height - bandSource;
  }
  if (!drawn) {
    drawn = DIBStretchBrush(dc, d, s, bits, header, usage, rop, palette);
    if (!drawn) ReportError(kErrTooLittleMemory, kDIBStretch);
    SetStretchBltMode(dc, oldMode);
    return drawn;
  }
  int rowsDone = bandSource;
  while (rowsDone < s.height) {
    const int rows = std::min(bandSource, s.height - rowsDone);
    const int destRows = static_cast<int>(int64_t{rows} * d.height / s.height);
    bandTop -= destRows;
    sourceTop -= rows;
    if (!Stretch(dc, d.x, std::max(bandTop, d.y), d.width, destRows, s.x, sourceTop, s.width, rows, bits, header, usage, rop)) {
      ReportError(kErrTooLittleMemory, kDIBStretch);
      break;
    }
    rowsDone += rows;
  }
  SetStretchBltMode(dc, oldMode);
  return rowsDone;
}

int DIBStretchBrush(HDC dc, DibArea d, DibArea s, const void* bits, const BITMAPINFO* header,
                    UINT usage, DWORD /*rop*/, HPALETTE palette) {
  if (!(s.width < d.width && s.height < d.height)) return 0;
  const int depth = HeaderBits(header);
  PALETTEENTRY entries[256] = {};
  if (depth <= 8) {
    if (!palette) {
      ReportError(kErrLockGlobal, kDIBStretchBrush);
      return 0;
    }
    GetPaletteEntries(palette, 0, 1u << depth, entries);
  }
  const int32_t width = HeaderWidth(header), height = HeaderHeight(header);
  const auto stride = static_cast<int64_t>(((int64_t{depth} * width + 31) / 32) * 4);
  const auto* pixels = static_cast<const uint8_t*>(bits);
  int rowAccumulator = 0, y = d.y;
  for (int row = 0; row < s.height; ++row) {
    rowAccumulator += d.height;
    const int rows = rowAccumulator / s.height;
    rowAccumulator %= s.height;
    const uint8_t* line = pixels + (height - 1 - (s.y + row)) * stride;
    int columnAccumulator = 0, x = d.x;
    for (int column = 0; column < s.width; ++column) {
      columnAccumulator += d.width;
      const int columns = columnAccumulator / s.width;
      columnAccumulator %= s.width;
      const int sx = s.x + column;
      COLORREF colour;
      if (depth == 24) {
        colour = RGB(line[3 * sx + 2], line[3 * sx + 1], line[3 * sx]);
      } else {
        const int perByte = 8 / depth;
        const int index = (line[sx / perByte] >> ((perByte - 1 - sx % perByte) * depth)) & ((1 << depth) - 1);
        colour = RGB(entries[index].peRed, entries[index].peGreen, entries[index].peBlue);
      }
      if (HBRUSH brush = CreateSolidBrush(colour)) {
        const RECT block{x, y, x + columns, y + rows};
        FillRect(dc, &block, brush);
        DeleteObject(brush);
      }
      x += columns;
    }
    y += rows;
  }
  return s.height;
}

void DrawDibInBands(HDC dc, int x, int y, int width, int height, int sourceX, int firstRow,
                    int rowCount, const void* bits, const BITMAPINFO* header, UINT usage) {
  if (width <= 0 || height <= 0 || rowCount <= 0) return;
  const int depth = HeaderBits(header);
  const int64_t stride = ((int64_t{depth} * HeaderWidth(header) + 31) / 32) * 4;
  int band = rowCount;
  if (!(GetDeviceCaps(dc, RASTERCAPS) & RC_BITMAP64)) {
    int deviceBits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
    if (deviceBits == 0) deviceBits = 8;
    band = std::max<int>(1, static_cast<int>(0xF800 / stride / deviceBits));
  }
  // The pointer moves to the first row; the band keeps the image's width, so its rows keep
  // their stride, and the first column is the band's source x.
  const auto* start = static_cast<const uint8_t*>(bits) + firstRow * stride;
  // Each band is a DIB of its own rows: an information header with the band's height and the
  // same colours (three-byte core entries widened).
  const int colours = depth <= 8 ? 1 << depth : 0;
  std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD));
  auto* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  h->biSize = sizeof(BITMAPINFOHEADER);
  h->biPlanes = 1;
  h->biBitCount = static_cast<WORD>(depth);
  h->biWidth = HeaderWidth(header);
  const bool core = header->bmiHeader.biSize == kCoreHeaderSize;
  int used = colours;
  if (!core && header->bmiHeader.biClrUsed) used = std::min<int>(colours, header->bmiHeader.biClrUsed);
  const auto* table = reinterpret_cast<const uint8_t*>(header) + header->bmiHeader.biSize;
  for (int i = 0; i < used; ++i) std::memcpy(info.data() + sizeof(BITMAPINFOHEADER) + 4 * i, table + i * (core ? 3 : 4), 3);
  h->biClrUsed = static_cast<DWORD>(used);
  for (int done = 0; done < rowCount; done += band) {
    const int rows = std::min(band, rowCount - done);
    h->biHeight = rows;
    const int bandY = y + height - done - rows;  // from the bottom of the destination upwards
    SetDIBitsToDevice(dc, x, bandY, width, rows, sourceX, 0, 0, rows, start + done * stride,
                      reinterpret_cast<BITMAPINFO*>(info.data()), usage);
  }
}

}  // namespace tavik
