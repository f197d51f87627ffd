// Persistence: every key of the property table in the container's property bag, and the same
// keys through a stream; what a new control and a loaded one do before they are shown.
#include "LexivaneControl.h"

#include "MemoryPropertyBag.h"

namespace lexivane::control {

namespace {

constexpr wchar_t kCustomDictionaryKey[] = L"CustomDictionaryFName";
constexpr wchar_t kFontKey[] = L"Font";
constexpr wchar_t kTextKey[] = L"Text";

bool ReadValue(IPropertyBag* bag, const wchar_t* key, VARTYPE type, VARIANT& value) {
  VariantInit(&value);
  value.vt = type;
  if (FAILED(bag->Read(key, &value, nullptr))) {
    VariantInit(&value);
    return false;
  }
  if (value.vt != type && FAILED(VariantChangeType(&value, &value, 0, type))) {
    VariantClear(&value);
    return false;
  }
  return true;
}

void WriteValue(IPropertyBag* bag, const wchar_t* key, VARIANT& value) {
  bag->Write(key, &value);
  VariantClear(&value);
}

}  // namespace

HRESULT LexivaneControl::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_Lexivane;
  return S_OK;
}

HRESULT LexivaneControl::InitNew() {
  DetermineDesignMode();
  DetermineWebPage();
  if (auto ambient = AmbientFont()) font_ = ambient;
  settings_.designText = AmbientDisplayName();
  AfterLoad(false);
  return S_OK;
}

HRESULT LexivaneControl::Load(IPropertyBag* bag, IErrorLog*) {
  if (!bag) return E_POINTER;
  DetermineDesignMode();
  DetermineWebPage();
  LoadSettingsFrom(bag);
  AfterLoad(true);
  return S_OK;
}

void LexivaneControl::LoadSettingsFrom(IPropertyBag* bag) {
  VARIANT value;
  for (const auto& entry : kPersistedBools) {
    settings_.*entry.field = ReadValue(bag, entry.key, VT_BOOL, value) ? value.boolVal != VARIANT_FALSE : entry.readDefault;
  }
  for (const auto& entry : kPersistedLongs) {
    settings_.*entry.field = ReadValue(bag, entry.key, VT_I4, value) ? value.lVal : entry.readDefault;
  }
  for (const auto& entry : kPersistedColors) {
    settings_.*entry.field = ReadValue(bag, entry.key, VT_I4, value) ? static_cast<uint32_t>(value.lVal) : entry.readDefault;
  }
  for (const auto& entry : kPersistedStrings) {
    if (ReadValue(bag, entry.key, VT_BSTR, value)) {
      settings_.*entry.field = std::wstring(View(value.bstrVal));
      VariantClear(&value);
    } else {
      settings_.*entry.field = entry.readDefault;
    }
  }
  std::wstring dictionary(L"ULCUSTOM.CUD");
  if (ReadValue(bag, kCustomDictionaryKey, VT_BSTR, value)) {
    dictionary = std::wstring(View(value.bstrVal));
    VariantClear(&value);
  }
  // The saved name becomes the current one and its file replaces the custom list; clearing
  // first keeps the old list from being written into the default file on the way.
  WordListStore& store = TheWordListStore();
  store.ClearCustomDictionary();
  store.SetCustomDictionaryFileName(ToAnsi(dictionary));
  if (ReadValue(bag, kTextKey, VT_BSTR, value)) {
    settings_.designText = std::wstring(View(value.bstrVal));
    VariantClear(&value);
  } else {
    settings_.designText = AmbientDisplayName();
  }
  VariantInit(&value);
  ComPtr<IFontDisp> font;
  if (SUCCEEDED(bag->Read(kFontKey, &value, nullptr)) && (value.vt == VT_DISPATCH || value.vt == VT_UNKNOWN) &&
      value.punkVal)
    value.punkVal->QueryInterface(IID_IFontDisp, font.PutVoid());
  VariantClear(&value);
  if (!font) font = AmbientFont();
  if (font) font_ = font;
}

void LexivaneControl::AfterLoad(bool fromSavedState) {
  if (!edit_) return;  // the edit window, made at activation, takes all of this then
  ApplyFontToDocument();
  SendBackColor();
  ApplyReadOnly();
  ApplyMaxLength();
  if (fromSavedState) DrawControl();
  ++internalUpdate_;
  SetPlainText(settings_.designText);
  --internalUpdate_;
  SendMessageW(edit_, EM_SETMODIFY, FALSE, 0);
  if (document_) document_->SetSaved(tomTrue);
}

HRESULT LexivaneControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  if (!bag) return E_POINTER;
  SaveSettingsTo(bag);
  if (clearDirty) dirty_ = false;
  return S_OK;
}

void LexivaneControl::SaveSettingsTo(IPropertyBag* bag) const {
  VARIANT value;
  for (const auto& entry : kPersistedBools) {
    if (settings_.*entry.field == entry.readDefault) continue;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = ToVariantBool(settings_.*entry.field);
    WriteValue(bag, entry.key, value);
  }
  for (const auto& entry : kPersistedLongs) {
    if (settings_.*entry.field == entry.readDefault) continue;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = settings_.*entry.field;
    WriteValue(bag, entry.key, value);
  }
  for (const auto& entry : kPersistedColors) {
    if (settings_.*entry.field == entry.readDefault) continue;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = static_cast<LONG>(settings_.*entry.field);
    WriteValue(bag, entry.key, value);
  }
  auto writeString = [&](const wchar_t* key, const std::wstring& text) {
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    WriteValue(bag, key, value);
  };
  for (const auto& entry : kPersistedStrings) {
    if (settings_.*entry.field != entry.readDefault) writeString(entry.key, settings_.*entry.field);
  }
  const std::wstring dictionary = FromAnsi(TheWordListStore().CustomDictionaryFileName());
  if (dictionary != L"ULCUSTOM.CUD") writeString(kCustomDictionaryKey, dictionary);
  if (settings_.designText != AmbientDisplayName()) writeString(kTextKey, settings_.designText);
  if (font_) {
    VariantInit(&value);
    value.vt = VT_DISPATCH;
    value.pdispVal = ComPtr<IFontDisp>(font_).Detach();
    WriteValue(bag, kFontKey, value);
  }
}

HRESULT LexivaneControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

HRESULT LexivaneControl::Load(LPSTREAM stream) {
  if (!stream) return E_POINTER;
  MemoryPropertyBag bag;
  HRESULT hr = bag.ReadFrom(stream);
  if (FAILED(hr)) return hr;
  return Load(&bag, nullptr);
}

HRESULT LexivaneControl::Save(LPSTREAM stream, BOOL clearDirty) {
  if (!stream) return E_POINTER;
  MemoryPropertyBag bag;
  SaveSettingsTo(&bag);
  HRESULT hr = bag.WriteTo(stream);
  if (SUCCEEDED(hr) && clearDirty) dirty_ = false;
  return hr;
}

HRESULT LexivaneControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (!size) return E_POINTER;
  size->QuadPart = 64 * 1024;
  return S_OK;
}

}  // namespace lexivane::control
