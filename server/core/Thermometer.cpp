#include "Thermometer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ServerState.h"
#include "ServerWindow.h"
#include "WindowClasses.h"

namespace tavik {
namespace {

enum ThermometerSlot : int { kSlotTotal = 0, kSlotProgress = 1, kSlotText = 2, kSlotCancel = 3 };

constexpr int kWidth = 320;
constexpr int kHeight = 170;
constexpr int kInset = 16;
constexpr int kBarTop = 58;
constexpr int kBarBottom = 88;
constexpr int kButtonTop = 102;

// Pens shared by all open thermometers.
struct Pens {
  int users = 0;
  HPEN darkGrey = nullptr;
  HPEN white = nullptr;
  HPEN lightGrey = nullptr;
} gPens;

void AcquirePens() {
  if (gPens.users++ > 0) return;
  gPens.darkGrey = CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
  gPens.white = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  gPens.lightGrey = CreatePen(PS_SOLID, 1, RGB(192, 192, 192));
}

void ReleasePens() {
  if (--gPens.users > 0) return;
  DeleteObject(gPens.darkGrey);
  DeleteObject(gPens.white);
  DeleteObject(gPens.lightGrey);
  gPens = {};
}

struct Metrics {
  int charWidth;
  int lineHeight;
};

Metrics FontMetrics(HWND window) {
  HDC dc = GetDC(window);
  TEXTMETRICA tm{};
  GetTextMetricsA(dc, &tm);
  ReleaseDC(window, dc);
  return {std::max<int>(1, tm.tmAveCharWidth), std::max<int>(1, tm.tmHeight + tm.tmExternalLeading)};
}

RECT BarRect(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {kInset, kBarTop, client.right - kInset, kBarBottom};
}

// Top and left in `topLeft`, bottom and right in `bottomRight`.
void DrawEdges(HDC dc, const RECT& r, HPEN topLeft, HPEN bottomRight) {
  HGDIOBJ old = SelectObject(dc, topLeft);
  MoveToEx(dc, r.left, r.bottom - 1, nullptr);
  LineTo(dc, r.left, r.top);
  LineTo(dc, r.right - 1, r.top);
  SelectObject(dc, bottomRight);
  LineTo(dc, r.right - 1, r.bottom - 1);
  LineTo(dc, r.left, r.bottom - 1);
  SelectObject(dc, old);
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  const Metrics m = FontMetrics(window);
  RECT client;
  GetClientRect(window, &client);
  SetBkMode(dc, TRANSPARENT);

  const RECT frame{kInset, kInset, client.right - kInset, kInset + 2 * m.lineHeight};
  DrawEdges(dc, frame, gPens.white, gPens.darkGrey);
  if (const auto* text = reinterpret_cast<const char*>(GetSlot(window, kSlotText)))
    TextOutA(dc, frame.left + m.charWidth, frame.top + m.lineHeight / 2, text,
             static_cast<int>(std::strlen(text)));

  const RECT bar = BarRect(window);
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  FillRect(dc, &bar, grey);
  DeleteObject(grey);
  const long total = static_cast<long>(GetSlot(window, kSlotTotal));
  const long progress = static_cast<long>(GetSlot(window, kSlotProgress));
  const int percent = ThermometerPercent(progress, total);
  RECT done = bar;
  done.right = bar.left + (bar.right - bar.left) * percent / 100;
  if (done.right > done.left) DrawEdges(dc, done, gPens.white, gPens.darkGrey);
  char label[16];
  std::snprintf(label, sizeof label, "%d%%", percent);
  RECT labelRect = bar;
  DrawTextA(dc, label, -1, &labelRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(window, &ps);
}

LRESULT OnCreate(HWND window, const CREATESTRUCTA* create) {
  SetSlot(window, kSlotText, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  const Metrics m = FontMetrics(window);
  RECT client;
  GetClientRect(window, &client);
  const int width = 14 * m.charWidth;
  CreateWindowA("BUTTON", "Cancel", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                (client.right - width) / 2, kButtonTop, width, 7 * m.lineHeight / 4, window,
                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)), Server().instance, nullptr);
  return 0;
}

}  // namespace

int ThermometerPercent(long progress, long total) {
  if (total <= 0 || progress <= 0) return 0;
  const long long percent = static_cast<long long>(progress) * 100 / total;
  return static_cast<int>(std::min<long long>(percent, 100));
}

LRESULT CALLBACK ThermometerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window, reinterpret_cast<const CREATESTRUCTA*>(lParam));
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) SetSlot(window, kSlotCancel, 1);
      return 0;
    case WM_CLOSE:  // only Cancel ends an operation
      SetSlot(window, kSlotCancel, 1);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND OpenThermometer(long total, UINT captionString, UINT textString) {
  if (!(Server().platformFlags & kPlatformThermometers)) return nullptr;
  char caption[31] = {};
  LoadStringA(Server().instance, captionString, caption, sizeof caption);
  auto* text = new char[81]();
  LoadStringA(Server().instance, textString, text, 81);

  DisableSettingsItem();
  AcquirePens();
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND window = CreateWindowA(kThermometerClass, caption, WS_CAPTION | WS_THICKFRAME, x, y, kWidth,
                              kHeight, nullptr, nullptr, Server().instance, text);
  if (!window) {
    delete[] text;
    ReleasePens();
    EnableSettingsItem();
    return nullptr;
  }
  SetSlot(window, kSlotTotal, total);
  SetSlot(window, kSlotProgress, 0);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

bool UpdateThermometer(HWND thermometer, long progress) {
  if (!thermometer) return true;
  SetSlot(thermometer, kSlotProgress, progress);
  const RECT bar = BarRect(thermometer);
  InvalidateRect(thermometer, &bar, FALSE);
  UpdateWindow(thermometer);
  // Serve the Cancel button and DDE traffic while the operation runs.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return GetSlot(thermometer, kSlotCancel) == 0;
}

void CloseThermometer(HWND thermometer) {
  if (!thermometer) return;
  EnableSettingsItem();
  delete[] reinterpret_cast<char*>(GetSlot(thermometer, kSlotText));
  SetSlot(thermometer, kSlotText, 0);
  DestroyWindow(thermometer);
  ReleasePens();
}

}  // namespace tavik
