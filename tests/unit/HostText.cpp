// The text-block rule on a counting allocator: exact block sizes, every
// replaced block freed once, the question block released on every way out.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <stdexcept>

#include "host/HostText.h"

namespace {

class CountingBlocks : public kd::BlockAllocator {
 public:
  char* Allocate(std::size_t bytes) override {
    if (failNext) {
      failNext = false;
      return nullptr;
    }
    char* block = new char[bytes];
    live[block] = bytes;
    ++allocations;
    return block;
  }
  void Free(char* block) override {
    if (live.erase(block) == 0) {
      ++strayFrees;
      return;
    }
    delete[] block;
  }
  ~CountingBlocks() override {
    for (auto& [block, size] : live) delete[] block;
  }
  std::map<char*, std::size_t> live;
  int allocations = 0;
  int strayFrees = 0;
  bool failNext = false;
};

TEST(HostStringSet, BlocksAreLengthPlusOneAndReplacedBlocksAreFreedOnce) {
  CountingBlocks blocks;
  kd::HostText slot = nullptr;
  kd::HostStringSet(blocks, &slot, "kdPieChart");
  ASSERT_NE(slot, nullptr);
  EXPECT_STREQ(slot, "kdPieChart");
  EXPECT_EQ(blocks.live.at(slot), 11u);

  char* first = slot;
  kd::HostStringSet(blocks, &slot, "");
  EXPECT_EQ(blocks.live.count(first), 0u);
  EXPECT_EQ(blocks.live.at(slot), 1u);
  EXPECT_EQ(slot[0], '\0');

  kd::HostStringRelease(blocks, &slot);
  EXPECT_EQ(slot, nullptr);
  kd::HostStringRelease(blocks, &slot);  // a null slot is left alone
  EXPECT_TRUE(blocks.live.empty());
  EXPECT_EQ(blocks.strayFrees, 0);
}

TEST(HostStringSet, AllocationFailureKeepsTheOldText) {
  CountingBlocks blocks;
  kd::HostText slot = nullptr;
  kd::HostStringSet(blocks, &slot, "old");
  blocks.failNext = true;
  EXPECT_THROW(kd::HostStringSet(blocks, &slot, "new"), kd::HostError);
  EXPECT_STREQ(slot, "old");
  EXPECT_EQ(blocks.live.size(), 1u);
  kd::HostStringRelease(blocks, &slot);
}

TEST(HostStringSet, TextsWithEmbeddedHighBytesCopyExactly) {
  CountingBlocks blocks;
  kd::HostText slot = nullptr;
  const std::string text = "\xD1\xEE\xE7\xE4\xE0\xF2\xFC";  // code page 1251 bytes
  kd::HostStringSet(blocks, &slot, text);
  EXPECT_EQ(std::string(slot), text);
  EXPECT_EQ(blocks.live.at(slot), text.size() + 1);
  kd::HostStringRelease(blocks, &slot);
}

// A scripted host for AskHost: what it does with the local slot.
CountingBlocks* gBlocks = nullptr;
enum class Reply { Answer, Leave, Null, Throw } gReply;
std::string gSeenQuestion;
std::size_t gSeenSize = 0;

bool KD_HOSTCALL ScriptedHost(int32_t code, kd::HostText* text) {
  gSeenQuestion = *text;
  gSeenSize = gBlocks->live.at(*text);
  switch (gReply) {
    case Reply::Answer:
      kd::HostStringSet(*gBlocks, text, "12345");
      return true;
    case Reply::Leave: return false;
    case Reply::Null:
      gBlocks->Free(*text);
      *text = nullptr;
      return true;
    case Reply::Throw: throw std::runtime_error("host failed");
  }
  return false;
}

class AskHostTest : public ::testing::Test {
 protected:
  void SetUp() override { gBlocks = &blocks; }
  void TearDown() override {
    EXPECT_TRUE(blocks.live.empty()) << "a block leaked";
    EXPECT_EQ(blocks.strayFrees, 0);
  }
  CountingBlocks blocks;
};

TEST_F(AskHostTest, AnswerReplacesTheQuestionAndIsReleased) {
  gReply = Reply::Answer;
  kd::HostAnswer answer = kd::AskHost(blocks, &ScriptedHost, 7, "Rect1");
  EXPECT_EQ(gSeenQuestion, "Rect1");
  EXPECT_EQ(gSeenSize, 6u);
  EXPECT_EQ(answer.text, "12345");
  EXPECT_TRUE(answer.accepted);
}

TEST_F(AskHostTest, EmptyQuestionIsAOneByteBlock) {
  gReply = Reply::Leave;
  kd::AskHost(blocks, &ScriptedHost, 8, "");
  EXPECT_EQ(gSeenSize, 1u);
}

TEST_F(AskHostTest, UnansweredQuestionReadsBackTheQuestion) {
  gReply = Reply::Leave;
  kd::HostAnswer answer = kd::AskHost(blocks, &ScriptedHost, 7, "Chart");
  EXPECT_EQ(answer.text, "Chart");
  EXPECT_FALSE(answer.accepted);
}

TEST_F(AskHostTest, NullAnswerReadsEmptyAndFreesNothingMore) {
  gReply = Reply::Null;
  kd::HostAnswer answer = kd::AskHost(blocks, &ScriptedHost, 14, "var");
  EXPECT_EQ(answer.text, "");
}

TEST_F(AskHostTest, FailingHostStillReleasesTheQuestion) {
  gReply = Reply::Throw;
  EXPECT_THROW(kd::AskHost(blocks, &ScriptedHost, 7, "Rect1"), std::runtime_error);
}

TEST_F(AskHostTest, MissingCallbackFailsWithoutAllocating) {
  EXPECT_THROW(kd::AskHost(blocks, nullptr, 7, "Rect1"), kd::HostError);
  EXPECT_EQ(blocks.allocations, 0);
}

}  // namespace
