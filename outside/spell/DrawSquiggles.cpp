// The wavy underline of passive checking.

#include "UlvaneSpell.h"

#include <algorithm>

namespace {

constexpr int kStep = 2;       // pixels between the peaks and troughs of the wave
constexpr int kAmplitude = 2;  // height of the wave below the mark line

// Restores the device context's state and deletes the pen on every way out.
class PenScope {
 public:
  PenScope(HDC dc, COLORREF color) : dc_(dc), saved_(SaveDC(dc)), pen_(CreatePen(PS_SOLID, 1, color)) {
    if (pen_ != nullptr) SelectObject(dc_, pen_);
  }
  ~PenScope() {
    if (saved_ != 0) RestoreDC(dc_, saved_);
    if (pen_ != nullptr) DeleteObject(pen_);
  }
  bool Ok() const { return saved_ != 0 && pen_ != nullptr; }

 private:
  HDC dc_;
  int saved_;
  HPEN pen_;
};

}  // namespace

extern "C" int WINAPI DrawSquiggles(HDC dc, int leftX, int markY, int rightX, int selStartX, int selEndX,
                                    int selEndTopY, int selStartBottomY, COLORREF eraseColor,
                                    COLORREF passiveColor, COLORREF colorNow) {
  if (dc == nullptr || rightX <= leftX) return 0;
  PenScope scope(dc, colorNow);
  if (!scope.Ok()) return 0;
  // A selection on the mark's line is drawn highlighted by the edit window: keep the wave off it.
  if (selStartX != selEndX && selEndTopY <= markY && markY <= selStartBottomY)
    ExcludeClipRect(dc, std::min(selStartX, selEndX), markY - 1, std::max(selStartX, selEndX), markY + kAmplitude + 2);
  MoveToEx(dc, leftX, markY, nullptr);
  bool down = true;
  for (int x = leftX + kStep; x <= rightX + kStep - 1; x += kStep, down = !down)
    LineTo(dc, std::min(x, rightX), down ? markY + kAmplitude : markY);
  return 1;
}
