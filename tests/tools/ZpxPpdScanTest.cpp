#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempFile.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun Tool(const std::string& arguments) {
  TempFile errors("", "stderr.txt");
  std::string command = std::string(ZPX_TOOLS_DIR) + "/zpx-ppd " + arguments + " 2>" + errors.Path();
  ToolRun run{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errors.Path());
  std::stringstream text;
  text << in.rdbuf();
  run.err = text.str();
  return run;
}

ToolRun Scan(const std::string& path) { return Tool("scan '" + path + "'"); }

std::string Fixture(const char* name) { return std::string(ZPX_FIXTURES) + "/scan/" + name; }

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

int LineCount(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

}  // namespace

TEST(ZpxPpdScanTest, ReportsTheSamplePPD) {
  ToolRun run = Scan(std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.out, "header: *PPD-Adobe \"4.3\"")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "PCFileName: \"ZPX9000.PPD\"")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "stop: none")) << run.out;
  EXPECT_EQ(run.err, "");
}

TEST(ZpxPpdScanTest, FindsTheLineThatStopsAParse) {
  ToolRun run = Scan(Fixture("long-line.ppd"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.out, "PCFileName: \"LONGLINE.PPD\"")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "lines: 8")) << run.out;
  // *PPD-Adobe, *PCFileName, *%ZPXPropPage, *ModelName; not the comment, the
  // blank line, the over-long line or *End.
  EXPECT_TRUE(HasLine(run.out, "main keywords: 5")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "stop: line 6: longer than 255 bytes")) << run.out;

  run = Scan(Fixture("byte-255.ppd"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.out, "lines: 4")) << run.out;
  EXPECT_TRUE(HasLine(run.out, "stop: line 3: holds a byte 255")) << run.out;
}

TEST(ZpxPpdScanTest, FilesThatAreNotPPDs) {
  TempFile empty("");
  TempFile farName(std::string(5000, '\n') + "*PCFileName: \"FAR.PPD\"\n");
  for (const std::string& path : {Fixture("version-4.2.ppd"), std::string(empty.Path()),
                                  empty.Directory() + "/missing.ppd", empty.Directory()}) {
    ToolRun run = Scan(path);
    EXPECT_EQ(run.status, 1) << path;
    EXPECT_EQ(run.out, "") << path;
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
    EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
  }
  // No header either, but the search for *PCFileName stops after 4096 bytes.
  TempFile headed("*PPD-Adobe: \"4.3\"\n" + std::string(5000, '\n') + "*PCFileName: \"FAR.PPD\"\n");
  ToolRun run = Scan(headed.Path());
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(HasLine(run.out, "PCFileName: none in the first 4096 bytes")) << run.out;
}

TEST(ZpxPpdScanTest, UsageErrors) {
  for (const char* arguments : {"", "scan", "frobnicate x", "scan a b"}) {
    ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(LineCount(run.err), 1) << run.err;
  }
}
