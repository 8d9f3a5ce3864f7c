// The main pane's costs, headless: building the pane on the large generated
// PPD with 20 shortcuts (the tree, the basic panel and the rest of its
// construction; budget 100 ms), one scroll step (rows rebuilt and their menus
// validated; 10 ms) and the Customize dialog opened on 10 groups of 30 items
// and closed (20 ms). And one job-properties exchange through the pane for
// the large PPD (the overflow area used) with the stand-in companion
// answering at once, polled every millisecond instead of every 0.01 s (50 ms).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "GeneratedPPD.h"
#include "cf/CFRef.h"
#include "output/PDEData.h"
#include "paths/PlatformPaths.h"
#include "print/PMPrintSession.h"
#include "support/CompanionRun.h"
#include "support/ParsedDocument.h"
#include "toolkit/Controls.h"
#include "toolkit/HeadlessDriver.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "ui/PPDTree.h"
#include "ui/UI_Panel.h"

namespace {

CFBundleRef BundleAt(const std::string& path) {
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      nullptr, reinterpret_cast<const UInt8*>(path.c_str()), CFIndex(path.size()), true));
  return CFBundleCreate(nullptr, url.get());
}

// 10 roll-downs of 30 pick-one options each, after one option the tree never lists.
std::string CustomizePPD() {
  std::ostringstream out;
  out << "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
         "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
         "*%ZPXParent Pane/FPPage: True|Scrollpane\n";
  for (int g = 0; g < 10; ++g)
    out << "*%ZPXGroupName G" << g << "/Group " << g << ": True\n*%ZPXParent G" << g
        << "/Pane: True|Rolldown\n";
  for (int n = -1; n < 300; ++n) {
    const std::string key = n < 0 ? "ZPFirst" : "ZPOpt" + std::to_string(n);
    out << "*%ZPXFlags *" << key << ": Setup\n*%ZPXGroup *" << key << " G" << std::max(n, 0) / 30
        << "/" << key << "\n*OpenUI *" << key << "/" << key << ": PickOne\n*Default" << key
        << ": A\n*" << key << " A/A: \"\"\n*" << key << " B/B: \"\"\n*CloseUI: *" << key << "\n";
  }
  return out.str();
}

// The large generated PPD with shortcuts to its first 10 pop-ups and 10 check boxes.
std::string LargePPDWithShortcuts() {
  std::ifstream in(generatedppd::GeneratedFiles().Path(2), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  for (int i = 0; i < 40; ++i)
    if (i % 4 < 2) text << "*%ZPShortcut *ZPOpt" << i << "\n";
  return text.str();
}

// A print job on `ppdText` in a folder of its own, with the dialog's window
// and parent pane; the preferences, the temporary files and the bundle's
// interface file are the folder's and the assembled bundle's.
class PaneSetting {
 public:
  explicit PaneSetting(const std::string& ppdText, const std::string& companion = "")
      : mBundle(BundleAt(PlatformPaths::Get(PlatformPaths::kBundleFolder))) {
    char folder[] = "/tmp/zpx-pane-bench-XXXXXX";
    mFolder = mkdtemp(folder);
    std::filesystem::create_directories(mFolder + "/home");
    PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mFolder + "/home");
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mFolder);
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, companion);
    const std::string ppd = mFolder + "/job.ppd";
    std::ofstream(ppd, std::ios::binary) << ppdText;
    mDocument = ParseFile(ppd);
    PMCreateSession(&mSession);
    PMPrinter printer = nullptr;
    PMPrinterCreate(CFSTR("ZPX Bench Queue"), CFSTR("ZPX Bench"), nullptr, nullptr, &printer);
    PMSessionSetCurrentPMPrinter(mSession, printer);
    PMRelease(printer);
    mData = std::make_unique<PDEData>(mSession, mDocument.get(), nullptr);
    CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("PDEProject"), &mNib);
    const Rect bounds = {0, 0, 600, 700};
    CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow);
    ControlRef root = nullptr;
    CreateRootControl(mWindow, &root);
    const Rect pane = {20, 20, 40, 40};
    CreateUserPaneControl(mWindow, &pane, 0, &mParentPane);
    EmbedControl(mParentPane, root);
    ShowWindow(mWindow);
  }
  ~PaneSetting() {
    DisposeWindow(mWindow);
    if (mNib != nullptr) DisposeNibReference(mNib);
    mData.reset();
    PMRelease(mSession);
    PlatformPaths::ResetAll();
    std::filesystem::remove_all(mFolder);
  }
  bool IsReady() const { return mNib != nullptr && mDocument != nullptr; }
  std::unique_ptr<UI_Panel> NewPanel() {
    return std::make_unique<UI_Panel>(mNib, mParentPane, mData.get());
  }
  ControlRef Control(OSType signature, SInt32 number) const {
    const ControlID id = {signature, number};
    ControlRef control = nullptr;
    GetControlByID(mWindow, &id, &control);
    return control;
  }

 private:
  CFRef<CFBundleRef> mBundle;
  std::string mFolder;
  std::unique_ptr<ZPXPPD> mDocument;
  PMPrintSession mSession = nullptr;
  std::unique_ptr<PDEData> mData;
  IBNibRef mNib = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mParentPane = nullptr;
};

void BM_PaneBuilt(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  PaneSetting setting(LargePPDWithShortcuts());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  for (auto _ : state) setting.NewPanel();
}
BENCHMARK(BM_PaneBuilt)->Unit(benchmark::kMillisecond);

void BM_TreeAndBasicPanel(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  PaneSetting setting(LargePPDWithShortcuts());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  std::unique_ptr<UI_Panel> panel = setting.NewPanel();
  for (auto _ : state) {
    panel->PopulatePPDTreeStructure();
    panel->CreateBasicPanel();
  }
}
BENCHMARK(BM_TreeAndBasicPanel)->Unit(benchmark::kMillisecond);

void BM_ScrollStep(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  PaneSetting setting(LargePPDWithShortcuts());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  std::unique_ptr<UI_Panel> panel = setting.NewPanel();
  panel->Show();
  ControlRef scroll = setting.Control(FourCC("Scrl"), UI_Panel::kScrollBar);
  bool down = true;
  for (auto _ : state) {
    LiveActionProc(scroll, down ? kControlDownButtonPart : kControlUpButtonPart);
    down = !down;
  }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

void BM_CustomizeOpened(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  PaneSetting setting(CustomizePPD());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  std::unique_ptr<UI_Panel> panel = setting.NewPanel();
  if (PPDTree::Shared().GroupCount() != 10 || PPDTree::Shared().GroupAt(9).items.size() != 30)
    return state.SkipWithError("not 10 groups of 30 items");
  panel->Show();
  ControlRef customize = setting.Control(FourCC("Cust"), UI_Panel::kCustomizeButton);
  for (auto _ : state) {
    if (!driver.Click(customize) || panel->CustomizeWindow() == nullptr)
      return state.SkipWithError("the Customize window did not open");
    panel->ProcessCommandEvent(UI_Panel::kCancelCommand);
  }
}
BENCHMARK(BM_CustomizeOpened)->Unit(benchmark::kMillisecond);

void BM_ExchangeThroughPane(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  TempFolder folder;
  CompanionEnvironment environment(folder, "status 0\n");
  std::ifstream in(generatedppd::GeneratedFiles().Path(2), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  PaneSetting setting(text.str(), CompanionProgram());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  std::unique_ptr<UI_Panel> panel = setting.NewPanel();
  if (!WaitFor(
          [&] { return CFRef<CFMessagePortRef>(RemotePort(panel->AreaId())).get() != nullptr; },
          10))
    return state.SkipWithError("the companion did not start");
  for (auto _ : state) {
    if (!panel->LaunchJobProperties(UI_Panel::kJPMainView))
      return state.SkipWithError("no exchange started");
    WaitFor(
        [&] {
          driver.AdvanceClock(UI_Panel::kPollInterval);
          return !panel->IsIgnoringButton();
        },
        10);
  }
}
BENCHMARK(BM_ExchangeThroughPane)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
