// One zpx-print run on the sample PPD with a ten-page document: start, bundle
// load, the dialog's lifecycle, the merge and the remembered tickets, as a
// user waits for them. The print server's filter on the same job, against
// passing a finished job on, is what it adds to each job; on a 200 MB job it
// must keep its memory (the largest resident size of the filter and
// zpx-print, reported) constant.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "support/TempFolder.h"

namespace {

std::string TenPages() {
  std::string document =
      "%!PS-Adobe-3.0\n%%Title: ten\n%%Pages: 10\n%%EndComments\n%%BeginProlog\n%%EndProlog\n"
      "%%BeginSetup\n/Helvetica findfont 24 scalefont setfont\n%%EndSetup\n";
  for (int page = 1; page <= 10; ++page)
    document += "%%Page: " + std::to_string(page) + " " + std::to_string(page) +
                "\n72 700 moveto (Page " + std::to_string(page) + ") show\nshowpage\n";
  return document + "%%EOF\n";
}

void BM_PrintSampleJob(benchmark::State& state) {
  TempFolder folder;
  const std::string document = folder.Write("ten.ps", TenPages());
  folder.Write("tmp/.keep", "");
  const std::string command = "HOME='" + folder.Path() + "' XDG_CONFIG_HOME='" + folder.Path() +
                              "/config' ZPX_TMPDIR='" + folder.Path() + "/tmp' " + ZPX_TOOLS_DIR +
                              "/zpx-print --ppd '" + ZPX_BUNDLE +
                              "/samples/ZPX-Sample.ppd' -o ZPDuplex=Top --output '" +
                              folder.Path() + "/job.ps' '" + document + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("zpx-print failed");
}
BENCHMARK(BM_PrintSampleJob)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::string kFilter = std::string(ZPX_TOOLS_DIR) + "/../lib/cups/filter/zpx-filter";

// The filter as the print server runs it on `document`, its job thrown away.
std::string FilterCommand(const TempFolder& folder, const std::string& options,
                          const std::string& document) {
  return "PPD='" + std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd' TMPDIR='" + folder.Path() +
         "' '" + kFilter + "' 7 user ten 1 '" + options + "' '" + document + "' > /dev/null";
}

void RunFilter(benchmark::State& state, const std::string& options) {
  TempFolder folder;
  const std::string command = FilterCommand(folder, options, folder.Write("ten.ps", TenPages()));
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("zpx-filter failed");
}

void BM_FilterSampleJob(benchmark::State& state) { RunFilter(state, "ZPDuplex=Top number-up=1"); }
BENCHMARK(BM_FilterSampleJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterPassesFinishedJob(benchmark::State& state) { RunFilter(state, "zpx-finished=true"); }
BENCHMARK(BM_FilterPassesFinishedJob)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterLargeJob(benchmark::State& state) {
  TempFolder folder;
  const std::string document = folder.Path() + "/large.ps";
  {
    std::ofstream out(document, std::ios::binary);
    out << "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%EndSetup\n";
    const std::string page = "%%Page: 1 1\n" + std::string(1000, '%') + "\nshowpage\n";
    for (size_t written = 0; written < (size_t(200) << 20); written += page.size()) out << page;
    out << "%%EOF\n";
  }
  const std::string command = FilterCommand(folder, "ZPDuplex=Top", document);
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("zpx-filter failed");
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  state.counters["max_rss_MiB"] = double(usage.ru_maxrss) / 1024;
  state.SetBytesProcessed(int64_t(state.iterations()) * (int64_t(200) << 20));
}
BENCHMARK(BM_FilterLargeJob)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace
