#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

const std::string kSamplePath = std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd";

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// A folder of the test's own.
struct Scratch {
  std::string Path(const std::string& name) const { return mFolder.Path() + "/" + name; }
  void Write(const std::string& name, const std::string& bytes) const {
    mFolder.Write(name, bytes);
  }
  TempFolder mFolder;
};

}  // namespace

TEST(ZpxPpdFilesTest, SaveReplacesTheTargetWholeAndNeverFollowsALink) {
  Scratch scratch;
  ASSERT_EQ(Tool("save " + Quoted(kSamplePath) + " " + Quoted(scratch.Path("a.blob"))).status, 0);
  const std::string blob = FileText(scratch.Path("a.blob"));
  ASSERT_GT(blob.size(), 1000u);
  struct stat info;
  ASSERT_EQ(stat(scratch.Path("a.blob").c_str(), &info), 0);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0644 & ~mask);

  // A link at the target is replaced by the blob; what it pointed to stays, and
  // a dangling link creates nothing where it pointed.
  scratch.Write("victim", "keep");
  ASSERT_EQ(symlink(scratch.Path("victim").c_str(), scratch.Path("link").c_str()), 0);
  ASSERT_EQ(symlink(scratch.Path("nowhere").c_str(), scratch.Path("dangling").c_str()), 0);
  for (const char* name : {"link", "dangling"}) {
    EXPECT_EQ(Tool("save " + Quoted(kSamplePath) + " " + Quoted(scratch.Path(name))).status, 0);
    EXPECT_FALSE(std::filesystem::is_symlink(scratch.Path(name))) << name;
    EXPECT_EQ(FileText(scratch.Path(name)), blob) << name;
  }
  EXPECT_EQ(FileText(scratch.Path("victim")), "keep");
  EXPECT_NE(access(scratch.Path("nowhere").c_str(), F_OK), 0);

  // A write that fails leaves the old blob and no temporary file, and says why.
  scratch.Write("old.blob", "previous");
  ToolRun full = Tool("save " + Quoted(kSamplePath) + " " + Quoted(scratch.Path("old.blob")),
                      ToolErrors::kMerged, "trap '' XFSZ; ulimit -f 1;");
  EXPECT_EQ(full.status, 1);
  EXPECT_TRUE(Has(full.output, "old.blob: File too large")) << full.output;
  EXPECT_EQ(FileText(scratch.Path("old.blob")), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(scratch.Path(""))) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.find(".blob") != std::string::npos || name == "victim" || name == "link" ||
                name == "dangling")
        << name;
  }

  // The PPD itself, or a device, is never a target.
  scratch.Write("copy.ppd", FileText(kSamplePath));
  ToolRun self =
      Tool("save " + Quoted(scratch.Path("copy.ppd")) + " " + Quoted(scratch.Path("copy.ppd")),
           ToolErrors::kMerged);
  EXPECT_EQ(self.status, 1);
  EXPECT_TRUE(Has(self.output, "copy.ppd: is the PPD being saved")) << self.output;
  EXPECT_EQ(FileText(scratch.Path("copy.ppd")), FileText(kSamplePath));
  ToolRun device = Tool("save " + Quoted(kSamplePath) + " /dev/full", ToolErrors::kMerged);
  EXPECT_EQ(device.status, 1);
  EXPECT_TRUE(Has(device.output, "/dev/full: not a regular file")) << device.output;
  ToolRun unwritable =
      Tool("save " + Quoted(kSamplePath) + " " + Quoted(scratch.Path("no/such.blob")),
           ToolErrors::kMerged);
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_TRUE(Has(unwritable.output, "no/such.blob: No such file or directory"))
      << unwritable.output;
}

TEST(ZpxPpdFilesTest, AFifoOrFolderIsRefusedAtOnceInOneLine) {
  Scratch scratch;
  ASSERT_EQ(mkfifo(scratch.Path("pipe").c_str(), 0600), 0);
  const std::string pipe = Quoted(scratch.Path("pipe"));
  // The timeout only keeps a regression from hanging the suite: the tool must
  // not wait for a writer at all.
  for (const std::string& command :
       {"scan " + pipe, "check " + pipe, "dump --json " + pipe, "options " + pipe, "emit " + pipe,
        "save " + pipe + " " + Quoted(scratch.Path("out.blob")), "load " + pipe,
        "save " + Quoted(kSamplePath) + " " + pipe}) {
    ToolRun run = Tool(command, ToolErrors::kMerged, "timeout 20");
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_EQ(LineCount(run.output), 1) << command << ": " << run.output;
    EXPECT_TRUE(Has(run.output, "pipe: not a regular file")) << command << ": " << run.output;
  }
  ToolRun folder = Tool("check " + Quoted(scratch.Path("")), ToolErrors::kMerged);
  EXPECT_EQ(folder.status, 1);
  EXPECT_TRUE(Has(folder.output, ": is a directory\n")) << folder.output;
}

TEST(ZpxPpdFilesTest, LoadSaysWhatIsWrongWithTheFile) {
  Scratch scratch;
  scratch.Write("empty.blob", "");
  scratch.Write("huge.blob", "");
  ASSERT_EQ(truncate(scratch.Path("huge.blob").c_str(), (64L << 20) + 1), 0);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"missing.blob", "missing.blob: No such file or directory"},
      {"empty.blob", "empty.blob: empty file"},
      {"", ": is a directory"},
      {"huge.blob", "huge.blob: larger than the 64 MB a blob may have"},
  };
  for (const auto& [name, message] : cases) {
    ToolRun run = Tool("load " + Quoted(scratch.Path(name)), ToolErrors::kMerged);
    EXPECT_EQ(run.status, 1) << name;
    EXPECT_EQ(LineCount(run.output), 1) << run.output;
    EXPECT_TRUE(Has(run.output, message)) << run.output;
  }
}

TEST(ZpxPpdFilesTest, SaveRefusesABlobThatLoadWouldRefuse) {
  Scratch scratch;
  // 16,600 choices with 4 KB of code each: a PPD of 67 MB, whose blob is larger
  // than the 64 MB that load reads.
  {
    std::ofstream big(scratch.Path("big.ppd"), std::ios::binary);
    big << kRollDownHead;
    std::string code;
    for (int line = 0; line < 16; ++line) code += "\n" + std::string(250, 'x');
    for (const std::string& key : {std::string("*ZPBig0"), std::string("*ZPBig1")}) {
      big << "*%ZPXFlags " << key << ": Setup\n*%ZPXGroup " << key << " Roll/Big\n*OpenUI " << key
          << "/Big: PickOne\n*Default" << key.substr(1) << ": C0\n";
      for (int choice = 0; choice < 8300; ++choice)
        big << key << " C" << choice << "/C" << choice << ": \"" << code << "\"\n";
      big << "*CloseUI: " << key << "\n";
    }
  }
  ToolRun run =
      Tool("save " + Quoted(scratch.Path("big.ppd")) + " " + Quoted(scratch.Path("big.blob")),
           ToolErrors::kMerged);
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.output, "big.blob: the blob would be larger than the 64 MB that load reads"))
      << run.output;
  EXPECT_NE(access(scratch.Path("big.blob").c_str(), F_OK), 0);
}
