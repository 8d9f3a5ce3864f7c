// zpx-ppd cups on the large generated PPD (support/GeneratedPPD.h): the parse
// of the maker's PPD as the extension does it and the whole queue's PPD
// written, as a driver serving the PPD to the print server does each time.

#include <benchmark/benchmark.h>

#include <sstream>

#include "support/GeneratedPPD.h"
#include "zpx-ppd/CupsPPD.h"

namespace {

void BM_CupsQueuePPD(benchmark::State& state) {
  const std::string& path = generatedppd::GeneratedFiles().Path(state.range(0));
  size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    const auto outcome = zpxtool::CupsPPD::Write(path, {}, out);
    if (outcome.status != 0) state.SkipWithError(outcome.refusal.c_str());
    bytes = out.str().size();
  }
  state.counters["bytes"] = double(bytes);
}

}  // namespace

// 1: the half-size file, 2: the full one.
BENCHMARK(BM_CupsQueuePPD)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
