#include "constraints/ShortTextIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "constraints/CStringSoup.h"

namespace {

// Short texts that share their first 8 bytes and differ in the last ones,
// or only by their length (trailing NULs): far more than the small table has
// places, so that look-alikes meet in one; and the sort of keywords and
// option names a document repeats.
std::vector<std::string> LookAlikeTexts() {
  std::vector<std::string> texts;
  for (int n = 0; n < 20000; ++n) texts.push_back("LongName" + std::to_string(n));
  for (int n = 0; n < 5000; ++n) {
    std::string base = "b" + std::to_string(n);
    for (int nuls = 0; nuls <= 5; ++nuls)
      texts.push_back(base + std::string(std::size_t(nuls), '\0'));
  }
  for (int n = 0; n < 2500; ++n) {
    texts.push_back("*ZPOpt" + std::to_string(n));
    texts.push_back("C" + std::to_string(n));
  }
  for (std::size_t length = 0; length <= 20; ++length) texts.push_back(std::string(length, 'k'));
  return texts;
}

// Every id must be the one the soup itself gives, for a text seen first or
// again, even when thousands of texts crowd the small table.
TEST(ShortTextIdsTest, GivesTheSoupsIdForEveryTextSeenFirstOrAgain) {
  std::vector<std::string> texts = LookAlikeTexts();
  CStringSoup soup;
  CStringSoup expected;
  ShortTextIds ids(soup);
  std::mt19937 random(7);
  // Look-alikes in turn first, then in any order.
  for (int round = 0; round < 2; ++round) {
    if (round > 0) std::shuffle(texts.begin(), texts.end(), random);
    for (const std::string& text : texts)
      ASSERT_EQ(expected.Insert(std::string_view(text)), ids.Insert(std::string_view(text)))
          << "text of " << text.size() << " bytes";
  }
  EXPECT_EQ(expected.size(), soup.size());
  EXPECT_EQ(-1, ids.Insert(static_cast<const char*>(nullptr)));
}

}  // namespace
