#include <gtest/gtest.h>

#include <string>

#include "support/CupsQueuePPD.h"
#include "support/GeneratedPPD.h"
#include "support/ToolRun.h"

namespace {

const std::string kSample = "'" + std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd'";

// The lines of one option's block, from its *OpenUI to its *ParamCustom line.
std::string CustomBlock(const std::string& ppd, const std::string& key) {
  const size_t open = ppd.find("*OpenUI *" + key + "/");
  const size_t parameter = ppd.find("*ParamCustom" + key + " ", open);
  if (open == std::string::npos || parameter == std::string::npos) return "";
  return ppd.substr(open, ppd.find('\n', parameter) + 1 - open);
}

}  // namespace

TEST(ZpxPpdCupsTest, EveryQueuePPDPassesThePrintServersCheck) {
  generatedppd::Files files;
  for (const std::string& arguments :
       {kSample, kSample + " -o ZPOptionalFinisher=Booklet",
        kSample + " -o ZPOptionalFinisher=Stapler", "'" + files.Path(2) + "'"}) {
    CupsQueuePPD queue(arguments);
    ASSERT_EQ(queue.Status(), 0) << arguments;
    CommandRun check = queue.ServerCheck();
    EXPECT_EQ(check.status, 0) << arguments << "\n" << check.output << check.errors;
    EXPECT_TRUE(Has(queue.Text(), "*% made by zpx-ppd " ZPX_VERSION " from ")) << arguments;
  }
}

TEST(ZpxPpdCupsTest, RangesAndJobNotesTakeCustomValuesAndSecretsStayOut) {
  CupsQueuePPD queue(kSample +
                     " -o ZPSecurePIN=97531 -o ZPUserAuthPwd=Hidden-Word7 -o ZPScale=150");
  ASSERT_EQ(queue.Status(), 0);
  const std::string& ppd = queue.Text();
  EXPECT_EQ(CustomBlock(ppd, "ZPScale"),
            "*OpenUI *ZPScale/Scale (%): PickOne\n*DefaultZPScale: 150\n"
            "*ZPScale 150/150: \"<</ZPXScale 150 >> setpagedevice\"\n*CloseUI: *ZPScale\n"
            "*CustomZPScale True/Custom: \"/ZPXCustomValue exch def\n"
            "<</ZPXScale ZPXCustomValue >> setpagedevice\"\n*End\n"
            "*ParamCustomZPScale Value/Scale (%): 1 int 25 400\n");
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPBookletGap"), ": 1 real 0 20\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPSecurePIN"), "*DefaultZPSecurePIN: None\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPSecurePIN"), ": 1 passcode 4 8\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "DeptPassword"), ": 1 passcode 4 8\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPUserAuthPwd"), ": 1 password 0 32\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPMailboxNum"), ": 1 string 1 32\n"));
  EXPECT_TRUE(Has(CustomBlock(ppd, "Notes1"), "*DefaultNotes1: Proof\n*Notes1 None/None: \"\"\n"));
  // The account's default, encrypted with the job, is a secret too.
  EXPECT_TRUE(Has(CustomBlock(ppd, "ZPAccount"), "*DefaultZPAccount: None\n"));
  EXPECT_FALSE(Has(CustomBlock(ppd, "ZPAccount"), "0000"));
  EXPECT_FALSE(Has(ppd, "97531"));
  EXPECT_FALSE(Has(ppd, "Hidden-Word7"));
  // The service page's notes stay hidden, as the dialog keeps them.
  EXPECT_FALSE(Has(ppd, "*OpenUI *ZPRoutixJobId/"));
}

TEST(ZpxPpdCupsTest, InstalledEquipmentIsTheDefaultOfItsGroup) {
  CupsQueuePPD queue(kSample + " -o ZPOptionalFinisher=Booklet");
  ASSERT_EQ(queue.Status(), 0);
  const std::string& ppd = queue.Text();
  const size_t group = ppd.find("*OpenGroup: InstallableOptions/Installable Options\n");
  const size_t option = ppd.find("*OpenUI *ZPOptionalFinisher/Finisher: PickOne\n");
  ASSERT_NE(group, std::string::npos);
  EXPECT_LT(group, option);
  EXPECT_LT(option, ppd.find("*CloseGroup: InstallableOptions\n"));
  EXPECT_TRUE(Has(ppd, "*DefaultZPOptionalFinisher: Booklet\n"));
  EXPECT_TRUE(Has(ppd, "*OpenGroup: FPStapling/Stapling and Booklets\n*%ZPXFlags *ZPStapler:"));

  ToolRun refused = Tool("cups " + kSample + " -o ZPStapler=TopLeft", ToolErrors::kMerged);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.output,
            "zpx-ppd: *ZPStapler TopLeft conflicts with *ZPOptionalFinisher None\n");
  EXPECT_EQ(Tool("cups " + kSample + " -o ZPSecurePIN=12").status, 2);
  EXPECT_EQ(Tool("cups /nonexistent.ppd").status, 1);
  EXPECT_EQ(Tool("cups").status, 2);
}

// The server's filter runs the extension on the queue's PPD: it must read the
// same option model from it as from the maker's.
TEST(ZpxPpdCupsTest, TheExtensionReadsTheQueuePPDAsTheMakersPPD) {
  generatedppd::Files files;
  for (const std::string& maker : {kSample, "'" + files.Path(1) + "'"}) {
    CupsQueuePPD queue(maker);
    ASSERT_EQ(queue.Status(), 0);
    std::string original = Tool("dump --json " + maker).output;
    std::string read = Tool("dump --json '" + queue.Path() + "'").output;
    original.erase(0, original.find(",\"valid\""));
    read.erase(0, read.find(",\"valid\""));
    EXPECT_EQ(read, original) << maker;
  }
}
