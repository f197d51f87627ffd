// DrawControl: where the bars, the status bar and the edit window go; the status bar's items;
// the run-time frame and the designer's still picture.
#include "LexivaneControl.h"

namespace lexivane::control {

namespace {

// Heights of the slots that the tool bar, font bar and ruler fill.
constexpr int kToolBarHeight = 22;
constexpr int kFontBarHeight = 22;
constexpr int kRulerHeight = 22;
constexpr int kStatusBarHeight = 19;
constexpr UINT_PTR kStatusTimer = 1000;

SIZE LabelSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

void FrameRect3D(HDC dc, int left, int top, int right, int bottom, bool sunken) {
  COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
  HPEN topLeft = CreatePen(PS_SOLID, 1, sunken ? dark : light);
  HPEN bottomRight = CreatePen(PS_SOLID, 1, sunken ? light : dark);
  HGDIOBJ old = SelectObject(dc, topLeft);
  MoveToEx(dc, left, bottom, nullptr);
  LineTo(dc, left, top);
  LineTo(dc, right, top);
  SelectObject(dc, bottomRight);
  LineTo(dc, right, bottom);
  LineTo(dc, left, bottom);
  SelectObject(dc, old);
  DeleteObject(topLeft);
  DeleteObject(bottomRight);
}

std::wstring CurrentTimeText() {
  wchar_t text[64] = {};
  GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, 64);
  return text;
}

std::wstring CurrentDateText() {
  wchar_t text[64] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 64);
  return text;
}

}  // namespace

int LexivaneControl::StatusBarHeight() const { return settings_.showStatusBar ? kStatusBarHeight : 0; }

void LexivaneControl::DrawControl() {
  if (!window_ || drawing_) return;
  drawing_ = true;
  ++layoutCount_;
  RECT client{};
  GetClientRect(window_, &client);
  const int width = client.right, height = client.bottom;
  const int toolBar = settings_.showToolBar ? kToolBarHeight : 0;
  const int fontBar = settings_.showFontBar ? kFontBarHeight : 0;
  const int ruler = settings_.showRuler ? kRulerHeight : 0;
  const int status = StatusBarHeight();
  LayoutStatusBar(width, height, status);
  layout_ = RECT{1, toolBar + fontBar + ruler + 1, width - 1, height - status - 1};
  if (layout_.bottom < layout_.top) layout_.bottom = layout_.top;
  if (layout_.right < layout_.left) layout_.right = layout_.left;
  hasLayout_ = true;
  if (edit_)
    SetWindowPos(edit_, nullptr, layout_.left, layout_.top, layout_.right - layout_.left, layout_.bottom - layout_.top,
                 SWP_NOACTIVATE | SWP_NOZORDER);
  InvalidateRect(window_, nullptr, TRUE);
  drawing_ = false;
}

void LexivaneControl::LayoutStatusBar(int width, int height, int statusHeight) {
  status_ = StatusBarItems{};
  if (window_) KillTimer(window_, kStatusTimer);
  if (!settings_.showStatusBar) return;
  status_.left = 1;
  status_.top = height - statusHeight - 1;
  status_.width = width - 2;
  status_.height = statusHeight;
  status_.caption = StatusItem{true, 4, 0, 0, statusHeight, settings_.statusBarCaption};
  HDC dc = GetDC(window_);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  int right = status_.width - 8;
  auto place = [&](StatusItem& item, const std::wstring& text, int gap) {
    SIZE size = LabelSize(dc, text);
    item = StatusItem{true, right - gap - size.cx, (statusHeight - size.cy) / 2, size.cx, size.cy, text};
    right = item.x - 8;
  };
  const bool runTime = !designMode_;
  if (settings_.statusBarDisplayItems & 2) {
    place(status_.time, CurrentTimeText(), 6);
    status_.timerRunning = runTime;
  }
  if (settings_.statusBarDisplayItems & 4) {
    place(status_.date, CurrentDateText(), 3);
    status_.timerRunning = runTime;
  }
  if (settings_.statusBarDisplayItems & 1) {
    SIZE num = LabelSize(dc, L"NUM"), caps = LabelSize(dc, L"CAPS"), ovr = LabelSize(dc, L"OVR");
    const int c = (statusHeight - num.cy) / 2;
    status_.num = StatusItem{true, right - 3 - num.cx, c, num.cx, num.cy, L"NUM"};
    status_.caps = StatusItem{true, status_.num.x - 9 - caps.cx, c, caps.cx, caps.cy, L"CAPS"};
    status_.ovr = StatusItem{true, status_.caps.x - 9 - ovr.cx, c, ovr.cx, ovr.cy, L"OVR"};
  }
  SelectObject(dc, oldFont);
  ReleaseDC(window_, dc);
  if (status_.timerRunning) SetTimer(window_, kStatusTimer, 1000, nullptr);
  RefreshKeyStates();
}

void LexivaneControl::RefreshKeyStates() {
  BYTE keys[256] = {};
  if (!GetKeyboardState(keys)) return;
  status_.num.text = (keys[VK_NUMLOCK] & 1) ? L"NUM" : L"";
  status_.caps.text = (keys[VK_CAPITAL] & 1) ? L"CAPS" : L"";
  status_.ovr.text = (keys[VK_INSERT] & 1) ? L"OVR" : L"";
  if (window_ && settings_.showStatusBar) {
    RECT strip{status_.left, status_.top, status_.left + status_.width, status_.top + status_.height};
    InvalidateRect(window_, &strip, FALSE);
  }
}

void LexivaneControl::RefreshStatusTimes() {
  if (!settings_.showStatusBar || !(settings_.statusBarDisplayItems & 6)) return;
  if (status_.time.visible) status_.time.text = CurrentTimeText();
  if (status_.date.visible) status_.date.text = CurrentDateText();
  RECT strip{status_.left, status_.top, status_.left + status_.width, status_.top + status_.height};
  InvalidateRect(window_, &strip, FALSE);
}

void LexivaneControl::PaintStatusBar(HDC dc) {
  if (!settings_.showStatusBar) return;
  RECT strip{status_.left, status_.top, status_.left + status_.width, status_.top + status_.height};
  FillRect(dc, &strip, GetSysColorBrush(COLOR_3DFACE));
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  const int ox = status_.left, oy = status_.top;
  SIZE captionSize = LabelSize(dc, status_.caption.text);
  TextOutW(dc, ox + status_.caption.x, oy + (status_.height - captionSize.cy) / 2, status_.caption.text.c_str(),
           static_cast<int>(status_.caption.text.size()));
  for (const StatusItem* item : {&status_.time, &status_.date, &status_.ovr, &status_.caps, &status_.num}) {
    if (!item->visible) continue;
    const int pad = item == &status_.time ? 6 : 3;
    FrameRect3D(dc, ox + item->x, oy + item->y - 1, ox + item->x + item->width + pad, oy + item->y + item->height, true);
    TextOutW(dc, ox + item->x + (item == &status_.time ? 3 : 1), oy + item->y, item->text.c_str(),
             static_cast<int>(item->text.size()));
  }
  SelectObject(dc, oldFont);
}

void LexivaneControl::PaintControl(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  if (designMode_) {
    if (painting_) return;
    painting_ = true;
    if (edit_) HideCaret(edit_);
    PaintDesignerPicture(dc, client);
    painting_ = false;
    return;
  }
  // The slots of the bars and the margin; the edit window paints itself.
  HRGN around = CreateRectRgnIndirect(&client);
  HRGN document = CreateRectRgnIndirect(&layout_);
  CombineRgn(around, around, document, RGN_DIFF);
  FillRgn(dc, around, GetSysColorBrush(COLOR_3DFACE));
  DeleteObject(document);
  DeleteObject(around);
  PaintStatusBar(dc);
  if (settings_.showToolBar || settings_.showStatusBar || settings_.showRuler || settings_.showFontBar)
    FrameRect3D(dc, 0, 0, client.right - 1, client.bottom - 1, false);
}

void LexivaneControl::PaintDesignerPicture(HDC dc, const RECT& bounds) {
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  const int ox = bounds.left, oy = bounds.top;
  FillRect(dc, &bounds, GetSysColorBrush(COLOR_3DFACE));
  const int toolBar = settings_.showToolBar ? kToolBarHeight : 0;
  const int fontBar = settings_.showFontBar ? kFontBarHeight : 0;
  const int ruler = settings_.showRuler ? kRulerHeight : 0;
  const int status = settings_.showStatusBar ? kStatusBarHeight : 0;
  ComPtr<IFont> font = font_.As<IFont>(IID_IFont);
  HFONT fontHandle = nullptr;
  if (font) font->get_hFont(&fontHandle);
  HGDIOBJ oldFont = SelectObject(dc, fontHandle ? static_cast<HGDIOBJ>(fontHandle) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  if (fontBar) {
    // The font-name box: a sunken frame, its raised arrow and the white field with the name.
    const int x = ox + 10 + 4 * 18 + 6, top = oy + toolBar;
    const int c = x + 120 - 2;
    FrameRect3D(dc, x, top + 4, c, top + 20, true);
    FrameRect3D(dc, c - 14, top + 5, c - 1, top + 19, false);
    RECT field{x + 2, top + 6, c - 14, top + 18};
    FillRect(dc, &field, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    Bstr name;
    if (font && SUCCEEDED(font->get_Name(name.Put())))
      TextOutW(dc, x + 5, top + 6, name.Get(), static_cast<int>(name.View().size()));
  }
  RECT document{ox + 1, oy + toolBar + fontBar + ruler + 1, ox + width - 1, oy + height - status - 1};
  COLORREF back = RGB(255, 255, 255);
  OleTranslateColor(settings_.backColor, nullptr, &back);
  HBRUSH backBrush = CreateSolidBrush(back);
  FillRect(dc, &document, backBrush);
  DeleteObject(backBrush);
  if (settings_.borderStyle == 1) FrameRect(dc, &document, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutW(dc, ox + 5, oy + toolBar + fontBar + ruler + 6, settings_.designText.c_str(),
           static_cast<int>(settings_.designText.size()));
  SelectObject(dc, oldFont);
}

}  // namespace lexivane::control
