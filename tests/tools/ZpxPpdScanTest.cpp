#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/TempFile.h"
#include "support/ToolRun.h"

namespace {

ToolRun Scan(const std::string& path) { return Tool("scan '" + path + "'", ToolErrors::kMerged); }

std::string Fixture(const char* name) { return std::string(ZPX_FIXTURES) + "/scan/" + name; }

}  // namespace

TEST(ZpxPpdScanTest, ReportsTheSamplePPD) {
  ToolRun run = Scan(std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.output, "header: *PPD-Adobe \"4.3\"")) << run.output;
  EXPECT_TRUE(HasLine(run.output, "PCFileName: \"ZPX9000.PPD\"")) << run.output;
  EXPECT_TRUE(HasLine(run.output, "stop: none")) << run.output;
  EXPECT_EQ(LineCount(run.output), 6) << run.output;
}

TEST(ZpxPpdScanTest, FindsTheLineThatStopsAParse) {
  ToolRun run = Scan(Fixture("long-line.ppd"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.output, "PCFileName: \"LONGLINE.PPD\"")) << run.output;
  EXPECT_TRUE(HasLine(run.output, "lines: 8")) << run.output;
  // *PPD-Adobe, *PCFileName, *%ZPXPropPage, *ModelName; not the comment, the
  // blank line, the over-long line or *End.
  EXPECT_TRUE(HasLine(run.output, "main keywords: 5")) << run.output;
  EXPECT_TRUE(HasLine(run.output, "stop: line 6: longer than 255 bytes")) << run.output;

  run = Scan(Fixture("byte-255.ppd"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.output, "lines: 4")) << run.output;
  EXPECT_TRUE(HasLine(run.output, "stop: line 3: holds a byte 255")) << run.output;
}

TEST(ZpxPpdScanTest, FilesThatAreNotPPDs) {
  TempFile empty("");
  // The version must be quoted on the header's own line.
  TempFile unquoted("*PPD-Adobe: 4.3\n*FormatVersion: \"4.3\"\n", "unquoted.ppd");
  for (const std::string& path :
       {Fixture("version-4.2.ppd"), std::string(empty.Path()), std::string(unquoted.Path()),
        empty.Directory() + "/missing.ppd", empty.Directory()}) {
    ToolRun run = Scan(path);
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_EQ(LineCount(run.output), 1) << run.output;
    EXPECT_NE(run.output.find(path), std::string::npos) << run.output;
  }
  // The search for *PCFileName looks only at the first 4096 bytes.
  TempFile headed("*PPD-Adobe: \"4.3\"\n" + std::string(5000, '\n') + "*PCFileName: \"FAR.PPD\"\n");
  ToolRun run = Scan(headed.Path());
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.output, "PCFileName: none in the first 4096 bytes")) << run.output;
}

TEST(ZpxPpdScanTest, UsageErrors) {
  for (const char* arguments : {"", "scan", "frobnicate x", "scan a b"}) {
    ToolRun run = Tool(arguments, ToolErrors::kMerged);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(LineCount(run.output), 1) << run.output;
  }
}
