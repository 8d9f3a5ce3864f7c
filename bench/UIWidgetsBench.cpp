// The widgets' costs on the pane's paths: greying the constrained choices of a
// 50-choice pop-up of the large generated PPD, which every click of it does
// (budget 100 us), and making and unmaking the widgets of 8 rows (4 pop-ups,
// 4 check boxes, each with its picture), which every scroll step does (2 ms).

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/GeneratedPPD.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "paths/PlatformPaths.h"
#include "support/ParsedDocument.h"
#include "support/RowsInterface.h"
#include "testing/HeadlessDriver.h"
#include "toolkit/IBCarbonRuntime.h"
#include "ui/UI_CheckBoxControl.h"
#include "ui/UI_PopupControl.h"

namespace {

CFBundleRef BundleAt(const std::string& path) {
  CFRef<CFURLRef> url(CreateFileURL(path, true));
  return CFBundleCreate(nullptr, url.get());
}

// The rows window, from a bundle of its own; the assembled plug-in bundle is
// open meanwhile, for the icon table and pictures.
class RowsWindow {
 public:
  RowsWindow() : mPlugin(BundleAt(PlatformPaths::Get(PlatformPaths::kBundleFolder))) {
    char folder[] = "/tmp/zpx-bench-XXXXXX";
    mFolder = mkdtemp(folder);
    std::filesystem::create_directories(mFolder + "/R.plugin/Contents/Resources");
    std::ofstream(mFolder + "/R.plugin/Contents/Resources/Rows.ui") << RowsInterface();
    CFRef<CFBundleRef> bundle(BundleAt(mFolder + "/R.plugin"));
    IBNibRef nib = nullptr;
    CreateNibReferenceWithCFBundle(bundle.get(), CFSTR("Rows"), &nib);
    CreateWindowFromNib(nib, CFSTR("Rows"), &mWindow);
    DisposeNibReference(nib);
    ShowWindow(mWindow);
  }
  ~RowsWindow() {
    DisposeWindow(mWindow);
    std::filesystem::remove_all(mFolder);
  }
  WindowRef Get() const { return mWindow; }
  bool HasPlugin() const { return bool(mPlugin); }

 private:
  CFRef<CFBundleRef> mPlugin;
  std::string mFolder;
  WindowRef mWindow = nullptr;
};

// The first pop-up of the generated PPD with 50 choices.
std::string FiftyChoiceKeyword() {
  int control = 0;
  while (control % 4 != 0 || generatedppd::ChoiceCount(control) != 50) ++control;
  return "*ZPOpt" + std::to_string(control);
}

void BM_ValidateMenuItems(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  std::unique_ptr<ZPXPPD> document = ParseFile(generatedppd::GeneratedFiles().Path(2));
  PPDXPopupControl* option = document->GetControls()->FindPopup(FiftyChoiceKeyword().c_str(), true);
  if (option == nullptr || option->ItemCount() != 50) {
    state.SkipWithError("no 50-choice pop-up");
    return;
  }
  RowsWindow window;
  UI_PopupControl row(window.Get(), 2001, option, true, document.get(), false, 0);
  for (auto _ : state) row.ValidateMenuItems();
}
BENCHMARK(BM_ValidateMenuItems)->Unit(benchmark::kMicrosecond);

void BM_EightRowsMadeAndUnmade(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  std::unique_ptr<ZPXPPD> document = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  RowsWindow window;
  if (!window.HasPlugin()) {
    state.SkipWithError("no assembled plug-in bundle");
    return;
  }
  PPDXControls* controls = document->GetControls();
  const char* popups[] = {"*ZPDuplex", "*ZP_PAPER_ORIENTATION", "*ZPStapler", "*ZPMediaType"};
  const char* booleans[] = {"*ZPCollate", "*ZPOffsetStack", "*ZPCollate", "*ZPOffsetStack"};
  for (auto _ : state) {
    std::vector<std::unique_ptr<UI_PopupControl>> popupRows;
    std::vector<std::unique_ptr<UI_CheckBoxControl>> boxRows;
    for (int k = 1; k <= 4; ++k) {
      popupRows.push_back(std::make_unique<UI_PopupControl>(
          window.Get(), 2000 + k, controls->FindPopup(popups[k - 1], true), true, document.get(),
          false, 2000 + k));
      boxRows.push_back(std::make_unique<UI_CheckBoxControl>(
          window.Get(), 3000 + k, controls->FindBoolean(booleans[k - 1], true), true,
          document.get(), 3000 + k));
    }
  }
}
BENCHMARK(BM_EightRowsMadeAndUnmade)->Unit(benchmark::kMicrosecond);

}  // namespace
