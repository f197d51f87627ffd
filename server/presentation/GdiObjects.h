// Owners for the GDI objects painting uses, and the record's share of them.
#pragma once

#include <windows.h>

#include <utility>

#include "ImageRecord.h"

namespace tavik {

// A palette, bitmap, brush or other object deleted with DeleteObject.
template <typename Handle>
class GdiObject {
public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  Handle Get() const { return handle_; }
  Handle Release() { return std::exchange(handle_, nullptr); }
  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  explicit operator bool() const { return handle_ != nullptr; }

private:
  Handle handle_ = nullptr;
};

// Selects a palette into a DC (realising it) and selects the previous one back.
class SelectedPalette {
public:
  SelectedPalette(HDC dc, HPALETTE palette, bool background) : dc_(dc) {
    if (palette) {
      old_ = SelectPalette(dc, palette, background ? TRUE : FALSE);
      RealizePalette(dc);
    }
  }
  ~SelectedPalette() {
    if (old_) SelectPalette(dc_, old_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;

private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

// The GDI side of a record: its palette, or the display copy's palette with what the copy was
// made for, so painting makes it again only when the view changed.
struct RecordGdi final : PlatformObjects {
  GdiObject<HPALETTE> palette;
  RECT copyDestination{0, 0, 0, 0};
  RECT copySource{0, 0, 0, 0};
  uint32_t copyFlags = 0;
};

// The record's palette, or nullptr.
inline HPALETTE RecordPalette(const ImageRecord& record) {
  auto* gdi = dynamic_cast<RecordGdi*>(record.gdi.get());
  return gdi ? gdi->palette.Get() : nullptr;
}

}  // namespace tavik
