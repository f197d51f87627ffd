// The methods of `_Lexivane`: caret and selection, zoom, undo, focus, spelling and the word
// lists. Methods whose behaviour comes with later parts answer that they are not yet available.
#include "ComErrors.h"
#include "WriteGuard.h"

namespace lexivane::control {

void LexivaneControl::SyncSpellOptions() {
  SpellOptions& options = engine_.Options();
  options.ignoreAllCaps = settings_.ignoreAllCaps;
  options.ignoreWithNumbers = settings_.ignoreWithNumbers;
  options.ignoreInternetAddrs = settings_.ignoreInternetAddrs;
  options.ignoreCase = settings_.ignoreCase;
  options.suggestCorrections = settings_.suggestCorrections;
  options.autoHandleErrors = settings_.autoHandleErrors;
  options.allowCancel = settings_.allowCancel;
  options.allowAddToCustom = settings_.allowAddToCustom;
  options.doneAction = static_cast<lexivane::eDoneAction>(settings_.doneAction);
}

HRESULT LexivaneControl::ShowTheCaret() {
  if (edit_) ShowCaret(edit_);
  return S_OK;
}

HRESULT LexivaneControl::HideTheCaret() {
  if (edit_) HideCaret(edit_);
  return S_OK;
}

HRESULT LexivaneControl::MoveCaretToEnd() {
  SetSelectionRange(-1, -1);
  return S_OK;
}

HRESULT LexivaneControl::MoveCaretToStart() {
  SetSelectionRange(0, 0);
  return S_OK;
}

HRESULT LexivaneControl::SelectNone() {
  SetSelectionRange(-1, -1);
  return S_OK;
}

HRESULT LexivaneControl::SelectAll() {
  SetSelectionRange(0, -1);
  return S_OK;
}

HRESULT LexivaneControl::GetSelection(LONG* nStart, LONG* nEnd) {
  if (!nStart || !nEnd) return E_POINTER;
  int64_t start = 0, end = 0;
  GetSelection(start, end);
  *nStart = static_cast<LONG>(start);
  *nEnd = static_cast<LONG>(end);
  return S_OK;
}

HRESULT LexivaneControl::SetSelection(LONG nStart, LONG nEnd) {
  SetSelectionRange(nStart, nEnd);
  return S_OK;
}

HRESULT LexivaneControl::ExpandSelection(eDocumentUnits eHowMuch) {
  if (eHowMuch == seScreen || !edit_) return S_OK;
  // The units share their values with the text object model's.
  ComPtr<ITextSelection> selection;
  long delta = 0;
  if (document_ && SUCCEEDED(document_->GetSelection(selection.Put())) && selection &&
      SUCCEEDED(selection->Expand(eHowMuch, &delta)))
    return S_OK;
  // Wine leaves Expand unimplemented: the edit window's own word breaks and story do the common units.
  CHARRANGE range{0, 0};
  SendMessageW(edit_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  if (eHowMuch == seStory) {
    range = CHARRANGE{0, -1};
  } else if (eHowMuch == seWord) {
    range.cpMin = static_cast<LONG>(SendMessageW(edit_, EM_FINDWORDBREAK, WB_MOVEWORDLEFT, range.cpMin + 1));
    range.cpMax = static_cast<LONG>(SendMessageW(edit_, EM_FINDWORDBREAK, WB_MOVEWORDRIGHT, range.cpMax));
  } else if (eHowMuch == seParagraph || eHowMuch == seLine) {
    LONG first = static_cast<LONG>(SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, range.cpMin));
    LONG last = static_cast<LONG>(SendMessageW(edit_, EM_EXLINEFROMCHAR, 0, range.cpMax));
    range.cpMin = static_cast<LONG>(SendMessageW(edit_, EM_LINEINDEX, first, 0));
    LONG lastStart = static_cast<LONG>(SendMessageW(edit_, EM_LINEINDEX, last, 0));
    range.cpMax = lastStart + static_cast<LONG>(SendMessageW(edit_, EM_LINELENGTH, lastStart, 0)) + 1;
  }
  SendMessageW(edit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return S_OK;
}

HRESULT LexivaneControl::SetZoomLevel(LONG nRatioNumerator, LONG nRatioDenominator) {
  if (edit_) SendMessageW(edit_, EM_SETZOOM, nRatioNumerator, nRatioDenominator);
  return S_OK;
}

HRESULT LexivaneControl::GetZoomLevel(LONG* nRatioNumerator, LONG* nRatioDenominator) {
  if (!nRatioNumerator || !nRatioDenominator) return E_POINTER;
  int numerator = 0, denominator = 0;
  if (edit_) SendMessageW(edit_, EM_GETZOOM, reinterpret_cast<WPARAM>(&numerator), reinterpret_cast<LPARAM>(&denominator));
  *nRatioNumerator = numerator;
  *nRatioDenominator = denominator;
  return S_OK;
}

HRESULT LexivaneControl::ClearUndoBuffer() {
  if (edit_) SendMessageW(edit_, EM_EMPTYUNDOBUFFER, 0, 0);
  return S_OK;
}

HRESULT LexivaneControl::Refresh() {
  if (window_) {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }
  if (edit_) InvalidateRect(edit_, nullptr, TRUE);
  return S_OK;
}

HRESULT LexivaneControl::SetFocusToMe() {
  if (edit_) SetFocus(edit_);
  return S_OK;
}

HRESULT LexivaneControl::InsertPageBreak() { return NotYetAvailable(L"InsertPageBreak"); }

// ---- Spelling ----

HRESULT LexivaneControl::CheckSpellingNow() {
  SyncSpellOptions();
  engine_.CheckSpellingNow();
  return S_OK;
}

HRESULT LexivaneControl::CheckString(BSTR* sToCheck) {
  if (!sToCheck) return E_POINTER;
  SyncSpellOptions();
  std::string text = ToAnsi(View(*sToCheck));
  engine_.CheckString(text);
  BSTR result = nullptr;
  if (ReturnString(FromAnsi(text), &result) != S_OK) return E_OUTOFMEMORY;
  SysFreeString(*sToCheck);
  *sToCheck = result;
  return S_OK;
}

HRESULT LexivaneControl::AddWordsToCustom(BSTR sNewWords) {
  TheWordListStore().AddWordsToCustom(ToAnsi(View(sNewWords)));
  return S_OK;
}

HRESULT LexivaneControl::IgnoreAll(BSTR sToIgnore) {
  TheWordListStore().IgnoreAll(ToAnsi(View(sToIgnore)));
  return S_OK;
}

HRESULT LexivaneControl::RemoveWordsFromDictionary(BSTR sWords) {
  TheWordListStore().RemoveWordsFromDictionary(ToAnsi(View(sWords)));
  return S_OK;
}

HRESULT LexivaneControl::ClearBaseDictionary() {
  TheWordListStore().ClearBaseDictionary();
  return S_OK;
}

HRESULT LexivaneControl::ClearCustomDictionary() {
  TheWordListStore().ClearCustomDictionary();
  return S_OK;
}

HRESULT LexivaneControl::ClearIgnoreList() {
  TheWordListStore().ClearIgnoreList();
  return S_OK;
}

HRESULT LexivaneControl::LoadCustomDictionary(BSTR sFileName, VARIANT_BOOL bAppendToExisting) {
  auto error = TheWordListStore().LoadCustomDictionary(ToAnsi(View(sFileName)), bAppendToExisting != VARIANT_FALSE);
  if (error) return RaiseComError(error->number, FromAnsi(error->description));
  return S_OK;
}

HRESULT LexivaneControl::SaveCustomDictionary(BSTR sFileName) {
  TheWordListStore().SaveCustomDictionary(ToAnsi(View(sFileName)));
  return S_OK;
}

void LexivaneControl::ShowMessageBox(std::string_view text, std::string_view title) {
  // A script host without a container has nobody to answer a box.
  if (!site_) return;
  MessageBoxA(window_, std::string(text).c_str(), std::string(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

// ---- Members of later parts ----

HRESULT LexivaneControl::Find(BSTR, LONG, LONG, VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL* found) {
  if (found) *found = VARIANT_FALSE;
  return NotYetAvailable(L"Find");
}
HRESULT LexivaneControl::ReplaceAll(BSTR, BSTR, LONG, LONG, VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL, LONG* replaced) {
  if (replaced) *replaced = 0;
  return NotYetAvailable(L"ReplaceAll");
}
HRESULT LexivaneControl::SaveDocument(BSTR) { return NotYetAvailable(L"SaveDocument"); }
HRESULT LexivaneControl::OpenDocument(BSTR) { return NotYetAvailable(L"OpenDocument"); }
HRESULT LexivaneControl::CallToolButton(BSTR) { return NotYetAvailable(L"CallToolButton"); }
HRESULT LexivaneControl::AddCustomToolbutton(BSTR, BSTR, IPictureDisp*) { return NotYetAvailable(L"AddCustomToolbutton"); }
HRESULT LexivaneControl::AddCustomToolbuttonFname(BSTR, BSTR, BSTR) { return NotYetAvailable(L"AddCustomToolbuttonFname"); }
HRESULT LexivaneControl::GetSelectedFontAttributes(eSelectionAttribute*, eSelectionAttribute*, eSelectionAttribute*,
                                                   eSelectionAttribute*, eSelectionAttribute*, eSelectionAttribute*,
                                                   eSelectionAttribute*, BSTR*, BSTR*, OLE_COLOR*, OLE_COLOR*) {
  return NotYetAvailable(L"GetSelectedFontAttributes");
}
HRESULT LexivaneControl::SetSelectedFontAttributes(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                                   VARIANT, VARIANT, VARIANT) {
  return NotYetAvailable(L"SetSelectedFontAttributes");
}
HRESULT LexivaneControl::GetSelectedParagraphAttributes(eSelectionAttribute*, eAlignmentAttribute*, eSpacingAttribute*,
                                                        LONG*, LONG*, LONG*, BSTR*) {
  return NotYetAvailable(L"GetSelectedParagraphAttributes");
}
HRESULT LexivaneControl::SetSelectedParagraphAttributes(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT, VARIANT,
                                                        VARIANT) {
  return NotYetAvailable(L"SetSelectedParagraphAttributes");
}
HRESULT LexivaneControl::SelectionIntoLink(VARIANT, VARIANT, VARIANT, VARIANT) { return NotYetAvailable(L"SelectionIntoLink"); }
HRESULT LexivaneControl::OLEObject(LONG, IDispatch** object) {
  if (object) *object = nullptr;
  return NotYetAvailable(L"OLEObject");
}
HRESULT LexivaneControl::OLEObjectInsert(VARIANT, VARIANT, VARIANT, VARIANT, VARIANT) { return NotYetAvailable(L"OLEObjectInsert"); }
HRESULT LexivaneControl::OLEObjectRemove(LONG) { return NotYetAvailable(L"OLEObjectRemove"); }
HRESULT LexivaneControl::ShowPageSetup() { return NotYetAvailable(L"ShowPageSetup"); }
HRESULT LexivaneControl::ShowPrintPreview() { return NotYetAvailable(L"ShowPrintPreview"); }
HRESULT LexivaneControl::ShowPrintDialog() { return NotYetAvailable(L"ShowPrintDialog"); }
HRESULT LexivaneControl::PrintSelection(LONG, VARIANT_BOOL) { return NotYetAvailable(L"PrintSelection"); }
HRESULT LexivaneControl::SetPrintMarginsInTwips(LONG, LONG, LONG, LONG) { return NotYetAvailable(L"SetPrintMarginsInTwips"); }
HRESULT LexivaneControl::GetPrintMarginsInTwips(LONG*, LONG*, LONG*, LONG*) { return NotYetAvailable(L"GetPrintMarginsInTwips"); }
HRESULT LexivaneControl::SetPrintHeadersAndFooters(BSTR, BSTR, BSTR, BSTR, BSTR, LONG, BSTR, LONG) {
  return NotYetAvailable(L"SetPrintHeadersAndFooters");
}
HRESULT LexivaneControl::SetPrintHeadersAndFootersStyle(VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL, VARIANT_BOOL) {
  return NotYetAvailable(L"SetPrintHeadersAndFootersStyle");
}
HRESULT LexivaneControl::AddAutoTypePair(BSTR, BSTR) { return NotYetAvailable(L"AddAutoTypePair"); }

}  // namespace lexivane::control
