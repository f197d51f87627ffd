// CheckString and CheckSpellingNow end to end: the SpellingError event and its decisions with
// `AutoHandleErrors` off, the correction dialog driven from another thread with it on.
#include "ControlTestKit.h"
#include "DialogProbe.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace lexivane::test {
namespace {

constexpr int kSpellingError = 6;
constexpr int kWordBox = 1011;
constexpr int kSuggestionList = 1013;
constexpr int kChangeButton = 1003;
constexpr int kCancelButton = 1005;
constexpr int kIgnoreAllButton = 1001;

class LexivaneSpelling : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fixture_.host->Ok()); }
  std::wstring CheckString(const wchar_t* text) {
    BSTR value = SysAllocString(text);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR | VT_BYREF;
    arg.pbstrVal = &value;
    EXPECT_EQ(control_->Call(L"CheckString", {arg}), S_OK);
    std::wstring result(value ? value : L"");
    SysFreeString(value);
    return result;
  }

  HostedControl fixture_;
  TestContainer* host_ = fixture_.host.get();
  Dispatcher* control_ = fixture_.control.get();
  EventRecorder& events_ = fixture_.events;
};

TEST_F(LexivaneSpelling, SpellingErrorCarriesTheWordItsSuggestionsAndThePositionAfterIt) {
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  std::wstring word, suggestions;
  LONG offset = -1, initial = -1;
  events_.onSpellingError = [&](std::wstring& badWord, const std::wstring& list, LONG where, LONG& whatToDo) {
    word = badWord;
    suggestions = list;
    offset = where;
    initial = whatToDo;
  };
  EXPECT_EQ(CheckString(L"good wrold"), L"good wrold");
  EXPECT_EQ(events_.Count(kSpellingError), 1);
  EXPECT_EQ(word, L"wrold");
  EXPECT_NE((L"\r" + suggestions + L"\r").find(L"\rworld\r"), std::wstring::npos);
  EXPECT_EQ(offset, 11);  // the engine counts positions from 1: "wrold" starts at 6
  EXPECT_EQ(initial, 0) << "seIgnoreWord";
}

struct DecisionRow {
  const char* what;
  const wchar_t* text;
  LONG decision;
  const wchar_t* replacement;  // what the handler leaves in BadWord
  const wchar_t* expected;     // the string afterwards
  int errors;                  // SpellingError events raised
};

TEST_F(LexivaneSpelling, TheHandlersDecisionIsApplied) {
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  // Each row has words of its own: ignore, add and change-all lists live as long as the process.
  const DecisionRow rows[] = {
      {"change", L"wrold peace", 3, L"world", L"world peace", 1},
      {"a misspelled change is reported again", L"hapy day", 3, L"hapyy", L"hapyy day", 2},
      {"ignore", L"adress book", 0, L"adress", L"adress book", 1},
      {"change all asks once", L"recieve and recieve", 4, L"receive", L"receive and receive", 1},
      {"ignore all asks once", L"zqxv and zqxv", 1, L"zqxv", L"zqxv and zqxv", 1},
      {"add to the custom list asks once", L"blorptastic blorptastic", 2, L"blorptastic", L"blorptastic blorptastic", 1},
      {"cancel stops", L"qwzzk vbnrrt", 5, L"qwzzk", L"qwzzk vbnrrt", 1},
  };
  for (const auto& row : rows) {
    events_.events.clear();
    int calls = 0;
    events_.onSpellingError = [&](std::wstring& badWord, const std::wstring&, LONG, LONG& whatToDo) {
      // The second report of a changed word is ignored, so the row ends.
      if (++calls > 1) return;
      badWord = row.replacement;
      whatToDo = row.decision;
    };
    EXPECT_EQ(CheckString(row.text), row.expected) << row.what;
    EXPECT_EQ(events_.Count(kSpellingError), row.errors) << row.what;
  }
  // Change All lasts beyond its check.
  events_.events.clear();
  events_.onSpellingError = nullptr;
  EXPECT_EQ(CheckString(L"recieve"), L"receive");
  EXPECT_EQ(events_.Count(kSpellingError), 0);
}

TEST_F(LexivaneSpelling, DoneActionFiresSpellCheckDone) {
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  control_->PutProperty(L"DoneAction", Value::Long(1));
  CheckString(L"fine words");
  EXPECT_EQ(events_.Count(7), 1);
}

TEST_F(LexivaneSpelling, CheckSpellingNowChangesTheDocument) {
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  control_->PutProperty(L"Text", Value::String(L"the wrold turns"));
  events_.onSpellingError = [&](std::wstring& badWord, const std::wstring&, LONG, LONG& whatToDo) {
    badWord = L"world";
    whatToDo = 3;
  };
  ASSERT_EQ(control_->Call(L"CheckSpellingNow"), S_OK);
  EXPECT_EQ(control_->Property(L"Text").Text(), L"the world turns");
}

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[256] = {};
  GetDlgItemTextW(dialog, id, text, 256);
  return text;
}

// Runs `drive` on the correction dialog from another thread while this one sits in the check.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> drive, const char* caption = "Spelling Error")
      : thread_([this, drive, caption] {
          auto seen = tavik::test::WaitForDialog(GetCurrentProcessId(), 10000, caption);
          if (!seen) return;
          found_ = true;
          drive(seen->window);
        }) {}
  ~DialogDriver() { thread_.join(); }
  bool Found() const { return found_; }

 private:
  std::atomic<bool> found_{false};
  std::thread thread_;
};

TEST_F(LexivaneSpelling, TheCorrectionDialogShowsTheWordAndChangesToTheEditedWordBox) {
  std::wstring shownWord;
  std::vector<std::wstring> listed;
  bool cancelShown = false;
  std::wstring result;
  {
    DialogDriver driver([&](HWND dialog) {
      shownWord = ItemText(dialog, kWordBox);
      HWND list = GetDlgItem(dialog, kSuggestionList);
      LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        wchar_t entry[128] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry));
        listed.push_back(entry);
      }
      cancelShown = IsWindowVisible(GetDlgItem(dialog, kCancelButton));
      SetDlgItemTextW(dialog, kWordBox, L"  world  ");
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kChangeButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, kChangeButton)));
    });
    result = CheckString(L"wrold");
    EXPECT_TRUE(driver.Found());
  }
  EXPECT_EQ(shownWord, L"wrold");
  EXPECT_NE(std::find(listed.begin(), listed.end(), L"world"), listed.end());
  EXPECT_TRUE(cancelShown);
  EXPECT_EQ(result, L"world");
}

TEST_F(LexivaneSpelling, DoubleClickingASuggestionActsAsChangeAndCancelHidesWithAllowCancelOff) {
  control_->PutProperty(L"AllowCancel", Value::Bool(false));
  bool cancelShown = true;
  std::wstring result;
  {
    DialogDriver driver([&](HWND dialog) {
      cancelShown = IsWindowVisible(GetDlgItem(dialog, kCancelButton));
      HWND list = GetDlgItem(dialog, kSuggestionList);
      LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"world"));
      SendMessageW(list, LB_SETCURSEL, index, 0);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kSuggestionList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
    });
    result = CheckString(L"wrold");
  }
  EXPECT_FALSE(cancelShown);
  EXPECT_EQ(result, L"world");
}

TEST_F(LexivaneSpelling, IgnoreAllTakesTheEditedWordAndTheDialogRemembersWhereItWas) {
  std::wstring result;
  {
    DialogDriver driver([&](HWND dialog) {
      MoveWindow(dialog, 150, 120, 300, 200, TRUE);
      SetDlgItemTextW(dialog, kWordBox, L"frobnizzle");
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kIgnoreAllButton, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, kIgnoreAllButton)));
    });
    result = CheckString(L"frobnazzle");
  }
  EXPECT_EQ(result, L"frobnazzle");
  // The edited word went to the ignore list, the misspelled one did not.
  control_->PutProperty(L"AutoHandleErrors", Value::Bool(false));
  events_.events.clear();
  CheckString(L"frobnizzle frobnazzle");
  ASSERT_EQ(events_.Count(kSpellingError), 1);
  EXPECT_EQ(events_.Last(kSpellingError)->args[0].Text(), L"frobnazzle");
  wchar_t x[32] = {}, y[32] = {};
  DWORD size = sizeof(x);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Ulvane Lexivane\\Settings",
                         L"LastCorrectPosX", RRF_RT_REG_SZ, nullptr, x, &size), ERROR_SUCCESS);
  size = sizeof(y);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\VB and VBA Program Settings\\Ulvane Lexivane\\Settings",
                         L"LastCorrectPosY", RRF_RT_REG_SZ, nullptr, y, &size), ERROR_SUCCESS);
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(_wtoi(x), MulDiv(150, 1440, dpi));
  EXPECT_EQ(_wtoi(y), MulDiv(120, 1440, dpi));
}

TEST_F(LexivaneSpelling, TheAboutBoxNamesTheControlAndClosesOnAClick) {
  std::wstring title, version;
  {
    DialogDriver driver(
        [&](HWND dialog) {
          title = ItemText(dialog, 1020);
          version = ItemText(dialog, 1021);
          PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        },
        "About Lexitext");
    ASSERT_EQ(control_->Call(L"ShowAboutBox"), S_OK);
    EXPECT_TRUE(driver.Found());
  }
  EXPECT_EQ(title, L"Ulvane Lexivane");
  EXPECT_EQ(version, L"Version 3.0");
}

}  // namespace
}  // namespace lexivane::test
