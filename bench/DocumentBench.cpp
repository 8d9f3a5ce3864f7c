// The document of the large generated PPD (GeneratedPPD.h) as the dialog and
// the job use it: saved into its settings blob, flattened, unflattened and
// rebuilt (against parsing the PPD again, which the blob exists to avoid);
// every value copied out and set back; and the constraint answer for every
// choice of every popup, against the print system's cupsGetConflicts asked
// about the same choices of the same file (only this benchmark and the parse
// benchmark link that library).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/GeneratedPPD.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/MacMemory.h"
#include "cf/CoreFoundation.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"
#include "support/ParsedDocument.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/cups.h>
#include <cups/ppd.h>
#pragma GCC diagnostic pop

namespace {

const std::string& FullPath() { return generatedppd::GeneratedFiles().Path(2); }

ZPXPPD& GeneratedDocument() {
  static std::unique_ptr<ZPXPPD> document = ParseFile(FullPath());
  return *document;
}

// The flattened blob of the document.
Handle FlattenedDocument() {
  static Handle flattened = [] {
    Settings settings;
    Handle bytes = nullptr;
    GeneratedDocument().Save(settings);
    settings.GetSettingsHandle(&bytes);
    return bytes;
  }();
  return flattened;
}

// Every (key, choice) of every popup, keys with their "*".
std::vector<std::pair<std::string, std::string>> Choices(ZPXPPD& document = GeneratedDocument()) {
  std::vector<std::pair<std::string, std::string>> choices;
  ZPXPPD::Options(DISPLAY_ALL);
  PPDXControls* controls = document.GetControls();
  for (PPDXPopupControl* popup = controls->FirstPopupControl(); popup != nullptr;
       popup = controls->NextPopupControl()) {
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem())
      choices.emplace_back(popup->Keyword(), static_cast<const char*>(*item->keyword));
  }
  return choices;
}

void BM_ParsePPD(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ParseFile(FullPath()));
}

void BM_Save(benchmark::State& state) {
  for (auto _ : state) {
    Settings settings;
    if (!GeneratedDocument().Save(settings)) state.SkipWithError("the save failed");
  }
}

void BM_FlattenDocument(benchmark::State& state) {
  Settings settings;
  GeneratedDocument().Save(settings);
  for (auto _ : state) {
    Handle bytes = nullptr;
    settings.GetSettingsHandle(&bytes);
    DisposeHandle(bytes);
  }
  state.counters["blob_kb"] = double(GetHandleSize(FlattenedDocument())) / 1024.0;
}

void BM_UnflattenDocument(benchmark::State& state) {
  for (auto _ : state) {
    Settings settings(FlattenedDocument());
    benchmark::DoNotOptimize(settings.Count());
  }
}

void BM_Rebuild(benchmark::State& state) {
  Settings settings(FlattenedDocument());
  for (auto _ : state) {
    ZPXPPD rebuilt(settings, nullptr, nullptr);
    if (!rebuilt.IsValidPPD()) state.SkipWithError("the rebuild failed");
  }
}

void BM_UnflattenAndRebuild(benchmark::State& state) {
  for (auto _ : state) {
    Settings settings(FlattenedDocument());
    ZPXPPD rebuilt(settings, nullptr, nullptr);
    benchmark::DoNotOptimize(rebuilt.IsValidPPD());
  }
}

void BM_CopyAllValues(benchmark::State& state) {
  ZPXPPD::Options(DISPLAY_ALL);
  for (auto _ : state) CFRelease(GeneratedDocument().CopyAllValues());
}

void BM_SetAllValues(benchmark::State& state) {
  ZPXPPD::Options(DISPLAY_ALL);
  CFMutableDictionaryRef values = GeneratedDocument().CopyAllValues();
  for (auto _ : state) GeneratedDocument().SetAllValues(values);
  CFRelease(values);
}

void BM_IsKVConstrained(benchmark::State& state) {
  const auto choices = Choices();
  long conflicts = 0;
  for (auto _ : state) {
    for (const auto& choice : choices)
      conflicts += GeneratedDocument().IsKVConstrained(choice.first.c_str(), choice.second.c_str());
  }
  state.SetItemsProcessed(int64_t(state.iterations() * choices.size()));
  state.counters["constrained"] = double(conflicts) / double(state.iterations());
}

// What "zpx-ppd options" does with a PPD whose constraint lines are copies of the
// same 20: parse it and ask about every choice. The copies must cost no more
// than reading them, so the time grows linearly with the lines.
void BM_DuplicatedConstraintLines(benchmark::State& state) {
  const int kDistinctLines = 20;
  const int lines = int(state.range(0));
  const std::string path = generatedppd::WritePPD(40, kDistinctLines, lines / kDistinctLines);
  long conflicts = 0;
  for (auto _ : state) {
    std::unique_ptr<ZPXPPD> document = ParseFile(path);
    conflicts = 0;
    for (const auto& choice : Choices(*document))
      conflicts += document->IsKVConstrained(choice.first.c_str(), choice.second.c_str());
  }
  std::remove(path.c_str());
  state.SetComplexityN(lines);
  state.counters["constrained"] = double(conflicts);
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void BM_CupsGetConflicts(benchmark::State& state) {
  const auto choices = Choices();
  ppd_file_t* ppd = ppdOpenFile(FullPath().c_str());
  ppdMarkDefaults(ppd);
  long conflicts = 0;
  for (auto _ : state) {
    for (const auto& choice : choices) {
      cups_option_t* options = nullptr;
      int count = cupsGetConflicts(ppd, choice.first.c_str() + 1, choice.second.c_str(), &options);
      conflicts += count > 0;
      cupsFreeOptions(count, options);
    }
  }
  ppdClose(ppd);
  state.SetItemsProcessed(int64_t(state.iterations() * choices.size()));
  state.counters["constrained"] = double(conflicts) / double(state.iterations());
}
#pragma GCC diagnostic pop

BENCHMARK(BM_ParsePPD)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FlattenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnflattenDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnflattenAndRebuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyAllValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetAllValues)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsKVConstrained)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DuplicatedConstraintLines)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_CupsGetConflicts)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
