// The setup of a job zpx-print finishes holds each feature once: the
// extension's page size in place of the document's, and a feature of the
// document that the extension writes itself goes even without its
// %%EndFeature, and with it nothing but its own lines.
#include <gtest/gtest.h>

#include <string>

#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/PrintHome.h"
#include "support/PrintJobFiles.h"
#include "support/ToolRun.h"

namespace {

const std::string kSample = "--ppd '" + kSamplePPD + "' ";

// The sample document with `text` put in before `before`.
std::string SampleWith(const std::string& text, const std::string& before) {
  std::string document = FileText(kSampleDocument);
  return document.insert(document.find(before), text);
}

}  // namespace

TEST(ZpxPrintSetup, TheChosenPageSizeIsTheJobsOnlyPageSize) {
  PrintHome home;
  // The sample's setup holds a page size Letter; a page region Letter joins it.
  const std::string document = home.Write(
      "letter.ps",
      SampleWith("[{\n%%BeginFeature: *PageRegion Letter\n"
                 "<</PageSize [612 792]>> setpagedevice\n%%EndFeature\n} stopped cleartomark\n",
                 "/Helvetica"));
  ASSERT_TRUE(Has(FileText(document), "%%BeginFeature: *PageSize Letter"));
  CommandRun run = home.Run(kSample + "-o PageSize=A4", document);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Occurrences(run.output, "%%BeginFeature: *PageSize"), 1u) << run.output;
  EXPECT_TRUE(Has(run.output, "[{\n%%BeginFeature: *PageSize A4\n")) << run.output;
  EXPECT_FALSE(Has(run.output, "*PageRegion")) << run.output;

  CommandRun printed = RunCommand(
      "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=- '" +
      home.Write("printed.ps", run.output) + "' -c 'currentpagedevice /PageSize get =='");
  EXPECT_EQ(printed.status, 0) << printed.errors;
  EXPECT_TRUE(Has(printed.output, "Sample page three")) << printed.output;
  EXPECT_TRUE(Has(printed.output, "\n[595 842]\n")) << printed.output;
}

TEST(ZpxPrintSetup, AnUnterminatedFeatureOfTheExtensionLeavesEveryPageAndTheTrailer) {
  PrintHome home;
  // *InputSlot is one of the controls whose code the extension writes: in a
  // wrapper, at the end of the setup and in the trailer.
  std::string text = SampleWith(
      "[{\n%%BeginFeature: *InputSlot Upper\n<</MediaPosition 1>> setpagedevice\n} stopped "
      "cleartomark\n",
      "/Helvetica");
  text.insert(text.find("%%EndSetup"),
              "%%BeginFeature: *InputSlot Upper\n<</MediaPosition 1>> setpagedevice\n");
  text.insert(text.find("%%EOF"), "%%BeginFeature: *InputSlot Lower\n");
  const std::string document = home.Write("unterminated.ps", text);
  CommandRun run = home.Run(kSample, document);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Occurrences(run.output, "%%BeginFeature: *InputSlot "), 1u) << run.output;
  EXPECT_TRUE(Has(run.output, "\n/Helvetica findfont 24 scalefont setfont\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "\n%%Trailer\n%%EOF\n")) << run.output;
  EXPECT_EQ(Occurrences(run.output, "[{\n"), Occurrences(run.output, "} stopped cleartomark\n"));

  CommandRun pages = InterpretedPages(home.Write("printed.ps", run.output));
  EXPECT_EQ(pages.status, 0) << pages.errors;
  for (const char* page : {"Sample page one", "Sample page two", "Sample page three"})
    EXPECT_TRUE(Has(pages.output, page)) << pages.output;
}
