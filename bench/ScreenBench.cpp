// The GTK backend on a display (run it under tests/gtk/on-virtual-display):
// from opening the address dialog to its first painted frame, and from the
// program changing every widget row to the frame that shows the change. The
// main pane on the large PPD with 20 shortcuts: from building and showing it
// to its first painted frame (budget 100 ms), and one scroll step, its rows
// rebuilt, to the frame that shows them (one frame, 16 ms).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "PPDX/PPDObjects/PPDXControls.h"
#include "PaneSetting.h"
#include "cf/CFFileURL.h"
#include "support/ParsedDocument.h"
#include "support/PluginBundle.h"
#include "support/RowsInterface.h"
#include "support/TempFolder.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/gtk/ScreenBackend.h"
#include "ui/UI_PopupControl.h"
#include "ui/UI_PrinterListDialog.h"

namespace {

ScreenBackend& Screen() {
  static std::unique_ptr<ScreenBackend> sScreen = [] {
    std::string error;
    auto screen = ScreenBackend::Open(&error);
    if (!screen) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(2);
    }
    return screen;
  }();
  return *sScreen;
}

void NotePainted(GdkFrameClock*, bool* painted) { *painted = true; }

// Shows the model and turns GLib's loop until the window's next frame is painted.
void UntilPainted(WindowRef window) {
  ScreenBackend& screen = Screen();
  screen.Refresh();
  GtkWidget* shown = screen.ViewOf(window)->Widget();
  gtk_widget_realize(shown);
  GdkFrameClock* clock = gtk_widget_get_frame_clock(shown);
  bool painted = false;
  gulong handler = g_signal_connect(clock, "after-paint", G_CALLBACK(NotePainted), &painted);
  while (!painted) g_main_context_iteration(nullptr, TRUE);
  g_signal_handler_disconnect(clock, handler);
}

void OpenToFirstFrame(benchmark::State& state) {
  Screen();
  CFRef<CFBundleRef> bundle(CreateBundleAt(ZPX_BUILT_BUNDLE));
  for (auto _ : state) {
    UI_PrinterListDialog dialog(nullptr, "10.0.0.7", false);
    dialog.show();
    UntilPainted(dialog.Window());
    state.PauseTiming();
    dialog.hide();
    Screen().Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(OpenToFirstFrame)->Unit(benchmark::kMillisecond);

void RowsChangedToFrame(benchmark::State& state) {
  Screen();
  CFRef<CFBundleRef> bundle(CreateBundleAt(ZPX_BUILT_BUNDLE));
  std::unique_ptr<ZPXPPD> document = ParseFile(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  IBNibRef nib = nullptr;
  TempFolder folder;
  folder.Write("R.plugin/Contents/Resources/Rows.ui", RowsInterface());
  std::string path = folder.Path() + "/R.plugin";
  CFRef<CFURLRef> url(CreateFileURL(path, true));
  CFRef<CFBundleRef> rowsBundle(CFBundleCreate(nullptr, url.get()));
  CreateNibReferenceWithCFBundle(rowsBundle.get(), CFSTR("Rows"), &nib);
  WindowRef window = nullptr;
  CreateWindowFromNib(nib, CFSTR("Rows"), &window);
  DisposeNibReference(nib);
  ShowWindow(window);
  Screen().Settle();
  const char* options[] = {"*ZPDuplex", "*ZPMediaType", "*ZPDuplex", "*ZPMediaType"};
  for (auto _ : state) {
    // What a scroll step does: every row bound to another option.
    std::vector<std::unique_ptr<UI_PopupControl>> rows;
    for (SInt32 k = 1; k <= 4; ++k)
      rows.push_back(std::make_unique<UI_PopupControl>(
          window, 2000 + k,
          document->GetControls()->FindPopup(options[(k + state.iterations()) % 4], true), true,
          document.get(), false, 2000 + k));
    UntilPainted(window);
  }
  DisposeWindow(window);
}
BENCHMARK(RowsChangedToFrame)->Unit(benchmark::kMillisecond);

void PaneOpenToFirstFrame(benchmark::State& state) {
  Screen();
  PaneSetting setting(LargePPDWithShortcuts());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  for (auto _ : state) {
    std::unique_ptr<UI_Panel> panel = setting.NewPanel();
    panel->Show();
    UntilPainted(setting.Window());
    state.PauseTiming();
    panel.reset();
    Screen().Settle();
    state.ResumeTiming();
  }
}
BENCHMARK(PaneOpenToFirstFrame)->Unit(benchmark::kMillisecond);

void PaneScrollStepToFrame(benchmark::State& state) {
  Screen();
  PaneSetting setting(LargePPDWithShortcuts());
  if (!setting.IsReady()) return state.SkipWithError("no interface file or document");
  std::unique_ptr<UI_Panel> panel = setting.NewPanel();
  panel->Show();
  Screen().Settle();
  ControlRef scroll = setting.Control(UI_Panel::kScrollSignature, UI_Panel::kScrollBar);
  bool down = true;
  for (auto _ : state) {
    LiveActionProc(scroll, down ? kControlDownButtonPart : kControlUpButtonPart);
    UntilPainted(setting.Window());
    down = !down;
  }
}
BENCHMARK(PaneScrollStepToFrame)->Unit(benchmark::kMillisecond);

}  // namespace
