// Every command function's text for a table of calls, through the kit's parameter block.
#include "FakeHost.h"
#include "HostFunctions.h"
#include "LibraryState.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace tavik::test {
namespace {

using namespace tavik::hostlib;

// A parameter as the table writes it; made into a kit parameter once the host exists.
struct P {
  char type;  // 'C', 'I', 'N', 'L', 'O'
  std::string text;
  double number = 0;
};
P s(std::string t) { return {'C', std::move(t)}; }
P i(int32_t v) { return {'I', "", double(v)}; }
P n(double v) { return {'N', "", v}; }
P l(bool v) { return {'L', "", v ? 1.0 : 0.0}; }
P o() { return {'O', "", 5}; }

Arg Make(const P& p) {
  switch (p.type) {
    case 'C': return S(p.text);
    case 'I': return I(static_cast<int32_t>(p.number));
    case 'N': return N(p.number);
    case 'L': return L(p.number != 0);
    default: return Obj(static_cast<int32_t>(p.number));
  }
}

struct Case {
  const char* what;
  KitRoutine routine;
  std::vector<P> params;
  std::vector<std::string> sent;
  const char* result;  // "" none, "T"/"F" logical, "I<n>" integer
};

// Test names in CTest carry the case's words rather than its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }

const std::string kFF(1, '\xFF');
const std::string k300(300, 'x');

class CommandText : public ::testing::TestWithParam<Case> {
protected:
  void SetUp() override {
    State() = LibraryState{};
    State().active = 1;
    State().hostMainClientWindow = 777;
    link.answers["1 3"] = "4242";
    link.answers["26 [IMG] 10 20 110 220 777"] = "1234";
    link.answers["27 [TOP] 1 2 3 4"] = " 99.7";
    link.answers["71 [KID] 777"] = "555";
    link.answers["71 [KID] 31"] = "556";
    link.answers["1 5"] = "the answer";
    SetLink(&link);
  }
  void TearDown() override { SetLink(nullptr); }

  FakeHost host;
  RecordingLink link;
};

std::string ResultOf(const FakeHost& host) {
  if (!host.hasResult) return "";
  if (host.result.type == kKitLogical) return host.result.integer ? "T" : "F";
  if (host.result.type == kKitInteger) return "I" + std::to_string(host.result.integer);
  if (host.result.type == kKitCharacter) return "C" + host.ResultText();
  return "?";
}

TEST_P(CommandText, SendsTheText) {
  const Case& c = GetParam();
  std::vector<Arg> args;
  for (const P& p : c.params) args.push_back(Make(p));
  KitParamBlock block = Block(args);
  c.routine(&block);
  EXPECT_EQ(link.sent, c.sent) << c.what;
  EXPECT_EQ(ResultOf(host), c.result) << c.what;
}

const Case kCases[] = {
    // Showing images: the placement values by parameter count.
    {"IMSHOW a.bmp 10 20", IMSHOW, {s("a.bmp"), i(10), i(20)},
     {"poke:35 [a.bmp] 1 10 20 -1 -1 -1 -1 -1 -1 0"}, ""},
    {"IMSHOW seven parameters ignores the values", IMSHOW,
     {s("a.bmp"), i(1), i(2), i(3), i(4), i(5), i(6)},
     {"poke:35 [a.bmp] 1 0 0 -1 -1 -1 -1 -1 -1 0"}, ""},
    {"IMSHOW two parameters: the second is the sub-image", IMSHOW, {s("a.tif"), i(3)},
     {"poke:35 [a.tif] 1 0 0 -1 -1 -1 -1 -1 -1 3"}, ""},
    {"IMSHOW two parameters, non-numeric second: nothing", IMSHOW, {s("a.tif"), s("x")}, {}, ""},
    {"IMSHOW five: the destination rectangle", IMSHOW, {s("a"), i(1), i(2), i(3), i(4)},
     {"poke:35 [a] 1 1 2 3 4 -1 -1 -1 -1 0"}, ""},
    {"IMSHOW six: non-numeric sub becomes 0", IMSHOW,
     {s("a"), i(1), i(2), i(3), i(4), s("q")}, {"poke:35 [a] 1 1 2 3 4 -1 -1 -1 -1 0"}, ""},
    {"IMSHOW ten: crop and sub", IMSHOW,
     {s("a"), i(1), i(2), i(3), i(4), i(5), i(6), i(7), i(8), i(2)},
     {"poke:35 [a] 1 1 2 3 4 5 6 7 8 2"}, ""},
    {"IMSHOW a value that is not numeric: nothing", IMSHOW, {s("a"), i(1), s("b")}, {}, ""},
    {"IMSHOW reals truncated, logicals as 1", IMSHOW, {s("a"), n(3.9), n(-3.9), l(true)},
     {"poke:35 [a] 1 3 -3 -1 -1 -1 -1 -1 -1 1"}, ""},
    {"IMSHOW name not a string: nothing", IMSHOW, {i(5), i(1), i(2)}, {}, ""},
    {"IMSHOWBW sets flag 2", IMSHOWBW, {s("a"), i(0), i(0)},
     {"poke:35 [a] 2 0 0 -1 -1 -1 -1 -1 -1 0"}, ""},
    {"IMSHOWG sets flag 4", IMSHOWG, {s("a"), i(0), i(0)},
     {"poke:35 [a] 4 0 0 -1 -1 -1 -1 -1 -1 0"}, ""},
    {"IMIMAGE asks for the current window", IMIMAGE, {s("b.gif"), i(5), i(6)},
     {"request:1 3", "poke:35 [b.gif] 0 5 6 -1 -1 -1 -1 -1 -1 0"}, ""},
    {"IMBITMAP with a and b, name without brackets", IMBITMAP, {s("pic"), i(3), i(4)},
     {"request:1 3", "poke:60 pic 3 4"}, ""},
    {"IMBITMAP with two parameters sends 0 0", IMBITMAP, {s("pic"), i(3)},
     {"request:1 3", "poke:60 pic 0 0"}, ""},

    // Pages, texts and drawing objects.
    {"IMSTARTPAG without parameter", IMSTARTPAG, {}, {"poke:53 0"}, ""},
    {"IMSTARTPAG landscape in lower case", IMSTARTPAG, {s("landscape")}, {"poke:53 2"}, ""},
    {"IMSTARTPAG portrait", IMSTARTPAG, {s("Portrait")}, {"poke:53 1"}, ""},
    {"IMSTARTPAG other word", IMSTARTPAG, {s("sideways")}, {"poke:53 0"}, ""},
    {"IMSTARTPAG non-string: nothing", IMSTARTPAG, {i(1)}, {}, ""},
    {"IMENDPAGE", IMENDPAGE, {}, {"poke:52"}, ""},
    {"IMNEWPAGE", IMNEWPAGE, {}, {"poke:104"}, ""},
    {"IMTEXT closes the text with 0xFF", IMTEXT, {s("a]b"), i(5), i(6)},
     {"poke:22 [a]b" + kFF + " 5 6"}, ""},
    {"IMVTEXT with c", IMVTEXT, {s("up"), i(5), i(6), i(7)}, {"poke:23 [up" + kFF + " 5 6 7"}, ""},
    {"IMDELETE without parameters", IMDELETE, {}, {"poke:37 []"}, ""},
    {"IMDELETE upper-cases the name", IMDELETE, {s("logo")}, {"poke:37 [LOGO]"}, ""},
    {"IMDELETE with n", IMDELETE, {s("logo"), i(2)}, {"poke:37 [LOGO] 2"}, ""},
    {"IMDELETE non-numeric n: nothing", IMDELETE, {s("logo"), s("2")}, {}, ""},
    {"IMDELETEGX without parameter", IMDELETEGX, {}, {"poke:38"}, ""},
    {"IMDELETEGX with n ends on a blank", IMDELETEGX, {i(3)}, {"poke:38 3 "}, ""},
    {"IMDELETEGX non-numeric: nothing", IMDELETEGX, {s("3")}, {}, ""},
    {"IMDELETEOS with n", IMDELETEOS, {i(1)}, {"poke:93 1 "}, ""},
    {"IMCLEARGX with n", IMCLEARGX, {i(4)}, {"poke:103 4 "}, ""},
    {"IMCLEAR passes everything", IMCLEAR, {i(1), s("RED"), n(2.5)}, {"poke:5 1 RED 2"}, ""},
    {"IMCLEAR alone", IMCLEAR, {}, {"poke:5"}, ""},
    {"IMSDRAW", IMSDRAW, {}, {"poke:29"}, "T"},
    {"IMSDRAW n", IMSDRAW, {i(7)}, {"poke:29 7"}, "T"},
    {"IMSDRAW non-numeric", IMSDRAW, {s("x")}, {}, "F"},
    {"IMEDRAW n", IMEDRAW, {i(7)}, {"poke:30 7"}, "T"},

    // Windows.
    {"IMHIDEWIN", IMHIDEWIN, {i(100)}, {"poke:39 100 0"}, "T"},
    {"IMHIDEWIN non-numeric", IMHIDEWIN, {s("100")}, {}, "F"},
    {"IMSHOWWIN with x", IMSHOWWIN, {i(100), i(3)}, {"poke:39 100 1 3"}, "T"},
    {"IMDESTROY", IMDESTROY, {i(100)}, {"poke:25 100"}, "T"},
    {"IMDESTROY non-numeric", IMDESTROY, {s("w")}, {}, "F"},
    {"IMCLOSE", IMCLOSE, {}, {"request:1 3", "poke:48"}, "T"},
    {"IMACTIVATE", IMACTIVATE, {i(9)}, {"message:9 6 2 0"}, "T"},
    {"IMMOVE", IMMOVE, {i(9), i(1), i(2), i(3), i(4)}, {"move:9 1 2 3 4"}, ""},
    {"IMMOVE a non-numeric value", IMMOVE, {i(9), i(1), s("2"), i(3), i(4)}, {}, ""},
    {"IMSCROLL code 2 scrolls vertically", IMSCROLL, {i(2)},
     {"request:1 3", "message:4242 277 2 0"}, "T"},
    {"IMSCROLL code 6 scrolls horizontally", IMSCROLL, {i(6)},
     {"request:1 3", "message:4242 276 2 0"}, "T"},
    {"IMSCROLL code 8", IMSCROLL, {i(8)}, {}, "F"},
    {"IMSENDMSG integer lparam", IMSENDMSG, {i(9), i(16), i(0), i(5)}, {"message:9 16 0 5"}, ""},
    {"IMSENDMSG lparam neither: sent, false", IMSENDMSG, {i(9), i(16), i(0), o()},
     {"message:9 16 0 0"}, "F"},
    {"IMSENDMSG non-numeric msg", IMSENDMSG, {i(9), s("x"), i(0), i(0)}, {}, "F"},
    {"IMRTMENU", IMRTMENU, {i(9)}, {"rightmenu:9"}, "T"},
    {"IMZOOM without parameters", IMZOOM, {}, {"poke:41 2"}, "T"},
    {"IMZOOM 2", IMZOOM, {i(2)}, {"poke:41 2.00 2.00 "}, "T"},
    {"IMZOOM x and y in hundredths", IMZOOM, {n(1.5), n(1.05)}, {"poke:41 1.50 1.05 "}, "T"},
    {"IMZOOM hundredths truncated", IMZOOM, {n(0.339)}, {"poke:41 0.33 0.33 "}, "T"},
    {"IMZOOM non-numeric", IMZOOM, {s("2")}, {}, "F"},
    {"IMUNZOOM", IMUNZOOM, {}, {"poke:42 0"}, "T"},
    {"IMUNZOOM n", IMUNZOOM, {i(3)}, {"poke:42 3"}, "T"},
    {"IMAALIAS without parameters sends mode 0", IMAALIAS, {}, {"poke:43 0"}, "T"},
    {"IMAALIAS off", IMAALIAS, {s("off")}, {"poke:43 0"}, "T"},
    {"IMAALIAS window", IMAALIAS, {s("Window")}, {"poke:43 1"}, "T"},
    {"IMAALIAS selection", IMAALIAS, {s("SELECTION"), i(1), i(2), i(3), i(4)},
     {"poke:43 2 1 2 3 4"}, "T"},
    {"IMAALIAS selection with too few", IMAALIAS, {s("SELECTION"), i(1)}, {}, "F"},
    {"IMAALIAS unknown mode", IMAALIAS, {s("ON")}, {}, "F"},
    {"IMDITHER without parameters sends mode 0", IMDITHER, {}, {"poke:44 0"}, "T"},
    {"IMROTATE DCBA", IMROTATE, {i(9), s("DCBA")}, {"poke:85 9 1"}, "T"},
    {"IMROTATE DABC", IMROTATE, {i(9), s("DABC")}, {"poke:85 9 7"}, "T"},
    {"IMROTATE lower case is not an order", IMROTATE, {i(9), s("dcba")}, {}, "F"},
    {"IMSENDFLAG", IMSENDFLAG, {i(3)}, {"poke:76 3 0"}, ""},
    {"IMSENDFLAG 0", IMSENDFLAG, {i(0)}, {}, ""},
    {"IMXFERHW", IMXFERHW, {i(1), i(2)}, {"poke:64 1 2"}, "T"},
    {"IMXFERHW non-numeric", IMXFERHW, {i(1), s("2")}, {}, "F"},

    // Dialogs, raw commands, requests.
    {"IMSAVEDLG", IMSAVEDLG, {}, {"poke:45"}, "T"},
    {"IMPSETDLG", IMPSETDLG, {}, {"poke:47"}, "T"},
    {"IMPRINTDLG", IMPRINTDLG, {s("Job")}, {"poke:46 [Job]"}, "T"},
    {"IMPRINTDLG without a string", IMPRINTDLG, {}, {"poke:46 []"}, "T"},
    {"IMABOUTDLG", IMABOUTDLG, {}, {"poke:49 0 0"}, "T"},
    {"IMABOUTDLG a and b", IMABOUTDLG, {i(1), i(2)}, {"poke:49 1 2"}, "T"},
    {"IMABOUTDLG one parameter", IMABOUTDLG, {i(1)}, {}, "F"},
    {"IMADDIN1", IMADDIN1, {i(2), s("tool")}, {"poke:81 2 [tool]"}, "T"},
    {"IMADDIN1 one parameter", IMADDIN1, {i(2)}, {}, "F"},
    {"IMCMD", IMCMD, {s("39 5 1")}, {"poke:39 5 1"}, "T"},
    {"IMCMD cuts at 255", IMCMD, {s(k300)}, {"poke:" + k300.substr(0, 255)}, "T"},
    {"IMCMD non-string", IMCMD, {i(3)}, {}, "F"},
    {"IMREQUEST", IMREQUEST, {s("1 5")}, {"request:1 5"}, "Cthe answer"},
    {"IMREQUEST without answer: empty", IMREQUEST, {s("1 6")}, {"request:1 6"}, "C"},
    {"IMREQUEST non-string", IMREQUEST, {l(true)}, {}, "F"},
    {"IMTWSRC", IMTWSRC, {},
     {"box:Tavik/FoxPro|TWAIN functions are now in ACQLINK.FLL"}, "F"},
    {"IMTWDONE", IMTWDONE, {i(1)},
     {"box:Tavik/FoxPro|TWAIN functions are now in ACQLINK.FLL"}, ""},

    // Conversions and saving.
    {"IMCVT a.gif", IMCVT, {s("a.gif")},
     {"poke:56 [a.gif] BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1"}, ""},
    {"IMCVT with format", IMCVT, {s("a.gif"), s("PCX")},
     {"poke:56 [a.gif] PCX -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1"}, ""},
    {"IMCVT height and width", IMCVT, {s("a"), s("TIF"), i(10), i(20)},
     {"poke:56 [a] TIF 10 20 -1 NEAREST BESTPAL -1 -1 -1 -1"}, ""},
    {"IMCVT dither without palette", IMCVT, {s("a"), s("GIF"), i(1), i(2), i(3), s("DIFFUSE")},
     {"poke:56 [a] GIF 1 2 3 DIFFUSE BESTPAL -1 -1 -1 -1"}, ""},
    {"IMCVT all", IMCVT,
     {s("a"), s("GIF"), i(1), i(2), i(3), s("D"), s("P"), i(4), i(5), i(6), i(7)},
     {"poke:56 [a] GIF 1 2 3 D P 4 5 6 7"}, ""},
    {"IMCVT three: nothing", IMCVT, {s("a"), s("GIF"), i(1)}, {}, ""},
    {"IMCVT dither not a string: nothing", IMCVT, {s("a"), s("G"), i(1), i(2), i(3), i(4)}, {},
     ""},
    {"IMPASTEFIL", IMPASTEFIL, {s("p.bmp")},
     {"poke:83 [p.bmp] BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1"}, ""},
    {"IMSAVEOFF", IMSAVEOFF, {s("o.bmp")},
     {"poke:99 [o.bmp] BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1"}, ""},
    {"IMCONVERT joins the names", IMCONVERT, {s("a.pcx"), s("b.bmp"), s("BMP")},
     {"poke:54 [a.pcx][b.bmp] BMP -1 -1 -1 NEAREST BESTPAL -1 -1 -1 -1 0 -1"}, ""},
    {"IMCONVERT fourteen", IMCONVERT,
     {s("a"), s("b"), s("JPG"), i(1), i(2), i(75), s("D"), s("P"), i(4), i(5), i(6), i(7), i(2),
      i(9)},
     {"poke:54 [a][b] JPG 1 2 75 D P 4 5 6 7 2 9"}, ""},
    {"IMCONVERT four: nothing", IMCONVERT, {s("a"), s("b"), s("BMP"), i(1)}, {}, ""},
    {"IMSAVE", IMSAVE, {i(7), s("t.bmp"), s("BMP"), i(10), i(20)},
     {"poke:65 7 [t.bmp] BMP 10 20 -1 NEAREST BESTPAL -1 -1 -1 -1 0 -1"}, ""},

    // Window creation.
    {"IMCREATEF with parent -1 goes to the host client window", IMCREATEF,
     {s("IMG"), i(10), i(20), i(110), i(220), i(-1)}, {"request:26 [IMG] 10 20 110 220 777"},
     "I1234"},
    {"IMCREATEF without an answer", IMCREATEF, {s("X"), i(1), i(2), i(3), i(4), i(5)},
     {"request:26 [X] 1 2 3 4 5"}, "I0"},
    {"IMCREATEO", IMCREATEO, {s("X"), i(1), i(2), i(3), i(4), i(-1)},
     {"request:28 [X] 1 2 3 4 777"}, "I0"},
    {"IMCREATEE starts the DESTROY advise", IMCREATEE, {s("TOP"), i(1), i(2), i(3), i(4)},
     {"request:27 [TOP] 1 2 3 4", "advise:13 99"}, "I99"},
    {"IMCREATES watches the host client window", IMCREATES, {s("KID"), i(-1)},
     {"request:71 [KID] 777", "watch:555 777"}, "I555"},
    {"IMCREATES with a parent of its own", IMCREATES, {s("KID"), i(31)},
     {"request:71 [KID] 31", "watch:556 31"}, "I556"},
};

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  std::string name = std::to_string(info.index) + "_";
  for (const char* c = info.param.what; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Functions, CommandText, ::testing::ValuesIn(kCases), CaseName);

}  // namespace
}  // namespace tavik::test
