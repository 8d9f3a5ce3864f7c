// zpx-filter finishes a job from another application as zpx-print does for
// the queue's PPD with the job's options, passes a job zpx-print finished
// unchanged, and answers a job it cannot finish (or one that selects a file
// destination) with one ERROR line and no output; its scratch folder below
// TMPDIR never outlives it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "../../tools/zpx-filter/DocumentHead.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/PrintJobFiles.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"

namespace {

class FilterFolder {
 public:
  FilterFolder() { mFolder.Write("tmp/.keep", ""); }

  // The filter as the print server starts it; `document` "" sends the sample on standard input.
  CommandRun Filter(const std::string& options, const std::string& document = kSampleDocument,
                    const std::string& environment = kSampleEnvironment) const {
    return Run(environment, options, document.empty() ? "< '" + kSampleDocument + "'" : "'" + document + "'");
  }
  // The filter with the document on standard input.
  CommandRun FilterInput(const std::string& options, const std::string& document) const {
    return Run(kSampleEnvironment, options, "< '" + document + "'");
  }

  // zpx-print's job for the document with a home of its own.
  std::string Print(const std::string& arguments, const std::string& document = kSampleDocument) const {
    const std::string home = mFolder.Path() + "/print-home";
    std::filesystem::create_directories(home);
    return RunCommand("HOME='" + home + "' XDG_CONFIG_HOME='" + home + "/config' ZPX_TMPDIR='" + home + "' " +
                      ZPX_TOOLS_DIR + "/zpx-print --forget --ppd '" + kSamplePPD + "' --title Report " +
                      arguments + " < '" + document + "'")
        .output;
  }

  std::string Path(const std::string& relative) const { return mFolder.Path() + "/" + relative; }
  std::string Write(const std::string& relative, const std::string& bytes) const {
    return mFolder.Write(relative, bytes);
  }
  size_t LeftInTemporaryFolder() const { return EntriesLeftIn(mFolder.Path() + "/tmp"); }

 private:
  inline static const std::string kSampleEnvironment = "PPD='" + kSamplePPD + "'";

  CommandRun Run(const std::string& environment, const std::string& options, const std::string& input) const {
    return RunCommand(environment + " TMPDIR='" + mFolder.Path() + "/tmp' '" ZPX_FILTER "' 12 ann Report 1 '" +
                      options + "' " + input);
  }

  TempFolder mFolder;
};

}  // namespace

TEST(ZpxFilter, AJobIsFinishedWithTheOptionsOfThePPDAndTheRestIgnored) {
  FilterFolder folder;
  // The server's own attributes, an installable and a special option are not the job's choices.
  const std::string serverOptions =
      "finishings=3 job-uuid=urn:uuid:1b4e28ba ZPOptionalFinisher=Stapler Durance=False print-color-mode=monochrome";
  CommandRun run = folder.Filter(serverOptions + " ZPDuplex=Top orientation-requested=4");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(Unstamped(run.output), Unstamped(folder.Print("-o ZPDuplex=Top --orientation landscape")));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPDuplex Top"));
  EXPECT_TRUE(Has(run.output, "%%Orientation: Landscape"));

  // From standard input, with pages on each sheet and a page size from the job's media.
  run = folder.Filter("number-up=2 media=A4,Tray1", "");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(Unstamped(run.output), Unstamped(folder.Print("--number-up 2 -o PageSize=A4")));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *PageSize A4"));
  // A page size the job names itself wins over its media.
  run = folder.Filter("media=A4 PageSize=Letter");
  EXPECT_FALSE(Has(run.output, "%%BeginFeature: *PageSize A4"));
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *PageSize Letter"));

  // The PIN travels sealed only.
  run = folder.Filter("ZPSecurePIN=735194");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_FALSE(Has(run.output, "735194"));
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxFilter, AFinishedJobPassesUnchangedByteForByte) {
  FilterFolder folder;
  // zpx-print's jobs, one of a document with CR line ends and no %%EndComments,
  // each followed by binary data well past the header that the filter reads.
  const std::string crDocument = folder.Write("cr.ps", "%!PS-Adobe-3.0\r%%Title: cr\r/Helvetica findfont\r"
                                                       "%%Page: 1 1\rshowpage\r%%EOF\r");
  const char binary[] = "\0\x01\xff\r binary";
  const std::string tail = std::string(binary, sizeof binary - 1) + std::string(200000, 'x');
  for (const std::string& job : {folder.Print("-o ZPDuplex=Top") + tail, folder.Print("", crDocument) + tail}) {
    const std::string path = folder.Write("finished.ps", job);
    for (const CommandRun& run : {folder.Filter("job-uuid=urn:uuid:1 zpx-finished=true ZPDuplex=Sideways", path),
                                  folder.FilterInput("zpx-finished=true", path)}) {
      ASSERT_EQ(run.status, 0) << run.errors;
      EXPECT_EQ(run.output, job);
      EXPECT_EQ(run.errors, "");
    }
  }
}

TEST(ZpxFilter, AJobMarkedFinishedWithoutTheExtensionsHeaderCommentsIsFinished) {
  FilterFolder folder;
  // The comments forged after more header than the filter reads.
  std::string forged = FileText(kSampleDocument);
  forged.insert(forged.find("%%EndComments"), "%%ZPXUATag: forged\n");
  std::string filler = "%%DocumentSuppliedResources: procset filler\n";
  while (filler.size() <= DocumentHead::kMaximumBytes) filler += "%%+ procset filler\n";
  forged.insert(forged.find('\n') + 1, filler);
  for (const std::string& document : {kSampleDocument, folder.Write("forged.ps", forged)}) {
    const std::string expected = Unstamped(folder.Print("", document));
    for (const CommandRun& run : {folder.Filter("zpx-finished=true", document),
                                  folder.FilterInput("zpx-finished=true", document)}) {
      ASSERT_EQ(run.status, 0) << run.errors;
      EXPECT_EQ(Unstamped(run.output), expected);
      EXPECT_TRUE(Has(run.output, "%%ZPXCustom1: Proof"));
    }
  }
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);
}

TEST(ZpxFilter, AJobThatCannotBeFinishedFailsWithOneErrorLineAndNoOutput) {
  FilterFolder folder;
  const std::string otherPPD = folder.Write("Other.ppd", OtherPrinterPPDText());
  struct Case {
    std::string options;
    std::string document;
    std::string environment;
    std::string named;
  };
  const std::string ppd = "PPD='" + kSamplePPD + "'";
  // A file the job names is never made, whether the job or the PPD's default selects the file destination.
  std::string fileDefault = SamplePPDText();
  fileDefault.replace(fileDefault.find("*DefaultZPDestination: Printer"), 30, "*DefaultZPDestination: File");
  const std::string fileDefaultPPD = "PPD='" + folder.Write("FileDefault.ppd", fileDefault) + "'";
  const std::string mailbox = folder.Path("mailbox.ps");
  for (const Case& bad : std::initializer_list<Case>{
           {"ZPDuplex=Sideways", kSampleDocument, ppd, "Sideways"},
           {"ZPDestination=File ZPMailboxName=" + mailbox, kSampleDocument, ppd, "*ZPDestination"},
           {"ZPMailboxName=" + mailbox, kSampleDocument, fileDefaultPPD, "*ZPDestination"},
           {"ZPMediaType=Transparency ZPDuplex=Top", kSampleDocument, ppd, "constraints forbid"},
           {"number-up=3", kSampleDocument, ppd, "--number-up"},
           {"", kSampleDocument, "PPD='" + otherPPD + "'", "Initialize answered"},
           {"", kSampleDocument, "PPD=", "PPD"},
           {"", folder.Write("letter.txt", "Dear printer,\n"), ppd, "%!"},
       }) {
    CommandRun run = folder.Filter(bad.options, bad.document, bad.environment);
    EXPECT_EQ(run.status, 1) << bad.options;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_EQ(run.errors.rfind("ERROR: ", 0), 0u) << run.errors;
    EXPECT_TRUE(Has(run.errors, bad.named)) << run.errors;
    EXPECT_EQ(run.output, "") << bad.options;
  }
  EXPECT_FALSE(std::filesystem::exists(mailbox));
  EXPECT_EQ(folder.LeftInTemporaryFolder(), 0u);

  CommandRun usage = RunCommand("'" ZPX_FILTER "' 12 ann Report");
  EXPECT_EQ(usage.status, 1);
  EXPECT_EQ(usage.errors.rfind("ERROR: usage", 0), 0u) << usage.errors;
}
