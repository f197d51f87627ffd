// The interpreter shell: dispatch to the handler, the trailing-handle lock exchange, the
// opcodes rejected when poked, and the answers of requests.
#include "CommandShell.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CommandDescribe.h"

namespace tavik {
namespace {

// Records every call as "<method> w=<window>", and answers as configured.
class RecordingHandler : public CommandHandler {
public:
  std::vector<std::string> calls;
  bool succeed = true;
  std::optional<int32_t> newWindow = 4660;
  std::optional<std::string> answer = "255 0 0";

  bool DrawShape(const CommandContext& c, const ShapeArgs&) override { return Log("DrawShape", c); }
  bool Clear(const CommandContext& c, const ClearArgs& a) override {
    return Log(a.rect ? "Clear rect" : "Clear all", c);
  }
  bool OutputText(const CommandContext& c, const TextArgs&) override {
    return Log("OutputText", c);
  }
  bool Destroy(const CommandContext& c, const DestroyArgs&) override { return Log("Destroy", c); }
  bool ShowHide(const CommandContext& c, const ShowHideArgs&) override {
    return Log("ShowHide", c);
  }
  bool SetDataParameters(const CommandContext& c, const DataParameters&) override {
    return Log("SetDataParameters", c);
  }
  std::optional<std::string> GetAttribute(const CommandContext& c,
                                          const AttributeArgs&) override {
    Log("GetAttribute", c);
    return answer;
  }
  std::optional<int32_t> CreateWindowFor(const CommandContext& c, const CreateArgs&) override {
    Log("CreateWindowFor", c);
    return newWindow;
  }

private:
  bool Log(const char* what, const CommandContext& c) {
    calls.push_back(std::string(what) + " op=" + std::to_string(int(c.op)) +
                    " w=" + std::to_string(c.window));
    return succeed;
  }
};

class FakeLocks : public WindowLocks {
public:
  int32_t current = 100;
  std::set<int32_t> listed{100, 200};
  bool lockSucceeds = true;
  std::vector<int32_t> exchanges;

  int32_t CurrentWindow() const override { return current; }
  bool IsListed(int32_t window) const override { return listed.count(window) != 0; }
  bool ExchangeLock(int32_t window) override {
    exchanges.push_back(window);
    return lockSucceeds;
  }
};

class Shell : public testing::Test {
protected:
  int32_t Run(std::string_view text) { return RunCommandText(text, handler_, locks_); }
  std::optional<std::string> Ask(std::string_view item) {
    return ServeRequestItem(item, handler_, locks_);
  }
  RecordingHandler handler_;
  FakeLocks locks_;
};

TEST_F(Shell, ACommandAnswersItsOpcodeAndActsOnTheCurrentWindow) {
  EXPECT_EQ(Run("15 1 2 3 4"), 15);
  EXPECT_EQ(handler_.calls, std::vector<std::string>{"DrawShape op=15 w=100"});
  EXPECT_TRUE(locks_.exchanges.empty());
}

TEST_F(Shell, FailuresAnswerZeroBeforeTheHandlerRuns) {
  const char* texts[] = {"", "   ", "x", "15 1 2 3", "15 1 2 3 -0", "26 [t] 1 2 3 4 5",
                         "95 100 3", "1 3", "107", "0"};
  for (const char* text : texts) {
    EXPECT_EQ(Run(text), 0) << text;
  }
  EXPECT_TRUE(handler_.calls.empty());
  EXPECT_TRUE(locks_.exchanges.empty());
}

TEST_F(Shell, AFailingHandlerAnswersZero) {
  handler_.succeed = false;
  EXPECT_EQ(Run("15 1 2 3 4"), 0);
  EXPECT_EQ(handler_.calls.size(), 1u);
}

TEST_F(Shell, FamiliesWithoutAHandlerYetAnswerZero) {
  EXPECT_EQ(Run("41 1.5"), 0);
  EXPECT_EQ(Run("35 [a.bmp] 1 0 0 -1 -1 -1 -1 -1 -1 0"), 0);
  EXPECT_TRUE(handler_.calls.empty());
}

TEST_F(Shell, TextsLongerThanTheCommandBufferAreRefused) {
  std::string text = "15 1 2 3 4";
  text.resize(255, ' ');
  EXPECT_EQ(Run(text), 15);
  text += ' ';
  EXPECT_EQ(Run(text), 0);
}

struct AddressCase {
  const char* text;
  std::vector<int32_t> listed;
  int32_t answer;
  std::vector<int32_t> exchanges;
  const char* call;  // null: the handler is not called
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class TrailingHandle : public Shell, public testing::WithParamInterface<AddressCase> {};

TEST_P(TrailingHandle, SelectsTheAddressedWindow) {
  const AddressCase& c = GetParam();
  locks_.listed = std::set<int32_t>(c.listed.begin(), c.listed.end());
  EXPECT_EQ(Run(c.text), c.answer);
  EXPECT_EQ(locks_.exchanges, c.exchanges);
  if (c.call) {
    EXPECT_EQ(handler_.calls, std::vector<std::string>{c.call});
  } else {
    EXPECT_TRUE(handler_.calls.empty());
  }
}

const AddressCase kAddressCases[] = {
    // The current window keeps its lock.
    {"15 1 2 3 4 100", {100, 200}, 15, {}, "DrawShape op=15 w=100"},
    // Another listed window takes the lock over.
    {"15 1 2 3 4 200", {100, 200}, 15, {200}, "DrawShape op=15 w=200"},
    // A window that is not listed (or no longer) fails the command.
    {"15 1 2 3 4 300", {100, 200}, 0, {}, nullptr},
    // -1 is the print page, never in the list.
    {"15 1 2 3 4 -1", {100}, 15, {-1}, "DrawShape op=15 w=-1"},
    {"22 [hello\xFF 5 6 -1", {100}, 22, {-1}, "OutputText op=22 w=-1"},
    // A lone number after 5 is the window whose whole client area is cleared.
    {"5 200", {100, 200}, 5, {200}, "Clear all op=5 w=200"},
    {"5 0 0 -1 -1", {100}, 5, {}, "Clear rect op=5 w=100"},
    {"5 0 0 -1 -1 200", {100, 200}, 5, {200}, "Clear rect op=5 w=200"},
    // Handles that lead are no trailing handles: the handler checks them.
    {"25 300", {100}, 25, {}, "Destroy op=25 w=100"},
    {"39 300 1", {100}, 39, {}, "ShowHide op=39 w=100"},
};

INSTANTIATE_TEST_SUITE_P(Table, TrailingHandle, testing::ValuesIn(kAddressCases));

TEST_F(Shell, ALockThatCannotBeTakenFailsTheCommand) {
  locks_.lockSucceeds = false;
  EXPECT_EQ(Run("15 1 2 3 4 200"), 0);
  EXPECT_TRUE(handler_.calls.empty());
}

TEST_F(Shell, WithoutACurrentWindowTheHandlerSeesNone) {
  locks_.current = 0;
  EXPECT_EQ(Run("48"), 48);
  EXPECT_EQ(handler_.calls, std::vector<std::string>{"Destroy op=48 w=0"});
}

TEST_F(Shell, ParameterCommandsReachTheHandler) {
  EXPECT_EQ(Run("36 picture 1 0 0 -1 -1 -1 -1 -1 -1 0 5000"), 36);
  EXPECT_EQ(Run("61 picture 10 20 300"), 61);
  EXPECT_EQ(handler_.calls.size(), 2u);
}

TEST_F(Shell, CreateRequestsAnswerTheNewHandleInDecimal) {
  EXPECT_EQ(Ask("26 [Title] 10 20 110 220 4660"), "4660");
  handler_.newWindow = -5;
  EXPECT_EQ(Ask("27 [T] -1 -1 -1 -1"), "-5");
  handler_.newWindow = std::nullopt;
  EXPECT_EQ(Ask("71 [T] 99"), std::nullopt);
  EXPECT_EQ(handler_.calls, (std::vector<std::string>{"CreateWindowFor op=26 w=100",
                                                      "CreateWindowFor op=27 w=100",
                                                      "CreateWindowFor op=71 w=100"}));
}

TEST_F(Shell, RequestsAnswerTheHandlersText) {
  EXPECT_EQ(Ask("1 1"), "255 0 0");
  handler_.answer = std::nullopt;
  EXPECT_EQ(Ask("95 200 1"), std::nullopt);
  EXPECT_EQ(handler_.calls.size(), 2u);
}

TEST_F(Shell, RequestsNotServedAnswerNothing) {
  for (const char* item : {"", "x", "15 1 2 3 4", "2 2 1 2 3", "58 5 1 2 3 4", "96 1 2",
                           "57 5 BMP 1 2 [n]"}) {
    EXPECT_EQ(Ask(item), std::nullopt) << item;
  }
  // 57 parses but its handler family is not written here.
  EXPECT_TRUE(handler_.calls.empty());
}

TEST(CommandText, MustEndWithANulWithinTheFirst256Bytes) {
  std::string data = "15 1 2 3 4";
  data.push_back('\0');
  EXPECT_EQ(CommandTextFromData(data.data(), data.size()), "15 1 2 3 4");

  std::string full(255, 'a');
  full.push_back('\0');
  EXPECT_EQ(CommandTextFromData(full.data(), full.size())->size(), 255u);

  std::string over(256, 'a');
  over.push_back('\0');
  EXPECT_EQ(CommandTextFromData(over.data(), over.size()), std::nullopt);

  // The size of the data bounds the search, not a NUL somewhere beyond it.
  std::string cut = "15 1 2";
  EXPECT_EQ(CommandTextFromData(cut.data(), cut.size()), std::nullopt);
  EXPECT_EQ(CommandTextFromData(nullptr, 10), std::nullopt);
}

}  // namespace
}  // namespace tavik
