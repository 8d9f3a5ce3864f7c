// The dialog's data object: the keyword tables, the basic panel's choice,
// the settings kept in the ticket, the preferences, and the edges of the
// job-level PostScript.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "output/PDEDataJob.h"
#include "output/PDEKeywordTables.h"
#include "support/FileText.h"

namespace {

class PDEDataTest : public JobNoteGlobalsTest {};

PPDXControl* Control(ZPXPPD& document, const char* keyword) {
  CNTL_TYPE type = CNTL_NONE;
  return document.GetControls()->Find(keyword, type, true);
}

}  // namespace

TEST(PDEKeywordTablesTest, BidirectionalExpertAndSpecialColourKeywords) {
  EXPECT_FALSE(isBidiKeyword("Bidi"));
  EXPECT_TRUE(isBidiKeyword("XBidi"));
  EXPECT_TRUE(isBidiKeyword("*ZPOutProfileBidi"));
  EXPECT_FALSE(isBidiKeyword("*ZPBidiTray"));
  EXPECT_FALSE(isBidiKeyword("*ZPTraybidi"));
  EXPECT_FALSE(isBidiKeyword(nullptr));

  EXPECT_TRUE(isExpertTintoraControl("*ZPOutProfile"));
  EXPECT_TRUE(isExpertTintoraControl("*ZPPaperSim"));
  EXPECT_FALSE(isExpertTintoraControl("*ZPOutProfileBidi"));
  EXPECT_FALSE(isExpertTintoraControl("ZPOutProfile"));

  EXPECT_TRUE(isSpecialTintoraControl("*ZPOutProfileBidi"));
  EXPECT_TRUE(isSpecialTintoraControl("*ZPRGBOverride"));
  EXPECT_TRUE(isSpecialTintoraControl("x*ZPSimulationy"));
  EXPECT_FALSE(isSpecialTintoraControl("*ZPSimSpeed"));
  EXPECT_FALSE(isSpecialTintoraControl(nullptr));
}

TEST_F(PDEDataTest, BasicPanelLeavesOutBidiExpertHiddenAndExcludedControls) {
  PDEDataJob job("en", "");
  const std::string head =
      "*PPD-Adobe: \"4.3\"\n*%ZPXPropPage FPPage/Page: True\n"
      "*%ZPXGroupName Pane/Pane: True\n*%ZPXGroupName ZPPPInstallableOptions/Installed: True\n"
      "*%ZPXGroupName Opts/Opts: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
      "*%ZPXParent Opts/Pane: True|Rolldown\n*%ZPXParent ZPPPInstallableOptions/Pane: "
      "True|Rolldown\n";
  auto popup = [](const char* name, const char* group, const char* flags) {
    return std::string("*%ZPXFlags *") + name + ": " + flags + "\n*%ZPXGroup *" + name + " " +
           group + "/" + name + "\n*OpenUI *" + name + "/" + name + ": PickOne\n*Default" + name +
           ": A\n*" + name + " A/A: \"a\"\n*CloseUI: *" + name + "\n";
  };
  std::unique_ptr<ZPXPPD> document =
      ParseText(head + popup("ZPTray", "Opts", "Setup") + popup("ZPTrayBidi", "Opts", "Setup") +
                popup("ZPSimSpeed", "Opts", "Setup") + popup("ZPNUpOption", "Opts", "Setup") +
                popup("ZPHidden", "Opts", "Setup|NoNimboDriverUI") +
                popup("ZPFinisher", "ZPPPInstallableOptions", "Setup"));
  PDEData data(job.Session(), document.get(), nullptr);
  EXPECT_FALSE(data.IsValidBasicPanelControl(nullptr));
  ASSERT_NE(Control(*document, "*ZPTray"), nullptr);
  EXPECT_TRUE(data.IsValidBasicPanelControl(Control(*document, "*ZPTray")));
  for (const char* hidden :
       {"*ZPTrayBidi", "*ZPSimSpeed", "*ZPNUpOption", "*ZPHidden", "*ZPFinisher"}) {
    ASSERT_NE(Control(*document, hidden), nullptr) << hidden;
    EXPECT_FALSE(data.IsValidBasicPanelControl(Control(*document, hidden))) << hidden;
  }
}

TEST_F(PDEDataTest, ConstructionTurnsTheRotationOffAndNeedsAPrinter) {
  PDEDataJob job;
  job.SetOrientation(2);
  PDEData& data = job.Data();
  EXPECT_TRUE(data.IsComplete());
  EXPECT_EQ(2, data.PageOrientation());
  EXPECT_EQ("False", Value(job.Document(), "*ZPOrientation"));
  EXPECT_EQ(ZPX_BUNDLE "/samples/ZPX-Sample.ppd", data.PPDPath());
  EXPECT_EQ(PDEData::kNoWatermark, data.SelectedWatermark());
  EXPECT_EQ(L"*ZPPCMID", data.BidiKeyword(3));
  EXPECT_EQ(L"-1", data.BidiValue(3));

  PMPrintSession bare = nullptr;
  PMCreateSession(&bare);
  PDEData printerless(bare, &job.Document(), nullptr);
  EXPECT_FALSE(printerless.IsComplete());
  EXPECT_FALSE(printerless.GetIPAddressEnabled());
  EXPECT_FALSE(printerless.SaveWatermarksToPreferences());
  EXPECT_FALSE(printerless.GetWatermarksFromPreferences());
  PMRelease(bare);
}

TEST_F(PDEDataTest, MMPairsAndTheWatermarkChoiceRoundTripThroughTheTicket) {
  PDEDataJob job;
  PDEData& data = job.Data();
  ASSERT_TRUE(data.AddMMPair(L"*ZPMMInsType", L"Tab"));
  ASSERT_TRUE(data.AddMMPair(L"*ZPMMCover", L"Gl\u20ACss"));
  data.SelectWatermark(3);
  PrintSettingsTicket settings(job.Session());
  EXPECT_EQ(-1, data.SaveNonPSSettings(&settings, nullptr));
  EXPECT_EQ(-1, data.SaveNonPSSettings(nullptr, CFSTR("client")));
  EXPECT_EQ(noErr, data.SaveNonPSSettings(&settings, CFSTR("client")));

  PDEData restored(job.Session(), &job.Document(), nullptr);
  EXPECT_EQ(-1, restored.RestoreNonPSSettings(nullptr));
  EXPECT_EQ(noErr, restored.RestoreNonPSSettings(&settings));
  EXPECT_EQ(3, restored.SelectedWatermark());
  ASSERT_EQ(2, restored.MMCount());
  EXPECT_EQ(L"*ZPMMInsType", restored.MMKeyword(0));
  EXPECT_EQ(L"Tab", restored.MMValue(0));
  EXPECT_EQ(L"*ZPMMCover", restored.MMKeyword(1));
  EXPECT_EQ(L"Gl\u20ACss", restored.MMValue(1));

  // The items as another reader sees them.
  CFStringRef text = nullptr;
  ASSERT_EQ(noErr, settings.Get(CFSTR("MMValue1"), text));
  EXPECT_EQ("Gl\xE2\x82\xACss", TakeText(CFStringCreateCopy(nullptr, text)));

  // A count beyond the list is limited to it; missing items stay unset.
  settings.Set(CFSTR("client"), CFSTR(".MMKey"), 400L, false);
  settings.Release(CFSTR(".SelectedWatermarkKey"));
  EXPECT_EQ(noErr, restored.RestoreNonPSSettings(&settings));
  EXPECT_EQ(PDEData::kMaxMMPairs, restored.MMCount());
  EXPECT_EQ(PDEData::kNoWatermark, restored.SelectedWatermark());
  EXPECT_EQ(L"", restored.MMKeyword(2));
  EXPECT_EQ(L"Tab", restored.MMValue(0));
}

TEST_F(PDEDataTest, SummaryLineAndCopies) {
  PDEDataJob job;
  CFRef<CFMutableStringRef> title(CFStringCreateMutableCopy(nullptr, 0, CFSTR("Watermark: ")));
  CFRef<CFMutableStringRef> summary(CFStringCreateMutableCopy(nullptr, 0, CFSTR("")));
  bool filled = false;
  EXPECT_EQ(noErr, job.Data().GetSummaryLine(title.get(), summary.get(), filled));
  EXPECT_TRUE(filled);
  EXPECT_EQ("Watermark: not set", TakeText(CFStringCreateCopy(nullptr, title.get())));
  EXPECT_EQ("not set", TakeText(CFStringCreateCopy(nullptr, summary.get())));

  EXPECT_EQ(0, job.Data().GetNumCopiesFromOS());
  job.Data().Set1CopiesToOS();
  EXPECT_EQ(1, job.Data().GetNumCopiesFromOS());
}

TEST_F(PDEDataTest, AnInvalidJobTicketGetsNothing) {
  PDEDataJob job;
  PrintSettingsTicket settings(job.Session());
  ZPXJobTicket keyless(&settings, nullptr);
  EXPECT_EQ(paramErr, job.Data().OutPostscriptData(&keyless));
  EXPECT_EQ(0, keyless.Count());
  EXPECT_EQ(paramErr, job.Data().OutPostscriptData(nullptr));
}

TEST_F(PDEDataTest, TwoWayPairsOfMinusOneWriteNeitherPairNorSize) {
  PDEDataJob job;
  job.EnableTwoWay();
  ASSERT_TRUE(job.Data().GetIPAddressEnabled());
  job.Data().SetBidiPair(1, L"ZPPCTray", L"-1");
  const std::vector<JobBlock> blocks = job.Output();
  EXPECT_FALSE(BlocksMention(blocks, "ZPPCPPDSize"));
  EXPECT_FALSE(BlocksMention(blocks, "ZPPCMID"));
  EXPECT_FALSE(BlocksMention(blocks, "ZPPCTray"));
  // The dynamic option still takes the printer's value.
  EXPECT_TRUE(BlocksMention(blocks, "XJXsetDynamicOption"));

  // A pair not of -1 brings the size block.
  job.Data().SetBidiPair(1, L"ZPPCTray", L"-10");
  const std::vector<JobBlock> sized = job.Output();
  EXPECT_TRUE(BlocksMention(sized, "%%BeginFeature: *ZPPCTray -10\n%%EndFeature\n"));
  EXPECT_TRUE(BlocksMention(sized, "%%BeginFeature: *ZPPCPPDSize Letter\n%%EndFeature\n"));

  // Off again: no pairs and the plain profile code.
  job.Data().SetIPAddressEnabled(false);
  const std::vector<JobBlock> off = job.Output();
  EXPECT_FALSE(BlocksMention(off, "ZPPCTray"));
  EXPECT_FALSE(BlocksMention(off, "XJXsetDynamicOption"));
  EXPECT_TRUE(BlocksMention(off, "%%BeginFeature: *ZPOutProfile Standard\n"));
}

TEST_F(PDEDataTest, JapanesePairsGoInMacJapanese) {
  PDEDataJob job("ja");
  job.EnableTwoWay();
  job.Data().SetBidiPair(0, L"ZPPCMedia", L"12 \u65E5\u672C");
  EXPECT_TRUE(BlocksMention(job.Output(),
                            "%%BeginFeature: *ZPPCMedia 12 \x93\xFA\x96\x7B\n%%EndFeature\n"));
}

TEST_F(PDEDataTest, ProfileValuesWithoutTheMarkPrefixStayAsTheyAre) {
  PDEDataJob job("en", "");
  std::unique_ptr<ZPXPPD> document = ParseText(
      "*PPD-Adobe: \"4.3\"\n*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
      "*%ZPXGroupName Opts/Opts: True\n*%ZPXParent Pane/FPPage: True|Scrollpane\n"
      "*%ZPXParent Opts/Pane: True|Rolldown\n"
      "*%ZPXFlags *ZPRGBOverride: Setup\n*%ZPXGroup *ZPRGBOverride Opts/RGB\n"
      "*OpenUI *ZPRGBOverride/RGB: PickOne\n*DefaultZPRGBOverride: A\n*ZPRGBOverride A/A: \"a\"\n"
      "*CloseUI: *ZPRGBOverride\n"
      "*%ZPXFlags *ZPRGBOverrideBidi: Setup\n*%ZPXGroup *ZPRGBOverrideBidi Opts/sRGB EFBBBF\n"
      "*OpenUI *ZPRGBOverrideBidi/sRGB EFBBBF: PickOne\n*DefaultZPRGBOverrideBidi: A\n"
      "*ZPRGBOverrideBidi A/A: \"\"\n*CloseUI: *ZPRGBOverrideBidi\n");
  PDEData data(job.Session(), document.get(), nullptr);
  data.SetMelvanePrinterAddress(nullptr, CString("10.0.0.9"), true);
  PrintSettingsTicket settings(job.Session());
  ZPXJobTicket jobTicket(&settings, CFSTR("ZPX.PSData.test"));
  ASSERT_EQ(noErr, data.OutPostscriptData(&jobTicket));
  const std::string expected =
      "%%BeginFeature: *ZPRGBOverride sRGB EFBBBF\n /XJXsetDynamicOption where\n"
      "        { pop (*ZPRGBOverride) (sRGB EFBBBF) XJXsetDynamicOption } if\n%%EndFeature\n";
  EXPECT_TRUE(BlocksMention(JobTicketBlocks(jobTicket), expected));
}

TEST_F(PDEDataTest, FileDestinationNeverReplacesWhatStandsAtThePath) {
  PDEDataJob job;
  const std::string folder = job.Folder().Path();
  job.Set("*ZPDestination", "File");

  // A new file: empty, 0666 less the umask.
  const mode_t saved = umask(027);
  job.Set("*ZPMailboxName", folder + "/new.ps");
  std::vector<JobBlock> blocks = job.Output();
  umask(saved);
  struct stat made {};
  ASSERT_EQ(0, stat((folder + "/new.ps").c_str(), &made));
  EXPECT_EQ(0640u, made.st_mode & 0777);
  EXPECT_EQ(0, made.st_size);
  EXPECT_EQ(std::vector<std::string>{folder + "/new.ps"}, BlocksAt(blocks, 900));

  // An existing file keeps its bytes; a link is not followed. The path still
  // goes to the job: the print system says why it cannot write the copy there.
  const std::string kept = job.Folder().Write("kept.ps", "earlier job");
  job.Set("*ZPMailboxName", kept);
  blocks = job.Output();
  EXPECT_EQ("earlier job", FileText(kept));
  EXPECT_EQ(std::vector<std::string>{kept}, BlocksAt(blocks, 900));

  const std::string link = folder + "/link.ps";
  ASSERT_EQ(0, symlink((folder + "/target.ps").c_str(), link.c_str()));
  job.Set("*ZPMailboxName", link);
  blocks = job.Output();
  EXPECT_FALSE(std::filesystem::exists(folder + "/target.ps"));
  EXPECT_EQ(std::vector<std::string>{link}, BlocksAt(blocks, 900));

  // Not a file destination: nothing at 900 and no file.
  job.Set("*ZPDestination", "Printer");
  job.Set("*ZPMailboxName", folder + "/unused.ps");
  EXPECT_TRUE(BlocksAt(job.Output(), 900).empty());
  EXPECT_FALSE(std::filesystem::exists(folder + "/unused.ps"));
}

// The maker's path note takes letters and digits by its flags, which only
// describe the field: its default, slashes and all, is where the job goes.
TEST_F(PDEDataTest, APathDefaultItsFlagsDoNotDescribeIsTheFileDestination) {
  TempFolder folder;
  const std::string target = folder.Path() + "/out.ps";
  std::string ppd = FileText(ZPX_FIXTURES "/ppd/job-note-defaults.ppd");
  const std::string given = "/var/spool/zpx/job.ps";
  ppd.replace(ppd.find(given), given.size(), target);
  PDEDataJob job("en", folder.Write("job-note-defaults.ppd", ppd));
  EXPECT_EQ(std::vector<std::string>{target}, BlocksAt(job.Output(), 900));
  EXPECT_TRUE(std::filesystem::exists(target));
}

TEST_F(PDEDataTest, WatermarksAndShortcutsInThePrinterPreferences) {
  {
    PDEDataJob job;
    PDEData& data = job.Data();
    EXPECT_FALSE(data.SaveWatermarksToPreferences());  // none yet
    job.EnableTwoWay();                                // the printer's record
    data.AddWatermark("1,2,3,4,5,6,1,8,450,10,11,36,Times,ONE");
    data.AddWatermark("0,0,0,0,0,0,0,0,0,0,0,12,Courier,Gl\xE2\x82\xACss");
    EXPECT_TRUE(data.SaveWatermarksToPreferences());
    EXPECT_TRUE(
        data.SetPPDShortcuts({"*PageSize", "*ZPNoSuchOption", "*ZPOutProfileBidi", "*ZPDuplex"}));

    // A fresh object reads the same file.
    PDEData again(job.Session(), &job.Document(), nullptr);
    again.AddWatermark("9,9,9,9,9,9,9,9,9,9,9,9,Old,OLD");
    EXPECT_TRUE(again.GetWatermarksFromPreferences());
    ASSERT_EQ(2, again.WatermarkCount());
    EXPECT_EQ("ONE", again.Watermark(0)->Text());
    EXPECT_TRUE(again.Watermark(0)->FirstPageOnly());
    EXPECT_EQ("Gl\xE2\x82\xACss", again.Watermark(1)->Text());
    std::vector<std::string> shortcuts;
    EXPECT_TRUE(again.GetPPDShortcuts(shortcuts));
    EXPECT_EQ((std::vector<std::string>{"*PageSize", "*ZPDuplex"}), shortcuts);
  }
  {
    // Nothing stored for the printer: the watermarks stay.
    PDEDataJob job;
    PDEData& data = job.Data();
    data.AddWatermark("0,0,0,0,0,0,0,0,0,0,0,12,Courier,KEEP");
    EXPECT_TRUE(data.GetWatermarksFromPreferences());
    ASSERT_EQ(1, data.WatermarkCount());
    EXPECT_EQ("KEEP", data.Watermark(0)->Text());
  }
}

TEST_F(PDEDataTest, PrinterAddressesInThePreferencesStore) {
  PDEDataJob job;
  PDEData& data = job.Data();
  CFRef<CFStringRef> printer(CreateText(PDEDataJob::kPrinter));
  EXPECT_EQ("", TextOf(data.GetMelvanePrinterAddress(printer.get())));
  data.SetMelvanePrinterAddress(nullptr, CString("10.0.0.9"), true);
  data.SetMelvanePrinterAddress(CFSTR("Other Queue"), CString("10.0.0.10"), false);
  bool twoWay = false;
  EXPECT_EQ("10.0.0.9", TextOf(data.GetMelvanePrinterAddress(printer.get(), &twoWay)));
  EXPECT_TRUE(twoWay);
  EXPECT_EQ("10.0.0.10", TextOf(data.GetMelvanePrinterAddress(CFSTR("Other Queue"), &twoWay)));
  EXPECT_FALSE(twoWay);

  // Saved at once: a store read again, and a new data object, see them.
  data.ResetMelvanePrinterList();
  EXPECT_EQ("10.0.0.10", TextOf(data.GetMelvanePrinterAddress(CFSTR("Other Queue"))));
  EXPECT_TRUE(data.GetIPAddressEnabled());
  data.SetIPAddressEnabled(false);
  PDEData again(job.Session(), &job.Document(), nullptr);
  EXPECT_EQ("10.0.0.9", TextOf(again.PrinterAddress()));
  EXPECT_FALSE(again.GetIPAddressEnabled());
  EXPECT_TRUE(again.SaveMelvanePrinterList());
}
