// Saving and rebuilding popups of growing length through a flattened store, and
// the feature snippets of the value-injecting kinds.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "carbon/MacMemory.h"
#include "cf/CFText.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"

namespace {

unsigned char* CodeCopy(const std::string& text) {
  return reinterpret_cast<unsigned char*>(strdup(text.c_str()));
}

PPDXPopupControl* MakePopup(long count) {
  PointerList flags, items;
  for (long i = 0; i < count; ++i) {
    auto* item = new _PopupItem;
    const std::string keyword = "Media" + std::to_string(i);
    item->keyword = new CString(keyword.c_str());
    item->name = CreateText(keyword);
    const std::string code = "<</MediaType (" + keyword + ")>> setpagedevice\n";
    item->psData = CodeCopy(code);
    item->psLength = long(code.size());
    items.PushBack(item);
  }
  return new PPDXPopupControl("*MediaType", CFSTR("Media type"), flags, true, false, false, items,
                              new CString("Media0"), nullptr);
}

void BM_PopupSaveFlattenRebuild(benchmark::State& state) {
  PPDXPopupControl* popup = MakePopup(state.range(0));
  for (auto _ : state) {
    Settings settings;
    popup->Save(settings, 5001);
    char** flattened = nullptr;
    settings.GetSettingsHandle(&flattened);
    Settings copy(flattened);
    DisposeHandle(flattened);
    PPDXPopupControl rebuilt(copy, 5001, nullptr);
    benchmark::DoNotOptimize(rebuilt.ItemCount());
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
  delete popup;
}
BENCHMARK(BM_PopupSaveFlattenRebuild)->Arg(10)->Arg(100)->Arg(1000);

void BM_RangeSnippetAfterChange(benchmark::State& state) {
  PointerList flags;
  const std::string code = "<*Darkness> setdarkness % <*Darkness>\n";
  PPDXRangeControl range("*Darkness", CFSTR("Darkness"), flags, CodeCopy(code), long(code.size()),
                         0, 1000, 1, 0, true);
  std::vector<unsigned char> out(256);
  long value = 0;
  for (auto _ : state) {
    range.SetValue(value++ % 1000);
    out.resize(size_t(range.PostScript(nullptr)));
    benchmark::DoNotOptimize(range.PostScript(out.data()));
  }
}
BENCHMARK(BM_RangeSnippetAfterChange);

}  // namespace
