// The blocks of a job reach the document where the print system puts them,
// and everything else of the document comes through byte for byte.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "print/PostScriptMerger.h"
#include "support/FileText.h"
#include "support/TempFile.h"

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
  EXPECT_EQ(merged.job, "%!PS\n%%Title: t\n%%Orientation: Landscape\n%%MacCoreNUp: 2\n%%JobNote: x\n");
}

TEST(PostScriptMerger, SetupBlocksGoAfterTheDocumentsSetupCodeFeaturesWrapped) {
  Merged merged = Merge(kDocument, SetupBlocks({"%%BeginFeature: *A B\ncode\n%%EndFeature", "/w 1 def\n"}));
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
  std::string document =
      "%!PS\r\n%%Title: old " + longLine + "\r\n%%EndComments\r\n%%BeginSetup\r\n" +
      "%%BeginFeature: *Duplex None\r\n" + longLine + "\r\n%%EndFeature\r\n" + longLine +
      "\r\n%%EndSetup\r\nshowpage\r\n";
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

TEST(PostScriptMerger, InputThatIsNoPostScriptWritesNothing) {
  for (const char* document : {"", "%", "PS\n%!", "\n%!PS\n"}) {
    Merged merged = Merge(document, SetupBlocks({"/w 1 def"}));
    EXPECT_EQ(merged.result, PostScriptMerger::kNotPostScript) << document;
    EXPECT_EQ(merged.job, "");
  }
}
