// The blocks of a job reach the document where the print system puts them,
// and everything else of the document comes through byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "host/PostScriptMerger.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/TempFile.h"
#include "support/ToolRun.h"

namespace {

struct Merged {
  PostScriptMerger::Result result;
  std::string job;
};

// The document merged with the injections, read through a reader of the given size.
Merged Merge(const std::string& document, const JobInjections& injections,
             size_t capacity = PostScriptLineReader::kDefaultCapacity) {
  TempFile input(document, "in.ps");
  TempFile output("", "out.ps");
  int in = open(input.Path(), O_RDONLY);
  int out = open(output.Path(), O_WRONLY | O_TRUNC);
  PostScriptLineReader reader(in, capacity);
  JobOutput writer(out);
  Merged merged{PostScriptMerger(injections, reader, writer).Merge(), ""};
  close(in);
  close(out);
  merged.job = FileText(output.Path());
  return merged;
}

JobInjections SetupBlocks(std::vector<std::string> blocks) {
  JobInjections injections;
  injections.mSetupBlocks = std::move(blocks);
  return injections;
}

const std::string kDocument =
    "%!PS-Adobe-3.0\n%%Title: t\n%%Orientation: Portrait\n%%+ continued\n%%Pages: 1\n"
    "%%EndComments\n%%BeginProlog\n/p {} def\n%%EndProlog\n%%BeginSetup\n/s 1 def\n"
    "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n";

}  // namespace

TEST(PostScriptMerger, HeaderCommentsReplaceTheirNamesakesBeforeTheEndOfComments) {
  JobInjections injections;
  injections.mHeaderComments = {"%%Orientation: Landscape", "%%MacCoreNUp: 2\n", "%%JobNote: x"};
  Merged merged = Merge(kDocument, injections);
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job,
            "%!PS-Adobe-3.0\n%%Title: t\n%%Pages: 1\n%%Orientation: Landscape\n%%MacCoreNUp: 2\n"
            "%%JobNote: x\n%%EndComments\n%%BeginProlog\n/p {} def\n%%EndProlog\n%%BeginSetup\n"
            "/s 1 def\n%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n");

  // Without %%EndComments the header ends at its first line that is no comment.
  merged = Merge("%!PS\n%%Title: t\n/x 1 def\nshowpage\n", injections);
  EXPECT_EQ(merged.job,
            "%!PS\n%%Title: t\n%%Orientation: Landscape\n%%MacCoreNUp: 2\n%%JobNote: x\n/x 1 def\n"
            "showpage\n");
  // A document that is only its header gets them at its end.
  merged = Merge("%!PS\n%%Title: t", injections);
  EXPECT_EQ(merged.job,
            "%!PS\n%%Title: t\n%%Orientation: Landscape\n%%MacCoreNUp: 2\n%%JobNote: x\n");
}

TEST(PostScriptMerger, SetupBlocksGoAfterTheDocumentsSetupCodeFeaturesWrapped) {
  Merged merged =
      Merge(kDocument, SetupBlocks({"%%BeginFeature: *A B\ncode\n%%EndFeature", "/w 1 def\n"}));
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job,
            "%!PS-Adobe-3.0\n%%Title: t\n%%Orientation: Portrait\n%%+ continued\n%%Pages: 1\n"
            "%%EndComments\n%%BeginProlog\n/p {} def\n%%EndProlog\n%%BeginSetup\n/s 1 def\n"
            "[{\n%%BeginFeature: *A B\ncode\n%%EndFeature\n} stopped cleartomark\n/w 1 def\n"
            "%%EndSetup\n%%Page: 1 1\nshowpage\n%%EOF\n");

  // Without a setup section one is made after the prolog ...
  merged = Merge("%!PS\n%%EndComments\n%%BeginProlog\n%%EndProlog\n%%Page: 1 1\nshowpage\n",
                 SetupBlocks({"/w 1 def"}));
  EXPECT_EQ(merged.job,
            "%!PS\n%%EndComments\n%%BeginProlog\n%%EndProlog\n%%BeginSetup\n/w 1 def\n%%EndSetup\n"
            "%%Page: 1 1\nshowpage\n");
  // ... or after the header without a prolog either.
  merged = Merge("%!PS\n%%Title: t\n/x 1 def\n", SetupBlocks({"/w 1 def"}));
  EXPECT_EQ(merged.job, "%!PS\n%%Title: t\n%%BeginSetup\n/w 1 def\n%%EndSetup\n/x 1 def\n");
  // A document that ends before any code gets it at its end, on a line of its own.
  merged = Merge("%!PS\n%%EndComments", SetupBlocks({"/w 1 def"}));
  EXPECT_EQ(merged.job, "%!PS\n%%EndComments\n%%BeginSetup\n/w 1 def\n%%EndSetup\n");
}

TEST(PostScriptMerger, SuppressedFeaturesLeaveTheDocumentWithTheirOwnWrappers) {
  JobInjections injections = SetupBlocks({"%%BeginFeature: *Duplex Top\nnew\n%%EndFeature\n"});
  injections.mSuppressedFeatures = {"*Duplex", "*Staple"};
  const std::string document =
      "%!PS\n%%EndComments\n%%BeginSetup\n"
      "[{\n%%BeginFeature: *Duplex None\nold\n%%EndFeature\n} stopped cleartomark\n"
      "[{\n%%BeginFeature: *Duplexer On\nkept\n%%EndFeature\n} stopped cleartomark\n"
      "%%IncludeFeature: *Staple On\n"
      "[{\n%%BeginFeature: *Staple On\nold\n%%EndFeature\n/other 1 def\n} stopped cleartomark\n"
      "%%EndSetup\n%%Page: 1 1\n%%BeginFeature: *Duplex None\nold\n%%EndFeature\nshowpage\n";
  Merged merged = Merge(document, injections);
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job,
            "%!PS\n%%EndComments\n%%BeginSetup\n"
            "[{\n%%BeginFeature: *Duplexer On\nkept\n%%EndFeature\n} stopped cleartomark\n"
            "[{\n/other 1 def\n} stopped cleartomark\n"
            "[{\n%%BeginFeature: *Duplex Top\nnew\n%%EndFeature\n} stopped cleartomark\n"
            "%%EndSetup\n%%Page: 1 1\nshowpage\n");
}

// A queue's PPD gives ranges and job notes custom values, which the server
// writes before their code: they go with the feature the extension writes.
TEST(PostScriptMerger, ACustomValueGoesWithItsFeature) {
  JobInjections injections =
      SetupBlocks({"%%BeginFeature: *ZPSecurePIN Encrypted\nnew\n%%EndFeature\n"});
  injections.mSuppressedFeatures = {"*ZPSecurePIN"};
  const std::string kept =
      "%%BeginFeature: *CustomZPSecurePINs True\n(kept)\npop\n%%EndFeature\n"
      "%%BeginFeature: *Custom True\n(kept)\npop\n%%EndFeature\n";
  Merged merged = Merge(
      "%!PS\n%%EndComments\n%%BeginSetup\n"
      "%%BeginFeature: *CustomZPSecurePIN True\n(97531)\npop\n%%EndFeature\n" +
          kept + "%%EndSetup\n",
      injections);
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job, "%!PS\n%%EndComments\n%%BeginSetup\n" + kept +
                            "[{\n%%BeginFeature: *ZPSecurePIN Encrypted\nnew\n%%EndFeature\n"
                            "} stopped cleartomark\n%%EndSetup\n");
}

TEST(PostScriptMerger, LineEndsSectionsAndEmbeddedDocumentsComeThroughUntouched) {
  JobInjections injections = SetupBlocks({"/w 1 def"});
  injections.mSuppressedFeatures = {"*Duplex"};
  // CR line ends: kept, and used for what is inserted.
  Merged merged = Merge("%!PS\r%%EndComments\r%%BeginSetup\r%%EndSetup\rshowpage\r", injections);
  EXPECT_EQ(merged.job, "%!PS\r%%EndComments\r%%BeginSetup\r/w 1 def\r%%EndSetup\rshowpage\r");
  merged = Merge("%!PS\r\n%%BeginSetup\r\n%%EndSetup\nx", injections);
  EXPECT_EQ(merged.job, "%!PS\r\n%%BeginSetup\r\n/w 1 def\r\n%%EndSetup\nx");

  // An embedded document's own setup end and features are its own.
  const std::string eps =
      "%%BeginDocument: a.eps\n%!PS-Adobe-3.0 EPSF-3.0\n%%BeginSetup\n%%EndSetup\n"
      "%%BeginFeature: *Duplex None\n%%EndFeature\n%%EndDocument\n";
  merged = Merge("%!PS\n%%BeginSetup\n" + eps + "%%EndSetup\n", injections);
  EXPECT_EQ(merged.job, "%!PS\n%%BeginSetup\n" + eps + "/w 1 def\n%%EndSetup\n");

  // Binary and data sections are skipped by their counts, whatever they hold.
  const std::string payload("\r%%EndSetup\n\0\xff\r\n%%EndSetup\n", 27);
  const std::string binary =
      "%%BeginBinary: " + std::to_string(payload.size()) + "\n" + payload + "\n%%EndBinary\n";
  const std::string lines = "%%BeginData: 2 ASCII Lines\n%%EndSetup\r\n%%EndSetup\n%%EndData\n";
  merged = Merge("%!PS\n%%BeginSetup\n" + binary + lines + "%%EndSetup\n", injections);
  EXPECT_EQ(merged.job, "%!PS\n%%BeginSetup\n" + binary + lines + "/w 1 def\n%%EndSetup\n");
}

TEST(PostScriptMerger, LongLinesAndSmallBuffersGiveTheSameJob) {
  JobInjections injections = SetupBlocks({"/w 1 def"});
  injections.mSuppressedFeatures = {"*Duplex"};
  injections.mHeaderComments = {"%%Title: new"};
  const std::string longLine(5000, 'x');
  std::string document = "%!PS\r\n%%Title: old " + longLine +
                         "\r\n%%EndComments\r\n%%BeginSetup\r\n" +
                         "%%BeginFeature: *Duplex None\r\n" + longLine + "\r\n%%EndFeature\r\n" +
                         longLine + "\r\n%%EndSetup\r\nshowpage\r\n";
  // Told apart by their first 255 bytes only, whatever the buffer: kept.
  const std::string farKey = "%%BeginFeature: " + std::string(300, ' ') + "*Duplex None\r\n";
  const std::string wideWrapper = "[{" + std::string(300, ' ') + "\r\n";
  document.insert(document.find("showpage"), wideWrapper + farKey + "%%EndFeature\r\n");
  const std::string expected = "%!PS\r\n%%Title: new\r\n%%EndComments\r\n%%BeginSetup\r\n" +
                               longLine + "\r\n/w 1 def\r\n%%EndSetup\r\n" + wideWrapper + farKey +
                               "%%EndFeature\r\nshowpage\r\n";
  EXPECT_EQ(Merge(document, injections).job, expected);
  for (size_t capacity = PostScriptLineReader::kMinimumCapacity;
       capacity < PostScriptLineReader::kMinimumCapacity + 8; ++capacity)
    EXPECT_EQ(Merge(document, injections, capacity).job, expected) << capacity;
}

TEST(PostScriptMerger, AFirstLineLongerThanTheBufferStillGivesItsLineEndToTheBlocks) {
  const std::string document = "%!PS " + std::string(300, 'x') + "\r%%EndComments\rshowpage\r";
  const std::string expected = "%!PS " + std::string(300, 'x') +
                               "\r%%EndComments\r%%BeginSetup\r/w 1 def\r%%EndSetup\rshowpage\r";
  EXPECT_EQ(Merge(document, SetupBlocks({"/w 1 def"})).job, expected);
  EXPECT_EQ(Merge(document, SetupBlocks({"/w 1 def"}), PostScriptLineReader::kMinimumCapacity).job,
            expected);
}

TEST(PostScriptMerger, InputThatIsNoPostScriptWritesNothing) {
  for (const char* document : {"", "%", "PS\n%!", "\n%!PS\n"}) {
    Merged merged = Merge(document, SetupBlocks({"/w 1 def"}));
    EXPECT_EQ(merged.result, PostScriptMerger::kNotPostScript) << document;
    EXPECT_EQ(merged.job, "");
  }
}

// A feature the extension writes itself and that the document leaves without
// its %%EndFeature goes no further than the end of its section, its wrapper
// or the next feature: the rest of the document comes through, and no wrapper
// stays open.
TEST(PostScriptMerger, AnUnterminatedRemovedFeatureEndsWithItsSectionAndLeavesNoWrapperOpen) {
  JobInjections injections =
      SetupBlocks({"%%BeginFeature: *InputSlot Lower\n/slot 2 def\n%%EndFeature\n"});
  injections.mSuppressedFeatures = {"*InputSlot", "*Duplex"};
  const std::string prolog =
      "%!PS-Adobe-3.0\n%%Pages: 3\n%%EndComments\n%%BeginProlog\n/Line { moveto show } bind def\n"
      "%%EndProlog\n";
  const std::string inserted =
      "[{\n%%BeginFeature: *InputSlot Lower\n/slot 2 def\n%%EndFeature\n} stopped cleartomark\n";
  const std::string document =
      prolog +
      // In the setup, wrapped: the feature ends where its wrapper closes.
      "%%BeginSetup\n[{\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n} stopped cleartomark\n"
      // A wrapper that holds more than the feature keeps the rest.
      "[{\n/wrapped 1 def\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n} stopped cleartomark\n"
      // The next feature ends it too, kept or removed in its turn, in its own wrapper.
      "[{\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n[{\n%%BeginFeature: *Kept On\n/kept 1 "
      "def\n"
      "%%EndFeature\n} stopped cleartomark\n"
      "[{\n%%BeginFeature: *Duplex None\n/duplex 1 def\n%%EndFeature\n} stopped cleartomark\n"
      "} stopped cleartomark\n"
      // Without a wrapper, the end of the setup ends it.
      "/Helvetica findfont 24 scalefont setfont\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n"
      "/dropped 1 def\n%%EndSetup\n"
      // In a page setup, a wrapper that never closes goes with it.
      "%%Page: 1 1\n%%BeginPageSetup\n[{\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n"
      "%%EndPageSetup\n(Page one) 72 700 Line\nshowpage\n"
      // At the end of a page, and of the last one before the trailer.
      "%%Page: 2 2\n(Page two) 72 700 Line\nshowpage\n%%BeginFeature: *InputSlot Upper\n/slot 1 "
      "def\n"
      "%%Page: 3 3\n(Page three) 72 700 Line\nshowpage\n[{\n%%BeginFeature: *InputSlot Upper\n"
      "%%Trailer\n/trailer 1 def\n%%BeginFeature: *Duplex None\n/duplex 1 def\n%%EOF\n";
  const std::string expected =
      prolog +
      "%%BeginSetup\n"
      "[{\n/wrapped 1 def\n} stopped cleartomark\n"
      "[{\n[{\n%%BeginFeature: *Kept On\n/kept 1 def\n%%EndFeature\n} stopped cleartomark\n"
      "} stopped cleartomark\n/Helvetica findfont 24 scalefont setfont\n" +
      inserted +
      "%%EndSetup\n"
      "%%Page: 1 1\n%%BeginPageSetup\n%%EndPageSetup\n(Page one) 72 700 Line\nshowpage\n"
      "%%Page: 2 2\n(Page two) 72 700 Line\nshowpage\n"
      "%%Page: 3 3\n(Page three) 72 700 Line\nshowpage\n"
      "%%Trailer\n/trailer 1 def\n%%EOF\n";
  Merged merged = Merge(document, injections);
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job, expected);
  for (size_t capacity = PostScriptLineReader::kMinimumCapacity;
       capacity < PostScriptLineReader::kMinimumCapacity + 4; ++capacity)
    EXPECT_EQ(Merge(document, injections, capacity).job, expected) << capacity;
  EXPECT_EQ(Occurrences(merged.job, "[{\n"), Occurrences(merged.job, "} stopped cleartomark\n"));

  // Every page runs. The whole document (and a document that ends inside
  // the removed feature) is good PostScript.
  TempFile job(merged.job, "job.ps");
  CommandRun pages = InterpretedPages(job.Path());
  EXPECT_EQ(pages.status, 0) << pages.errors;
  for (const char* page : {"Page one", "Page two", "Page three"})
    EXPECT_TRUE(Has(pages.output, page)) << page;
  merged = Merge(prolog + "%%BeginSetup\n[{\n%%BeginFeature: *InputSlot Upper\n/slot 1 def\n",
                 injections);
  EXPECT_EQ(merged.job, prolog + "%%BeginSetup\n" + inserted);
}

// Wrappers and embedded documents in the code of a removed feature are its
// own: their closing lines do not end it, and their sections count as they
// do anywhere else.
TEST(PostScriptMerger, ARemovedFeaturesOwnWrappersAndSectionsGoWithIt) {
  JobInjections injections = SetupBlocks({"/w 1 def"});
  injections.mSuppressedFeatures = {"*InputSlot"};
  const std::string payload = "%%EndSetup\n} stopped cleartomark\n";
  const std::string document =
      "%!PS\n%%BeginSetup\n[{\n%%BeginFeature: *InputSlot Upper\n[{\n/inner 1 def\n} stopped "
      "cleartomark\n"
      "%%BeginBinary: " +
      std::to_string(payload.size()) + "\n" + payload +
      "%%EndBinary\n"
      "%%BeginDocument: a.eps\n%%EndSetup\n%%Page: 1 1\n%%EndDocument\n"
      "%%EndFeature\n} stopped cleartomark\n/kept 1 def\n%%EndSetup\n%%Page: 1 1\nshowpage\n";
  EXPECT_EQ(Merge(document, injections).job,
            "%!PS\n%%BeginSetup\n/kept 1 def\n/w 1 def\n%%EndSetup\n%%Page: 1 1\nshowpage\n");
}

// When the extension writes a page size itself, the document's page size and
// page region go as the features on its list do; otherwise they stay.
TEST(PostScriptMerger, TheDocumentsPageSizeGoesOnlyWhenTheExtensionWritesOne) {
  const std::string pageSize =
      "[{\n%%BeginFeature: *PageSize Letter\n<</PageSize [612 792]>> setpagedevice\n%%EndFeature\n"
      "} stopped cleartomark\n";
  const std::string pageRegion =
      "[{\n%%BeginFeature: *PageRegion Letter\n<</PageSize [612 792]>> "
      "setpagedevice\n%%EndFeature\n"
      "} stopped cleartomark\n";
  const std::string other =
      "[{\n%%BeginFeature: *PageSizeX Big\n%%EndFeature\n} stopped cleartomark\n";
  const std::string document = "%!PS\n%%EndComments\n%%BeginSetup\n" + pageSize + pageRegion +
                               other +
                               "%%IncludeFeature: *PageSize Legal\n%%EndSetup\n%%Page: 1 1\n"
                               "%%BeginPageSetup\n" +
                               pageSize + "%%EndPageSetup\nshowpage\n";
  const std::string a4 =
      "%%BeginFeature: *PageSize A4\n<</PageSize [595 842]>> setpagedevice\n%%EndFeature\n";
  JobInjections injections = SetupBlocks({"%%BeginFeature: *ZPDuplex Top\n%%EndFeature\n", a4});
  injections.mSuppressedFeatures = {"*ZPDuplex"};
  Merged merged = Merge(document, injections);
  ASSERT_EQ(merged.result, PostScriptMerger::kMerged);
  EXPECT_EQ(merged.job,
            "%!PS\n%%EndComments\n%%BeginSetup\n" + other +
                "[{\n%%BeginFeature: *ZPDuplex Top\n%%EndFeature\n} stopped cleartomark\n[{\n" +
                a4 +
                "} stopped cleartomark\n%%EndSetup\n%%Page: 1 "
                "1\n%%BeginPageSetup\n%%EndPageSetup\nshowpage\n");

  // A page size on any line of a block counts; a page region or another
  // keyword alone does not, and the document's stay.
  merged = Merge(document, SetupBlocks({"/w 1 def\r\n" + a4}));
  EXPECT_EQ(Occurrences(merged.job, "%%BeginFeature: *PageSize "), 1u);
  EXPECT_EQ(Occurrences(merged.job, "*PageRegion"), 0u);
  for (const char* block : {"%%BeginFeature: *PageRegion A4\n%%EndFeature\n",
                            "%%BeginFeature: *PageSizeX A4\n%%EndFeature\n"}) {
    std::string kept = document;
    kept.insert(kept.find("%%EndSetup"), "[{\n" + std::string(block) + "} stopped cleartomark\n");
    EXPECT_EQ(Merge(document, SetupBlocks({block})).job, kept) << block;
  }
}
