// The stored properties and the document-wide run-time properties of `_Lexivane`.
#include "ComErrors.h"
#include "WriteGuard.h"

#include <shellapi.h>

#include <algorithm>
#include <cwctype>

namespace lexivane::control {

namespace {

constexpr wchar_t kOnlyAtRunTime[] = L"Only valid at runtime";
constexpr DISPID kTextDispId = DISPID_TEXT;

bool EndsWithNoCase(std::wstring_view text, std::wstring_view tail) {
  if (text.size() < tail.size()) return false;
  return std::equal(tail.begin(), tail.end(), text.end() - tail.size(),
                    [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

}  // namespace

bool LexivaneControl::DesignModeString(VARIANT* value) const {
  if (!designMode_) return false;
  VariantInit(value);
  value->vt = VT_BSTR;
  value->bstrVal = SysAllocString(kOnlyAtRunTime);
  return true;
}

bool LexivaneControl::DesignModeString(BSTR* value) const {
  if (!designMode_) return false;
  *value = SysAllocString(kOnlyAtRunTime);
  return true;
}

void LexivaneControl::PropertyChanged(DISPID) { dirty_ = true; }

bool LexivaneControl::ContainerAllowsChange(DISPID) { return true; }

#define LEXIVANE_STORED_BOOL(Name, field, dispid)                          \
  HRESULT LexivaneControl::get_##Name(VARIANT_BOOL* value) {              \
    if (!value) return E_POINTER;                                          \
    *value = ToVariantBool(settings_.field);                               \
    return S_OK;                                                           \
  }                                                                        \
  HRESULT LexivaneControl::put_##Name(VARIANT_BOOL value) {               \
    settings_.field = value != VARIANT_FALSE;                              \
    PropertyChanged(dispid);                                               \
    return S_OK;                                                           \
  }

LEXIVANE_STORED_BOOL(IgnoreAllCaps, ignoreAllCaps, 2)
LEXIVANE_STORED_BOOL(IgnoreWithNumbers, ignoreWithNumbers, 3)
LEXIVANE_STORED_BOOL(IgnoreInternetAddrs, ignoreInternetAddrs, 4)
LEXIVANE_STORED_BOOL(AutoHandleErrors, autoHandleErrors, 5)
LEXIVANE_STORED_BOOL(SuggestCorrections, suggestCorrections, 6)
LEXIVANE_STORED_BOOL(CheckOnFocusLoss, checkOnFocusLoss, 7)
LEXIVANE_STORED_BOOL(AllowCancel, allowCancel, 9)
LEXIVANE_STORED_BOOL(AllowAddToCustom, allowAddToCustom, 10)
LEXIVANE_STORED_BOOL(AutoHandleURLs, autoHandleURLs, 22)
LEXIVANE_STORED_BOOL(HideSelection, hideSelection, 24)
LEXIVANE_STORED_BOOL(AllowTabChar, allowTabChar, 26)
LEXIVANE_STORED_BOOL(AllowReturnChar, allowReturnChar, 27)

#undef LEXIVANE_STORED_BOOL

// A bar's visibility: the same value again must not lay the control out anew.
#define LEXIVANE_LAYOUT_BOOL(Name, field, dispid)                          \
  HRESULT LexivaneControl::get_##Name(VARIANT_BOOL* value) {              \
    if (!value) return E_POINTER;                                          \
    *value = ToVariantBool(settings_.field);                               \
    return S_OK;                                                           \
  }                                                                        \
  HRESULT LexivaneControl::put_##Name(VARIANT_BOOL value) {               \
    SetLayoutFlag(settings_.field, value, dispid);                         \
    return S_OK;                                                           \
  }

LEXIVANE_LAYOUT_BOOL(ShowToolBar, showToolBar, 15)
LEXIVANE_LAYOUT_BOOL(ShowRuler, showRuler, 16)
LEXIVANE_LAYOUT_BOOL(ShowStatusBar, showStatusBar, 17)
LEXIVANE_LAYOUT_BOOL(ShowFontBar, showFontBar, 18)
LEXIVANE_LAYOUT_BOOL(ShowFileToolButtons, showFileToolButtons, 19)

#undef LEXIVANE_LAYOUT_BOOL

void LexivaneControl::SetLayoutFlag(bool& flag, VARIANT_BOOL value, DISPID id) {
  const bool wanted = value != VARIANT_FALSE;
  if (flag == wanted) return;
  flag = wanted;
  PropertyChanged(id);
  DrawControl();
}

HRESULT LexivaneControl::get_FlatToolbars(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = ToVariantBool(settings_.flatToolbars);
  return S_OK;
}

HRESULT LexivaneControl::put_FlatToolbars(VARIANT_BOOL value) {
  settings_.flatToolbars = value != VARIANT_FALSE;
  PropertyChanged(25);
  DrawControl();
  return S_OK;
}

HRESULT LexivaneControl::get_IgnoreCase(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = ToVariantBool(settings_.ignoreCase);
  return S_OK;
}

HRESULT LexivaneControl::put_IgnoreCase(VARIANT_BOOL value) {
  settings_.ignoreCase = value != VARIANT_FALSE;
  // Ignoring case makes the all-capitals test meaningless, so it goes off with it.
  if (settings_.ignoreCase) settings_.ignoreAllCaps = false;
  PropertyChanged(13);
  return S_OK;
}

HRESULT LexivaneControl::get_PassiveChecking(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = ToVariantBool(settings_.passiveChecking);
  return S_OK;
}

HRESULT LexivaneControl::put_PassiveChecking(VARIANT_BOOL value) {
  settings_.passiveChecking = value != VARIANT_FALSE;
  PropertyChanged(12);
  if (edit_) InvalidateRect(edit_, nullptr, TRUE);
  return S_OK;
}

HRESULT LexivaneControl::get_PassiveCheckColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  *value = settings_.passiveCheckColor;
  return S_OK;
}

HRESULT LexivaneControl::put_PassiveCheckColor(OLE_COLOR value) {
  settings_.passiveCheckColor = value;
  PropertyChanged(11);
  if (edit_) InvalidateRect(edit_, nullptr, TRUE);
  return S_OK;
}

HRESULT LexivaneControl::get_ReadOnly(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = ToVariantBool(settings_.readOnly);
  return S_OK;
}

HRESULT LexivaneControl::put_ReadOnly(VARIANT_BOOL value) {
  settings_.readOnly = value != VARIANT_FALSE;
  PropertyChanged(14);
  ApplyReadOnly();
  return S_OK;
}

void LexivaneControl::ApplyReadOnly() {
  if (!edit_) return;
  SendMessageW(edit_, EM_SETREADONLY, settings_.readOnly ? TRUE : FALSE, 0);
  if (!designMode_) DragAcceptFiles(edit_, settings_.dragDropBehavior != 0 && !settings_.readOnly);
}

HRESULT LexivaneControl::get_DoneAction(::eDoneAction* value) {
  if (!value) return E_POINTER;
  *value = static_cast<::eDoneAction>(settings_.doneAction);
  return S_OK;
}

HRESULT LexivaneControl::put_DoneAction(::eDoneAction value) {
  settings_.doneAction = value;
  PropertyChanged(8);
  return S_OK;
}

HRESULT LexivaneControl::get_StatusBarCaption(BSTR* value) {
  return ReturnString(settings_.statusBarCaption, value);
}

HRESULT LexivaneControl::put_StatusBarCaption(BSTR value) {
  settings_.statusBarCaption = std::wstring(View(value));
  status_.caption.text = settings_.statusBarCaption;
  PropertyChanged(20);
  if (window_ && settings_.showStatusBar) {
    RECT strip{status_.left, status_.top, status_.left + status_.width, status_.top + status_.height};
    InvalidateRect(window_, &strip, FALSE);
  }
  return S_OK;
}

HRESULT LexivaneControl::get_StatusBarDisplayItems(eStatusBarItems* value) {
  if (!value) return E_POINTER;
  *value = static_cast<eStatusBarItems>(settings_.statusBarDisplayItems);
  return S_OK;
}

HRESULT LexivaneControl::put_StatusBarDisplayItems(eStatusBarItems value) {
  settings_.statusBarDisplayItems = value;
  PropertyChanged(21);
  DrawControl();
  return S_OK;
}

HRESULT LexivaneControl::get_BorderStyle(eBorderStyles* value) {
  if (!value) return E_POINTER;
  *value = static_cast<eBorderStyles>(settings_.borderStyle);
  return S_OK;
}

HRESULT LexivaneControl::put_BorderStyle(eBorderStyles value) {
  settings_.borderStyle = value;
  PropertyChanged(DISPID_BORDERSTYLE);
  if (!edit_) return S_OK;
  // The edge is fixed when the window is made; the document must survive the new window.
  const std::string document = StreamOut(SF_RTF);
  CHARRANGE selection{0, 0};
  SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  ++internalUpdate_;
  CreateRTBox();
  StreamIn(document, SF_RTF, false);
  SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  --internalUpdate_;
  DrawControl();
  return S_OK;
}

HRESULT LexivaneControl::get_DragDropBehavior(eDragDropBehaviorTypes* value) {
  if (!value) return E_POINTER;
  *value = static_cast<eDragDropBehaviorTypes>(settings_.dragDropBehavior);
  return S_OK;
}

HRESULT LexivaneControl::put_DragDropBehavior(eDragDropBehaviorTypes value) {
  settings_.dragDropBehavior = value;
  PropertyChanged(23);
  ApplyReadOnly();
  return S_OK;
}

HRESULT LexivaneControl::get_BackColor(OLE_COLOR* value) {
  if (!value) return E_POINTER;
  *value = settings_.backColor;
  return S_OK;
}

HRESULT LexivaneControl::put_BackColor(OLE_COLOR value) {
  settings_.backColor = value;
  PropertyChanged(DISPID_BACKCOLOR);
  SendBackColor();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
  return S_OK;
}

HRESULT LexivaneControl::get_Enabled(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = ToVariantBool(settings_.enabled);
  return S_OK;
}

HRESULT LexivaneControl::put_Enabled(VARIANT_BOOL value) {
  settings_.enabled = value != VARIANT_FALSE;
  PropertyChanged(DISPID_ENABLED);
  if (window_) EnableWindow(window_, settings_.enabled);
  return S_OK;
}

HRESULT LexivaneControl::get_MaxLength(LONG* value) {
  if (!value) return E_POINTER;
  *value = settings_.maxLength;
  return S_OK;
}

HRESULT LexivaneControl::put_MaxLength(LONG value) {
  settings_.maxLength = value;
  PropertyChanged(29);
  ApplyMaxLength();
  return S_OK;
}

void LexivaneControl::ApplyMaxLength() {
  if (edit_ && !designMode_) SendMessageW(edit_, EM_EXLIMITTEXT, 0, settings_.maxLength);
}

HRESULT LexivaneControl::get_MousePointer(LONG* value) {
  if (!value) return E_POINTER;
  *value = settings_.mousePointer;
  return S_OK;
}

HRESULT LexivaneControl::put_MousePointer(LONG value) {
  settings_.mousePointer = value;
  PropertyChanged(DISPID_MOUSEPOINTER);
  return S_OK;
}

HRESULT LexivaneControl::get_MouseIcon(IPictureDisp** value) {
  if (!value) return E_POINTER;
  *value = ComPtr<IPictureDisp>(mouseIcon_).Detach();
  return S_OK;
}

HRESULT LexivaneControl::put_MouseIcon(IPictureDisp* value) { return putref_MouseIcon(value); }

HRESULT LexivaneControl::putref_MouseIcon(IPictureDisp* value) {
  mouseIcon_ = ComPtr<IPictureDisp>(value);
  PropertyChanged(DISPID_MOUSEICON);
  return S_OK;
}

HRESULT LexivaneControl::get_Font(IFontDisp** value) {
  if (!value) return E_POINTER;
  if (!designMode_ && edit_) RefreshFontFromDocument();
  *value = ComPtr<IFontDisp>(font_).Detach();
  return S_OK;
}

HRESULT LexivaneControl::put_Font(IFontDisp* value) { return putref_Font(value); }

HRESULT LexivaneControl::putref_Font(IFontDisp* value) {
  if (!value) return E_INVALIDARG;
  font_ = ComPtr<IFontDisp>(value);
  PropertyChanged(DISPID_FONT);
  ApplyFontToDocument();
  DrawControl();
  return S_OK;
}

void LexivaneControl::RefreshFontFromDocument() {
  ComPtr<IFont> font = font_.As<IFont>(IID_IFont);
  if (!font) return;
  // The font is what the document starts with: read at position 0, the user's selection kept.
  CHARRANGE selection{0, 0};
  SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  ++internalUpdate_;
  SetSelectionRange(0, 0);
  CHARFORMAT2W format;
  ReadCharFormat(format);
  SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  --internalUpdate_;
  if (format.dwMask & CFM_FACE) {
    Bstr name(format.szFaceName);
    font->put_Name(name.Get());
  }
  if (format.dwMask & CFM_SIZE) {
    CY size{};
    size.int64 = static_cast<LONGLONG>(format.yHeight) * 10000 / 20;
    font->put_Size(size);
  }
  if (format.dwMask & CFM_BOLD) font->put_Bold((format.dwEffects & CFE_BOLD) != 0);
  if (format.dwMask & CFM_ITALIC) font->put_Italic((format.dwEffects & CFE_ITALIC) != 0);
  if (format.dwMask & CFM_UNDERLINE) font->put_Underline((format.dwEffects & CFE_UNDERLINE) != 0);
  if (format.dwMask & CFM_STRIKEOUT) font->put_Strikethrough((format.dwEffects & CFE_STRIKEOUT) != 0);
}

void LexivaneControl::ApplyFontToDocument() {
  if (!edit_) return;
  ComPtr<IFont> font = font_.As<IFont>(IID_IFont);
  HFONT handle = nullptr;
  if (font && SUCCEEDED(font->get_hFont(&handle))) SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
  if (designMode_ || !font) return;
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  FontToCharFormat(font.Get(), format);
  WriteGuard guard(*this);
  ++internalUpdate_;
  SendMessageW(edit_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  --internalUpdate_;
}

HRESULT LexivaneControl::get_CustomDictionaryFileName(BSTR* value) {
  return ReturnString(FromAnsi(TheWordListStore().CustomDictionaryFileName()), value);
}

HRESULT LexivaneControl::put_CustomDictionaryFileName(BSTR value) {
  TheWordListStore().SetCustomDictionaryFileName(ToAnsi(View(value)));  // a file that cannot be read is skipped
  PropertyChanged(1);
  return S_OK;
}

HRESULT LexivaneControl::get_FileName(BSTR* value) {
  if (!value) return E_POINTER;
  if (DesignModeString(value)) return S_OK;
  return ReturnString(settings_.fileName, value);
}

HRESULT LexivaneControl::put_FileName(BSTR value) {
  if (designMode_) return S_OK;
  std::wstring name(View(value));
  if (webPage_ && !EndsWithNoCase(name, L".txt") && !EndsWithNoCase(name, L".rtf")) name += L".txt";
  settings_.fileName = name;
  PropertyChanged(28);
  return S_OK;
}

HRESULT LexivaneControl::get_Text(BSTR* value) {
  if (!value) return E_POINTER;
  if (designMode_ || !edit_) return ReturnString(settings_.designText, value);
  return ReturnString(PlainText(), value);
}

HRESULT LexivaneControl::put_Text(BSTR value) {
  if (!ContainerAllowsChange(kTextDispId)) return S_OK;
  if (designMode_) settings_.designText = std::wstring(View(value));
  SetPlainText(View(value));
  PropertyChanged(kTextDispId);
  return S_OK;
}

HRESULT LexivaneControl::get_TextRTF(BSTR* value) {
  if (!value) return E_POINTER;
  if (DesignModeString(value)) return S_OK;
  return ReturnString(FromAnsi(StreamOut(SF_RTF)), value);
}

HRESULT LexivaneControl::put_TextRTF(BSTR value) {
  if (designMode_ || !edit_ || !ContainerAllowsChange(62)) return S_OK;
  const std::string rtf = ToAnsi(View(value));
  // The stored limit could cut the new document short; it is restored afterwards.
  SendMessageW(edit_, EM_EXLIMITTEXT, 0, static_cast<LPARAM>(rtf.size() + 1));
  StreamIn(rtf, SF_RTF, false);
  ApplyMaxLength();
  PropertyChanged(62);
  return S_OK;
}

HRESULT LexivaneControl::get_TextRTFMemo(VARIANT* value) {
  if (!value) return E_POINTER;
  if (DesignModeString(value)) return S_OK;
  VariantInit(value);
  value->vt = VT_BSTR;
  return get_TextRTF(&value->bstrVal);
}

HRESULT LexivaneControl::put_TextRTFMemo(VARIANT value) {
  if (designMode_ || !ContainerAllowsChange(63)) return S_OK;
  Variant text;
  if (value.vt != VT_NULL && value.vt != VT_EMPTY && FAILED(VariantChangeType(&text, &value, 0, VT_BSTR)))
    return DISP_E_TYPEMISMATCH;
  BSTR content = (*text).vt == VT_BSTR ? (*text).bstrVal : nullptr;
  Bstr empty(L"");
  if (!content) content = empty.Get();
  if (View(content).substr(0, 5) == L"{\\rtf") return put_TextRTF(content);
  return put_Text(content);
}

HRESULT LexivaneControl::get_TextHTML(BSTR* value) {
  if (!value) return E_POINTER;
  if (DesignModeString(value)) return S_OK;
  return NotYetAvailable(L"TextHTML");
}

HRESULT LexivaneControl::put_TextHTML(BSTR) { return designMode_ ? S_OK : NotYetAvailable(L"TextHTML"); }

HRESULT LexivaneControl::get_Modified(VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = VARIANT_FALSE;
  if (designMode_ || !edit_) return S_OK;
  long saved = tomTrue;
  if (document_ && SUCCEEDED(document_->GetSaved(&saved)))
    *value = ToVariantBool(saved == tomFalse);
  else
    *value = ToVariantBool(SendMessageW(edit_, EM_GETMODIFY, 0, 0) != 0);
  return S_OK;
}

HRESULT LexivaneControl::put_Modified(VARIANT_BOOL value) {
  if (designMode_ || !edit_) return S_OK;
  if (document_) document_->SetSaved(value != VARIANT_FALSE ? tomFalse : tomTrue);
  SendMessageW(edit_, EM_SETMODIFY, value != VARIANT_FALSE, 0);
  return S_OK;
}

HRESULT LexivaneControl::get_hWnd(LONG* value) {
  if (!value) return E_POINTER;
  *value = designMode_ ? 0 : static_cast<LONG>(reinterpret_cast<LONG_PTR>(edit_));
  return S_OK;
}

HRESULT LexivaneControl::get_OLEObjectCount(LONG* value) {
  if (!value) return E_POINTER;
  *value = !designMode_ && richOle_ ? richOle_->GetObjectCount() : 0;
  return S_OK;
}

HRESULT LexivaneControl::get_ToolButtonVisible(BSTR, VARIANT_BOOL* value) {
  if (!value) return E_POINTER;
  *value = VARIANT_FALSE;
  return designMode_ ? S_OK : NotYetAvailable(L"ToolButtonVisible");
}

HRESULT LexivaneControl::put_ToolButtonVisible(BSTR, VARIANT_BOOL) {
  return designMode_ ? S_OK : NotYetAvailable(L"ToolButtonVisible");
}

}  // namespace lexivane::control
