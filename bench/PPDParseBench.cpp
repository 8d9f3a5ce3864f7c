// Parsing a large generated PPD into the option model, against the PPD reader
// of the print system's own library on the same file. The generated file has
// 2,000 controls (popups of 10 to 50 choices, Booleans, ranges and job notes)
// and 20,000 constraint lines, about 2 MB; the half-size file checks that the
// parse time grows linearly with the file.
//
// Besides the time, each benchmark reports "heap_kb": the heap that the
// parsed document holds (the parse itself adds only fixed buffers to it), and
// "faults_40": the page faults of 40 more rounds of parsing and destroying.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "support/GeneratedPPD.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/ZPXPPD.h"
#include "foundation/SpareBlocks.h"
#include "support/ParsedDocument.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>
#pragma GCC diagnostic pop

namespace {

using generatedppd::GeneratedFiles;

long FileSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  return long(in.tellg());
}

size_t HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Parses the file; `held`, when given, receives the heap the parsed document
// holds (measuring walks the heap, so timed runs pass none). True when the
// model holds every control and no error.
bool ParseIntoOptionModel(const std::string& path, size_t* held) {
  // Blocks kept from earlier documents would not show as heap taken, and those
  // the parse gives back are not held by the model.
  if (held != nullptr) SpareBlocks::ReleaseAll();
  size_t before = held != nullptr ? HeapInUse() : 0;
  std::unique_ptr<ZPXPPD> document = ParseFile(path);
  if (held != nullptr) *held = HeapInUse() - before - SpareBlocks::KeptBytes();
  return document->IsValidPPD() && document->GetErrors()->Empty();
}

bool ParseWithCups(const std::string& path, size_t* held) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  size_t before = held != nullptr ? HeapInUse() : 0;
  ppd_file_t* ppd = ppdOpenFile(path.c_str());
  if (held != nullptr) *held = HeapInUse() - before;
  bool opened = ppd != nullptr;
  ppdClose(ppd);
#pragma GCC diagnostic pop
  return opened;
}

long MinorFaults() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt;
}

// Memory that a document takes from the system and gives back at its end is
// faulted in again by the next one: what a dialog opened and closed pays.
long FaultsOfRounds(const std::string& path, bool (*parse)(const std::string&, size_t*)) {
  const int kRounds = 40;
  const long before = MinorFaults();
  for (int round = 0; round < kRounds; ++round) parse(path, nullptr);
  return MinorFaults() - before;
}

void Run(benchmark::State& state, bool (*parse)(const std::string&, size_t*)) {
  const std::string& path = GeneratedFiles().Path(state.range(0));
  for (auto _ : state) {
    bool parsed = parse(path, nullptr);
    benchmark::DoNotOptimize(parsed);
    if (!parsed) state.SkipWithError("the generated PPD did not parse cleanly");
  }
  long bytes = FileSize(path);
  state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
  state.counters["file_kb"] = double(bytes) / 1024.0;
  size_t held = 0;
  parse(path, &held);
  state.counters["heap_kb"] = double(held) / 1024.0;
  state.counters["faults_40"] = double(FaultsOfRounds(path, parse));
}

void BM_ZPXPPDParse(benchmark::State& state) { Run(state, ParseIntoOptionModel); }
void BM_CupsPPDOpenFile(benchmark::State& state) { Run(state, ParseWithCups); }

BENCHMARK(BM_ZPXPPDParse)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CupsPPDOpenFile)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
