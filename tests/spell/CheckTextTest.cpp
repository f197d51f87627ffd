// The check walk: decisions, the change list, loops, document mode and the done actions.

#include "SpellTestSupport.h"

#include <gtest/gtest.h>

namespace lexivane {
namespace {

using testing::LoadWords;
using testing::ScriptedHost;

class CheckTextTest : public ::testing::Test {
 protected:
  CheckTextTest() : engine(store, changes, host) {
    LoadWords(store, {"the", "cat", "sat", "on", "mat", "a", "dog", "Mr", "thee"});
    engine.Options().suggestCorrections = false;
  }
  std::string Run(std::string text) {
    engine.CheckString(text);
    return text;
  }
  void Script(std::initializer_list<Decision> decisions) { host.script.assign(decisions.begin(), decisions.end()); }

  WordListStore store;
  ChangeList changes;
  ScriptedHost host;
  SpellEngine engine;
};

TEST_F(CheckTextTest, IgnoreReportsEachOccurrence) {
  EXPECT_EQ(Run("teh cat teh"), "teh cat teh");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh", "teh"}));
}

TEST_F(CheckTextTest, IgnoreAllAndAddUseTheWordBoxText) {
  Script({{seIgnoreAll, " teh "}, {seAddToCustom, "zorb"}});
  EXPECT_EQ(Run("teh zorb teh zorb"), "teh zorb teh zorb");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh", "zorb"}));
  EXPECT_TRUE(store.FindInList(kIgnoreList, "teh", false));
  EXPECT_TRUE(store.FindInList(kCustomList, "zorb", false));
  EXPECT_TRUE(store.CustomDirty());
}

TEST_F(CheckTextTest, ChangeIsReadBackAndAMisspelledReplacementIsReported) {
  Script({{seChangeWord, "thw"}, {seChangeWord, "the"}});
  EXPECT_EQ(Run("teh cat"), "the cat");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh", "thw"}));
}

TEST_F(CheckTextTest, ChangeToSeveralWordsChecksEachOfThem) {
  Script({{seChangeWord, "a dgo"}});
  EXPECT_EQ(Run("adgo sat"), "a dgo sat");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"adgo", "dgo"}));
}

TEST_F(CheckTextTest, ChangeAllReplacesLaterWordsAndLaterChecks) {
  Script({{seChangeAll, "the"}});
  EXPECT_EQ(Run("teh cat, teh mat"), "the cat, the mat");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh"}));
  EXPECT_EQ(Run("on teh"), "on the");
  EXPECT_EQ(host.reported.size(), 1u) << "no question in a later check";

  engine.Options().ignoreCase = true;
  EXPECT_EQ(Run("Teh dog"), "the dog") << "with IgnoreCase the pair's replacement is used as stored";
}

TEST_F(CheckTextTest, ChangeAllToAMisspelledWordIsReportedAgain) {
  Script({{seChangeAll, "thw"}, {seIgnoreWord, "thw"}});
  EXPECT_EQ(Run("teh cat teh"), "thw cat thw");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh", "thw", "thw"}));
}

TEST_F(CheckTextTest, ReplacementsThatReadBackAsThemselvesDoNotLoop) {
  struct Case {
    const char* fault;
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string text, expected;
  } cases[] = {
      {"replacement reads back as the word (Mr to Mr.)", {{"Mrr", "Mrr."}}, "Mrr cat", "Mrr. cat"},
      {"A to B, later B to A", {{"teh", "tteh"}, {"tteh", "teh"}}, "teh cat", "teh cat"},
      {"word changed into two copies of itself", {{"teh", "teh teh"}}, "teh cat", "teh teh cat"},
      {"pair of a word with itself", {{"teh", "teh"}}, "teh cat", "teh cat"},
      {"replacement starting with punctuation", {{"teh", "'teh"}}, "teh cat", "'teh cat"},
  };
  for (const auto& c : cases) {
    ChangeList pairs;
    for (const auto& [from, to] : c.pairs) pairs.Append(from, to);
    ScriptedHost quiet;
    SpellEngine e(store, pairs, quiet);
    std::string text = c.text;
    e.CheckString(text);
    EXPECT_EQ(text, c.expected) << c.fault;
    EXPECT_TRUE(quiet.reported.empty()) << c.fault;
  }
}

TEST_F(CheckTextTest, ChangeToTheSameWordMovesOn) {
  Script({{seChangeWord, "teh"}});
  EXPECT_EQ(Run("teh cat"), "teh cat");
  EXPECT_EQ(host.reported.size(), 1u);
}

TEST_F(CheckTextTest, ChangeAllInsideAReplacementStillApplies) {
  changes.Append("teh", "thw");
  Script({{seChangeAll, "the"}});
  EXPECT_EQ(Run("teh cat"), "the cat");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"thw"}));
}

TEST_F(CheckTextTest, CancelStopsButTheDoneActionStillRuns) {
  engine.Options().doneAction = seShowMsgBox;
  Script({{seCancelChecking, ""}});
  EXPECT_EQ(Run("teh dgo"), "teh dgo");
  EXPECT_EQ(host.reported.size(), 1u);
  EXPECT_EQ(host.messageBoxes, (std::vector<std::string>{"Spelling Check Complete.|Spelling Check"}));
  EXPECT_FALSE(engine.Checking());
  EXPECT_EQ(host.selections.back(), (std::pair<int64_t, int64_t>{0, 3})) << "the dialog leaves the word selected";
}

TEST_F(CheckTextTest, DoneActions) {
  engine.Options().doneAction = seFireDoneEvent;
  Run("");
  EXPECT_EQ(host.doneEvents, 1);
  engine.Options().doneAction = seDoNothing;
  Run("cat");
  EXPECT_EQ(host.doneEvents, 1);
  EXPECT_TRUE(host.messageBoxes.empty());
}

TEST_F(CheckTextTest, EventPathGivesPositionAfterTheWordAndTakesBadWord) {
  engine.Options().autoHandleErrors = false;
  Script({{seIgnoreWord, ""}, {seChangeWord, "  dog  "}});
  EXPECT_EQ(Run("the teh, dgo!"), "the teh, dog!");
  EXPECT_EQ(host.offsets, (std::vector<int32_t>{8, 13}));
  EXPECT_TRUE(host.requests.empty());
  EXPECT_TRUE(host.selections.empty()) << "no selections without the dialog when checking a string";
}

TEST_F(CheckTextTest, SuggestionsFollowTheOption) {
  Run("teh");
  engine.Options().suggestCorrections = true;
  Run("teh");
  EXPECT_EQ(host.suggestionsSeen, (std::vector<std::string>{"(No suggestions)", "the"}));
}

TEST_F(CheckTextTest, DialogButtonsAndPositionAreRemembered) {
  engine.Options().allowCancel = false;
  engine.Options().allowAddToCustom = false;
  Run("teh dgo");
  ASSERT_EQ(host.requests.size(), 2u);
  EXPECT_FALSE(host.requests[0].showCancel);
  EXPECT_FALSE(host.requests[0].showAdd);
  EXPECT_FALSE(host.requests[0].position.Remembered());
  EXPECT_EQ(host.requests[1].position.left, 120);
  EXPECT_EQ(host.requests[1].position.top, 80);
}

TEST_F(CheckTextTest, NestedCheckDoesNothing) {
  engine.Options().doneAction = seFireDoneEvent;
  std::string inner = "dgo";
  host.duringError = [&] {
    host.duringError = nullptr;
    engine.CheckString(inner);
  };
  Run("teh");
  EXPECT_EQ(inner, "dgo");
  EXPECT_EQ(host.reported, (std::vector<std::string>{"teh"}));
}

TEST_F(CheckTextTest, DocumentModeEditsTheDocumentAndRestoresTheSelection) {
  host.document = "teh cat sat on teh mat";
  host.selStart = 5;
  host.selEnd = 7;
  engine.NoteDocumentChanged();
  Script({{seChangeAll, "the"}});
  engine.CheckSpellingNow();
  EXPECT_EQ(host.document, "the cat sat on the mat");
  EXPECT_EQ(host.replacedSelections, (std::vector<std::string>{"the", "the"}));
  // Word selected for the dialog, then the change-list replacements, then the old selection.
  std::vector<std::pair<int64_t, int64_t>> expected{{0, 3}, {0, 3}, {15, 18}, {5, 7}};
  EXPECT_EQ(host.selections, expected);
  EXPECT_FALSE(engine.ChangedSinceLastCheck());
}

}  // namespace
}  // namespace lexivane
