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

#include "support/GeneratedPPD.h"
#include "PaneSetting.h"
#include "cf/CFRef.h"
#include "output/PDEData.h"
#include "paths/PlatformPaths.h"
#include "print/PMPrintSession.h"
#include "support/CompanionRun.h"
#include "support/ParsedDocument.h"
#include "testing/HeadlessDriver.h"
#include "toolkit/Controls.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "ui/PPDTree.h"
#include "ui/UI_Panel.h"

namespace {

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
