// The control in Wine's ATL host (which answers no ambient properties, so the control designs)
// and in our own container: identity, initial values, persistence, layout and safety options.
#include "ControlTestKit.h"

#include <gtest/gtest.h>
#include <objsafe.h>

#include <memory>

namespace lexivane::test {
namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class AtlHost {
 public:
  AtlHost() {
    RegisterControlOnce();
    atl_ = LoadLibraryW(L"atl.dll");
    auto init = reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(atl_, "AtlAxWinInit")));
    getControl_ = reinterpret_cast<HRESULT(WINAPI*)(HWND, IUnknown**)>(reinterpret_cast<void*>(GetProcAddress(atl_, "AtlAxGetControl")));
    if (!init || !getControl_ || !init()) return;
    window_ = CreateWindowExW(0, L"AtlAxWin", L"UlvaneLexivane.Lexivane", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 420,
                              300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_) getControl_(window_, control_.Put());
    Pump(50);
  }
  ~AtlHost() {
    control_.Reset();
    if (window_) DestroyWindow(window_);
    Pump(20);
  }
  IUnknown* Control() const { return control_.Get(); }
  HWND ControlWindow() const { return FindWindowExW(window_, nullptr, L"UlvaneLexivaneControl", nullptr); }

 private:
  HMODULE atl_ = nullptr;
  HRESULT(WINAPI* getControl_)(HWND, IUnknown**) = nullptr;
  HWND window_ = nullptr;
  ComPtr<IUnknown> control_;
};

std::wstring DefaultDictionaryName() {
  wchar_t directory[MAX_PATH] = {};
  GetWindowsDirectoryW(directory, MAX_PATH);
  std::wstring name(directory);
  if (!name.empty() && name.back() == L'\\') name.pop_back();
  return name + L"\\ULCUSTOM.CUD";
}

struct InitialValue {
  const wchar_t* property;
  Value expected;
};

// What a new control answers in a designer: the stored properties and, for run-time-only
// ones, the designer's answers.
std::vector<InitialValue> DesignerInitialValues() {
  return {
      {L"CustomDictionaryFileName", Value::String(DefaultDictionaryName().c_str())},
      {L"IgnoreAllCaps", Value::Bool(true)},        {L"IgnoreWithNumbers", Value::Bool(true)},
      {L"IgnoreInternetAddrs", Value::Bool(true)},  {L"AutoHandleErrors", Value::Bool(true)},
      {L"SuggestCorrections", Value::Bool(true)},   {L"CheckOnFocusLoss", Value::Bool(false)},
      {L"DoneAction", Value::Long(0)},              {L"AllowCancel", Value::Bool(true)},
      {L"AllowAddToCustom", Value::Bool(true)},     {L"PassiveCheckColor", Value::Long(0x0000FF)},
      {L"PassiveChecking", Value::Bool(true)},      {L"IgnoreCase", Value::Bool(false)},
      {L"ReadOnly", Value::Bool(false)},            {L"ShowToolBar", Value::Bool(true)},
      {L"ShowRuler", Value::Bool(true)},            {L"ShowStatusBar", Value::Bool(true)},
      {L"ShowFontBar", Value::Bool(true)},          {L"ShowFileToolButtons", Value::Bool(true)},
      {L"StatusBarCaption", Value::String(L"Ready")}, {L"StatusBarDisplayItems", Value::Long(7)},
      {L"BorderStyle", Value::Long(1)},             {L"AutoHandleURLs", Value::Bool(true)},
      {L"DragDropBehavior", Value::Long(1)},        {L"HideSelection", Value::Bool(false)},
      {L"FlatToolbars", Value::Bool(true)},         {L"AllowTabChar", Value::Bool(true)},
      {L"AllowReturnChar", Value::Bool(true)},      {L"BackColor", Value::String(L"2147483653")},
      {L"Enabled", Value::Bool(true)},              {L"MaxLength", Value::Long(0)},
      {L"MousePointer", Value::Long(0)},            {L"FileName", Value::String(L"Only valid at runtime")},
      {L"SelBold", Value::String(L"Only valid at runtime")}, {L"SelFontName", Value::String(L"Only valid at runtime")},
      {L"SelAlignment", Value::String(L"Only valid at runtime")}, {L"SelText", Value::String(L"Only valid at runtime")},
      {L"TextRTF", Value::String(L"Only valid at runtime")}, {L"TextRTFMemo", Value::String(L"Only valid at runtime")},
      {L"SelIndent", Value::Long(0)},               {L"SelNumberingStyle", Value::Long(0)},
      {L"Modified", Value::Bool(false)},            {L"hWnd", Value::Long(0)},
      {L"OLEObjectCount", Value::Long(0)},
  };
}

void ExpectValues(const Dispatcher& control, const std::vector<InitialValue>& table) {
  for (const auto& row : table) {
    Value got = control.Property(row.property);
    EXPECT_EQ(Narrow(got.Text()), Narrow(row.expected.Text())) << Narrow(row.property);
  }
}

TEST(LexivaneAtlHost, CreatesTheControlByProgIdAndAnswersEveryInitialValueInTheDesigner) {
  AtlHost host;
  ASSERT_NE(host.Control(), nullptr) << "AtlAxWin did not create UlvaneLexivane.Lexivane";
  Dispatcher control(host.Control());
  ExpectValues(control, DesignerInitialValues());
  EXPECT_EQ(Narrow(control.Property(L"Text").Text()), "");  // the ATL host names no control
  Value font = control.Property(L"Font");
  ASSERT_EQ(font.v.vt, VT_DISPATCH);
  Dispatcher fontDispatch(font.v.pdispVal);
  // Wine reports the face it substituted, so only the size is certain.
  EXPECT_FALSE(fontDispatch.Property(L"Name").Text().empty());
  EXPECT_EQ(fontDispatch.Property(L"Size").Text(), L"8.25");
  Value icon = control.Property(L"MouseIcon");
  EXPECT_EQ(icon.v.vt, VT_DISPATCH);
}

TEST(LexivaneAtlHost, SettingShowRulerToItsCurrentValueDoesNotLayTheControlOut) {
  AtlHost host;
  ASSERT_NE(host.Control(), nullptr);
  Dispatcher control(host.Control());
  HWND edit = FindWindowExW(host.ControlWindow(), nullptr, L"RichEdit20A", nullptr);
  ASSERT_NE(edit, nullptr);
  // Put the edit window somewhere no layout would: only a new layout moves it back.
  MoveWindow(edit, 3, 3, 5, 5, FALSE);
  ASSERT_EQ(control.PutProperty(L"ShowRuler", Value::Bool(true)), S_OK);
  RECT rect{};
  GetWindowRect(edit, &rect);
  EXPECT_EQ(rect.right - rect.left, 5);
  ASSERT_EQ(control.PutProperty(L"ShowRuler", Value::Bool(false)), S_OK);
  GetWindowRect(edit, &rect);
  EXPECT_NE(rect.right - rect.left, 5);
  POINT topLeft{rect.left, rect.top};
  ScreenToClient(host.ControlWindow(), &topLeft);
  EXPECT_EQ(topLeft.y, 22 + 22 + 1);  // tool bar and font bar slots, no ruler
}

TEST(LexivaneAtlHost, IgnoreCaseTurnsIgnoreAllCapsOffButNotBackOn) {
  AtlHost host;
  ASSERT_NE(host.Control(), nullptr);
  Dispatcher control(host.Control());
  ASSERT_EQ(control.PutProperty(L"IgnoreCase", Value::Bool(true)), S_OK);
  EXPECT_EQ(control.Property(L"IgnoreAllCaps").Text(), L"false");
  ASSERT_EQ(control.PutProperty(L"IgnoreAllCaps", Value::Bool(true)), S_OK);
  ASSERT_EQ(control.PutProperty(L"IgnoreCase", Value::Bool(false)), S_OK);
  EXPECT_EQ(control.Property(L"IgnoreAllCaps").Text(), L"true");
}

TEST(LexivaneAtlHost, MembersOfLaterPartsAnswerNotYetAvailableWithTheControlsSource) {
  AtlHost host;
  ASSERT_NE(host.Control(), nullptr);
  Dispatcher control(host.Control());
  std::wstring error;
  EXPECT_EQ(control.Call(L"ShowPrintDialog", {}, nullptr, &error), DISP_E_EXCEPTION);
  EXPECT_NE(error.find(L"not yet available"), std::wstring::npos);
}

struct SafetyRow {
  const char* what;
  IID iid;
  HRESULT getResult;
  DWORD enabled;
};

TEST(LexivaneObjectSafety, AnswersItsTable) {
  RegisterControlOnce();
  ComPtr<IObjectSafety> safety;
  ASSERT_EQ(CoCreateInstance(CLSID_Lexivane, nullptr, CLSCTX_INPROC_SERVER, IID_IObjectSafety, safety.PutVoid()), S_OK);
  const SafetyRow rows[] = {
      {"IDispatch", IID_IDispatch, S_OK, 1},
      {"IPersistStorage", IID_IPersistStorage, S_OK, 2},
      {"IPersistStream", IID_IPersistStream, S_OK, 2},
      {"IPersistPropertyBag", IID_IPersistPropertyBag, S_OK, 2},
      {"IOleObject", IID_IOleObject, E_NOINTERFACE, 0},
  };
  for (const auto& row : rows) {
    DWORD supported = 0, enabled = 99;
    EXPECT_EQ(safety->GetInterfaceSafetyOptions(row.iid, &supported, &enabled), row.getResult) << row.what;
    EXPECT_EQ(supported, 3u) << row.what;
    if (row.getResult == S_OK) {
      EXPECT_EQ(enabled, row.enabled) << row.what;
    }
  }
  struct SetRow {
    const char* what;
    IID iid;
    DWORD mask, enabled;
    HRESULT expected;
  };
  const SetRow sets[] = {
      {"dispatch, caller", IID_IDispatch, 3, 1, S_OK},
      {"dispatch, data", IID_IDispatch, 3, 2, E_FAIL},
      {"dispatch, both", IID_IDispatch, 3, 3, E_FAIL},
      {"bag, data", IID_IPersistPropertyBag, 3, 2, S_OK},
      {"stream, data under a mask of 2", IID_IPersistStream, 2, 3, S_OK},
      {"storage, caller", IID_IPersistStorage, 3, 1, E_FAIL},
      {"other", IID_IOleObject, 3, 1, E_NOINTERFACE},
  };
  for (const auto& row : sets)
    EXPECT_EQ(safety->SetInterfaceSafetyOptions(row.iid, row.mask, row.enabled), row.expected) << row.what;
  // A C caller may pass no identifier at all: refused, not followed.
  using GetOptions = HRESULT(STDMETHODCALLTYPE*)(IObjectSafety*, const IID*, DWORD*, DWORD*);
  GetOptions get = (*reinterpret_cast<GetOptions**>(safety.Get()))[3];
  DWORD supported = 0, enabled = 0;
  EXPECT_EQ(get(safety.Get(), nullptr, &supported, &enabled), E_POINTER);
}

// ---- Persistence through our own container ----

TEST(LexivanePersistence, CheckOnFocusLossFalseIsStoredAndTrueIsOmittedAndReadsBackTrue) {
  MemoryBag falseBag;
  {
    TestContainer host(false);
    ASSERT_TRUE(host.Ok());
    ComPtr<IPersistPropertyBag> persist;
    ASSERT_EQ(host.Control()->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid()), S_OK);
    ASSERT_EQ(persist->Save(&falseBag, TRUE, TRUE), S_OK);
  }
  ASSERT_EQ(falseBag.values.count(L"CheckOnFocusLoss"), 1u);
  EXPECT_EQ(falseBag.values[L"CheckOnFocusLoss"].Text(), L"false");

  MemoryBag trueBag;
  {
    TestContainer host(false);
    Dispatcher control(host.Control());
    ASSERT_EQ(control.PutProperty(L"CheckOnFocusLoss", Value::Bool(true)), S_OK);
    ComPtr<IPersistPropertyBag> persist;
    host.Control()->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid());
    ASSERT_EQ(persist->Save(&trueBag, TRUE, TRUE), S_OK);
  }
  EXPECT_EQ(trueBag.values.count(L"CheckOnFocusLoss"), 0u);
  TestContainer loaded(false, &trueBag);
  EXPECT_EQ(Dispatcher(loaded.Control()).Property(L"CheckOnFocusLoss").Text(), L"true");
}

TEST(LexivanePersistence, MissingKeysReadTheirReadDefaultsAndOnlyDifferencesAreWritten) {
  MemoryBag saved;
  {
    TestContainer host(false);
    ComPtr<IPersistPropertyBag> persist;
    host.Control()->QueryInterface(IID_IPersistPropertyBag, persist.PutVoid());
    ASSERT_EQ(persist->Save(&saved, TRUE, TRUE), S_OK);
  }
  // A new control differs from the read defaults in exactly these keys.
  EXPECT_EQ(saved.values[L"SquiggleColor"].Text(), L"255");
  EXPECT_EQ(saved.values[L"HideSelection"].Text(), L"false");
  EXPECT_EQ(saved.values.count(L"IgnoreAllCaps"), 0u);
  EXPECT_EQ(saved.values.count(L"StatusCaption"), 0u);
  EXPECT_EQ(saved.values.count(L"Text"), 0u);  // the display name is the read default

  MemoryBag empty;
  TestContainer loaded(false, &empty);
  Dispatcher control(loaded.Control());
  EXPECT_EQ(control.Property(L"CheckOnFocusLoss").Text(), L"true");
  EXPECT_EQ(control.Property(L"HideSelection").Text(), L"true");
  EXPECT_EQ(control.Property(L"PassiveCheckColor").Text(), L"128");
  EXPECT_EQ(control.Property(L"Text").Text(), L"Lexivane1");
}

TEST(LexivanePersistence, AStreamRoundTripKeepsTheSettingsAndABrokenStreamIsRefused) {
  ComPtr<IStream> stream;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
  {
    TestContainer host(false);
    Dispatcher control(host.Control());
    control.PutProperty(L"StatusBarCaption", Value::String(L"Busy"));
    control.PutProperty(L"MaxLength", Value::Long(500));
    control.PutProperty(L"ShowRuler", Value::Bool(false));
    ComPtr<IPersistStreamInit> persist;
    host.Control()->QueryInterface(IID_IPersistStreamInit, persist.PutVoid());
    ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
  }
  ComPtr<IPersistStreamInit> reader;
  RegisterControlOnce();
  ASSERT_EQ(CoCreateInstance(CLSID_Lexivane, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStreamInit, reader.PutVoid()), S_OK);
  LARGE_INTEGER zero{};
  stream->Seek(zero, STREAM_SEEK_SET, nullptr);
  ASSERT_EQ(reader->Load(stream.Get()), S_OK);
  Dispatcher control(reader.Get());
  EXPECT_EQ(control.Property(L"StatusBarCaption").Text(), L"Busy");
  EXPECT_EQ(control.Property(L"MaxLength").Text(), L"500");
  EXPECT_EQ(control.Property(L"ShowRuler").Text(), L"false");

  // A count of entries far beyond any real state, then nothing: refused, not believed.
  ComPtr<IStream> broken;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, broken.Put()), S_OK);
  const uint32_t header[2] = {3, 0x7FFFFFFF};
  broken->Write(header, sizeof(header), nullptr);
  broken->Seek(zero, STREAM_SEEK_SET, nullptr);
  EXPECT_TRUE(FAILED(reader->Load(broken.Get())));
}

TEST(LexivaneRegistration, Regsvr32RegistersAndUnregistersTheControl) {
  RegisterControlOnce();
  const std::wstring ocx = BinFolder() + L"\\UlvaneLexivane.ocx";
  auto run = [](std::wstring command) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return static_cast<DWORD>(-1);
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  };
  auto registered = [] {
    HKEY key = nullptr;
    bool found = RegOpenKeyExW(HKEY_CLASSES_ROOT, L"UlvaneLexivane.Lexivane\\CLSID", 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    return found;
  };
  ASSERT_EQ(run(L"regsvr32 /s /u \"" + ocx + L"\""), 0u);
  EXPECT_FALSE(registered());
  ASSERT_EQ(run(L"regsvr32 /s \"" + ocx + L"\""), 0u);
  EXPECT_TRUE(registered());
  CLSID clsid{};
  EXPECT_EQ(CLSIDFromProgID(L"UlvaneLexivane.Lexivane.1", &clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_Lexivane));
}

}  // namespace
}  // namespace lexivane::test
