// The library's spine called from programs through the kit, as foxhost loads the real FLL:
// parameter blocks, references, results, the load and unload entries.
#include "FakePlatform.h"
#include "LibraryState.h"

#include <gtest/gtest.h>

namespace foxhost::test {
namespace {

class LibraryThroughHost : public ::testing::Test {
protected:
  void SetUp() override { tavik::hostlib::State() = tavik::hostlib::LibraryState{}; }
};

TEST_F(LibraryThroughHost, ScanIntsStoresThroughReferences) {
  const RunResult r = RunProgram(
      "SET LIBRARY TO taviki32\nSTORE 0 TO a, b, c\nn = IMSCANINTS('12, 34 x 56', @a, @b, @c)\n"
      "? n, a, b, c\nRELEASE LIBRARY taviki32");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "         2         12         34          0");
}

TEST_F(LibraryThroughHost, LoadingTwiceRunsTheLoadRoutineOnce) {
  const RunResult r = RunProgram(
      "SET LIBRARY TO taviki32 ADDITIVE\nSET LIBRARY TO taviki32.fll ADDITIVE\n? 'loaded'",
      nullptr, Interpreter::Version2::kEdition, true);
  EXPECT_EQ(r.status, 0) << r.output;
  std::size_t evaluations = 0;
  for (std::size_t p = r.output.find("kit: evaluate VERSION(2)"); p != std::string::npos;
       p = r.output.find("kit: evaluate VERSION(2)", p + 1))
    ++evaluations;
  EXPECT_EQ(evaluations, 1u) << r.output;
}

TEST_F(LibraryThroughHost, FailedVersionCheckShowsMessageEightAndCreatesNothing) {
  for (auto mode : {Interpreter::Version2::kFails, Interpreter::Version2::kInteger}) {
    tavik::hostlib::State() = tavik::hostlib::LibraryState{};
    FakePlatform platform;
    const RunResult r = RunProgram("SET LIBRARY TO taviki32\n? IMCREATEF('A', 1, 2, 3, 4, -1)",
                                   &platform, mode);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, " 0") << "the inactive create answers 0 in two columns";
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0],
              "FoxPro|Incompatible version of Tavik Images.\nTavik functions will not be available!");
  }
}

TEST_F(LibraryThroughHost, ObjectsAndRequestsReachTheHost) {
  const RunResult r = RunProgram(
      "SET LIBRARY TO taviki32\no = IMCREOBJ('Form')\n? TYPE('o')\n"
      "? IMSETOP(o, 'Caption', 'Set by the library'), o.Caption\n? IMGETOP(o, 'Width')\n"
      "? IMGETOBJWIN(o) <> 0\n? TYPE('IMREQUEST(\"1 3\")'), LEN(IMREQUEST('1 3'))\n"
      "? IMROTATE(1, 'dcba'), IMCMD(5)");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "O\n.T. Set by the library\n       375\n.T.\nC          0\n.F. .F.");
}

}  // namespace
}  // namespace foxhost::test
