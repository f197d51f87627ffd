// The control's own window, the rich edit window inside it (CreateRTBox and DestroyRTBox), their
// window procedures and the thread's key hook.
#include "LexivaneControl.h"

#include "Module.h"

#include <shellapi.h>

namespace lexivane::control {

namespace {

constexpr wchar_t kControlClass[] = L"UlvaneLexivaneControl";
constexpr wchar_t kInstanceProperty[] = L"UlvaneLexivane.Instance";
constexpr DWORD kEditStyle = 0x45219044;  // child, clip siblings, v-scroll, tab stop, multi-line,
                                          // auto v-scroll, want-return, save-selection, selection bar
constexpr DWORD kEditReadOnly = 0x800;
constexpr DWORD kEditSunken = 0x4000;
constexpr DWORD kEditExStyleBorder = 0x310;  // client edge, window edge, accept files
constexpr DWORD kEditExStylePlain = 0x10;    // accept files
constexpr DWORD kEditEventMask = 0x063F001F;
constexpr UINT kFocusCheckMessage = WM_APP + 1;
// The text object model's document interface; mingw's uuid library does not carry it.
constexpr IID kTextDocumentIid = {0x8cc497c0, 0xa1df, 0x11ce, {0x80, 0x98, 0x00, 0xaa, 0x00, 0x47, 0xbe, 0x5d}};

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = reinterpret_cast<LexivaneControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!control) return DefWindowProcW(window, message, wParam, lParam);
  return control->ControlWindowMessage(window, message, wParam, lParam);
}

LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* control = static_cast<LexivaneControl*>(GetPropW(window, kInstanceProperty));
  if (!control) return DefWindowProcA(window, message, wParam, lParam);
  return control->EditWindowMessage(window, message, wParam, lParam);
}

void RegisterControlClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = ControlWindowProc;
  windowClass.hInstance = ThisModule();
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kControlClass;
  registered = RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct ThreadHook {
  HHOOK hook = nullptr;
  int users = 0;
};
thread_local ThreadHook t_hook;

LRESULT CALLBACK KeyHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && wParam == PM_REMOVE) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (msg && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && msg->hwnd) {
      auto* control = static_cast<LexivaneControl*>(GetPropW(msg->hwnd, kInstanceProperty));
      if (control && control->RouteQueuedKey(*msg)) msg->message = WM_NULL;
    }
  }
  return CallNextHookEx(t_hook.hook, code, wParam, lParam);
}

HCURSOR PointerCursor(int32_t pointer) {
  static const LPCTSTR kCursors[] = {nullptr, IDC_ARROW, IDC_CROSS, IDC_IBEAM, IDC_ICON, IDC_SIZE,
                                         IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW,
                                         IDC_WAIT, IDC_NO, IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL};
  if (pointer >= 1 && pointer <= 15) return LoadCursor(nullptr, kCursors[pointer]);
  return nullptr;
}

}  // namespace

void FontToCharFormat(IFont* font, CHARFORMAT2W& format) {
  Bstr name;
  CY size{};
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
  if (SUCCEEDED(font->get_Name(name.Put())) && name.Get()) lstrcpynW(format.szFaceName, name.Get(), LF_FACESIZE);
  if (SUCCEEDED(font->get_Size(&size))) format.yHeight = static_cast<LONG>(size.int64 * 20 / 10000);  // points to twips
  font->get_Bold(&bold);
  font->get_Italic(&italic);
  font->get_Underline(&underline);
  font->get_Strikethrough(&strike);
  format.dwEffects = (bold ? CFE_BOLD : 0) | (italic ? CFE_ITALIC : 0) | (underline ? CFE_UNDERLINE : 0) |
                     (strike ? CFE_STRIKEOUT : 0);
}

void InstallKeyHook() {
  if (t_hook.users++ == 0) t_hook.hook = SetWindowsHookExW(WH_GETMESSAGE, KeyHookProc, nullptr, GetCurrentThreadId());
}

void RemoveKeyHook() {
  if (t_hook.users > 0 && --t_hook.users == 0 && t_hook.hook) {
    UnhookWindowsHookEx(t_hook.hook);
    t_hook.hook = nullptr;
  }
}

void LexivaneControl::CreateControlWindow(HWND parent, const RECT& position) {
  if (window_) {
    SetParent(window_, parent);
    SetObjectRects(&position, &position);
    return;
  }
  RegisterControlClass();
  window_ = CreateWindowExW(0, kControlClass, nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, position.left,
                            position.top, position.right - position.left, position.bottom - position.top, parent,
                            nullptr, ThisModule(), nullptr);
  if (!window_) return;
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  EnableWindow(window_, settings_.enabled);
  if (!richEditLibrary_) richEditLibrary_ = LoadLibraryW(L"Riched20.dll");
  if (!designMode_ && !runTimeStarted_) {
    InstallKeyHook();
    runTimeStarted_ = true;
  }
  CreateRTBox();
  ++internalUpdate_;
  SetPlainText(settings_.designText);
  --internalUpdate_;
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  if (document_) document_->SetSaved(tomTrue);
  DrawControl();
}

void LexivaneControl::CreateRTBox() {
  if (edit_) DestroyRTBox();
  if (!window_) {
    if (site_) MessageBoxA(nullptr, "Error!  No Usercontrol hWnd!", "Lexivane", MB_OK);
    return;
  }
  RECT area = layout_;
  if (!hasLayout_) GetClientRect(window_, &area);
  DWORD style = kEditStyle | (settings_.readOnly ? kEditReadOnly : 0) | (settings_.borderStyle == 1 ? kEditSunken : 0);
  DWORD exStyle = settings_.borderStyle == 1 ? kEditExStyleBorder : kEditExStylePlain;
  edit_ = CreateWindowExA(exStyle, "RichEdit20A", nullptr, style, area.left, area.top, area.right - area.left,
                          area.bottom - area.top, window_, reinterpret_cast<HMENU>(1), ThisModule(), nullptr);
  if (!edit_) return;
  SetPropW(edit_, kInstanceProperty, this);
  if (!designMode_) {
    editOldProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditWindowProc)));
    ShowWindow(edit_, SW_SHOW);
  }
  ComPtr<IFont> font = font_.As<IFont>(IID_IFont);
  HFONT handle = nullptr;
  if (font && SUCCEEDED(font->get_hFont(&handle))) SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
  ApplyDefaultCharFormat();
  SendMessageW(edit_, EM_AUTOURLDETECT, TRUE, 0);
  SendBackColor();
  SendMessageW(edit_, EM_SETEVENTMASK, 0, kEditEventMask);
  if (designMode_) return;
  ComPtr<IRichEditOle> ole;
  if (SendMessageW(edit_, EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.Put())) && ole) {
    richOle_ = ole;
    document_ = ole.As<ITextDocument>(kTextDocumentIid);
  }
  SendMessageW(edit_, EM_HIDESELECTION, settings_.hideSelection ? TRUE : FALSE, 0);
  ApplyMaxLength();
  DragAcceptFiles(edit_, settings_.dragDropBehavior != 0 && !settings_.readOnly);
}

void LexivaneControl::DestroyRTBox() {
  if (!edit_) return;
  if (editOldProc_) {
    SetWindowLongPtrA(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editOldProc_));
    editOldProc_ = nullptr;
  }
  RemovePropW(edit_, kInstanceProperty);
  document_.Reset();
  richOle_.Reset();
  DestroyWindow(edit_);
  edit_ = nullptr;
}

void LexivaneControl::ApplyDefaultCharFormat() {
  // Wine's rich edit starts in a bold "System" face; text streamed in inherits it otherwise.
  if (!edit_) return;
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_FACE | CFM_SIZE | CFM_COLOR;
  format.dwEffects = CFE_AUTOCOLOR;
  format.yHeight = 165;
  lstrcpynW(format.szFaceName, L"MS Sans Serif", LF_FACESIZE);
  if (auto font = font_.As<IFont>(IID_IFont)) FontToCharFormat(font.Get(), format);
  format.dwEffects |= CFE_AUTOCOLOR;
  SendMessageW(edit_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void LexivaneControl::SendBackColor() {
  if (!edit_) return;
  COLORREF color = RGB(255, 255, 255);
  OleTranslateColor(settings_.backColor, nullptr, &color);
  SendMessageW(edit_, EM_SETBKGNDCOLOR, 0, color);
}

// ---- The control window ----

LRESULT LexivaneControl::ControlWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ComPtr<IUnknown> keepAlive(static_cast<_Lexivane*>(this));
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintControl(dc);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_SIZE:
      DrawControl();
      return 0;
    case WM_TIMER:
      if (wParam == 1234 || wParam == 1235) {
        // Marking (1234) and the bars' refresh (1235) arrive with their own parts.
        KillTimer(window, wParam);
      } else if (wParam == 1000) {
        RefreshStatusTimes();
      }
      return 0;
    case WM_COMMAND:
      if (edit_ && reinterpret_cast<HWND>(lParam) == edit_) OnEditCommand(HIWORD(wParam));
      return 0;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header && edit_ && header->hwndFrom == edit_) return OnEditNotify(header);
      break;
    }
    case WM_SETFOCUS:
      if (edit_ && !designMode_) SetFocus(edit_);
      return 0;
    case WM_SETCURSOR:
      // Over the bars and the status bar; the edit window sets its own.
      if (reinterpret_cast<HWND>(wParam) == window && ApplyPointerCursor()) return TRUE;
      break;
    case kFocusCheckMessage:
      if (focusInside_ && FocusLeftControl()) {
        focusInside_ = false;
        RaiseEvent(5);
        CheckAfterFocusLoss();
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void LexivaneControl::OnEditCommand(WORD code) {
  switch (code) {
    case EN_CHANGE:
      engine_.NoteDocumentChanged();
      dirty_ = true;
      if (internalUpdate_ == 0) RaiseEvent(1);
      break;
    case EN_KILLFOCUS:
      // Where the focus went is only known once the change is complete.
      if (window_) PostMessageW(window_, kFocusCheckMessage, 0, 0);
      break;
    case EN_SETFOCUS:
      if (!focusInside_) {
        focusInside_ = true;
        RaiseEvent(4);
      }
      break;
    default:
      break;
  }
}

bool LexivaneControl::FocusLeftControl() const {
  HWND focus = GetFocus();
  return focus != edit_ && focus != window_;
}

void LexivaneControl::CheckAfterFocusLoss() {
  if (settings_.checkOnFocusLoss && engine_.ChangedSinceLastCheck() && !engine_.Checking()) CheckSpellingNow();
}

LRESULT LexivaneControl::OnEditNotify(NMHDR* header) {
  switch (header->code) {
    case EN_MSGFILTER:
      return OnMessageFilter(reinterpret_cast<MSGFILTER*>(header));
    case EN_SELCHANGE:
      if (internalUpdate_ == 0) {
        SetTimer(window_, 1235, 100, nullptr);
        RaiseEvent(2);
      }
      return 0;
    case EN_PROTECTED:
      return OnProtected(reinterpret_cast<ENPROTECTED*>(header));
    case EN_STOPNOUNDO:
      return MessageBoxA(window_, "Due to memory constraints, this action cannot be undone.  Do you wish to continue anyway?",
                         "Can't Undo This", MB_YESNOCANCEL | MB_ICONINFORMATION) == IDYES
                 ? 0
                 : 1;
    case EN_LINK:
      OnLink(reinterpret_cast<ENLINK*>(header));
      return 0;
    default:
      return 0;
  }
}

short LexivaneControl::ShiftState() const {
  // The state as of the message being handled: keys typed ahead must not change its meaning.
  return static_cast<short>((GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                            (GetKeyState(VK_MENU) < 0 ? 4 : 0));
}

short LexivaneControl::ButtonState() const {
  return static_cast<short>((GetKeyState(VK_LBUTTON) < 0 ? 1 : 0) | (GetKeyState(VK_RBUTTON) < 0 ? 2 : 0) |
                            (GetKeyState(VK_MBUTTON) < 0 ? 4 : 0));
}

void LexivaneControl::MouseEventPosition(LPARAM lParam, float& x, float& y) const {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  HDC screen = GetDC(nullptr);
  int dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  POINTL himetric{MulDiv(point.x, 2540, dpiX), MulDiv(point.y, 2540, dpiY)};
  POINTF container{};
  auto controlSite = site_.As<IOleControlSite>(IID_IOleControlSite);
  if (controlSite && SUCCEEDED(controlSite->TransformCoords(&himetric, &container,
                                                            XFORMCOORDS_POSITION | XFORMCOORDS_HIMETRICTOCONTAINER))) {
    x = container.x;
    y = container.y;
    return;
  }
  // Without the container's help: twips, the scale forms use unless told otherwise.
  x = static_cast<float>(MulDiv(point.x, 1440, dpiX));
  y = static_cast<float>(MulDiv(point.y, 1440, dpiY));
}

LRESULT LexivaneControl::OnMessageFilter(MSGFILTER* filter) {
  const short shift = ShiftState();
  float x = 0, y = 0;
  switch (filter->msg) {
    case WM_KEYDOWN:
      if (shift & 2) HandleShortcut(filter->wParam);
      RaiseKeyEvent(DISPID_KEYDOWN, static_cast<short>(filter->wParam), shift);
      break;
    case WM_KEYUP:
      RaiseKeyEvent(DISPID_KEYUP, static_cast<short>(filter->wParam), shift);
      if ((settings_.statusBarDisplayItems & 1) && settings_.showStatusBar) RefreshKeyStates();
      break;
    case WM_CHAR:
      RaiseKeyPress(static_cast<short>(filter->wParam));
      break;
    case WM_MOUSEMOVE:
      MouseEventPosition(filter->lParam, x, y);
      RaiseMouseEvent(DISPID_MOUSEMOVE, ButtonState(), shift, x, y);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      MouseEventPosition(filter->lParam, x, y);
      RaiseMouseEvent(DISPID_MOUSEDOWN, filter->msg == WM_LBUTTONDOWN ? 1 : filter->msg == WM_RBUTTONDOWN ? 2 : 4, shift,
                      x, y);
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      MouseEventPosition(filter->lParam, x, y);
      RaiseMouseEvent(DISPID_MOUSEUP, filter->msg == WM_LBUTTONUP ? 1 : filter->msg == WM_RBUTTONUP ? 2 : 4, shift, x, y);
      RaiseEvent(DISPID_CLICK);
      break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
      RaiseEvent(DISPID_DBLCLICK);
      break;
    default:
      break;
  }
  return 0;
}

bool LexivaneControl::HandleShortcut(WPARAM key) {
  switch (key) {
    case 'B': ToggleEffect(CFM_BOLD, CFE_BOLD); return true;
    case 'I': ToggleEffect(CFM_ITALIC, CFE_ITALIC); return true;
    case 'U': ToggleEffect(CFM_UNDERLINE, CFE_UNDERLINE); return true;
    case 'S': ToggleEffect(CFM_STRIKEOUT, CFE_STRIKEOUT); return true;
    case 'Y': SendMessageW(edit_, EM_REDO, 0, 0); return true;
    case VK_ADD:
    case VK_OEM_PLUS: ToggleEffect(CFM_SUPERSCRIPT, CFE_SUPERSCRIPT); return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: ToggleEffect(CFM_SUBSCRIPT, CFE_SUBSCRIPT); return true;
    default: return false;
  }
}

void LexivaneControl::ToggleEffect(DWORD mask, DWORD effect) {
  CHARFORMAT2W format{};
  if (!ReadCharFormat(format)) return;
  // Only a selection that has the effect throughout loses it; a partly marked one gains it.
  const bool whole = (format.dwMask & mask) == mask && (format.dwEffects & effect) == effect;
  CHARFORMAT2W change{};
  change.cbSize = sizeof(change);
  change.dwMask = mask;
  change.dwEffects = whole ? 0 : effect;
  PutCharFormat(change);
}

LRESULT LexivaneControl::OnProtected(ENPROTECTED* info) {
  if (allowProtectedChange_) {
    allowProtectedChange_ = false;
    return 0;
  }
  return RaiseProtectedTextChange(info->chrg.cpMin, info->chrg.cpMax) ? 0 : 1;
}

void LexivaneControl::OnLink(ENLINK* link) {
  if (link->msg != WM_LBUTTONUP) return;
  const LONG start = link->chrg.cpMin, end = link->chrg.cpMax;
  if (end <= start) return;
  const std::wstring text = TextRange(start, end);
  if (settings_.autoHandleURLs || RaiseLinkClicked(text, start))
    ShellExecuteW(nullptr, L"open", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void LexivaneControl::MoveFocusToContainer() {
  if (HWND parent = window_ ? GetParent(window_) : nullptr) SetFocus(parent);
}

bool LexivaneControl::RouteQueuedKey(MSG& msg) {
  if (msg.hwnd != edit_) return false;
  const WPARAM key = msg.wParam;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool direct = false;
  bool leave = false;
  if (key == VK_BACK || key == VK_ESCAPE || (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_DELETE) {
    direct = true;
  } else if (key == VK_TAB) {
    direct = settings_.allowTabChar && !shift;
    leave = !direct;
  } else if (key == VK_RETURN) {
    direct = settings_.allowReturnChar;
    leave = !direct;
  } else if (ctrl) {
    for (char letter : {'I', 'U', 'V', 'S', 'B', 'C', 'X', 'Z'}) direct = direct || key == static_cast<WPARAM>(letter);
  }
  if (direct) {
    SendMessageW(edit_, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  if (leave) {
    // The key belongs to the container now; typing it into the document as well would be wrong.
    if (msg.message == WM_KEYDOWN) MoveFocusToContainer();
    return true;
  }
  return false;
}

bool LexivaneControl::ApplyPointerCursor() {
  if (settings_.mousePointer == 0) return false;
  HCURSOR cursor = PointerCursor(settings_.mousePointer);
  if (settings_.mousePointer == 99 && mouseIcon_) {
    if (auto picture = mouseIcon_.As<IPicture>(IID_IPicture)) {
      OLE_HANDLE handle = 0;
      if (SUCCEEDED(picture->get_Handle(&handle))) cursor = reinterpret_cast<HCURSOR>(static_cast<UINT_PTR>(handle));
    }
  }
  if (cursor) SetCursor(cursor);
  return true;
}

// ---- The edit window ----

LRESULT LexivaneControl::EditWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC previous = editOldProc_;
  ComPtr<IUnknown> keepAlive(static_cast<_Lexivane*>(this));
  switch (message) {
    case WM_PAINT:
      if (window_) SetTimer(window_, 1234, 100, nullptr);
      break;
    case WM_SETCURSOR:
      if (ApplyPointerCursor()) return TRUE;
      break;
    case WM_MOUSEACTIVATE:
      if (GetFocus() != edit_) {
        if (window_) SetFocus(window_);
        return MA_NOACTIVATE;
      }
      break;
    case WM_CONTEXTMENU:
      // The suggestion menu of passive checking opens here once marking exists.
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) return CallWindowProcA(previous, window, message, 0, lParam);
      if (wParam == VK_TAB) {
        LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
        CallWindowProcA(previous, window, WM_CHAR, '\t', lParam);
        return result;
      }
      break;
    default:
      break;
  }
  return previous ? CallWindowProcA(previous, window, message, wParam, lParam)
                  : DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace lexivane::control
