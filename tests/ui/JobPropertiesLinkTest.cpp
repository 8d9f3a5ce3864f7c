// The pane's job-properties link driven end to end against zpx-companion:
// the area made at construction, the exchange, the 0.01 s poll on the
// virtual clock and the close-down.

#include <sched.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXControl.h"
#include "output/PDEDataJob.h"
#include "output/WideText.h"
#include "plugin/BundleFunctions.h"
#include "plugin/SessionFunctions.h"
#include "print/PMTicket.h"
#include "support/CompanionRun.h"
#include "support/FileText.h"
#include "support/PaneJob.h"
#include "support/PlatformString.h"
#include "support/ToolkitFixture.h"
#include "toolkit/ToolkitControl.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_Panel.h"

namespace {

// Whether a segment of that identifier still exists.
bool SegmentExists(int id) {
  struct shmid_ds info;
  return shmctl(id, IPC_STAT, &info) == 0;
}

std::wstring WideOf(CFStringRef text) {
  const std::string utf8 = TakeText(text != nullptr ? CFStringCreateCopy(nullptr, text) : nullptr);
  return WideFromUTF8Replacing(utf8.data(), utf8.size());
}

SDMPairs DefaultPairs(UI_Panel& panel) {
  SDMKeyValueList* list = panel.GetDefaultSettings();
  const SDMPairs pairs = SharedMemoryList::PairsOf(*list);
  SharedMemoryList::FreeSDMList(list);
  return pairs;
}

std::wstring ValueIn(const SDMPairs& pairs, const std::wstring& key) {
  for (const auto& [k, v] : pairs)
    if (k == key) return v;
  return L"<none>";
}

class JobPropertiesLink : public ToolkitFixture {
 protected:
  // A panel whose companion plays `scenario`.
  std::unique_ptr<UI_Panel> NewPanel(const std::string& scenario,
                                     const std::string& program = CompanionProgram()) {
    UseCompanion(scenario, program);
    auto panel = mPane.NewPanel();
    EXPECT_TRUE(panel->IsValid());
    EXPECT_TRUE(CompanionListens(*panel));
    return panel;
  }
  void UseCompanion(const std::string& scenario, const std::string& program = CompanionProgram()) {
    mEnvironment.reset();  // it puts the environment back when it goes
    mEnvironment = std::make_unique<CompanionEnvironment>(mJob.Folder(), scenario);
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, program);
  }
  static bool CompanionListens(UI_Panel& panel) {
    return WaitFor(
        [&] { return CFRef<CFMessagePortRef>(RemotePort(panel.AreaId())).get() != nullptr; }, 10);
  }
  // Polls on the virtual clock, at most ten seconds of real time, until the
  // exchange has ended.
  bool ExchangeEnds(UI_Panel& panel) {
    return WaitFor(
        [&] {
          mDriver.AdvanceClock(UI_Panel::kPollInterval);
          return !panel.IsIgnoringButton();
        },
        10);
  }
  bool RunExchange(UI_Panel& panel) {
    return panel.LaunchJobProperties(UI_Panel::kJPMainView) && ExchangeEnds(panel);
  }

  PaneJob mPane;
  PDEDataJob& mJob = mPane.Job();
  std::unique_ptr<CompanionEnvironment> mEnvironment;
};

TEST_F(JobPropertiesLink, AppliesValuesWatermarksAndPairsTheCompanionWrites) {
  auto panel = NewPanel(
      "set ZPDuplex=Top\n"
      "set ZP_WATERMARK=2\n"
      "addmany 3 RangeProp=1-2\n"
      "watermark 1,1,0,0,0,,0,,450,,,48,Helvetica,DRAFT\n"
      "watermark 2,2,0,0,0,,1,,0,,,36,Times,COPY\n");
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "Top");
  ASSERT_EQ(mJob.Data().WatermarkCount(), 2);
  EXPECT_EQ(mJob.Data().SelectedWatermark(), 1);
  EXPECT_EQ(mJob.Data().Watermark(1)->Description(), "2,2,0,0,0,,1,,0,,,36,Times,COPY");
  ASSERT_EQ(mJob.Data().MMCount(), 3);
  EXPECT_EQ(mJob.Data().MMKeyword(0), L"RangeProp");
  EXPECT_EQ(mJob.Data().MMValue(2), L"1-2");
}

TEST_F(JobPropertiesLink, WatermarkNumbersAndMMPairsStayWithinTheModelsRoom) {
  const std::string marks =
      "watermark 1,1,0,0,0,,0,,450,,,48,Helvetica,DRAFT\n"
      "watermark 2,2,0,0,0,,1,,0,,,36,Times,COPY\n";
  auto panel = NewPanel("set ZP_WATERMARK=25\naddmany 300 Chapters=1\n" + marks);
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Data().SelectedWatermark(), 1);  // the last one, not slot 20
  EXPECT_EQ(mJob.Data().MMCount(), PDEData::kMaxMMPairs);
  panel.reset();
  panel = NewPanel("set ZP_WATERMARK=0\n" + marks);
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Data().SelectedWatermark(), PDEData::kNoWatermark);
}

// A status other than done, or a companion that dies mid-exchange: the pane
// is unblocked and nothing is applied.
TEST_F(JobPropertiesLink, AnExchangeThatEndsBadlyAppliesNothing) {
  for (const char* ending : {"status 7\n", "exit\n"}) {
    auto panel = NewPanel(std::string("set ZPDuplex=Top\n") + ending);
    ASSERT_TRUE(RunExchange(*panel)) << ending;
    EXPECT_EQ(mJob.Current("*ZPDuplex"), "False") << ending;
  }
}

TEST_F(JobPropertiesLink, ACompanionKilledMidExchangeUnblocksThePane) {
  auto panel = NewPanel("set ZPDuplex=Top\ndelay 30\n");
  ASSERT_TRUE(panel->LaunchJobProperties(UI_Panel::kJPMainView));
  mDriver.AdvanceClock(UI_Panel::kPollInterval);
  EXPECT_TRUE(panel->IsIgnoringButton());  // still working
  ASSERT_EQ(kill(panel->CompanionProcess(), SIGKILL), 0);
  EXPECT_TRUE(ExchangeEnds(*panel));
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(JobPropertiesLink, TheButtonStartsOneExchangeAndIsSwallowedWhileItRuns) {
  auto panel = NewPanel("set ZPDuplex=Top\ndelay 1\n");
  panel->Show();
  const size_t windows = ToolkitModel::Shared().Windows().size();
  ControlRef button = mPane.Control(FourCC("cUpd"), UI_Panel::kJobPropertiesButton);
  ASSERT_TRUE(mDriver.Click(button));
  EXPECT_EQ(panel->LastEventStatus(), noErr);
  EXPECT_TRUE(panel->IsIgnoringButton());
  EXPECT_EQ(ToolkitModel::Shared().Windows().size(), windows + 1);  // the blocker
  ASSERT_TRUE(mDriver.Click(button));
  EXPECT_EQ(panel->LastEventStatus(), noErr);  // swallowed
  EXPECT_EQ(ToolkitModel::Shared().Windows().size(), windows + 1);
  ASSERT_TRUE(ExchangeEnds(*panel));
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "Top");
  EXPECT_EQ(ToolkitModel::Shared().Windows().size(), windows);
}

TEST_F(JobPropertiesLink, APressReleasedOutsideStartsNothing) {
  auto panel = NewPanel("");
  panel->Show();
  ASSERT_TRUE(mDriver.Press(mPane.Control(FourCC("cUpd"), UI_Panel::kJobPropertiesButton)));
  mDriver.Release(Point{-100, -100});
  EXPECT_EQ(panel->LastEventStatus(), eventNotHandledErr);
  EXPECT_FALSE(panel->IsIgnoringButton());
}

// The system's limit on an area's size is lowered below the area's own in an
// IPC namespace of the test's child (root only, as the suite runs), so the
// area cannot be made: the pane and the data model both end invalid.
TEST_F(JobPropertiesLink, NoSharedAreaLeavesThePaneAndTheDataModelInvalid) {
  ASSERT_TRUE(mJob.Data().IsComplete());
  EXPECT_EXIT(
      {
        if (unshare(CLONE_NEWIPC) != 0) _exit(3);
        std::ofstream("/proc/sys/kernel/shmmax") << 4096;
        auto panel = mPane.NewPanel();
        _exit(panel->IsValid() ? 4 : mJob.Data().IsComplete() ? 5 : 0);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(JobPropertiesLink, NoSegmentOutlivesThePaneAndTheCompanionQuits) {
  auto panel = NewPanel("");
  const int id = panel->AreaId();
  const pid_t companion = panel->CompanionProcess();
  ASSERT_TRUE(SegmentExists(id));
  // Marked for removal already: a killed pane leaves nothing behind.
  struct shmid_ds info;
  ASSERT_EQ(shmctl(id, IPC_STAT, &info), 0);
  EXPECT_NE(info.shm_perm.mode & SHM_DEST, 0u);
  panel.reset();
  EXPECT_FALSE(SegmentExists(id));
  EXPECT_EQ(kill(companion, 0), -1);  // reaped
}

TEST_F(JobPropertiesLink, AMissingCompanionIsAbandonedAfterOneRetry) {
  UseCompanion("", mJob.Folder().Path() + "/none");
  auto panel = mPane.NewPanel();
  ASSERT_TRUE(panel->IsValid());
  EXPECT_FALSE(panel->LaunchJobProperties(UI_Panel::kJPMainView));
  EXPECT_FALSE(panel->IsIgnoringButton());
}

// The button is offered only while a program this user may run is at the
// companion's path, checked at each showing; otherwise its help tag says why.
TEST_F(JobPropertiesLink, WithoutACompanionTheButtonIsDisabledAndSaysWhy) {
  const std::string why =
      "The job properties application is not installed: ask your administrator to install it.";
  mPane.CopyBuiltResource("en.lproj/Localizable.strings");
  auto state = [&](UI_Panel& panel) {
    panel.Show();
    ControlRef button = mPane.Control(FourCC("cUpd"), UI_Panel::kJobPropertiesButton);
    const bool pressed = mDriver.Click(button);
    return std::string(IsControlEnabled(button) ? "enabled" : "disabled") +
           (pressed ? " pressed" : "") + (panel.IsIgnoringButton() ? " working" : "") + " [" +
           button->mHelpTag + "]";
  };
  UseCompanion("", "");
  EXPECT_EQ(state(*mPane.NewPanel()), "disabled [" + why + "]");

  const std::string path = mJob.Folder().Path() + "/ZPX ND3toJP";
  UseCompanion("", path);
  auto panel = mPane.NewPanel();
  EXPECT_EQ(state(*panel), "disabled [" + why + "]") << "missing";
  std::filesystem::create_directory(path);
  EXPECT_EQ(state(*panel), "disabled [" + why + "]") << "a folder";
  std::filesystem::remove(path);
  mJob.Folder().Write("ZPX ND3toJP", "#!/bin/sh\n");
  ASSERT_EQ(chmod(path.c_str(), 0644), 0);
  EXPECT_EQ(state(*panel), "disabled [" + why + "]") << "not executable";
  ASSERT_EQ(chmod(path.c_str(), 0755), 0);
  EXPECT_EQ(state(*panel), "enabled pressed []") << "installed";
}

TEST_F(JobPropertiesLink, ArgumentsFileIsWrittenOnlyAsThisUsersRegularFile) {
  const std::string arguments = mJob.Folder().Path() + "/ND3Args.txt";
  {
    auto panel = NewPanel("");
    EXPECT_EQ(FileText(arguments), std::to_string(panel->AreaId()) + "\n");
    struct stat info;
    ASSERT_EQ(stat(arguments.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
  }
  std::filesystem::remove(arguments);
  const std::string target = mJob.Folder().Write("target.txt", "keep");
  ASSERT_EQ(symlink(target.c_str(), arguments.c_str()), 0);
  auto panel = NewPanel("");
  EXPECT_EQ(FileText(target), "keep");
}

TEST_F(JobPropertiesLink, ACompanionPathIsNeverReadByAShell) {
  const std::string folder = mJob.Folder().Path() + "/odd\"; $(touch x)";
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(CompanionProgram(), folder + "/zpx-companion");
  const std::string x = std::filesystem::current_path().string() + "/x";
  auto panel = NewPanel("", folder + "/zpx-companion");
  EXPECT_FALSE(std::filesystem::exists(x));
  EXPECT_FALSE(std::filesystem::exists(mJob.Folder().Path() + "/x"));
}

TEST_F(JobPropertiesLink, WatermarksGoIntoTheAreaTwentyAtMost) {
  auto panel = NewPanel("");
  EXPECT_EQ(mJob.Data().WatermarkCount(), 5);  // the defaults, without preferences
  EXPECT_EQ(AreaField(panel->AreaId(), SharedMemoryList::kWatermarkCountOffset,
                      SharedMemoryList::kWatermarkCountSize),
            "5");
  panel.reset();
  // Watermarks are kept with the printer's entry in the preferences.
  mJob.Data().SetMelvanePrinterAddress(nullptr, CString(""), false);
  mJob.Data().DeleteWatermarks();
  for (int i = 0; i < 21; ++i)
    mJob.Data().AddWatermark(("1,1,0,0,0,,0,,450,,,48,Helvetica,W" + std::to_string(i)).c_str());
  ASSERT_TRUE(mJob.Data().SaveWatermarksToPreferences());
  panel = NewPanel("");
  EXPECT_EQ(mJob.Data().WatermarkCount(), 21);
  EXPECT_EQ(AreaField(panel->AreaId(), SharedMemoryList::kWatermarkCountOffset,
                      SharedMemoryList::kWatermarkCountSize),
            "20");
}

TEST_F(JobPropertiesLink, DefaultSettingsCarryOptionsAndTheJobsOwnEntries) {
  auto panel = NewPanel("");
  mJob.Set("*ZPDuplex", "Bottom");
  SDMPairs pairs = DefaultPairs(*panel);
  EXPECT_EQ(ValueIn(pairs, L"ZPDuplex"), L"Bottom");
  EXPECT_EQ(ValueIn(pairs, L"ZPOutProfile"), L"Standard");  // two-way off: sent as it is
  EXPECT_EQ(ValueIn(pairs, L"CustomPrintSize"), L"False");  // the print size is not custom
  EXPECT_EQ(ValueIn(pairs, L"ZP_WATERMARK"), L"0");
  EXPECT_EQ(ValueIn(pairs, L"ZP_WATERMARK_FIRSTPAGEONLY"), L"False");
  EXPECT_EQ(ValueIn(pairs, L"ZPPCMID"), L"-1");
  EXPECT_EQ(ValueIn(pairs, L"PageSize"), L"Letter");
  mJob.Set("*ZPDuplex", "False");
  EXPECT_EQ(ValueIn(DefaultPairs(*panel), L"ZPDuplex"), L"False");  // dynamic at its default
  mJob.Set("*ZPPrintSize", "CustomPrintSize");
  EXPECT_NE(ValueIn(DefaultPairs(*panel), L"CustomPrintSize"), L"False");
  // The installable options' entries are named by their index.
  size_t finisher = 0;
  pairs = DefaultPairs(*panel);
  while (finisher < pairs.size() && pairs[finisher].first != L"ZPOptionalFinisher") ++finisher;
  ASSERT_LT(finisher, pairs.size());
  EXPECT_EQ(AreaField(panel->AreaId(), SharedMemoryList::kInstallableOffset,
                      SharedMemoryList::kInstallableSize),
            std::to_string(finisher) + ",");
}

TEST_F(JobPropertiesLink, APageSetupPaperOutsideThePPDTravelsAsACustomPageSize) {
  mPane.SetPageSetupPaper(CFSTR("Oddball"), {0, 0, 700, 500});
  auto panel = NewPanel("");
  const SDMPairs pairs = DefaultPairs(*panel);
  EXPECT_EQ(ValueIn(pairs, L"PageSize"), L"Custom");
  EXPECT_EQ(ValueIn(pairs, L"CustomPageSize"), L"500.000000 700.000000");
  size_t pageSizes = 0;
  for (const auto& pair : pairs) pageSizes += pair.first == L"PageSize";
  EXPECT_EQ(pageSizes, 1u);
}

// Alerts open their interface file from the plug-in's bundle, here the job's
// copy of it: the copy gets the file and the alert's texts.
class AlertingJobPropertiesLink : public JobPropertiesLink {
 protected:
  AlertingJobPropertiesLink() {
    mPane.CopyBuiltResource("AlertUI.ui");
    mPane.CopyBuiltResource("en.lproj/BidiStrings.strings");
  }
  // The texts of every window while the next alert is up; the alert is then dismissed.
  void ExpectAlert() {
    mDriver.QueueModalStep([this] {
      for (WindowRef window : ToolkitModel::Shared().Windows())
        mAlertText += HeadlessDriver::Dump(window);
      EXPECT_TRUE(mDriver.PressReturn());
    });
  }

  std::string mAlertText;
};

// What comes back from the companion a person typed: a note's entry that its
// flags refuse stays out and is told without its text (it may be a PIN). The
// note's own value coming back unchanged is no entry, whatever its flags say.
TEST_F(AlertingJobPropertiesLink, ANoteEntryItsFlagsRefuseStaysOutAndIsToldWithoutTheText) {
  mJob.Set("*ZPAccount", "n/a");  // Numeric, but the model keeps what it is given
  auto panel = NewPanel("set ZPSecurePIN=4x7q\nset ZPNote=Rush\n");
  ExpectAlert();
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_NE(mAlertText.find("*ZPSecurePIN takes digits only"), std::string::npos) << mAlertText;
  EXPECT_EQ(mAlertText.find("4x7q"), std::string::npos) << mAlertText;
  EXPECT_EQ(mAlertText.find("ZPAccount"), std::string::npos) << mAlertText;
  EXPECT_EQ(mJob.Current("*ZPSecurePIN"), "");
  EXPECT_EQ(mJob.Current("*ZPNote"), "Rush");
  EXPECT_EQ(mJob.Current("*ZPAccount"), "n/a");
}

// Two-way communication on, the address as the user typed it.
class TwoWayJobPropertiesLink : public AlertingJobPropertiesLink {
 protected:
  TwoWayJobPropertiesLink() { mJob.EnableTwoWay(); }
  std::unique_ptr<UI_Panel> NewTwoWayPanel(const std::string& scenario, const char* address) {
    UseCompanion(scenario);
    auto panel = mPane.NewPanel();
    EXPECT_TRUE(panel->AddressArea() != nullptr && panel->AddressArea()->IsTwoWayOn());
    if (panel->AddressArea() != nullptr) panel->AddressArea()->setIPAddress(address);
    return panel;
  }
};

TEST_F(TwoWayJobPropertiesLink, AnUnresolvableAddressSendsNothingAndSaysSo) {
  auto panel = NewTwoWayPanel("set ZPDuplex=Top\n", "no-such-host.invalid");
  ExpectAlert();
  EXPECT_FALSE(panel->LaunchJobProperties(UI_Panel::kJPMainView));
  EXPECT_FALSE(panel->IsIgnoringButton());
  EXPECT_NE(mAlertText.find("cannot be found"), std::string::npos) << mAlertText;
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(TwoWayJobPropertiesLink, StatusInvalidAddressShowsTheAlertAndAppliesNothing) {
  auto panel = NewTwoWayPanel("set ZPDuplex=Top\nstatus 4096\n", "127.0.0.1");
  ASSERT_TRUE(CompanionListens(*panel));
  ExpectAlert();
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_NE(mAlertText.find("cannot be found"), std::string::npos) << mAlertText;
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(TwoWayJobPropertiesLink, PrinterFilledOptionsAndDynamicDefaultsAreLeftOut) {
  auto panel = NewTwoWayPanel("set ZPOutProfile=Vivid\n", "127.0.0.1");
  ASSERT_TRUE(CompanionListens(*panel));
  PPDXControl* printerProfile = mJob.Document().GetPPDXControlForKey(CFSTR("*ZPOutProfileBidi"));
  ASSERT_NE(printerProfile, nullptr);
  const std::wstring reported = WideOf(printerProfile->CFStringUserName());
  SDMPairs pairs = DefaultPairs(*panel);
  // The printer's profile travels under the option's key; the dynamic
  // two-sided option only when it is off its default.
  EXPECT_EQ(ValueIn(pairs, L"ZPOutProfile"), reported);
  EXPECT_EQ(ValueIn(pairs, L"ZPDuplex"), L"<none>");
  EXPECT_EQ(ValueIn(pairs, L"ZPMediaType"), L"Plain");
  mJob.Set("*ZPDuplex", "Top");
  pairs = DefaultPairs(*panel);
  EXPECT_EQ(ValueIn(pairs, L"ZPDuplex"), L"Top");

  // The printer's answer becomes the one choice of the "Bidi" option.
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Current("*ZPOutProfileBidi"), "Vivid");
  EXPECT_EQ(WideOf(printerProfile->CFStringUserName()), L"Vivid");
}

}  // namespace
