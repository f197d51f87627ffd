// The "Spelling Error" dialog the engine shows for each misspelled word when `AutoHandleErrors`
// is set, and the About box. Positions are kept in twips, per user, like the dialog's settings.
#include "ComErrors.h"
#include "ControlResources.h"
#include "LexivaneControl.h"
#include "Module.h"

#include <cwctype>

namespace lexivane::control {

namespace {

constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Ulvane Lexivane\\Settings";

struct DialogState {
  const CorrectionRequest* request = nullptr;
  DialogPosition remembered;
  DialogPosition final;
  std::wstring word;
  HFONT labelFont = nullptr;
  HFONT wordFont = nullptr;
  HFONT listFont = nullptr;
  int dpiX = 96, dpiY = 96;
};

int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
int PixelsToTwips(int pixels, int dpi) { return MulDiv(pixels, 1440, dpi); }

bool ReadSetting(const wchar_t* name, int& value) {
  wchar_t text[32] = {};
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
    return false;
  wchar_t* end = nullptr;
  long number = wcstol(text, &end, 10);
  if (end == text) return false;
  value = static_cast<int>(number);
  return true;
}

void WriteSetting(const wchar_t* name, int value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  std::wstring text = std::to_wstring(value);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

std::wstring Trimmed(std::wstring text) {
  while (!text.empty() && std::iswspace(text.back())) text.pop_back();
  size_t first = 0;
  while (first < text.size() && std::iswspace(text[first])) ++first;
  return text.substr(first);
}

std::wstring WindowText(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  int got = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

HFONT MakeFont(HDC dc, int tenthsOfPoint, bool bold, bool italic) {
  return CreateFontW(-MulDiv(tenthsOfPoint, GetDeviceCaps(dc, LOGPIXELSY), 720), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL,
                     italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH, L"MS Sans Serif");
}

void MoveDialogTo(HWND dialog, const DialogState& state, int leftTwips, int topTwips) {
  SetWindowPos(dialog, nullptr, TwipsToPixels(leftTwips, state.dpiX), TwipsToPixels(topTwips, state.dpiY), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOut(HWND dialog, DialogState& state) {
  struct Place {
    int id, x, y, width, height;
  };
  // Twips from the top-left of the client area; buttons are 1410 x 360.
  static constexpr Place kPlaces[] = {
      {IDC_WORDLABEL, 90, 150, 2265, 240},      {IDC_WORD, 90, 390, 2265, 345},
      {IDC_SUGGESTLABEL, 90, 915, 2265, 240},   {IDC_SUGGESTIONS, 90, 1155, 2265, 1560},
      {IDC_CHANGE, 2670, 90, 1410, 360},        {IDC_CHANGEALL, 2670, 510, 1410, 360},
      {IDC_IGNORE, 2655, 1035, 1410, 360},      {IDC_IGNOREALL, 2655, 1470, 1410, 360},
      {IDC_ADDTOCUSTOM, 2655, 1980, 1410, 360}, {IDC_CANCELCHECK, 2655, 2490, 1410, 360},
  };
  SetWindowPos(dialog, nullptr, 0, 0, TwipsToPixels(4290, state.dpiX), TwipsToPixels(2940, state.dpiY),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const Place& place : kPlaces) {
    MoveWindow(GetDlgItem(dialog, place.id), TwipsToPixels(place.x, state.dpiX), TwipsToPixels(place.y, state.dpiY),
               TwipsToPixels(place.width, state.dpiX), TwipsToPixels(place.height, state.dpiY), FALSE);
  }
  HDC dc = GetDC(dialog);
  state.labelFont = MakeFont(dc, 98, false, true);
  state.wordFont = MakeFont(dc, 120, true, false);
  state.listFont = MakeFont(dc, 120, false, false);
  ReleaseDC(dialog, dc);
  SendDlgItemMessageW(dialog, IDC_WORDLABEL, WM_SETFONT, reinterpret_cast<WPARAM>(state.labelFont), FALSE);
  SendDlgItemMessageW(dialog, IDC_SUGGESTLABEL, WM_SETFONT, reinterpret_cast<WPARAM>(state.labelFont), FALSE);
  SendDlgItemMessageW(dialog, IDC_WORD, WM_SETFONT, reinterpret_cast<WPARAM>(state.wordFont), FALSE);
  SendDlgItemMessageW(dialog, IDC_SUGGESTIONS, WM_SETFONT, reinterpret_cast<WPARAM>(state.listFont), FALSE);
}

void FillSuggestions(HWND list, std::wstring_view suggestions) {
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  size_t start = 0;
  while (start < suggestions.size()) {
    size_t end = suggestions.find(L'\r', start);
    if (end == std::wstring_view::npos) end = suggestions.size();
    std::wstring entry(suggestions.substr(start, end - start));
    if (!entry.empty()) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    start = end + 1;
  }
}

void CopySelectedSuggestion(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_SUGGESTIONS);
  LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
  if (length < 0) return;
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  SetDlgItemTextW(dialog, IDC_WORD, text.c_str());
}

void Finish(HWND dialog, DialogState& state, int result) {
  state.word = Trimmed(WindowText(GetDlgItem(dialog, IDC_WORD)));
  EndDialog(dialog, result);
}

INT_PTR CALLBACK CorrectionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      HDC screen = GetDC(nullptr);
      state->dpiX = GetDeviceCaps(screen, LOGPIXELSX);
      state->dpiY = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
      LayOut(dialog, *state);
      RECT frame{};
      GetWindowRect(dialog, &frame);
      int left = PixelsToTwips(frame.left, state->dpiX), top = PixelsToTwips(frame.top, state->dpiY);
      ReadSetting(L"LastCorrectPosX", left);
      ReadSetting(L"LastCorrectPosY", top);
      MoveDialogTo(dialog, *state, left, top);
      const CorrectionRequest& request = *state->request;
      SetDlgItemTextW(dialog, IDC_WORD, FromAnsi(request.word).c_str());
      ShowWindow(GetDlgItem(dialog, IDC_CANCELCHECK), request.showCancel ? SW_SHOW : SW_HIDE);
      ShowWindow(GetDlgItem(dialog, IDC_ADDTOCUSTOM), request.showAdd ? SW_SHOW : SW_HIDE);
      if (state->remembered.left != 0) MoveDialogTo(dialog, *state, state->remembered.left, state->remembered.top);
      FillSuggestions(GetDlgItem(dialog, IDC_SUGGESTIONS), FromAnsi(request.suggestions));
      return TRUE;
    }
    case WM_COMMAND: {
      if (!state) return FALSE;
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IDC_SUGGESTIONS) {
        if (code == LBN_SELCHANGE) CopySelectedSuggestion(dialog);
        if (code == LBN_DBLCLK) {
          CopySelectedSuggestion(dialog);
          Finish(dialog, *state, seChangeWord);
        }
        return TRUE;
      }
      if (id >= IDC_IGNORE && id <= IDC_CANCELCHECK) {
        if (IsWindowVisible(GetDlgItem(dialog, id))) Finish(dialog, *state, id - IDC_RESULT_BASE);
        return TRUE;
      }
      if (id == IDCANCEL) {
        // Escape or the close key: Cancel where Cancel is offered, otherwise leave the word alone.
        Finish(dialog, *state, state->request->showCancel ? seCancelChecking : seIgnoreWord);
        return TRUE;
      }
      if (id == IDOK) {
        Finish(dialog, *state, seChangeWord);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      if (state) {
        RECT frame{};
        GetWindowRect(dialog, &frame);
        state->final = DialogPosition{PixelsToTwips(frame.left, state->dpiX), PixelsToTwips(frame.top, state->dpiY)};
        WriteSetting(L"LastCorrectPosX", state->final.left);
        WriteSetting(L"LastCorrectPosY", state->final.top);
        for (HFONT font : {state->labelFont, state->wordFont, state->listFont})
          if (font) DeleteObject(font);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      // The first "0" of the dialog's text is where the word count goes.
      std::wstring text = WindowText(GetDlgItem(dialog, IDC_ABOUT_TEXT));
      size_t zero = text.find(L'0');
      if (zero != std::wstring::npos) {
        wchar_t count[32] = {};
        NUMBERFMTW format{0, 0, 3, const_cast<LPWSTR>(L"."), const_cast<LPWSTR>(L","), 0};
        std::wstring digits = std::to_wstring(static_cast<unsigned long long>(lParam));
        GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, count, 32);
        text.replace(zero, 1, count);
        SetDlgItemTextW(dialog, IDC_ABOUT_TEXT, text.c_str());
      }
      return TRUE;
    }
    case WM_LBUTTONDOWN:
      EndDialog(dialog, IDOK);
      return TRUE;
    case WM_COMMAND:
      EndDialog(dialog, IDOK);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

Decision LexivaneControl::RunCorrectionDialog(const CorrectionRequest& request, DialogPosition& position) {
  DialogState state;
  state.request = &request;
  state.remembered = request.position.Remembered() ? request.position : correctPosition_;
  HWND owner = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
  INT_PTR result = DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_CORRECTION), owner, CorrectionDialogProc,
                                   reinterpret_cast<LPARAM>(&state));
  Decision decision;
  decision.whatToDo = result >= seIgnoreWord && result <= seCancelChecking ? static_cast<int32_t>(result) : seIgnoreWord;
  decision.replacement = ToAnsi(state.word);
  position = state.final;
  correctPosition_ = state.final;
  return decision;
}

HRESULT LexivaneControl::ShowAboutBox() {
  uint64_t count = TheWordListStore().WordCount(kBaseList);
  HWND owner = window_ ? GetAncestor(window_, GA_ROOT) : nullptr;
  DialogBoxParamW(ThisModule(), MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDialogProc, static_cast<LPARAM>(count));
  return S_OK;
}

}  // namespace lexivane::control
