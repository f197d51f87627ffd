// Every opcode's parse: good texts, missing arguments, names too long, trailing handles.
#include "CommandTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CommandDescribe.h"
#include "ErrorReport.h"

namespace tavik {
namespace {

using testing_support::Describe;

struct ParseCase {
  std::string text;
  std::string expected;  // empty: the parse fails
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

std::string ParsedPoke(const std::string& text) {
  auto cmd = ParsePoke(text);
  return cmd ? Describe(*cmd) : std::string();
}

std::string ParsedRequest(const std::string& text) {
  auto cmd = ParseRequest(text);
  return cmd ? Describe(*cmd) : std::string();
}

const std::string kShowTail = " 1 10 20 -1 -1 -1 -1 -1 -1";
const std::string kShowParsed = " flags=1 dst=10,20,-1,-1 crop=-1,-1,-1,-1";
const std::string kSaveTail = " BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1";
const std::string kSaveParsed =
    "BMP -1x-1 opt=-1 match=236 pal=257 crop=-1,-1,-1,-1";
const std::string kDataParsed =
    " flags=1 dst=0,0,-1,-1 crop=-1,-1,-1,-1 sub=0 pt=0,0 msize=-1 size=5000";

class PokeParse : public testing::TestWithParam<ParseCase> {};

TEST_P(PokeParse, ReadsTheArguments) {
  EXPECT_EQ(ParsedPoke(GetParam().text), GetParam().expected);
}

const std::vector<ParseCase> kPokeCases = {
    // Opcode and attribute sets.
    {"", ""},
    {"x 1", ""},
    {"-0", ""},
    {"2 2 255 0 0", "attr w=- code=2 values='255 0 0'"},
    {"2 46 [ALL] 1", "attr w=- code=46 values='[ALL] 1'"},
    {"2", ""},
    {"2 x 1", ""},
    {"94 1234 2 255 0 0", "attr w=1234 code=2 values='255 0 0'"},
    {"94 1234", ""},
    // Shapes: pairs are row first; a trailing handle addresses another window.
    {"3 1 2 3 4 5 6 7 8", "shape 1,2 3,4 5,6 7,8 r=0"},
    {"3 1 2 3 4 5 6 7 8 99", "shape 1,2 3,4 5,6 7,8 r=0 @99"},
    {"3 1 2 3 4 5 6 7", ""},
    {"4 10 20 5", "shape 10,20 0,0 0,0 0,0 r=5"},
    {"4 10 20", ""},
    {"9 1 2 3 4 5 6 7 8 -1", "shape 1,2 3,4 5,6 7,8 r=0 @-1"},
    {"10 10 20 5 -1", "shape 10,20 0,0 0,0 0,0 r=5 @-1"},
    {"12 1 2 3 4", "shape 1,2 3,4 0,0 0,0 r=0"},
    {"15 1 2 3 4 77", "shape 1,2 3,4 0,0 0,0 r=0 @77"},
    {"15 1 2 3", ""},
    {"15 1 2 3 -0", ""},
    {"17 5 6", "shape 5,6 0,0 0,0 0,0 r=0"},
    {"18 1 2 3 4", "shape 1,2 3,4 0,0 0,0 r=0"},
    {"31 1 2 3 4", "shape 1,2 3,4 0,0 0,0 r=0"},
    {"32 1 2 3 4 x", "shape 1,2 3,4 0,0 0,0 r=0"},
    {"33 1 2 3 4 5 6 7 8", "shape 1,2 3,4 5,6 7,8 r=0"},
    {"34 1 2 3 4 5 6 7", ""},
    {"96 10 20", "shape 10,20 0,0 0,0 0,0 r=0"},
    {"97 10 20 -1", "shape 10,20 0,0 0,0 0,0 r=0 @-1"},
    {"97 10", ""},
    // Clear: nothing, a lone handle, a rectangle, a rectangle and a handle.
    {"5", "clear all"},
    {"5 1234", "clear all @1234"},
    {"5 0 0 -1 -1", "clear 0,0,-1,-1"},
    {"5 0 0 -1 -1 77", "clear 0,0,-1,-1 @77"},
    {"5 1 2", ""},
    {"5 1 2 3", ""},
    // Point lists.
    {"6", "list n=0 pt=0,0"},
    {"7 -1", "list n=0 pt=0,0 @-1"},
    {"11 10 10", "list n=0 pt=10,10"},
    {"16 0 5 9", "list n=0 pt=0,5 @9"},
    {"11 10", ""},
    {"20 3", "list n=3 pt=0,0"},
    {"21 3 5", "list n=3 pt=0,0 @5"},
    {"20 0", "list n=0 pt=0,0"},
    {"20 -3", ""},
    {"20 x", ""},
    {"21 2000000", ""},
    // Texts.
    {"22 [a]b\xFF 5 6", "text 'a]b' at 5,6"},
    {"23 [two words\xFF 5 6 -1", "text 'two words' at 5,6 @-1"},
    {"22 [abc\xFF 5", ""},
    {"22 [abc", ""},
    {"22 [" + std::string(255, 't') + "\xFF 1 2", "text '" + std::string(255, 't') + "' at 1,2"},
    {"22 [" + std::string(256, 't') + "\xFF 1 2", ""},
    // Windows.
    {"25 1234", "destroy 1234"},
    {"25", ""},
    {"25 -0", ""},
    {"48", "destroy -"},
    {"39 1234 0", "showhide 1234 show=0 cmd=-"},
    {"39 1234 1 3", "showhide 1234 show=1 cmd=3"},
    {"39 1234", ""},
    {"64 1 2", "transfer to=1 from=2"},
    {"64 1", ""},
    {"66 0", "activate 0"},
    {"66", ""},
    {"84 5 16777215", "background 5 16777215"},
    {"84 5", ""},
    // Recording and discarding.
    {"29", "record 0x0"},
    {"29 1234", "record 0x0 @1234"},
    {"29 1234 640 480", "record 640x480 @1234"},
    {"29 1234 640", "record 640x0 @1234"},
    {"29 1234 x 480", "record 0x480 @1234"},
    {"30", "record 0x0"},
    {"30 5", "record 0x0 @5"},
    {"38", "discard"},
    {"38 5 ", "discard @5"},
    {"93 -1", "discard @-1"},
    {"103 5", "discard @5"},
    // Showing files: the sub-image defaults to 0.
    {"35 [a.bmp]" + kShowTail + " 2", "show w=- [a.bmp]" + kShowParsed + " sub=2"},
    {"35 [a b.bmp]" + kShowTail, "show w=- [a b.bmp]" + kShowParsed + " sub=0"},
    {"35 [a.bmp] 1 10 20", ""},
    {"35 a.bmp" + kShowTail, ""},  // no bracket: the name runs to the end
    {"35 [" + std::string(259, 'n') + "]" + kShowTail,
     "show w=- [" + std::string(259, 'n') + "]" + kShowParsed + " sub=0"},
    {"35 [" + std::string(260, 'n') + "]" + kShowTail, ""},
    {"50 [a.bmp]" + kShowTail, "show w=- [a.bmp]" + kShowParsed + " sub=0"},
    {"90 5 [a.bmp]" + kShowTail + " 1", "show w=5 [a.bmp]" + kShowParsed + " sub=1"},
    {"90 [a.bmp]" + kShowTail, ""},
    // Parameter commands for data pokes: every number is required, the size comes last.
    {"36 picture 1 0 0 -1 -1 -1 -1 -1 -1 0 5000",
     "data item=0 w=- name=picture second=" + kDataParsed},
    {"36 a_memo_field_name_of_30_chars 1 0 0 -1 -1 -1 -1 -1 -1 0 5000",
     "data item=0 w=- name=a_memo_field_name_of_30_chars second=" + kDataParsed},
    {"36 picture 1 0 0 -1 -1 -1 -1 -1 -1 0", ""},
    {"36 picture 1 0 0 -1 -1 -1 -1 -1 -1 0 -5", ""},
    {"36 " + std::string(260, 'm') + " 1 0 0 -1 -1 -1 -1 -1 -1 0 5000", ""},
    {"51 VARIABLE 1 0 0 -1 -1 -1 -1 -1 -1 0 5000",
     "data item=1 w=- name=VARIABLE second=" + kDataParsed},
    {"102 7 picture 1 0 0 -1 -1 -1 -1 -1 -1 0 5000",
     "data item=0 w=7 name=picture second=" + kDataParsed},
    {"102 picture 1 0 0 -1 -1 -1 -1 -1 -1 0 5000", ""},
    {"55 [picture][b.bmp]" + kSaveTail + " 0 -1 5000",
     "data item=2 w=- name=picture second=b.bmp flags=0 dst=0,0,0,0 crop=0,0,0,0 sub=0 pt=0,0 "
     "msize=-1 size=5000 opts=" + kSaveParsed},
    {"55 [picture][b.bmp]" + kSaveTail + " 0 -1", ""},
    {"55 [picture][" + std::string(260, 'd') + "]" + kSaveTail + " 0 -1 5000", ""},
    {"61 picture 10 20 300",
     "data item=3 w=- name=picture second= flags=0 dst=0,0,0,0 crop=0,0,0,0 sub=0 pt=10,20 "
     "msize=-1 size=300"},
    {"61 picture 10 20", ""},
    // Images in windows.
    {"37 []", "delete []"},
    {"37 [LOGO] 12", "delete [LOGO] @12"},
    {"37", ""},
    {"60 logo.bmp 10 20", "bitmap logo.bmp at 10,20"},
    {"60 logo.bmp 10", ""},
    {"76 5 4097", "flags 5 4097"},
    {"76 5", ""},
    {"85 5 3", "rotate 5 3"},
    {"85 5 8", ""},
    {"85 5 -1", ""},
    {"91 5 8", "clipboard 5 8"},
    {"92 5", "clipboard 5 0"},
    {"92", ""},
    {"98 5 1", "freehand 5 1"},
    {"98 5", ""},
    // Zoom and display processing.
    {"41 1.5", "zoom 150"},
    {"41 2.00 2.00 ", "zoom 200"},
    {"41 0", ""},
    {"41 x", ""},
    {"41", ""},
    {"42", "zoom 0"},
    {"42 2", "zoom 2"},
    {"43 0", "process mode=0 rect=0,0,0,0"},
    {"44 1", "process mode=1 rect=0,0,0,0"},
    {"43 2 1 2 3 4", "process mode=2 rect=1,2,3,4"},
    {"44 2 1 2", ""},
    {"43 3", ""},
    {"43 OFF", ""},
    // Dialogs and pages.
    {"45", "dialog w=- [] pt=0,0"},
    {"46 []", "dialog w=- [] pt=0,0"},
    {"46 [CENTER]", "dialog w=- [CENTER] pt=0,0"},
    {"46", "dialog w=- [] pt=0,0"},
    {"47", "dialog w=- [] pt=0,0"},
    {"49 10 20", "dialog w=- [] pt=10,20"},
    {"49 10", ""},
    {"86 5", "dialog w=5 [] pt=0,0"},
    {"87 5 10 20", "dialog w=5 [] pt=10,20"},
    {"88 5 [opts]", "dialog w=5 [opts] pt=0,0"},
    {"88 5", ""},
    {"89 5", "dialog w=5 [] pt=0,0"},
    {"52", "page 0"},
    {"53 2", "page 2"},
    {"53", ""},
    {"104", "page 0"},
    // Conversion and saving. The two names of 54 stand next to each other; with a blank
    // between them the second keeps its bracket.
    {"54 [a.pcx][b.bmp]" + kSaveTail + " 0 -1",
     "save w=- src=[a.pcx] dst=[b.bmp] " + kSaveParsed + " sub=0 msize=-1"},
    {"54 [a.pcx][b.bmp]" + kSaveTail, "save w=- src=[a.pcx] dst=[b.bmp] " + kSaveParsed +
                                           " sub=0 msize=-1"},
    {"54 [a.wmf][b.bmp]" + kSaveTail + " 2 4096",
     "save w=- src=[a.wmf] dst=[b.bmp] " + kSaveParsed + " sub=2 msize=4096"},
    {"54 [a.pcx] [b.bmp]" + kSaveTail,
     "save w=- src=[a.pcx] dst=[[b.bmp] " + kSaveParsed + " sub=0 msize=-1"},
    {"54 [a.pcx][b.bmp] GIF 10 20 1 dither winpal 1 2 3 4",
     "save w=- src=[a.pcx] dst=[b.bmp] GIF 10x20 opt=1 match=237 pal=256 crop=1,2,3,4 sub=0 "
     "msize=-1"},
    {"54 [a.pcx][b.bmp] BMP -1 -1 -1 CLOSEST BESTPAL -1 -1 -1 -1", ""},
    {"54 [a.pcx][b.bmp] BMP -1 -1 -1 NEAREST OWNPAL -1 -1 -1 -1", ""},
    {"54 [a.pcx][b.bmp] BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1", ""},
    {"56 [a.gif]" + kSaveTail, "save w=- src=[] dst=[a.gif] " + kSaveParsed + " sub=0 msize=-1"},
    {"56 [a.gif]", ""},
    {"83 [clip.bmp]" + kSaveTail,
     "save w=- src=[] dst=[clip.bmp] " + kSaveParsed + " sub=0 msize=-1"},
    {"99 [off.bmp]" + kSaveTail,
     "save w=- src=[] dst=[off.bmp] " + kSaveParsed + " sub=0 msize=-1"},
    {"65 65535 [out.bmp]" + kSaveTail,
     "save w=65535 src=[] dst=[out.bmp] " + kSaveParsed + " sub=0 msize=-1"},
    {"65 [out.bmp]" + kSaveTail, ""},
    {"67 [cap.bmp] BMP 0 10 20 NEAREST BESTPAL",
     "capture [cap.bmp] BMP opt=0 at 10,20 match=236 pal=257"},
    {"67 [cap.bmp] BMP 0 10 20 NEAREST", ""},
    // Metafiles: an optional leading handle, then the file and DEFAULTMETAFILE.
    {"100 5 [a.wmf] [DEFAULTMETAFILE] WMF", "metafile [a.wmf] format=1 append=0 @5"},
    {"100 [a.wmf] [DEFAULTMETAFILE] EMF", "metafile [a.wmf] format=2 append=0"},
    {"100 [a.wmf][DEFAULTMETAFILE] WMF", "metafile [a.wmf] format=1 append=0"},
    {"100 [a.wmf] [OTHER] WMF", ""},
    {"100 [a.wmf] [DEFAULTMETAFILE] BMP", ""},
    {"100 [a.wmf] [DEFAULTMETAFILE]", ""},
    {"100 x [a.wmf] [DEFAULTMETAFILE] WMF", ""},
    {"101 [a.wmf] [DEFAULTMETAFILE] 1", "metafile [a.wmf] format=1 append=1"},
    {"101 5 [a.wmf] [DEFAULTMETAFILE]", "metafile [a.wmf] format=1 append=0 @5"},
    // Media windows.
    {"73 5 [a.avi]", "media 5 [a.avi] flags=0 mask=0 value=0"},
    {"73 5 [a.avi] 16", "media 5 [a.avi] flags=16 mask=0 value=0"},
    {"73 5", ""},
    {"74 5 [play from 0]", "media 5 [play from 0] flags=0 mask=0 value=0"},
    {"78 5", "media 5 [] flags=0 mask=0 value=0"},
    {"79 5", "media 5 [] flags=0 mask=0 value=0"},
    {"80 5 4 0", "media 5 [] flags=0 mask=4 value=0"},
    {"80 5 4", ""},
    {"105 5", "media 5 [] flags=0 mask=0 value=0"},
    {"106 5 [-1]", "media 5 [-1] flags=0 mask=0 value=0"},
    // Menus.
    {"81 5 [Sharpen]", "menu 5 [Sharpen]"},
    {"81 5", ""},
    {"82 5", "menu 5 []"},
};

INSTANTIATE_TEST_SUITE_P(Table, PokeParse, testing::ValuesIn(kPokeCases));

// Opcodes that are rejected when poked, whatever their arguments.
const int kRejectedWhenPoked[] = {0, 1, 8, 13, 14, 19, 24, 26, 27, 28, 40, 57, 58, 59, 62,
                                  63, 68, 69, 70, 71, 72, 75, 77, 95, 107, 200, -5};

TEST(PokeTable, RejectedOpcodesFailWhateverFollows) {
  for (int op : kRejectedWhenPoked) {
    for (const char* tail : {"", " [t] 1 2 3 4 5", " 1 2 3 4 5 6 7 8"}) {
      std::string text = std::to_string(op) + tail;
      EXPECT_FALSE(ParsePoke(text)) << text;
    }
  }
}

TEST(PokeTable, EveryOtherOpcodeUpTo106HasAParser) {
  std::set<int> rejected(std::begin(kRejectedWhenPoked), std::end(kRejectedWhenPoked));
  for (int op = 2; op <= 106; ++op) {
    const OpcodeInfo* info = FindOpcode(op);
    bool pokeable = info && info->poke;
    EXPECT_EQ(pokeable, !rejected.count(op)) << op;
  }
}

TEST(PokeTable, IsOrderedWithUniqueNames) {
  std::set<std::string_view> names;
  int32_t previous = 0;
  for (const OpcodeInfo& e : OpcodeTable()) {
    EXPECT_GT(static_cast<int32_t>(e.op), previous);
    previous = static_cast<int32_t>(e.op);
    EXPECT_TRUE(names.insert(e.name).second) << e.name;
    EXPECT_EQ(FindOpcode(previous), &e);
  }
  EXPECT_EQ(FindOpcode(8), nullptr);
}

TEST(PokeTable, TraitsTellTheDdeLayerWhatFollows) {
  std::set<int> drawing, text, destroys;
  for (const OpcodeInfo& e : OpcodeTable()) {
    int op = static_cast<int>(e.op);
    if (OpcodeHasTrait(op, kTraitDrawing)) drawing.insert(op);
    if (OpcodeHasTrait(op, kTraitTextOutput)) text.insert(op);
    if (OpcodeHasTrait(op, kTraitDestroysWindow)) destroys.insert(op);
  }
  EXPECT_EQ(drawing, (std::set<int>{3, 4, 5, 6, 7, 9, 10, 12, 15, 17, 18, 31, 32, 33, 34, 97}));
  EXPECT_EQ(text, (std::set<int>{22, 23}));
  EXPECT_EQ(destroys, (std::set<int>{25, 48}));
}

// ---- requests ------------------------------------------------------------------------------

class RequestParse : public testing::TestWithParam<ParseCase> {};

TEST_P(RequestParse, ReadsTheArguments) {
  EXPECT_EQ(ParsedRequest(GetParam().text), GetParam().expected);
}

const std::vector<ParseCase> kRequestCases = {
    {"1 3", "attr w=- code=3 values=''"},
    {"1 24 10 20", "attr w=- code=24 values='10 20'"},
    {"1", ""},
    {"95 1234 3", "attr w=1234 code=3 values=''"},
    {"95 1234", ""},
    {"26 [Title] 10 20 110 220 4660", "create [Title] 10,20,110,220 parent=4660 extra=0 style=0"},
    {"26 [] -1 -1 -1 -1 99", "create [] -1,-1,-1,-1 parent=99 extra=0 style=0"},
    {"26 plain 1 2 3 4 5 6", "create [plain] 1,2,3,4 parent=5 extra=6 style=0"},
    {"26 [T] -0 0 10 10 5", "create [T] 0,0,10,10 parent=5 extra=0 style=0"},
    {"26 [T] 1 2 3 4", ""},
    {"28 [T] 1 2 3 4 5", "create [T] 1,2,3,4 parent=5 extra=0 style=0"},
    {"77 [T] 1 2 3 4 5", "create [T] 1,2,3,4 parent=5 extra=0 style=0"},
    {"27 [T] 1 2 3 4", "create [T] 1,2,3,4 parent=0 extra=0 style=0"},
    {"27 [T] 1 2 3", ""},
    {"71 [T] 99", "create [T] -1,-1,-1,-1 parent=99 extra=0 style=0"},
    {"71 [T]", ""},
    {"72 [T] 1 2 3 4 5 6", "create [T] 1,2,3,4 parent=5 extra=0 style=6"},
    {"72 [T] 1 2 3 4 5", ""},
    {"75 [T] 5 -2147483648", "create [T] -1,-1,-1,-1 parent=5 extra=0 style=2147483648"},
    {"57 5 BMP 1 2 [name.bmp]", "savedlg 5 BMP 1 2 [name.bmp]"},
    {"57 5 BMP 1 2", ""},
    {"86 5", "savedlg 5  0 0 []"},
    {"86", ""},
    // Opcodes that serve no request, or none at all.
    {"", ""},
    {"x", ""},
    {"2 2 255 0 0", ""},
    {"15 1 2 3 4", ""},
    {"58 5 1 2 3 4", ""},
    {"96 10 20", ""},
    {"106 5", ""},
};

INSTANTIATE_TEST_SUITE_P(Table, RequestParse, testing::ValuesIn(kRequestCases));

class CollectingReporter : public ErrorReporter {
public:
  struct Entry {
    int code;
    int routine;
    std::string detail;
  };
  int Report(int code, int routine, const char* detail) override {
    entries.push_back({code, routine, detail ? detail : ""});
    return 0;
  }
  std::vector<Entry> entries;
};

class TitleErrors : public testing::Test {
protected:
  void SetUp() override { SetErrorReporter(&reporter_); }
  void TearDown() override { SetErrorReporter(nullptr); }
  CollectingReporter reporter_;
};

TEST_F(TitleErrors, CreateRequestsWithoutTitleReport105ButOwnedWindowsStaySilent) {
  struct Case {
    const char* item;
    const char* detail;  // null: nothing reported
  };
  const Case cases[] = {{"26", "CREATEFWIN"}, {"71 ", "CREATEFWIN"}, {"77", "CREATEFWIN"},
                        {"27", "CREATEEWIN"}, {"28", nullptr},       {"72", nullptr}};
  for (const Case& c : cases) {
    reporter_.entries.clear();
    EXPECT_FALSE(ParseRequest(c.item)) << c.item;
    if (!c.detail) {
      EXPECT_TRUE(reporter_.entries.empty()) << c.item;
      continue;
    }
    ASSERT_EQ(reporter_.entries.size(), 1u) << c.item;
    EXPECT_EQ(reporter_.entries[0].code, kErrWindowTitle);
    EXPECT_EQ(reporter_.entries[0].routine, kDdeCallback);
    EXPECT_EQ(reporter_.entries[0].detail, c.detail);
  }
}

TEST_F(TitleErrors, MissingNumbersAfterATitleAreNoTitleError) {
  EXPECT_FALSE(ParseRequest("26 [T] 1 2"));
  EXPECT_TRUE(reporter_.entries.empty());
}

}  // namespace
}  // namespace tavik
