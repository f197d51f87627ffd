// The rotation library's one entry point over the portable reorientation kernel.
#include "TavRot32.h"

#include <cstring>
#include <span>

#include "Orientation.h"

namespace {

// A locked global block that unlocks itself.
class LockedBlock {
public:
  explicit LockedBlock(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
  ~LockedBlock() {
    if (data_) GlobalUnlock(block_);
  }
  LockedBlock(const LockedBlock&) = delete;
  LockedBlock& operator=(const LockedBlock&) = delete;
  std::span<const uint8_t> Bytes() const {
    if (!data_) return {};
    return {static_cast<const uint8_t*>(data_), GlobalSize(block_)};
  }
  void* Data() const { return data_; }

private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace

extern "C" BOOL WINAPI ReorientDIB(const BYTE* corners, const BYTE* /*cornersAgain*/, HGLOBAL dib,
                                   LONG /*reserved*/, HGLOBAL* result, HGLOBAL* unused) {
  if (unused) *unused = nullptr;
  if (!result) return FALSE;
  *result = nullptr;
  if (!corners || !dib) return FALSE;
  std::optional<tavik::PackedDib> out;
  {
    const LockedBlock source(dib);
    // Nothing may escape into the caller: a failed allocation in the kernel is a refusal.
    try {
      out = tavik::ReorientDib(source.Bytes(), std::span<const uint8_t, 4>(corners, 4));
    } catch (...) {
      return FALSE;
    }
  }
  if (!out) return FALSE;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, out->size());
  if (!block) return FALSE;
  {
    const LockedBlock target(block);
    if (!target.Data()) {
      GlobalFree(block);
      return FALSE;
    }
    std::memcpy(target.Data(), out->data(), out->size());
  }
  *result = block;
  return TRUE;
}
