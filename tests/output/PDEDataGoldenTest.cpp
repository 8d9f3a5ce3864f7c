// The complete job-level PostScript of the bundled sample under several
// settings, against expected blocks written out by hand: every block with its
// site, in order.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "foundation/HexText.h"
#include "output/PDEDataJob.h"
#include "support/FileText.h"

namespace {

std::string ReadFixture(const std::string& relative) {
  return FileText(std::string(ZPX_FIXTURES) + "/output/" + relative);
}

void Substitute(std::string& text, const std::string& mark, const std::string& by) {
  for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark, at + by.size()))
    text.replace(at, mark.size(), by);
}

class PDEDataGoldenTest : public JobNoteGlobalsTest {
 protected:
  // The pieces in order: "NN-name" from pieces/, a watermark resource by its
  // file name (a block at site 81). "@FOLDER@" stands for the job's folder, "@FOLDERHEX@" for it in
  // hexadecimal (a note's text with a slash is written that way).
  std::string Expected(std::initializer_list<const char*> pieces) {
    std::string text;
    for (const std::string piece : pieces) {
      if (piece.rfind("watermark-", 0) == 0)
        text += "@@ 81\n" + ReadFixture(piece);
      else
        text += ReadFixture("pieces/" + piece + ".out");
    }
    const std::string& folder = mJob->Folder().Path();
    Substitute(text, "@FOLDERHEX@",
               UpperHex(reinterpret_cast<const unsigned char*>(folder.data()), folder.size()));
    Substitute(text, "@FOLDER@", folder);
    return text;
  }

  // The sample with its encrypted account note left blank: the notes'
  // encryption has tests of its own, and a ciphertext cannot be written out
  // by hand.
  void Start(const std::string& language = "en") {
    mJob.reset(new PDEDataJob(language));
    mJob->Set("*ZPAccount", "");
  }
  PDEDataJob& Job() { return *mJob; }

  std::unique_ptr<PDEDataJob> mJob;
};

}  // namespace

TEST_F(PDEDataGoldenTest, DefaultsPortraitWithoutWatermarkOrTwoWay) {
  Start();
  Job().SetOrientation(1);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "06-portrait", "06-job-notes", "08-profiles",
                      "09-scale", "12-same-as-page-size"}),
            Job().Listing());
}

TEST_F(PDEDataGoldenTest, MMPairsAndEachWatermarkOrientationAndPageChoice) {
  Start();
  Job().SetOrientation(2);
  PDEData& data = Job().Data();
  data.AddMMPair(L"*ZPMMInsType", L"Tab");
  data.AddMMPair(L"*ZPMMCover", L"Gl\u20ACss");
  data.AddWatermark("10,20,128,128,128,x,0,x,450,x,x,48,Helvetica,Draft");
  data.AddWatermark("10,20,255,0,0,x,1,x,450,x,x,48,Helvetica,COPY");
  data.SelectWatermark(1);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "05-mm-pairs", "06-landscape", "06-job-notes",
                      "watermark-latin1-landscape-first-page.ps", "08-profiles", "09-scale",
                      "12-same-as-page-size"}),
            Job().Listing());

  // Portrait, every page.
  Job().SetOrientation(1);
  data.ClearMMPairs();
  data.SelectWatermark(0);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "06-portrait", "06-job-notes",
                      "watermark-latin1-upright-every-page.ps", "08-profiles", "09-scale",
                      "12-same-as-page-size"}),
            Job().Listing());
}

TEST_F(PDEDataGoldenTest, JapaneseWatermarkInReverseLandscape) {
  Start("ja");
  Job().SetOrientation(4);
  Job().Data().AddWatermark("-5,0,192,192,192,0,0,0,-305,0,0,72,Mincho,\xE6\x97\xA5\xE6\x9C\xAC");
  Job().Data().SelectWatermark(0);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "06-landscape", "06-job-notes",
                      "watermark-japanese-reverse-landscape-every-page.ps", "08-profiles",
                      "09-scale", "12-same-as-page-size"}),
            Job().Listing());
}

TEST_F(PDEDataGoldenTest, TwoWayPairsDynamicProfileAndPrintSizes) {
  Start();
  Job().SetOrientation(1);
  PDEData& data = Job().Data();
  Job().EnableTwoWay();
  data.SetBidiPair(0, L"ZPPCMID", L"3");
  data.SetBidiPair(1, L"ZPPCTray", L"0");
  data.SetBidiPair(2, L"ZPPCBin", L"-1");
  Job().Set("*ZPScale", "125");
  // The page size taken from the document: the print size's own code.
  data.SetDocumentPageSizeInUse(true);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "06-portrait", "06-job-notes", "08-profiles-two-way",
                      "09-scale-125", "10-bidi-pairs", "12-print-size-letter"}),
            Job().Listing());

  // A custom print size: its page properties, and the size the controller
  // knows it by in the pairs' size block.
  Job().Set("*ZPPrintSize", "CustomPrintSize");
  Job().Set("*CustomPrintSize", "500 700.5");
  data.SetDocumentPageSizeInUse(false);
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-printer",
                      "04-feature-code-tail", "06-portrait", "06-job-notes", "08-profiles-two-way",
                      "09-scale-125", "10-bidi-pairs-custom", "11-custom-print-size",
                      "12-print-size-custom"}),
            Job().Listing());
}

TEST_F(PDEDataGoldenTest, FileDestination) {
  Start();
  Job().SetOrientation(1);
  std::filesystem::create_directories(Job().Folder().Path() + "/out");
  Job().Set("*ZPDestination", "File");
  Job().Set("*ZPMailboxName", Job().Folder().Path() + "/out/job.ps");
  EXPECT_EQ(Expected({"02-suppressed", "04-feature-code", "04-destination-file",
                      "04-feature-code-tail", "06-portrait", "06-mailbox", "06-job-notes",
                      "08-profiles", "09-scale", "12-same-as-page-size", "13-file-destination"}),
            Job().Listing());
  EXPECT_TRUE(std::filesystem::is_regular_file(Job().Folder().Path() + "/out/job.ps"));
}
