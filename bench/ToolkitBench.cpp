// The toolkit's costs on the pane's paths: a 300-control window built from an
// interface file (budget 5 ms), a control found by ID (100 ns) and a click that
// passes through three handlers before the standard handling (2 us).

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "testing/HeadlessDriver.h"
#include "toolkit/Controls.h"
#include "toolkit/IBCarbonRuntime.h"

namespace {

constexpr int kControls = 300;

// 30 panes of 9 controls each, plus the panes themselves and the outer pane.
std::string ThreeHundredControls() {
  std::string file =
      "<interface>\n<object class=\"GtkWindow\" id=\"Big\">\n<child>\n"
      "<object class=\"GtkFixed\" id=\"Big:root:0\">\n";
  int made = 1;
  for (int pane = 0; made < kControls; ++pane) {
    file += "<child><object class=\"GtkFixed\" id=\"Big:pane:" + std::to_string(pane) +
            "\"><property name=\"width-request\">300</property>\n";
    ++made;
    for (int i = 0; i < 9 && made < kControls; ++i, ++made) {
      const char* kinds[] = {"GtkCheckButton", "GtkLabel", "GtkButton"};
      file += "<child><object class=\"" + std::string(kinds[i % 3]) + "\" id=\"Big:ctl" +
              std::to_string(i) + ":" + std::to_string(pane) +
              "\"><property name=\"label\">Option</property></object>"
              "<packing><property name=\"x\">" +
              std::to_string(i * 20) +
              "</property><property name=\"y\">4</property></packing></child>\n";
    }
    file += "</object><packing><property name=\"y\">" + std::to_string(pane * 24) +
            "</property></packing></child>\n";
  }
  return file + "</object>\n</child>\n</object>\n</interface>\n";
}

class BigBundle {
 public:
  BigBundle() {
    char folder[] = "/tmp/zpx-bench-XXXXXX";
    mFolder = mkdtemp(folder);
    std::filesystem::create_directories(mFolder + "/B.plugin/Contents/Resources");
    std::ofstream(mFolder + "/B.plugin/Contents/Resources/Big.ui") << ThreeHundredControls();
    std::string path = mFolder + "/B.plugin";
    CFRef<CFURLRef> url(CreateFileURL(path, true));
    mBundle.reset(CFBundleCreate(nullptr, url.get()));
  }
  ~BigBundle() { std::filesystem::remove_all(mFolder); }
  CFBundleRef Get() const { return mBundle.get(); }

 private:
  std::string mFolder;
  CFRef<CFBundleRef> mBundle;
};

WindowRef OpenBigWindow(const BigBundle& bundle) {
  IBNibRef nib = nullptr;
  CreateNibReferenceWithCFBundle(bundle.Get(), CFSTR("Big"), &nib);
  WindowRef window = nullptr;
  CreateWindowFromNib(nib, CFSTR("Big"), &window);
  DisposeNibReference(nib);
  return window;
}

void BM_WindowFromFile(benchmark::State& state) {
  BigBundle bundle;
  for (auto _ : state) {
    WindowRef window = OpenBigWindow(bundle);
    benchmark::DoNotOptimize(window);
    DisposeWindow(window);
  }
}
BENCHMARK(BM_WindowFromFile)->Unit(benchmark::kMillisecond);

void BM_ControlByID(benchmark::State& state) {
  BigBundle bundle;
  WindowRef window = OpenBigWindow(bundle);
  ControlID id = {FourCC("ctl4"), 17};
  ControlRef control = nullptr;
  for (auto _ : state) {
    GetControlByID(window, &id, &control);
    benchmark::DoNotOptimize(control);
  }
  if (!control) state.SkipWithError("no control ctl4 17");
  DisposeWindow(window);
}
BENCHMARK(BM_ControlByID);

OSStatus PassOn(EventHandlerCallRef, EventRef, void*) { return eventNotHandledErr; }

void BM_ClickThroughThreeHandlers(benchmark::State& state) {
  HeadlessDriver driver([&](const std::string& what) { state.SkipWithError(what.c_str()); });
  Rect bounds = {0, 0, 100, 100};
  WindowRef window = nullptr;
  CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &window);
  CreateRootControl(window, nullptr);
  ShowWindow(window);
  Rect boxBounds = {10, 10, 30, 90};
  ControlRef box = nullptr;
  CreateCheckBoxControl(window, &boxBounds, CFSTR("Box"), 0, true, &box);
  EventTypeSpec click = {kEventClassControl, kEventControlClick};
  EventHandlerRef handlers[3];
  InstallEventHandler(GetControlEventTarget(box), PassOn, 1, &click, nullptr, &handlers[0]);
  InstallEventHandler(GetWindowEventTarget(window), PassOn, 1, &click, nullptr, &handlers[1]);
  InstallEventHandler(GetApplicationEventTarget(), PassOn, 1, &click, nullptr, &handlers[2]);
  for (auto _ : state) driver.Click(box);
  for (EventHandlerRef handler : handlers) RemoveEventHandler(handler);
  DisposeWindow(window);
}
BENCHMARK(BM_ClickThroughThreeHandlers);

}  // namespace
