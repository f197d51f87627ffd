// The control at run time in our own container: the selection's format, text assignment, the
// caret methods, real typing through SendInput with its events, shortcuts and key routing.
#include "ControlTestKit.h"

#include <gtest/gtest.h>
#include <richedit.h>

namespace lexivane::test {
namespace {

void Key(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(input));
}

void Tap(WORD key) {
  Key(key, false);
  Key(key, true);
}

void CtrlTap(WORD key) {
  Key(VK_CONTROL, false);
  Tap(key);
  Key(VK_CONTROL, true);
}

VARIANT LongRef(LONG* value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4 | VT_BYREF;
  v.plVal = value;
  return v;
}

VARIANT Long(LONG value) { return Value::Long(value).v; }

class LexivaneRunTime : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fixture_.host->Ok()); }
  void SetText(const wchar_t* text) { ASSERT_EQ(control_->PutProperty(L"Text", Value::String(text)), S_OK); }
  void Select(LONG start, LONG end) { ASSERT_EQ(control_->Call(L"SetSelection", {Long(start), Long(end)}), S_OK); }
  std::pair<LONG, LONG> Selection() {
    LONG start = -7, end = -7;
    EXPECT_EQ(control_->Call(L"GetSelection", {LongRef(&start), LongRef(&end)}), S_OK);
    return {start, end};
  }
  // The host's window in front and the document focused, as a user's click would leave them.
  void FocusDocument() {
    SetForegroundWindow(host_->Window());
    control_->Call(L"SetFocusToMe");
    Pump(100);
    ASSERT_EQ(GetFocus(), host_->EditWindow());
  }

  HostedControl fixture_;
  TestContainer* host_ = fixture_.host.get();
  Dispatcher* control_ = fixture_.control.get();
  EventRecorder& events_ = fixture_.events;
};

TEST_F(LexivaneRunTime, HWndIsTheEditWindowAndTextIsTheDisplayNameUnmodified) {
  EXPECT_EQ(control_->Property(L"hWnd").v.lVal, static_cast<LONG>(reinterpret_cast<LONG_PTR>(host_->EditWindow())));
  EXPECT_EQ(control_->Property(L"Text").Text(), L"Lexivane1");
  EXPECT_EQ(control_->Property(L"Modified").Text(), L"false");
  EXPECT_EQ(control_->Property(L"FileName").Text(), L"");
}

TEST_F(LexivaneRunTime, SelBoldIsNullOverAPartlyBoldSelection) {
  SetText(L"plain bold");
  Select(6, 10);
  ASSERT_EQ(control_->PutProperty(L"SelBold", Value::Bool(true)), S_OK);
  EXPECT_EQ(control_->Property(L"SelBold").Text(), L"true");
  Select(0, 10);
  EXPECT_EQ(control_->Property(L"SelBold").v.vt, VT_NULL);
  Select(0, 5);
  EXPECT_EQ(control_->Property(L"SelBold").Text(), L"false");
}

TEST_F(LexivaneRunTime, CharacterFormatPropertiesRoundTrip) {
  SetText(L"some words here");
  Select(0, 4);
  struct Row {
    const wchar_t* property;
    Value value;
    const wchar_t* expected;
  };
  const Row rows[] = {
      {L"SelItalic", Value::Bool(true), L"true"},
      {L"SelUnderline", Value::Bool(true), L"true"},
      {L"SelStrikethru", Value::Bool(true), L"true"},
      {L"SelFontName", Value::String(L"Arial"), L"Arial"},
      {L"SelFontSize", Value::Long(14), L"14"},
      {L"SelColor", Value::Long(0x0000FF), L"255"},
  };
  for (const auto& row : rows) {
    ASSERT_EQ(control_->PutProperty(row.property, row.value), S_OK);
    EXPECT_EQ(control_->Property(row.property).Text(), row.expected);
  }
  // Setting one effect keeps the others.
  ASSERT_EQ(control_->PutProperty(L"SelBold", Value::Bool(true)), S_OK);
  EXPECT_EQ(control_->Property(L"SelItalic").Text(), L"true");
}

TEST_F(LexivaneRunTime, TextRTFMemoTakesPlainWordsAsTextAndRichTextAsRichText) {
  ASSERT_EQ(control_->PutProperty(L"TextRTFMemo", Value::String(L"plain words")), S_OK);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"plain words");
  ASSERT_EQ(control_->PutProperty(L"TextRTFMemo", Value::String(L"{\\rtf1 {\\b bold} words}")), S_OK);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"bold words");
  Select(0, 4);
  EXPECT_EQ(control_->Property(L"SelBold").Text(), L"true");
  ASSERT_EQ(control_->PutProperty(L"TextRTFMemo", Value::Null()), S_OK);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"");
  EXPECT_EQ(control_->Property(L"TextRTFMemo").Text().substr(0, 5), L"{\\rtf");
}

TEST_F(LexivaneRunTime, MoveCaretToEndAndSelectNoneLeaveTheSameSelection) {
  SetText(L"hello world");
  Select(1, 3);
  ASSERT_EQ(control_->Call(L"MoveCaretToEnd"), S_OK);
  auto afterEnd = Selection();
  Select(1, 3);
  ASSERT_EQ(control_->Call(L"SelectNone"), S_OK);
  EXPECT_EQ(Selection(), afterEnd);
  ASSERT_EQ(control_->Call(L"SelectAll"), S_OK);
  EXPECT_EQ(Selection().first, 0);
  EXPECT_GE(Selection().second, 11);  // the final paragraph mark may be part of it
  ASSERT_EQ(control_->Call(L"MoveCaretToStart"), S_OK);
  EXPECT_EQ(Selection(), std::make_pair(0L, 0L));
}

TEST_F(LexivaneRunTime, SelTextReadsAndReplacesTheSelection) {
  SetText(L"hello world");
  Select(6, 11);
  EXPECT_EQ(control_->Property(L"SelText").Text(), L"world");
  EXPECT_EQ(control_->Property(L"SelectedText").Text(), L"world");
  ASSERT_EQ(control_->PutProperty(L"SelectedText", Value::String(L"there")), S_OK);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"hello there");
}

TEST_F(LexivaneRunTime, FontReadsTheFormatAtTheStartOfTheDocumentAndKeepsTheSelection) {
  ASSERT_EQ(control_->PutProperty(L"TextRTF", Value::String(L"{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs28\\b big\\b0  rest}")), S_OK);
  Select(5, 7);
  Value font = control_->Property(L"Font");
  ASSERT_EQ(font.v.vt, VT_DISPATCH);
  Dispatcher fontDispatch(font.v.pdispVal);
  EXPECT_EQ(fontDispatch.Property(L"Bold").Text(), L"true");
  // The font object rounds its size to whole pixels: 14 points may read back as 14.25.
  Value size = fontDispatch.Property(L"Size");
  ASSERT_EQ(VariantChangeType(&size.v, &size.v, 0, VT_R8), S_OK);
  EXPECT_NEAR(size.v.dblVal, 14.0, 0.5);
  EXPECT_EQ(Selection(), std::make_pair(5L, 7L));
}

TEST_F(LexivaneRunTime, MousePointerSetsTheCursorOverTheDocument) {
  struct Row {
    LONG pointer;
    LPCSTR cursor;
  };
  const Row rows[] = {{2, IDC_CROSS}, {11, IDC_WAIT}, {15, IDC_SIZEALL}};
  for (const auto& row : rows) {
    control_->PutProperty(L"MousePointer", Value::Long(row.pointer));
    SetCursor(nullptr);
    LRESULT handled = SendMessageW(host_->EditWindow(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host_->EditWindow()),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(handled, TRUE) << row.pointer;
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, row.cursor)) << row.pointer;
  }
}

TEST_F(LexivaneRunTime, TheStatusTimerRunsOnlyWhileTimeOrDateIsShown) {
  // KillTimer answers whether the 1000 ms status timer was running.
  struct Row {
    LONG items;
    bool statusBar;
    bool timer;
  };
  const Row rows[] = {{7, true, true}, {2, true, true}, {4, true, true}, {1, true, false}, {0, true, false},
                      {7, false, false}};
  for (const auto& row : rows) {
    control_->PutProperty(L"ShowStatusBar", Value::Bool(row.statusBar));
    ASSERT_EQ(control_->PutProperty(L"StatusBarDisplayItems", Value::Long(row.items)), S_OK);
    EXPECT_EQ(KillTimer(host_->ControlWindow(), 1000) != FALSE, row.timer) << row.items << " " << row.statusBar;
  }
}

TEST_F(LexivaneRunTime, ReadOnlyStopsTheUserButNotTheHost) {
  ASSERT_EQ(control_->PutProperty(L"ReadOnly", Value::Bool(true)), S_OK);
  SetText(L"fixed");
  EXPECT_EQ(control_->Property(L"Text").Text(), L"fixed");
  EXPECT_NE(GetWindowLongW(host_->EditWindow(), GWL_STYLE) & ES_READONLY, 0);
  FocusDocument();
  Tap('X');
  Pump(150);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"fixed");
}

TEST_F(LexivaneRunTime, TypingRaisesKeyAndChangeEvents) {
  SetText(L"");
  FocusDocument();
  events_.events.clear();
  Tap('A');
  Pump(200);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"a");
  ASSERT_GE(events_.Count(DISPID_KEYDOWN), 1);
  EXPECT_EQ(events_.Last(DISPID_KEYDOWN)->args[0].v.iVal, 'A');
  EXPECT_EQ(events_.Last(DISPID_KEYDOWN)->args[1].v.iVal, 0);
  ASSERT_GE(events_.Count(DISPID_KEYPRESS), 1);
  EXPECT_EQ(events_.Last(DISPID_KEYPRESS)->args[0].v.iVal, 'a');
  EXPECT_GE(events_.Count(DISPID_KEYUP), 1);
  EXPECT_GE(events_.Count(1), 1) << "Change";
  EXPECT_GE(events_.Count(2), 1) << "SelChange";
  EXPECT_EQ(control_->Property(L"Modified").Text(), L"true");
}

TEST_F(LexivaneRunTime, CtrlBMakesAPartlyBoldSelectionBoldThenTakesBoldAway) {
  SetText(L"abc def");
  Select(4, 7);
  control_->PutProperty(L"SelBold", Value::Bool(true));
  FocusDocument();
  Select(0, 7);
  CtrlTap('B');
  Pump(150);
  EXPECT_EQ(control_->Property(L"SelBold").Text(), L"true");
  CtrlTap('B');
  Pump(150);
  EXPECT_EQ(control_->Property(L"SelBold").Text(), L"false");
  EXPECT_EQ(control_->Property(L"Text").Text(), L"abc def");
  const EventSeen* down = events_.Last(DISPID_KEYDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->args[1].v.iVal & 2, 2) << "Shift argument carries Ctrl";
}

struct RoutingRow {
  const char* what;
  const wchar_t* property;
  bool allowed;
  WORD key;
  bool shift;
  bool focusStays;
  const wchar_t* text;  // the document afterwards
};

TEST_F(LexivaneRunTime, TabAndEnterGoToTheDocumentOrMoveTheFocusOut) {
  const RoutingRow rows[] = {
      {"Tab allowed", L"AllowTabChar", true, VK_TAB, false, true, L"x\t"},
      {"Shift+Tab leaves even when Tab is allowed", L"AllowTabChar", true, VK_TAB, true, false, L"x"},
      {"Tab not allowed", L"AllowTabChar", false, VK_TAB, false, false, L"x"},
      {"Enter not allowed", L"AllowReturnChar", false, VK_RETURN, false, false, L"x"},
  };
  for (const auto& row : rows) {
    control_->PutProperty(row.property, Value::Bool(row.allowed));
    SetText(L"x");
    FocusDocument();
    control_->Call(L"MoveCaretToEnd");
    if (row.shift) Key(VK_SHIFT, false);
    Tap(row.key);
    if (row.shift) Key(VK_SHIFT, true);
    Pump(150);
    EXPECT_EQ(GetFocus() == host_->EditWindow(), row.focusStays) << row.what;
    EXPECT_EQ(control_->Property(L"Text").Text(), row.text) << row.what;
    control_->PutProperty(row.property, Value::Bool(true));
  }
}

TEST_F(LexivaneRunTime, ProtectedChangesAskTheHostUnlessTheControlMakesThem) {
  SetText(L"keep this");
  Select(0, 4);
  ASSERT_EQ(control_->PutProperty(L"SelProtected", Value::Bool(true)), S_OK);
  EXPECT_EQ(control_->Property(L"SelProtected").Text(), L"true");
  events_.events.clear();
  // Wine never sends EN_PROTECTED: we send what the edit window would.
  ENPROTECTED notice{};
  notice.nmhdr.hwndFrom = host_->EditWindow();
  notice.nmhdr.idFrom = 1;
  notice.nmhdr.code = EN_PROTECTED;
  notice.msg = WM_CHAR;
  notice.chrg = CHARRANGE{1, 3};
  LRESULT refused = SendMessageW(host_->ControlWindow(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&notice));
  EXPECT_EQ(refused, 1);
  const EventSeen* seen = events_.Last(17);
  ASSERT_NE(seen, nullptr) << "ProtectedTextChange";
  EXPECT_EQ(seen->args[0].v.lVal, 1);
  EXPECT_EQ(seen->args[1].v.lVal, 3);
  EXPECT_EQ(seen->args[2].Text(), L"false");
}

TEST_F(LexivaneRunTime, BorderStyleRebuildsTheEditWindowAndKeepsTheDocument) {
  SetText(L"survives");
  HWND before = host_->EditWindow();
  EXPECT_NE(GetWindowLongW(before, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  ASSERT_EQ(control_->PutProperty(L"BorderStyle", Value::Long(0)), S_OK);
  HWND after = host_->EditWindow();
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(GetWindowLongW(after, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"survives");
}

TEST_F(LexivaneRunTime, WithEveryBarHiddenAndNoBorderTheDocumentFillsAllButAOnePixelMargin) {
  for (const wchar_t* bar : {L"ShowToolBar", L"ShowFontBar", L"ShowRuler", L"ShowStatusBar"})
    control_->PutProperty(bar, Value::Bool(false));
  control_->PutProperty(L"BorderStyle", Value::Long(0));
  RECT client{}, edit{};
  GetClientRect(host_->ControlWindow(), &client);
  GetWindowRect(host_->EditWindow(), &edit);
  MapWindowPoints(nullptr, host_->ControlWindow(), reinterpret_cast<POINT*>(&edit), 2);
  EXPECT_EQ(edit.left, 1);
  EXPECT_EQ(edit.top, 1);
  EXPECT_EQ(edit.right, client.right - 1);
  EXPECT_EQ(edit.bottom, client.bottom - 1);
}

}  // namespace
}  // namespace lexivane::test

namespace lexivane::test {
namespace {

TEST_F(LexivaneRunTime, FocusComingAndGoingRaisesGainedFocusAndLosingFocus) {
  SetForegroundWindow(host_->Window());
  SetFocus(host_->Window());
  Pump(50);
  events_.events.clear();
  FocusDocument();
  EXPECT_EQ(events_.Count(4), 1) << "GainedFocus";
  SetFocus(host_->Window());
  Pump(100);
  EXPECT_EQ(events_.Count(5), 1) << "LosingFocus";
  EXPECT_EQ(events_.Count(6), 0) << "no check unless CheckOnFocusLoss";
}

TEST_F(LexivaneRunTime, LeavingAChangedDocumentChecksItWhenCheckOnFocusLossIsSet) {
  control_->PutProperty(L"CheckOnFocusLoss", Value::Bool(true));
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  SetText(L"a wrold apart");
  FocusDocument();
  events_.events.clear();
  SetFocus(host_->Window());
  Pump(150);
  EXPECT_EQ(events_.Count(5), 1) << "LosingFocus";
  ASSERT_EQ(events_.Count(6), 1) << "SpellingError from CheckSpellingNow";
  // Nothing changed since that check: leaving again checks nothing.
  FocusDocument();
  events_.events.clear();
  SetFocus(host_->Window());
  Pump(150);
  EXPECT_EQ(events_.Count(6), 0);
}

TEST_F(LexivaneRunTime, AClickInTheDocumentRaisesMouseDownMouseUpAndClick) {
  SetText(L"click here");
  FocusDocument();
  RECT edit{};
  GetWindowRect(host_->EditWindow(), &edit);
  SetCursorPos(edit.left + 30, edit.top + 10);
  Pump(50);
  events_.events.clear();
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_MOUSE;
  inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, inputs, sizeof(INPUT));
  Pump(200);
  const EventSeen* down = events_.Last(DISPID_MOUSEDOWN);
  ASSERT_NE(down, nullptr);
  EXPECT_EQ(down->args[0].v.iVal, 1) << "left button";
  EXPECT_GT(down->args[2].v.fltVal, 0.0f) << "X in the container's scale";
  ASSERT_NE(events_.Last(DISPID_MOUSEUP), nullptr);
  EXPECT_EQ(events_.Count(DISPID_CLICK), 1);
}

TEST_F(LexivaneRunTime, ADetectedLinkRaisesLinkClickedWhenUrlsAreNotHandledByTheControl) {
  SetText(L"see http://example.com now");
  control_->PutProperty(L"AutoHandleURLs", Value::Bool(false));
  events_.events.clear();
  ENLINK notice{};
  notice.nmhdr.hwndFrom = host_->EditWindow();
  notice.nmhdr.idFrom = 1;
  notice.nmhdr.code = EN_LINK;
  notice.msg = WM_LBUTTONUP;
  notice.chrg = CHARRANGE{4, 22};
  SendMessageW(host_->ControlWindow(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&notice));
  const EventSeen* seen = events_.Last(9);
  ASSERT_NE(seen, nullptr) << "LinkClicked";
  EXPECT_EQ(seen->args[0].Text(), L"http://example.com");
  EXPECT_EQ(seen->args[1].v.lVal, 4);
  EXPECT_EQ(seen->args[2].Text(), L"false");
  // Moving over a link is not a click.
  events_.events.clear();
  notice.msg = WM_MOUSEMOVE;
  SendMessageW(host_->ControlWindow(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&notice));
  EXPECT_EQ(events_.Count(9), 0);
}

TEST(LexivaneDesigner, TheDesignerPictureFillsTheDocumentAreaWithBackColorInsideABlackFrame) {
  TestContainer host(false);
  ASSERT_TRUE(host.Ok());
  Dispatcher control(host.Control());
  control.PutProperty(L"BackColor", Value::Long(0x00FF00));
  ComPtr<IViewObject2> view;
  ASSERT_EQ(host.Control()->QueryInterface(IID_IViewObject2, view.PutVoid()), S_OK);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 150);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECTL bounds{0, 0, 200, 150};
  ASSERT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
  // Tool bar, font bar and ruler take 22 pixels each; the status bar 19.
  const int top = 22 * 3 + 1, bottom = 150 - 19 - 1;
  EXPECT_EQ(GetPixel(dc, 1, top), RGB(0, 0, 0)) << "frame";
  EXPECT_EQ(GetPixel(dc, 100, (top + bottom) / 2), RGB(0, 255, 0)) << "BackColor";
  EXPECT_NE(GetPixel(dc, 100, top - 3), RGB(0, 255, 0)) << "the ruler's slot is not document";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
}  // namespace lexivane::test

namespace lexivane::test {
namespace {

// A page's document as the control sees its container: an object whose type is "HTMLDocument".
class PageDocument final : public IOleContainer, public IDispatch {
 public:
  PageDocument() {
    ComPtr<ICreateTypeLib2> library;
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"lexivane-page.tlb";
    if (FAILED(CreateTypeLib2(SYS_WIN64, path.c_str(), library.Put()))) return;
    ComPtr<ICreateTypeInfo> created;
    if (FAILED(library->CreateTypeInfo(const_cast<LPOLESTR>(L"HTMLDocument"), TKIND_DISPATCH, created.Put()))) return;
    created->QueryInterface(IID_ITypeInfo, info_.PutVoid());
  }
  bool Ok() const { return static_cast<bool>(info_); }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IOleContainer || iid == IID_IParseDisplayName) {
      *out = static_cast<IOleContainer*>(this);
    } else if (iid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumObjects(DWORD, IEnumUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockContainer(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { *count = 1; return S_OK; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    *info = ComPtr<ITypeInfo>(info_).Detach();
    return *info ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

 private:
  ComPtr<ITypeInfo> info_;
};

TEST(LexivaneWebPage, InAPageAFileNameThatIsNotTextOrRichTextGetsTxtAppended) {
  PageDocument page;
  ASSERT_TRUE(page.Ok());
  TestContainer host(true, nullptr, 480, 320, &page);
  ASSERT_TRUE(host.Ok());
  Dispatcher control(host.Control());
  struct Row {
    const wchar_t* given;
    const wchar_t* stored;
  };
  const Row rows[] = {{L"notes.doc", L"notes.doc.txt"}, {L"notes.TXT", L"notes.TXT"}, {L"letter.Rtf", L"letter.Rtf"},
                      {L"plain", L"plain.txt"}};
  for (const auto& row : rows) {
    ASSERT_EQ(control.PutProperty(L"FileName", Value::String(row.given)), S_OK);
    EXPECT_EQ(control.Property(L"FileName").Text(), row.stored);
  }
  // Outside a page the name is kept as given.
  TestContainer form(true);
  Dispatcher plain(form.Control());
  plain.PutProperty(L"FileName", Value::String(L"notes.doc"));
  EXPECT_EQ(plain.Property(L"FileName").Text(), L"notes.doc");
}

}  // namespace
}  // namespace lexivane::test
