#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "PPDX/PPDObjects/PPDXErrorCode.h"
#include "support/TempFile.h"
#include "support/ToolRun.h"

TEST(ZpxPpdCheckTest, ListsErrorsWithTheirTextsAndExitsByValidity) {
  ToolRun sample = Tool("check '" + std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd'");
  EXPECT_EQ(sample.status, 0);
  EXPECT_TRUE(
      Has(sample.output, "\nerror " + std::to_string(kPPDXErrOpenUIZPXSkipped) +
                             " (not fatal) *ZPColorProfile: An *OpenUIZPX block was skipped.\n"))
      << sample.output;
  EXPECT_TRUE(Has(sample.output, "\nvalid: yes\n")) << sample.output;
  EXPECT_FALSE(Has(sample.output, "stop:")) << sample.output;  // a whole parse names no line

  ToolRun old = Tool("check '" + std::string(ZPX_FIXTURES) + "/ppd/version-4-2.ppd'");
  EXPECT_EQ(old.status, 1);
  EXPECT_TRUE(Has(old.output, "\nerror " + std::to_string(kPPDXErrNotVersion43) + " (fatal) -: "))
      << old.output;
  EXPECT_TRUE(Has(old.output, "\nerrors: 1\nvalid: no\n")) << old.output;

  EXPECT_EQ(Tool("check").status, 2);
  EXPECT_EQ(Tool("dump x.ppd").status, 2);
}

TEST(ZpxPpdCheckTest, NamesTheLineThatEndsTheParse) {
  TempFile file("*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*%Comment: " +
                std::string(300, 'x') + "\n*LanguageEncoding: ISOLatin1\n");
  ToolRun run = Tool("check '" + std::string(file.Path()) + "'");
  EXPECT_TRUE(Has(run.output, "\nstop: line 3: longer than 255 bytes; the parse ends there\n"))
      << run.output;
}

// A note keeps a default its own flags refuse; the maker hears of it, with the
// line, and the document stays valid.
TEST(ZpxPpdCheckTest, WarnsOfNoteDefaultsTheirOwnFlagsRefuse) {
  const std::string fixture = "'" + std::string(ZPX_FIXTURES) + "/ppd/job-note-defaults.ppd'";
  ToolRun check = Tool("check " + fixture);
  EXPECT_EQ(check.status, 0);
  EXPECT_TRUE(Has(check.output,
                  "\nerrors: 0\nwarning: line 19: *N1 takes digits only\n"
                  "warning: line 23: *ZPMailboxName takes letters and digits only\nvalid: yes\n"))
      << check.output;
  EXPECT_FALSE(Has(check.output, "ZPSecurePIN")) << check.output;  // its default fits

  ToolRun dump = Tool("dump --json " + fixture);
  EXPECT_EQ(dump.status, 0);
  EXPECT_TRUE(Has(
      dump.output,
      "\"warnings\":[{\"line\":19,\"keyword\":\"*N1\",\"description\":\"*N1 takes digits only\"},"
      "{\"line\":23,\"keyword\":\"*ZPMailboxName\","
      "\"description\":\"*ZPMailboxName takes letters and digits only\"}]}"))
      << dump.output;

  // A default with a control character is no default at all; the warning
  // never repeats it.
  TempFile file(kRollDownHead +
                "*%ZPXFlags *N1: Spooler\n*%ZPXGroup *N1 Roll/Note\n"
                "*%ZPXJobNote *N1/Note: 32\n*%DefaultN1: a\x1B[2Jb\n");
  ToolRun control = Tool("check '" + std::string(file.Path()) + "'");
  EXPECT_TRUE(Has(control.output, "\nwarning: line 12: *N1 takes no control characters\n"))
      << control.output;
  EXPECT_FALSE(Has(control.output, "2Jb")) << control.output;
  ToolRun controlDump = Tool("dump --json '" + std::string(file.Path()) + "'");
  EXPECT_TRUE(Has(controlDump.output, "\"default\":null,\"value\":null")) << controlDump.output;
}

TEST(ZpxPpdCheckTest, DumpWritesTheModelAsJson) {
  TempFile file(
      "*PPD-Adobe: \"4.3\"\n*LanguageVersion: French\n*LanguageEncoding: ISOLatin1\n"
      "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
      "*%ZPXGroupName Roll/Options: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
      "*%ZPXParent Roll/Pane: True|Rolldown\n"
      "*%ZPXFlags *ZPTray: Setup|Dynamic\n*%ZPXGroup *ZPTray Roll/Tray\n"
      "*OpenUI *ZPTray/Caf\xE9: PickOne\n*DefaultZPTray: A\n*ZPTray A/\"Quoted\": \"caf\xE9\t\"\n"
      "*CloseUI: *ZPTray\n");
  ToolRun run = Tool("dump --json '" + std::string(file.Path()) + "'");
  EXPECT_EQ(run.status, 0);
  const std::string& json = run.output;
  EXPECT_EQ(json.front(), '{');
  EXPECT_EQ(json.substr(json.size() - 2), "}\n");
  EXPECT_TRUE(Has(json, "\"languageVersion\":\"French\"")) << json;
  EXPECT_TRUE(
      Has(json,
          "{\"keyword\":\"FPPage\",\"displayName\":\"Page\",\"visible\":true,\"parent\":null,"
          "\"showInPrintProperties\":true,\"showInApplication\":true,\"scrollPane\":\"Pane\"}"))
      << json;
  EXPECT_TRUE(Has(
      json,
      "{\"kind\":\"rollDown\",\"keyword\":\"Roll\",\"displayName\":\"Options\",\"visible\":true,"
      "\"parent\":\"Pane\",\"controls\":[\"*ZPTray\"]}"))
      << json;
  // Latin-1 translations arrive as UTF-8; PostScript bytes that are not UTF-8 are escaped.
  EXPECT_TRUE(Has(json,
                  "\"kind\":\"popup\",\"keyword\":\"*ZPTray\",\"displayName\":\"Caf\xC3\xA9\","
                  "\"visible\":true,\"parent\":\"Roll\",\"flags\":[\"Setup\",\"Dynamic\"]"))
      << json;
  EXPECT_TRUE(Has(json,
                  "\"items\":[{\"keyword\":\"A\",\"displayName\":\"\\\"Quoted\\\"\","
                  "\"postScript\":\"caf\\u00e9\\u0009\\n\",\"selected\":true}]"))
      << json;
  EXPECT_TRUE(
      Has(json, "\"feature\":\"%%BeginFeature: *ZPTray A\\ncaf\\u00e9\\u0009\\n%%EndFeature\\n\""))
      << json;
  EXPECT_TRUE(Has(json, "\"shortcuts\":[],\"errors\":[],\"warnings\":[]}")) << json;
}

TEST(ZpxPpdCheckTest, DumpOfUTF8DocumentWithUnboundedRangesIsJsonAlone) {
  TempFile file(
      "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: UTF-8\n"
      "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
      "*%ZPXGroupName Roll/Options: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
      "*%ZPXParent Roll/Pane: True|Rolldown\n"
      "*%ZPXFlags *ZPScale: Setup\n*%ZPXGroup *ZPScale Roll/Scale\n"
      "*%ZPXFloatRange *ZPScale/Scale: (-1e999;1e999;nan;1) \"<ZPScale> x\"\n");
  const std::string arguments = "dump --json '" + std::string(file.Path()) + "'";
  ToolRun run = Tool(arguments);
  EXPECT_EQ(run.status, 0);
  const std::string& json = run.output;
  EXPECT_EQ(json.front(), '{') << json;
  EXPECT_TRUE(
      Has(json, "\"minimum\":\"-inf\",\"maximum\":\"inf\",\"increment\":\"nan\",\"default\":1,"))
      << json;
  // The encoding line is a diagnostic: it goes to standard error.
  ToolRun merged = Tool(arguments, ToolErrors::kMerged);
  EXPECT_TRUE(
      Has(merged.output, "CFStringGetMostCompatibleMacStringEncoding theEncoding = 100 (256)\n"))
      << merged.output;
}
