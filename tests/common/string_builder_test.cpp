// cStringBuilder: chunked growth, editing and search.

#include "common/string_builder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/vb_error.h"

namespace typrosync {
namespace {

constexpr int32_t kChunk = cStringBuilder::kDefaultChunkSize;

long ErrorNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const VbError& error) {
    return error.number();
  }
  return 0;
}

cStringBuilder With(const std::string& content) {
  cStringBuilder builder;
  builder.Append(content);
  return builder;
}

TEST(StringBuilderTest, NewInstanceIsEmpty) {
  cStringBuilder builder;
  EXPECT_EQ(builder.Length(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_EQ(builder.ChunkSize(), 8192);
  EXPECT_EQ(builder.toString(), "");
}

TEST(StringBuilderTest, GrowsInWholeChunks) {
  cStringBuilder builder;
  builder.Append("x");
  EXPECT_EQ(builder.Length(), 1);
  EXPECT_EQ(builder.Capacity(), kChunk);
  builder.Append(std::string(kChunk - 1, 'y'));
  EXPECT_EQ(builder.Capacity(), kChunk);  // exactly full
  builder.Append("z");
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);

  cStringBuilder big;
  big.Append(std::string(20000, 'a'));
  EXPECT_EQ(big.Capacity(), 24576);
  EXPECT_EQ(big.Length(), 20000);

  cStringBuilder small;
  small.SetChunkSize(10);
  small.Append("abc");
  EXPECT_EQ(small.Capacity(), 10);
  small.SetChunkSize(4);
  small.Append(std::string(9, 'd'));
  EXPECT_EQ(small.Capacity(), 14);  // 10 + one step of the new size
  EXPECT_EQ(small.toString(), "abcddddddddd");
}

TEST(StringBuilderTest, AppendVariantsAndEmptyAppend) {
  cStringBuilder builder;
  builder.Append("");
  EXPECT_EQ(builder.Capacity(), 0);
  builder.AppendNL("ab");
  EXPECT_EQ(builder.Length(), 4);
  EXPECT_EQ(builder.toString(), "ab\r\n");
  builder.AppendByVal("cd");
  EXPECT_EQ(builder.toString(), "ab\r\ncd");
}

TEST(StringBuilderTest, TheStringKeepsOrReleasesTheBuffer) {
  cStringBuilder builder = With(std::string(20000, 'a'));
  builder.TheString("short");
  EXPECT_EQ(builder.Capacity(), 24576);
  EXPECT_EQ(builder.toString(), "short");
  EXPECT_EQ(builder.Find("a"), 0);  // the old content is gone from the spare part
  builder.TheString("");
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_EQ(builder.Length(), 0);
  builder.TheString(std::string(9000, 'b'));
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
}

TEST(StringBuilderTest, ClearKeepsTheChunkSize) {
  cStringBuilder builder = With("abc");
  builder.SetChunkSize(100);
  builder.Clear();
  EXPECT_EQ(builder.Length(), 0);
  EXPECT_EQ(builder.Capacity(), 0);
  EXPECT_EQ(builder.ChunkSize(), 100);
  EXPECT_EQ(ErrorNumber([&] { builder.SetChunkSize(0); }), 5);
}

TEST(StringBuilderTest, Insert) {
  const struct {
    int32_t index;
    const char* result;
  } cases[] = {{0, "xab"}, {1, "axb"}, {2, "abx"}};
  for (const auto& c : cases) {
    cStringBuilder builder = With("ab");
    builder.Insert(c.index, "x");
    EXPECT_EQ(builder.toString(), c.result);
    EXPECT_EQ(builder.Length(), 3);
  }
  for (int32_t bad : {3, -1}) {
    cStringBuilder builder = With("ab");
    EXPECT_EQ(ErrorNumber([&] { builder.Insert(bad, "x"); }), 9) << bad;
    EXPECT_EQ(builder.toString(), "ab");
  }
  cStringBuilder full = With(std::string(kChunk, 'a'));
  full.InsertByVal(1, "b");
  EXPECT_EQ(full.Capacity(), 2 * kChunk);
  EXPECT_EQ(full.toString().substr(0, 3), "aba");
}

TEST(StringBuilderTest, Remove) {
  cStringBuilder builder = With("abc");
  builder.Remove(1, 1);
  EXPECT_EQ(builder.toString(), "ac");
  EXPECT_EQ(builder.Capacity(), kChunk);
  builder.Remove(0, 0);
  EXPECT_EQ(builder.toString(), "ac");
  for (auto [index, length] : {std::pair{2, 2}, {1, 3}, {-1, 1}, {0, -1}}) {
    cStringBuilder abc = With("abc");
    EXPECT_EQ(ErrorNumber([&] { abc.Remove(index, length); }), 9) << index << "," << length;
    EXPECT_EQ(abc.toString(), "abc");
  }
  cStringBuilder all = With("abc");
  all.Remove(0, 3);
  EXPECT_EQ(all.toString(), "");
  EXPECT_EQ(all.Find("b"), 0);  // removed characters do not linger in the buffer
}

TEST(StringBuilderTest, FindPositions) {
  cStringBuilder abc = With("abc");
  EXPECT_EQ(abc.Find("b"), 2);
  EXPECT_EQ(abc.Find("a"), 1);
  EXPECT_EQ(abc.Find("c"), 0);  // starts on the last character
  EXPECT_EQ(abc.Find(" "), 0);  // the spare spaces are beyond the content
  EXPECT_EQ(abc.Find("B"), 0);
  EXPECT_EQ(abc.Find("B", 0, 1), 2);
  EXPECT_EQ(abc.Find("a", 2), 0);
  EXPECT_EQ(abc.Find("zz"), 0);

  cStringBuilder text = With("ab cd");
  EXPECT_EQ(text.Find("d "), 0);    // starts on the last character
  EXPECT_EQ(text.Find("cd  "), 4);  // runs on into the spare spaces
  EXPECT_EQ(text.Find("b", 3), 0);
  EXPECT_EQ(text.Find("AB", -5, 1), 1);
  EXPECT_EQ(cStringBuilder().Find("a"), 0);
  EXPECT_EQ(text.Find("a", kChunk + 10), 0);
}

TEST(StringBuilderTest, HeapMinimizeGivesBackWholeChunks) {
  cStringBuilder builder = With(std::string(5 * kChunk, 'a'));
  builder.Remove(0, 5 * kChunk - kChunk * 3 / 2);
  EXPECT_EQ(builder.Capacity(), 5 * kChunk);
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);
  EXPECT_EQ(builder.Length(), kChunk * 3 / 2);
  builder.HeapMinimize();
  EXPECT_EQ(builder.Capacity(), 2 * kChunk);

  cStringBuilder one_spare = With("a");
  one_spare.HeapMinimize();
  EXPECT_EQ(one_spare.Capacity(), kChunk);
  one_spare.Append("b");
  EXPECT_EQ(one_spare.toString(), "ab");
}

}  // namespace
}  // namespace typrosync
