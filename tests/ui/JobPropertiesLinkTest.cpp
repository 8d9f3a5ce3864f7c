// The pane's job-properties link driven end to end against zpx-companion:
// the area made at construction, the exchange, the 0.01 s poll on the
// virtual clock and the close-down.

#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "output/PDEDataJob.h"
#include "plugin/BundleFunctions.h"
#include "support/CompanionRun.h"
#include "support/FileText.h"
#include "support/ToolkitFixture.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_Panel.h"

namespace {

// Whether a segment of that identifier still exists.
bool SegmentExists(int id) {
  struct shmid_ds info;
  return shmctl(id, IPC_STAT, &info) == 0;
}

// The watermark count the pane wrote into its area.
long AreaWatermarkCount(int id) {
  size_t size = 0;
  const void* bytes = SharedSegmentAttachOwnReadOnly(id, size);
  if (bytes == nullptr || size < SharedMemoryList::kAreaSize) return -1;
  const SharedMemoryList area(static_cast<char*>(const_cast<void*>(bytes)));
  const long count = long(area.ReadWatermarkCount());
  SharedSegmentDetach(bytes);
  return count;
}

class JobPropertiesLink : public ToolkitFixture {
 protected:
  // A panel whose companion plays `scenario`.
  std::unique_ptr<UI_Panel> NewPanel(const std::string& scenario,
                                     const std::string& program = CompanionProgram()) {
    mEnvironment.reset();  // it puts the environment back when it goes
    mEnvironment = std::make_unique<CompanionEnvironment>(mJob.Folder(), scenario);
    auto panel = std::make_unique<UI_Panel>(&mJob.Data(), nullptr, nullptr, program);
    EXPECT_TRUE(panel->IsValid());
    EXPECT_TRUE(WaitFor([&] {
      CFRef<CFMessagePortRef> port(RemotePort(panel->AreaId()));
      return port.get() != nullptr;
    }, 10));
    return panel;
  }
  // Polls on the virtual clock, at most `seconds` of real time, until the
  // companion has answered.
  bool RunExchange(UI_Panel& panel) {
    if (!panel.LaunchJobProperties(UI_Panel::kJPMainView)) return false;
    return WaitFor([&] {
      mDriver.AdvanceClock(UI_Panel::kPollInterval);
      return !panel.IsIgnoringButton();
    }, 10);
  }

  PDEDataJob mJob;
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

TEST_F(JobPropertiesLink, WatermarkNumbersOutsideTheListStayInIt) {
  const std::string marks =
      "watermark 1,1,0,0,0,,0,,450,,,48,Helvetica,DRAFT\n"
      "watermark 2,2,0,0,0,,1,,0,,,36,Times,COPY\n";
  auto panel = NewPanel("set ZP_WATERMARK=25\n" + marks);
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Data().SelectedWatermark(), 1);  // the last one, not slot 20
  panel.reset();
  panel = NewPanel("set ZP_WATERMARK=0\n" + marks);
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Data().SelectedWatermark(), PDEData::kNoWatermark);
}

TEST_F(JobPropertiesLink, MMPairsStopAtTheModelsRoom) {
  auto panel = NewPanel("addmany 300 Chapters=1\n");
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Data().MMCount(), PDEData::kMaxMMPairs);
}

TEST_F(JobPropertiesLink, StatusOtherThanDoneAppliesNothing) {
  auto panel = NewPanel("set ZPDuplex=Top\nstatus 7\n");
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(JobPropertiesLink, ACompanionDyingMidExchangeUnblocksThePane) {
  auto panel = NewPanel("set ZPDuplex=Top\nexit\n");
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_FALSE(panel->IsIgnoringButton());
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(JobPropertiesLink, ACompanionKilledMidExchangeUnblocksThePane) {
  auto panel = NewPanel("set ZPDuplex=Top\ndelay 30\n");
  ASSERT_TRUE(panel->LaunchJobProperties(UI_Panel::kJPMainView));
  mDriver.AdvanceClock(UI_Panel::kPollInterval);
  EXPECT_TRUE(panel->IsIgnoringButton());  // still working
  ASSERT_EQ(kill(panel->CompanionProcess(), SIGKILL), 0);
  EXPECT_TRUE(WaitFor([&] {
    mDriver.AdvanceClock(UI_Panel::kPollInterval);
    return !panel->IsIgnoringButton();
  }, 10));
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(JobPropertiesLink, NoSegmentOutlivesThePaneAndTheCompanionQuits) {
  auto panel = NewPanel("");
  const int id = panel->AreaId();
  const pid_t companion = panel->CompanionProcess();
  ASSERT_TRUE(SegmentExists(id));
  panel.reset();
  EXPECT_FALSE(SegmentExists(id));
  EXPECT_EQ(kill(companion, 0), -1);  // reaped
}

TEST_F(JobPropertiesLink, AMissingCompanionIsAbandonedAfterOneRetry) {
  mEnvironment = std::make_unique<CompanionEnvironment>(mJob.Folder(), "");
  UI_Panel panel(&mJob.Data(), nullptr, nullptr, mJob.Folder().Path() + "/none");
  ASSERT_TRUE(panel.IsValid());
  EXPECT_FALSE(panel.LaunchJobProperties(UI_Panel::kJPMainView));
  EXPECT_FALSE(panel.IsIgnoringButton());
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
  EXPECT_EQ(AreaWatermarkCount(panel->AreaId()), 5);
  panel.reset();
  mJob.Data().DeleteWatermarks();
  for (int i = 0; i < 21; ++i)
    mJob.Data().AddWatermark(("1,1,0,0,0,,0,,450,,,48,Helvetica,W" + std::to_string(i)).c_str());
  ASSERT_TRUE(mJob.Data().SaveWatermarksToPreferences());
  panel = NewPanel("");
  EXPECT_EQ(mJob.Data().WatermarkCount(), 21);
  EXPECT_EQ(AreaWatermarkCount(panel->AreaId()), 20);
}

TEST_F(JobPropertiesLink, DefaultSettingsCarryOptionsAndTheJobsOwnEntries) {
  auto panel = NewPanel("");
  mJob.Set("*ZPDuplex", "Bottom");
  SDMKeyValueList* list = panel->GetDefaultSettings();
  const SDMPairs pairs = SharedMemoryList::PairsOf(*list);
  SharedMemoryList::FreeSDMList(list);
  auto value = [&](const std::wstring& key) {
    for (const auto& [k, v] : pairs)
      if (k == key) return v;
    return std::wstring(L"<none>");
  };
  EXPECT_EQ(value(L"ZPDuplex"), L"Bottom");
  EXPECT_EQ(value(L"ZPOutProfile"), L"Standard");  // two-way off: sent as it is
  EXPECT_EQ(value(L"CustomPrintSize"), L"<none>");
  EXPECT_EQ(value(L"ZP_WATERMARK"), L"0");
  EXPECT_EQ(value(L"ZP_WATERMARK_FIRSTPAGEONLY"), L"False");
  EXPECT_EQ(value(L"ZPPCMID"), L"-1");
}

// Two-way communication on, the address as the user typed it.
class TwoWayJobPropertiesLink : public JobPropertiesLink {
 protected:
  // Alerts open their interface file from the plug-in's bundle, here the
  // job's copy of it: the copy gets the file and the alert's texts.
  TwoWayJobPropertiesLink() {
    CFRef<CFURLRef> url(CFBundleCopyBundleURL(GetBundleRef()));
    UInt8 path[1024] = {};
    CFURLGetFileSystemRepresentation(url.get(), true, path, sizeof path);
    const std::string resources = reinterpret_cast<char*>(path) + std::string("/Contents/Resources");
    std::filesystem::copy_file(ZPX_BUILT_BUNDLE "/Contents/Resources/AlertUI.ui",
                               resources + "/AlertUI.ui");
    std::filesystem::copy(ZPX_BUILT_BUNDLE "/Contents/Resources/en.lproj/BidiStrings.strings",
                          resources + "/en.lproj/BidiStrings.strings");
    mJob.EnableTwoWay();
    mWindow = NewWindow(500, 300);
    ControlRef root = nullptr;
    GetRootControl(mWindow, &root);
    mAddressArea = std::make_unique<UI_IPAddressPanel>(mWindow, root, Rect{10, 10, 110, 410},
                                                       mJob.Session(), true, true, true);
  }
  std::unique_ptr<UI_Panel> NewTwoWayPanel(const std::string& scenario, const char* address) {
    mAddressArea->setIPAddress(address);
    mEnvironment.reset();
    mEnvironment = std::make_unique<CompanionEnvironment>(mJob.Folder(), scenario);
    return std::make_unique<UI_Panel>(&mJob.Data(), mWindow, mAddressArea.get(),
                                      CompanionProgram());
  }
  // The texts of every window while the next alert is up; the alert is then dismissed.
  void ExpectAlert() {
    mDriver.QueueModalStep([this] {
      for (WindowRef window : ToolkitModel::Shared().Windows()) mAlertText += HeadlessDriver::Dump(window);
      EXPECT_TRUE(mDriver.PressReturn());
    });
  }

  WindowRef mWindow = nullptr;
  std::unique_ptr<UI_IPAddressPanel> mAddressArea;
  std::string mAlertText;
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
  ASSERT_TRUE(WaitFor([&] {
    CFRef<CFMessagePortRef> port(RemotePort(panel->AreaId()));
    return port.get() != nullptr;
  }, 10));
  ExpectAlert();
  ASSERT_TRUE(RunExchange(*panel));
  EXPECT_NE(mAlertText.find("cannot be found"), std::string::npos) << mAlertText;
  EXPECT_EQ(mJob.Current("*ZPDuplex"), "False");
}

TEST_F(TwoWayJobPropertiesLink, PrinterFilledOptionsAreLeftOutWhileTwoWayIsOn) {
  auto panel = NewTwoWayPanel("", "127.0.0.1");
  SDMKeyValueList* list = panel->GetDefaultSettings();
  const SDMPairs pairs = SharedMemoryList::PairsOf(*list);
  SharedMemoryList::FreeSDMList(list);
  bool outProfile = false, duplex = false;
  for (const auto& pair : pairs) {
    outProfile = outProfile || pair.first == L"ZPOutProfile";
    duplex = duplex || pair.first == L"ZPDuplex";
  }
  EXPECT_FALSE(outProfile);
  EXPECT_TRUE(duplex);
}

}  // namespace
