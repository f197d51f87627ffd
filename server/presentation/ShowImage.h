// Putting an image into a window (`SFD_Body`), and reorienting the images of a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "ImageRecord.h"

namespace tavik {

enum class ShowSource { kFile = 0, kData = 1, kDib = 2 };

struct ShowRequest {
  ShowSource source = ShowSource::kFile;
  std::span<const uint8_t> data;  // kData: the bytes of the transfer
  PackedDib dib;                  // kDib: a ready DIB
  HWND window = nullptr;
  uint32_t flags = 0;
  std::string name;
  int32_t top = 0, left = 0, bottom = -1, right = -1;
  int32_t cropTop = -1, cropLeft = -1, cropBottom = -1, cropRight = -1;
  int32_t scaleX = 100, scaleY = 100;
  int32_t subImage = 0;
};

// Loads the image, scales, orients and colours it, and hangs it on the window's chain (or in
// place of it); true when an image was put in.
bool SFD_Body(ShowRequest request);

// Reorients a record by its flags through TAVROT32.DLL: false only when the library lacks its
// entry point; a missing library or a failing call leaves the image as it is.
bool ApplyOrientation(ImageRecord& record, int screenBits);

// The server side of IMROTATE: orientation k (0..7) for the window's first image, applied to the
// image as it is now; false when the window shows no image.
bool SetOrientation(HWND window, int k);

// The palette the window realises, after its chain changed.
void UpdateWindowPalette(HWND window);

// Display flags of every image of the window; the display copies are made again.
bool SetImageFlags(HWND window, uint32_t flags);

}  // namespace tavik
