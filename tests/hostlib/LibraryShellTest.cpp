// The library's shell: the table, load and unload, readers, results, the buffer rules.
#include "CommandBuffer.h"
#include "FakeHost.h"
#include "HostFunctions.h"
#include "KitLibrary.h"
#include "LibraryState.h"
#include "ScanInts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace tavik::test {
namespace {

using namespace tavik::hostlib;

class Shell : public ::testing::Test {
protected:
  void SetUp() override {
    State() = LibraryState{};
    SetLink(&link);
    KitValue edition{};
    edition.type = kKitNumeric;
    edition.real = 3.0;
    host.expressions["VERSION(2)"] = edition;
  }
  void TearDown() override {
    LibraryUnload(nullptr);
    SetLink(nullptr);
  }
  void Call(KitRoutine routine, const std::vector<Arg>& args) {
    KitParamBlock block = Block(args);
    routine(&block);
  }

  FakeHost host;
  RecordingLink link;
};

TEST_F(Shell, TableHoldsTheEightyFunctionsInOrderThenLoadAndUnload) {
  // Name and parameter types of every function, as programs and hosts know them.
  static const char* const kExpected[][2] = {
      {"IMGET", "?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMGETHW", "?,?,.?,.?,.?,.?,.?,.?,.?,.?"},
      {"IMSET", "?,.?,.?,.?,.?"}, {"IMSETHW", "?,?,.?,.?,.?,.?"},
      {"IMCREATEF", "?,?,?,?,?,?"}, {"IMCREATEO", "?,?,?,?,?,?"}, {"IMCREATEE", "?,?,?,?,?"},
      {"IMCREATES", "?,?"}, {"IMSDRAW", ".?"}, {"IMEDRAW", ".?"}, {"IMDCADV", "?,.?,.?,.?"},
      {"IMMBOXADV", "?,.?,.?"}, {"IMMDADV", "?,.?,.?,.?"}, {"IMMUADV", "?,.?,.?,.?"},
      {"IMMMADV", "?,.?,.?,.?"}, {"IMCADV", "?,.?,.?,.?"}, {"IMDROPADV", "?,.?,.?"},
      {"IMRECTADV", "?,.?,.?,.?,.?,.?,.?"}, {"IMLINK", ".L"}, {"IMUNLINK", "?"},
      {"IMDESTROY", "?"}, {"IMSHOW", "?,?,?,.?,.?,.?,.?,.?,.?,.?"},
      {"IMSHOWBW", "?,?,?,.?,.?,.?,.?,.?,.?,.?"}, {"IMSHOWG", "?,?,?,.?,.?,.?,.?,.?,.?,.?"},
      {"IMIMAGE", "?,.?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMSTARTPAG", ".?"}, {"IMENDPAGE", ""},
      {"IMNEWPAGE", ""}, {"IMTEXT", "?,?,?,.?"}, {"IMVTEXT", "?,?,?,.?"}, {"IMDELETE", ".?,.?"},
      {"IMDELETEGX", ".?"}, {"IMDELETEOS", ".?"}, {"IMCLEAR", ".?,.?,.?,.?"},
      {"IMHIDEWIN", "?"}, {"IMSHOWWIN", "?,.?"}, {"IMACTIVATE", "?"}, {"IMZOOM", ".?,.?"},
      {"IMUNZOOM", ".?"}, {"IMAALIAS", ".?,.?,.?,.?,.?"}, {"IMDITHER", ".?,.?,.?,.?,.?"},
      {"IMSAVEDLG", ""}, {"IMCONVERT", "?,?,?,.?,.?,.?,.?,.?,.?,.?,.?,.?,.?,.?"},
      {"IMSAVE", "?,?,?,.?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMCVT", "?,?,.?,.?,.?,.?,.?,.?,.?,.?,.?"},
      {"IMBITMAP", "?,.?,.?"}, {"IMXFERHW", "?,?"}, {"IMREGCB", "?,?"}, {"IMUNREGCB", "?"},
      {"IMCAPTURE", ".?,.?,.?,.?,.?,.?,.?,.?"}, {"IMPAUSECB", ""}, {"IMRESUMECB", ""},
      {"IMTWSRC", ".?,.?"}, {"IMTWACQ", ".?,.?"}, {"IMTWDONE", ".?"}, {"IMSCROLL", "?"},
      {"IMSENDMSG", "?,?,?,?"}, {"IMDDETO", ".?"}, {"IMQUEUE", ".?"}, {"IMPSETDLG", ""},
      {"IMCLOSE", ""}, {"IMPRINTDLG", ".?"}, {"IMABOUTDLG", ".?,.?"}, {"IMOPENDLG", "?"},
      {"IMSCANINTS", ".?,.?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMKILLALL", ""}, {"IMSENDFLAG", "?"},
      {"IMMOVE", "?,?,?,?,?"}, {"IMADDIN1", "?,?"}, {"IMRTMENU", "?"},
      {"IMPASTEFIL", "?,.?,.?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMCMD", "?"}, {"IMREQUEST", "?"},
      {"IMROTATE", "?,?"}, {"IMSAVEOFF", "?,.?,.?,.?,.?,.?,.?,.?,.?,.?,.?"}, {"IMGETOBJWIN", "O"},
      {"IMCREOBJ", "?"}, {"IMSETOP", "O,?,?"}, {"IMGETOP", "O,?"}, {"IMCLEARGX", ".?"}};
  const auto* table = reinterpret_cast<const KitTable*>(DispatchAPI(kKitGetTable, &host.services));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->count, 82);
  for (int i = 0; i < 80; ++i) {
    const KitFunction& f = table->functions[i];
    EXPECT_STREQ(f.name, kExpected[i][0]) << i;
    EXPECT_STREQ(f.types, kExpected[i][1]) << f.name;
    const std::string types = f.types;
    const int count = types.empty() ? 0 : 1 + static_cast<int>(std::count(types.begin(), types.end(), ','));
    EXPECT_EQ(f.parameterCount, count) << f.name;
  }
  EXPECT_STREQ(table->functions[80].name, "");
  EXPECT_EQ(table->functions[80].parameterCount, kKitLoadEntry);
  EXPECT_EQ(table->functions[81].parameterCount, kKitUnloadEntry);
}

TEST_F(Shell, DispatchRefusesShortServiceTablesAndOutsideIndexes) {
  KitHostServices old = host.services;
  old.size = 8;
  EXPECT_EQ(DispatchAPI(kKitGetTable, &old), 0);
  KitParamBlock block{};
  KitCallArgs call{82, 0, &block};
  EXPECT_EQ(DispatchAPI(kKitCall, &call), -1);
  call.index = -1;
  EXPECT_EQ(DispatchAPI(kKitCall, &call), -1);
  block.count = kKitMaxParameters + 1;
  call.index = 0;
  EXPECT_EQ(DispatchAPI(kKitCall, &call), -1);
}

TEST_F(Shell, LoadingTwiceRunsNothingTheSecondTime) {
  LibraryLoad(nullptr);
  LibraryLoad(nullptr);
  EXPECT_EQ(State().active, 1);
  EXPECT_EQ(link.connects, 1);
  EXPECT_EQ(host.evaluated.size(), 1u);
  LibraryUnload(nullptr);
  EXPECT_EQ(link.disconnects, 1);
  LibraryUnload(nullptr);
  EXPECT_EQ(link.disconnects, 1);
  LibraryLoad(nullptr);  // reloading after an unload runs the load again
  EXPECT_EQ(link.connects, 2);
}

TEST_F(Shell, FailedVersionCheckLeavesTheLibraryInactive) {
  struct Variant {
    const char* what;
    bool present;
    int32_t integer;
  } variants[] = {{"no VERSION(2)", false, 0}, {"integer field set", true, 3}};
  for (const Variant& v : variants) {
    State() = LibraryState{};
    link.sent.clear();
    host.dialogs.clear();
    host.expressions.clear();
    if (v.present) {
      KitValue answer{};
      answer.type = kKitInteger;
      answer.integer = v.integer;
      host.expressions["VERSION(2)"] = answer;
    }
    LibraryLoad(nullptr);
    EXPECT_EQ(State().active, 0) << v.what;
    EXPECT_EQ(link.connects, 0) << v.what;
    ASSERT_EQ(host.dialogs.size(), 1u) << v.what;
    EXPECT_EQ(host.dialogs[0],
              "6|Incompatible version of Tavik Images.\nTavik functions will not be available!|OK");
    Call(IMCREATEF, {S("X"), I(1), I(2), I(3), I(4), I(5)});
    EXPECT_EQ(host.result.type, kKitInteger);
    EXPECT_EQ(host.result.integer, 0);
    EXPECT_EQ(host.resultWidth, 2);
    EXPECT_TRUE(link.sent.empty()) << v.what;
  }
}

TEST_F(Shell, PlatformFlagsFromTheVersionWord) {
  EXPECT_EQ(PlatformFlags(0x80000003u), kWin32s | kWin32sOld);
  EXPECT_EQ(PlatformFlags(0x80000004u), kVersion4);
  EXPECT_EQ(PlatformFlags(0x00000004u), kVersion4 | kWindowsNT);
  EXPECT_EQ(PlatformFlags(0x00000003u), kWindowsNT);
}

TEST_F(Shell, ScanIntsStoresIntoReferencesUntilTheFirstStopper) {
  Call(IMSCANINTS, {S("12, 34 x 56"), Ref(1), Ref(2), Ref(3)});
  EXPECT_EQ(host.result.integer, 2);
  EXPECT_EQ(host.variables[1].integer, 12);
  EXPECT_EQ(host.variables[1].width, 10);
  EXPECT_EQ(host.variables[2].integer, 34);
  EXPECT_EQ(host.variables.count(3), 0u);

  host.variables.clear();
  Call(IMSCANINTS, {S("-5 6"), Ref(1), Ref(2)});
  EXPECT_EQ(host.result.integer, 0);
  EXPECT_TRUE(host.variables.empty());

  Call(IMSCANINTS, {S("7 8 9"), Ref(1), I(0), Ref(3)});  // a value ends the walk
  EXPECT_EQ(host.result.integer, 1);
  EXPECT_EQ(host.variables.count(3), 0u);
}

TEST(IntScanner, DigitsBeyondInt32HoldAtTheLargest) {
  IntScanner scanner("99999999999,1");
  int32_t v = 0;
  ASSERT_TRUE(scanner.Next(&v));
  EXPECT_EQ(v, INT32_MAX);
  ASSERT_TRUE(scanner.Next(&v));
  EXPECT_EQ(v, 1);
  EXPECT_FALSE(scanner.Next(&v));
}

TEST_F(Shell, ByReferenceCharacterWorksAsAString) {
  KitValue text{};
  text.type = kKitCharacter;
  text.handle = host.NewString("ref.bmp");
  text.length = 7;
  host.variables[4] = text;
  const std::size_t handlesBefore = host.handles.size();
  Call(IMSHOW, {Ref(4), I(1), I(2)});
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0], "poke:35 [ref.bmp] 1 1 2 -1 -1 -1 -1 -1 -1 0");
  EXPECT_EQ(host.handles.size(), handlesBefore + 0) << "loaded copies are freed";
}

TEST_F(Shell, CharacterLengthBeyondItsHandleIsNotRead) {
  Arg liar = S("abc");
  liar.p.value.length = 5000;
  Call(IMCMD, {liar});
  ASSERT_EQ(link.sent.size(), 1u);
  EXPECT_EQ(link.sent[0], "poke:abc");
}

TEST_F(Shell, CmdReportsAFailedPoke) {
  link.pokeFails = true;
  Call(IMCMD, {S("39 1 1")});
  EXPECT_EQ(host.result.type, kKitLogical);
  EXPECT_EQ(host.result.integer, 0);
}

TEST_F(Shell, RequestUsesItsOwnTimeoutAndRestoresNothingElse) {
  Call(IMREQUEST, {S("1 5")});
  Call(IMCLOSE, {});
  ASSERT_EQ(link.requestTimeouts.size(), 2u);
  EXPECT_EQ(link.requestTimeouts[0], 180000u);
  EXPECT_EQ(link.requestTimeouts[1], 50000u);
}

TEST_F(Shell, DdeTimeoutSettings) {
  Call(IMDDETO, {});
  EXPECT_EQ(State().commandTimeout, 5000u);
  Call(IMDDETO, {I(2)});
  EXPECT_EQ(State().commandTimeout, 2000u);
  Call(IMDDETO, {S("2")});
  EXPECT_EQ(State().commandTimeout, 2000u);
  EXPECT_EQ(host.result.integer, 0);
  Call(IMDDETO, {I(-4)});
  EXPECT_EQ(State().commandTimeout, 0u);
  Call(IMDDETO, {I(INT32_MAX)});
  EXPECT_LE(State().commandTimeout, UINT32_MAX / 4) << "four times it is the data poke's wait";
}

TEST_F(Shell, StringResultWithoutMemoryShowsTheShortageBox) {
  host.allocFails = true;
  link.answers["1 5"] = "x";
  Call(IMREQUEST, {S("1 5")});
  ASSERT_FALSE(link.sent.empty());
  EXPECT_EQ(link.sent.back(), "box:Tavik/FoxPro|Memory allocation error, no memory available!");
}

TEST_F(Shell, ObjectFunctionsGoThroughTheHost) {
  host.objectWindow = 21;
  Call(IMGETOBJWIN, {Obj(3)});
  EXPECT_EQ(host.result.integer, 42);
  Call(IMGETOBJWIN, {I(3)});
  EXPECT_EQ(host.result.integer, 0);

  KitValue form{};
  form.type = kKitObject;
  form.object = 8;
  host.expressions["CREATE('Form')"] = form;
  Call(IMCREOBJ, {S("Form")});
  EXPECT_EQ(host.result.type, kKitObject);
  EXPECT_EQ(host.result.object, 8);
  Call(IMCREOBJ, {S("Nothing")});
  EXPECT_EQ(host.result.type, kKitLogical);
  EXPECT_EQ(host.result.integer, 0);

  Call(IMSETOP, {Obj(8), S("Caption"), S("Hello")});
  EXPECT_EQ(host.result.integer, 1);
  EXPECT_EQ(host.StringOf(host.variables[-1].handle), "Hello");
  Call(IMSETOP, {Obj(8), S("Bogus"), I(1)});
  EXPECT_EQ(host.result.integer, 0);
  Call(IMGETOP, {Obj(8), S("Width")});
  EXPECT_EQ(host.result.type, kKitInteger);
  EXPECT_EQ(host.result.integer, 640);
  Call(IMGETOP, {Obj(8), S("Bogus")});
  EXPECT_EQ(host.result.type, kKitLogical);
}

TEST(CommandBuffer, DropsWhatDoesNotFit) {
  CommandBuffer b;
  b.Reset();
  b.AppendString(std::string(250, 'a'));
  b.AppendString("123456");  // 256 with it: dropped whole
  EXPECT_EQ(b.Length(), 250);
  b.AppendString("12345");
  EXPECT_EQ(b.Length(), 255);
  b.AppendChar('x');  // characters stop at 255
  EXPECT_EQ(b.Length(), 255);
  b.AppendChar(0);  // but a NUL may take the last byte
  EXPECT_EQ(b.Length(), 256);
  EXPECT_EQ(std::strlen(b.Text()), 255u);
  b.Reset();
  b.AppendInt(-2147483647 - 1);
  EXPECT_STREQ(b.Text(), "-2147483648");
}

}  // namespace
}  // namespace tavik::test
