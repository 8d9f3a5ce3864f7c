#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/TempFile.h"

namespace {

// The exit status and everything the tool wrote, standard error included.
struct ToolRun {
  int status;
  std::string output;
};

ToolRun Tool(const std::string& arguments) {
  std::string command = std::string(ZPX_TOOLS_DIR) + "/zpx-ppd " + arguments + " 2>&1";
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[256];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.output.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
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
  for (const std::string& path : {Fixture("version-4.2.ppd"), std::string(empty.Path()), std::string(unquoted.Path()),
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
    ToolRun run = Tool(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(LineCount(run.output), 1) << run.output;
  }
}
