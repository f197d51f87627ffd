// Raising the events of `__Lexivane` with their by-reference arguments.
#include "LexivaneControl.h"

namespace lexivane::control {

namespace {

VARIANTARG ByRef(VARTYPE type, void* value) {
  VARIANTARG arg;
  VariantInit(&arg);
  arg.vt = type | VT_BYREF;
  arg.byref = value;
  return arg;
}

VARIANTARG ByValue(LONG value) {
  VARIANTARG arg;
  VariantInit(&arg);
  arg.vt = VT_I4;
  arg.lVal = value;
  return arg;
}

}  // namespace

void LexivaneControl::RaiseEvent(DISPID id) {
  if (!frozenEvents_) events_.Raise(id);
}

void LexivaneControl::RaiseKeyEvent(DISPID id, short keyCode, short shift) {
  if (frozenEvents_) return;
  VARIANTARG args[2] = {ByRef(VT_I2, &shift), ByRef(VT_I2, &keyCode)};
  events_.Raise(id, args, 2);
}

void LexivaneControl::RaiseKeyPress(short keyAscii) {
  if (frozenEvents_) return;
  VARIANTARG args[1] = {ByRef(VT_I2, &keyAscii)};
  events_.Raise(DISPID_KEYPRESS, args, 1);
}

void LexivaneControl::RaiseMouseEvent(DISPID id, short button, short shift, float x, float y) {
  if (frozenEvents_) return;
  VARIANTARG args[4] = {ByRef(VT_R4, &y), ByRef(VT_R4, &x), ByRef(VT_I2, &shift), ByRef(VT_I2, &button)};
  events_.Raise(id, args, 4);
}

bool LexivaneControl::RaiseProtectedTextChange(LONG start, LONG end) {
  VARIANT_BOOL allow = VARIANT_FALSE;
  if (!frozenEvents_) {
    VARIANTARG args[3] = {ByRef(VT_BOOL, &allow), ByValue(end), ByValue(start)};
    events_.Raise(17, args, 3);
  }
  return allow != VARIANT_FALSE;
}

bool LexivaneControl::RaiseLinkClicked(const std::wstring& link, LONG start) {
  VARIANT_BOOL handle = VARIANT_FALSE;
  if (!frozenEvents_) {
    Bstr text(link);
    VARIANTARG args[3] = {ByRef(VT_BOOL, &handle), ByValue(start), {}};
    VariantInit(&args[2]);
    args[2].vt = VT_BSTR;
    args[2].bstrVal = text.Get();
    events_.Raise(9, args, 3);
  }
  return handle != VARIANT_FALSE;
}

void LexivaneControl::RaiseSpellingError(std::string& badWord, std::string_view suggestions, int32_t offsetOfWord,
                                         int32_t& whatToDo) {
  if (frozenEvents_) return;
  Bstr word(FromAnsi(badWord));
  Bstr list(FromAnsi(suggestions));
  BSTR wordRef = word.Detach();
  LONG decision = whatToDo;
  VARIANTARG args[4] = {ByRef(VT_I4, &decision), ByValue(offsetOfWord), {}, ByRef(VT_BSTR, &wordRef)};
  VariantInit(&args[2]);
  args[2].vt = VT_BSTR;
  args[2].bstrVal = list.Get();
  events_.Raise(6, args, 4);
  // A handler that assigns BadWord frees our string and leaves its own.
  badWord = ToAnsi(View(wordRef));
  SysFreeString(wordRef);
  whatToDo = decision;
}

void LexivaneControl::RaiseSpellCheckDone() { RaiseEvent(7); }

}  // namespace lexivane::control
