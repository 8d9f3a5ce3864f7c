#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>

#include "support/TempFile.h"
#include "support/ToolRun.h"

namespace {

void Erase(std::string& text, const std::string& part) {
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part))
    text.erase(at, part.size());
}

// What a blob does not keep: the parse errors and the custom size control.
std::string Kept(std::string json) {
  json.erase(json.find(",\"errors\":["));
  size_t size = json.find(",{\"kind\":\"customPageSize\"");
  if (size != std::string::npos) json.erase(size, json.find('}', size) + 1 - size);
  Erase(json, ",\"*CustomPrintSize\"");
  Erase(json, "\"*CustomPrintSize\",");
  return json;
}

const std::string kSample = "'" + std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd'";

}  // namespace

TEST(ZpxPpdDocumentTest, OptionsMarkCurrentAndConstrainedChoices) {
  ToolRun plain = Tool("options " + kSample);
  EXPECT_EQ(plain.status, 0);
  EXPECT_TRUE(Has(plain.output, "\n*PageSize/Page Size: *Letter Legal Tabloid A4 A3\n"))
      << plain.output;
  EXPECT_TRUE(Has(plain.output, "\n*ZPCopies/Copies: 1 (1..9999 step 1)\n")) << plain.output;
  EXPECT_TRUE(Has(plain.output, "\n*ZPNote/Instructions: \"none\" (0..127 characters, flags 0x"))
      << plain.output;
  EXPECT_FALSE(Has(plain.output, "*ZPServerLanguage")) << plain.output;

  ToolRun duplex = Tool("options " + kSample + " -o ZPDuplex=Top -o '*PageSize=A4'");
  EXPECT_EQ(duplex.status, 0);
  EXPECT_TRUE(Has(duplex.output, " *A4 ")) << duplex.output;
  EXPECT_TRUE(Has(duplex.output, " !Transparency ")) << duplex.output;
  EXPECT_FALSE(Has(plain.output, "!Transparency")) << plain.output;
}

TEST(ZpxPpdDocumentTest, EmitCarriesTheGivenValuesAndRefusesUnknownOnes) {
  ToolRun run = Tool("emit " + kSample + " -o PageSize=A4 -o ZPCopies=3 -o ZPNote=Rush");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *PageSize A4\n<</PageSize [595 842]")) << run.output;
  EXPECT_TRUE(Has(run.output, "<</NumCopies 3 >> setpagedevice")) << run.output;
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPNote Rush\n")) << run.output;
  EXPECT_LT(run.output.find("*PageSize A4"), run.output.find("NumCopies"));

  EXPECT_EQ(Tool("emit " + kSample + " -o ZPNoSuchOption=1").status, 1);
  EXPECT_EQ(Tool("emit " + kSample + " -o PageSize=B9").status, 1);
  EXPECT_EQ(Tool("emit " + kSample + " -o ZPCopies=0").status, 1);
  EXPECT_EQ(Tool("emit " + kSample + " -o PageSize").status, 1);
  EXPECT_EQ(Tool("emit").status, 2);
}

// The constraints hold under the final choices, whatever their order; a
// refusal names the other side, a range its bounds.
TEST(ZpxPpdDocumentTest, ARefusedChoiceIsNamedWithWhatForbidsIt) {
  const std::pair<std::string, std::string> refusals[] = {
      {"emit " + kSample + " -o ZPStapler=TopLeft",
       "*ZPStapler TopLeft conflicts with *ZPOptionalFinisher None"},
      {"options " + kSample + " -o ZPDuplex=Top -o ZPMediaType=Transparency",
       "*ZPDuplex Top conflicts with *ZPMediaType Transparency"},
      {"emit " + kSample + " -o ZPScale=24", "*ZPScale takes 25 to 400"},
      {"options " + kSample + " -o ZPBookletGap=-0.5", "*ZPBookletGap takes 0 to 20"}};
  for (const auto& [arguments, message] : refusals) {
    ToolRun run = Tool(arguments, ToolErrors::kMerged);
    EXPECT_EQ(run.status, 1) << arguments;
    EXPECT_EQ(run.output, "zpx-ppd: " + message + "\n");
  }
  ToolRun installed =
      Tool("emit " + kSample + " -o ZPStapler=TopLeft -o ZPOptionalFinisher=Stapler");
  EXPECT_EQ(installed.status, 0);
  EXPECT_TRUE(Has(installed.output, "%%BeginFeature: *ZPStapler TopLeft\n")) << installed.output;
}

TEST(ZpxPpdDocumentTest, HelpExplainsTheCommandsAndTheMarksOfOptions) {
  for (const char* asking : {"--help", "help"}) {
    ToolRun help = Tool(asking, ToolErrors::kMerged);
    EXPECT_EQ(help.status, 0) << asking;
    EXPECT_EQ(help.output.rfind("usage: zpx-ppd COMMAND", 0), 0u) << help.output;
    EXPECT_EQ(help.output, Tool(asking).output) << "standard error is not used";
    for (const char* part :
         {"\nzpx-ppd options [--keys] FILE|--printer QUEUE [-o KEY=VALUE ...]\n",
          "\"*\" marking the current one", "\"!\"\n    one the constraints forbid now",
          "\nzpx-ppd load BLOB [PPD]\n"})
      EXPECT_TRUE(Has(help.output, part)) << part;
  }
  // A PPD without the maker's keywords places no option where the dialog looks.
  TempFile plain(
      "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
      "*OpenUI *PageSize/Page Size: PickOne\n*DefaultPageSize: Letter\n"
      "*PageSize Letter/Letter: \"<</PageSize [612 792]>> setpagedevice\"\n*CloseUI: *PageSize\n");
  ToolRun none = Tool("options '" + std::string(plain.Path()) + "'", ToolErrors::kMerged);
  EXPECT_EQ(none.status, 0);
  EXPECT_EQ(none.output, "no options the extension shows\n");
}

TEST(ZpxPpdDocumentTest, LoadedBlobDumpsAsTheParsedDocument) {
  TempFile blob("", "sample.blob");
  EXPECT_EQ(Tool("save " + kSample + " '" + blob.Path() + "'").status, 0);
  ToolRun parsed = Tool("dump --json " + kSample);
  // File locations do not outlive the process that made them: the PPD is
  // named again.
  ToolRun loaded = Tool("load '" + std::string(blob.Path()) + "' " + kSample);
  EXPECT_EQ(loaded.status, 0);
  EXPECT_EQ(Kept(parsed.output), Kept(loaded.output));

  TempFile notABlob("*PPD-Adobe: \"4.3\"\n", "other.blob");
  EXPECT_EQ(Tool("load '" + std::string(notABlob.Path()) + "'").status, 1);
  EXPECT_EQ(Tool("load /nonexistent/blob").status, 1);
}

// One line that names the option and the rule, never the value: a note may be
// a PIN.
TEST(ZpxPpdDocumentTest, ANoteTextItsFlagsRefuseIsAUsageErrorNamingTheRule) {
  // A line end would close the feature frame and run the rest as PostScript.
  ToolRun injected = Tool("emit " + kSample + " -o 'ZPNote=hi\n%%EndFeature\nerasepage showpage'",
                          ToolErrors::kMerged);
  EXPECT_EQ(injected.status, 2);
  EXPECT_EQ(injected.output, "zpx-ppd: *ZPNote takes no control characters\n");
  ToolRun letters = Tool("emit " + kSample + " -o ZPCostCenter=abc", ToolErrors::kMerged);
  EXPECT_EQ(letters.status, 2);
  EXPECT_EQ(letters.output,
            "zpx-ppd: *ZPCostCenter takes digits, decimal points and hyphens only\n");
  ToolRun pin = Tool("emit " + kSample + " -o ZPSecurePIN=987", ToolErrors::kMerged);
  EXPECT_EQ(pin.status, 2);
  EXPECT_EQ(pin.output, "zpx-ppd: *ZPSecurePIN needs 4 to 8 digits\n");
  ToolRun tooLong =
      Tool("emit " + kSample + " -o ZPNote=" + std::string(128, 'x'), ToolErrors::kMerged);
  EXPECT_EQ(tooLong.status, 2);
  EXPECT_EQ(tooLong.output, "zpx-ppd: *ZPNote takes at most 127 letters, digits and spaces\n");
  EXPECT_EQ(Tool("options " + kSample + " -o ZPNote=" + std::string(127, 'x')).status, 0);
  ToolRun accepted = Tool("emit " + kSample + " -o ZPCostCenter=-12.50 -o ZPMailboxNum=1,2,3");
  EXPECT_EQ(accepted.status, 0);
  EXPECT_TRUE(Has(accepted.output, "%%BeginFeature: *ZPCostCenter -12.50\n")) << accepted.output;
  EXPECT_TRUE(Has(accepted.output, "%%BeginFeature: *ZPMailboxNum 1-3\n")) << accepted.output;
}

TEST(ZpxPpdDocumentTest, OptionsNeverPassControlCharactersToTheTerminal) {
  TempFile file(kRollDownHead +
                "*%ZPXFlags *ZPTray: Setup\n*%ZPXGroup *ZPTray Roll/Tray\n"
                "*OpenUI *ZPTray/\x1B]0;owned\x07Tray: PickOne\n*DefaultZPTray: A\x1B[2J\n"
                "*ZPTray A\x1B[2J/A: \"\"\n*CloseUI: *ZPTray\n");
  ToolRun run = Tool("options '" + std::string(file.Path()) + "'");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output.find('\x1B'), std::string::npos) << run.output;
  EXPECT_TRUE(Has(run.output, "*ZPTray/\\x1b]0;owned\\x07Tray: *A\\x1b[2J\n")) << run.output;
}
