// The server's DDE conversation, driven from a second process over real DDE.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DdeTestClient.h"
#include "ServerProcess.h"

namespace tavik::test {
namespace {

class DdeConversation : public ::testing::Test {
protected:
  static void SetUpTestSuite() { server_ = std::make_unique<ServerProcess>(); }
  static void TearDownTestSuite() {
    if (server_) {
      EXPECT_EQ(server_->Stop(), 0);
    }
    server_.reset();
  }
  void SetUp() override { ASSERT_TRUE(server_ && server_->Started()); }

  static std::unique_ptr<ServerProcess> server_;
  DdeTestClient client_;
};

std::unique_ptr<ServerProcess> DdeConversation::server_;

TEST_F(DdeConversation, ConnectsOnlyOnItsTopics) {
  const struct {
    const char* topic;
    bool accepted;
  } cases[] = {{"IMAGE", true}, {"GRAPH", true}, {"MMEDIA", true},
               {"OTHER", false}, {"System", false}, {"IMAGES", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.topic);
    EXPECT_EQ(client_.Connect(c.topic), c.accepted);
  }
}

TEST_F(DdeConversation, AdviseStartRules) {
  // No window exists yet: every handle is dead.
  const struct {
    const char* topic;
    const char* item;
    bool accepted;
  } cases[] = {
      {"IMAGE", "DESTROY 12345", true},  // a client may watch a window that is already gone
      {"GRAPH", "DESTROY 12345", true},
      {"IMAGE", "SIZE 12345", false},
      {"IMAGE", "MOUSEDOWN 12345", false},
      // Words are compared case-sensitively. (A fresh number: DDE item names are atoms, which
      // keep the spelling of whoever made them first.)
      {"IMAGE", "destroy 54321", false},
      {"IMAGE", "DESTROY", false},        // no handle: the item does not parse
      {"IMAGE", "TWSRC", true},
      {"IMAGE", "TWACQ", true},
      {"GRAPH", "TWSRC", true},
      {"MMEDIA", "DESTROY 12345", false},  // no advise links on the media topic
      {"MMEDIA", "TWSRC", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.topic) + " / " + c.item);
    ASSERT_TRUE(client_.Connect(c.topic));
    EXPECT_EQ(client_.AdviseStart(c.item), c.accepted);
    if (c.accepted) {
      EXPECT_TRUE(client_.AdviseStop(c.item));
    }
  }
}

TEST_F(DdeConversation, RequestsTheServerDoesNotServeAnswerNothing) {
  ASSERT_TRUE(client_.Connect("IMAGE"));
  for (const char* item : {"999", "96 1", "2 1 2", "abc", "", " ", "-1"}) {
    SCOPED_TRACE(item);
    EXPECT_FALSE(client_.Request(item).has_value());
  }
}

TEST_F(DdeConversation, OverlongCommandIsRefusedAndTheServerKeepsServing) {
  ASSERT_TRUE(client_.Connect("IMAGE"));
  const std::string longCommand = "39 " + std::string(297, 'x');  // 300 characters
  EXPECT_FALSE(client_.Poke("CMD", longCommand));
  // Still serving: new conversations and links work.
  DdeTestClient other;
  ASSERT_TRUE(other.Connect("GRAPH"));
  EXPECT_TRUE(other.AdviseStart("DESTROY 4242"));
  EXPECT_TRUE(other.AdviseStop("DESTROY 4242"));
}

TEST_F(DdeConversation, OpcodesRejectedWhenPoked) {
  ASSERT_TRUE(client_.Connect("IMAGE"));
  const std::string server = std::to_string(
      static_cast<int>(reinterpret_cast<LONG_PTR>(server_->Window())));
  const std::vector<std::string> commands = {
      "26 [poked] 1 1 20 20 " + server, "27 [poked] 1 1 20 20", "28 [poked] 1 1 20 20 " + server,
      "71 [poked] " + server, "1 3", "95 " + server + " 3", "8", "13", "107 1", "0", ""};
  for (const auto& command : commands) {
    SCOPED_TRACE(command);
    EXPECT_FALSE(client_.Poke("CMD", command));
  }
  // Nothing was created by the refused create requests.
  EXPECT_EQ(FindWindowA("TAVIKWIG", "poked"), nullptr);
}

TEST_F(DdeConversation, PokesOnOtherItemsOrFormatsAreRefused) {
  ASSERT_TRUE(client_.Connect("IMAGE"));
  EXPECT_FALSE(client_.Poke("SHOWDATA", "not image bytes"));
  EXPECT_FALSE(client_.Poke("NOSUCHITEM", "1"));
  const std::vector<unsigned char> bytes = {'B', 'M', 0, 0};
  EXPECT_FALSE(client_.PokeData("CMD", bytes, 128));
  EXPECT_FALSE(client_.PokeData("NOSUCHITEM", bytes, 128));
}

TEST_F(DdeConversation, ImageDataForTheCurrentWindowIsRefusedWithoutOne) {
  ASSERT_TRUE(client_.Connect("IMAGE"));
  const std::vector<unsigned char> bytes = {'B', 'M', 0, 0};
  EXPECT_FALSE(client_.PokeData("SHOWDATA", bytes, 128));
  EXPECT_FALSE(client_.PokeData("SHOWBMDATA", bytes, 128));
}

}  // namespace
}  // namespace tavik::test
