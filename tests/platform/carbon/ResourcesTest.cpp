#include "carbon/Resources.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <string>

#include "carbon/MacErrors.h"

namespace {

class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(mkdtemp(&folder[0]), nullptr); }
  void TearDown() override {
    UseResFile(saved);
    ASSERT_EQ(system(("rm -rf " + folder).c_str()), 0);
  }
  short Open(const std::string& contents) {
    std::ofstream(folder + "/list.txt", std::ios::binary) << contents;
    return OpenStringListFile(folder.c_str(), "list.txt");
  }
  static std::string Entry(short list, short index) {
    Str255 entry;
    GetIndString(entry, list, index);
    return std::string(reinterpret_cast<const char*>(entry + 1), entry[0]);
  }
  std::string folder = "/tmp/zpx-resources-XXXXXX";
  short saved = CurResFile();
};

TEST_F(ResourcesTest, EntriesComeFromTheCurrentFileOnly) {
  short first = Open("# lists\nSTR# -8900\n1 one\r\n3 three\n\nSTR# 128\n1 other");
  ASSERT_GT(first, 0);
  EXPECT_EQ(Entry(-8900, 1) + Entry(-8900, 3) + Entry(128, 1), "onethreeother");
  EXPECT_EQ(Entry(-8900, 2), "");
  short second = Open("STR# -8900\n1 uno\n");
  EXPECT_EQ(Entry(-8900, 1) + Entry(-8900, 3), "uno");
  UseResFile(first);
  EXPECT_EQ(Entry(-8900, 1), "one");
  UseResFile(second + 1);
  EXPECT_EQ(CurResFile(), first);
  CloseResFile(first);
  EXPECT_EQ(CurResFile(), 0);
  EXPECT_EQ(Entry(-8900, 1), "");
  CloseResFile(second);
}

TEST_F(ResourcesTest, FilesBreakingTheRulesAreNotOpened) {
  const std::string longest(255, 'x');
  short bounds = Open("STR# 1\n1 " + longest + "\n32767 last\n#" + std::string(1022, 'c') + "\n");
  ASSERT_GT(bounds, 0);
  EXPECT_EQ(Entry(1, 1), longest);
  EXPECT_EQ(Entry(1, 32767), "last");
  CloseResFile(bounds);
  const std::string broken[] = {
      "1 entry before any list\n",
      "STR# 1\n1 " + longest + "y\n",
      "STR# 1\n#" + std::string(1023, 'c') + "\n",
      "STR# 1\n0 zero\n",
      "STR# 1\n32768 beyond\n",
      "STR# 32768\n1 beyond\n",
      "STR# 1\n1x text\n",
      std::string("STR# 1\n1 a\0b\n2 c\n", 17),
  };
  for (const std::string& contents : broken) {
    EXPECT_EQ(Open(contents), -1) << contents.substr(0, 40);
    EXPECT_EQ(CurResFile(), saved);
  }
  EXPECT_EQ(OpenStringListFile(folder.c_str(), "missing.txt"), -1);
}

}  // namespace
