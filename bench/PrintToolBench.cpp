// One zpx-print run on the sample PPD with a ten-page document: start, bundle
// load, the dialog's lifecycle, the merge and the remembered tickets, as a
// user waits for them. The print server's filter on the same job, against
// passing a finished job on, is what it adds to each job; on a 200 MB job it
// must keep its memory (the largest resident size of the filter and
// zpx-print, reported) constant. Side by side with the print server's own
// filter for PostScript (pstops) on the same job in the same run: the CPU
// time of a job (user and system, of every process it starts) and the wait
// for the first byte of a 200 MB job, each with its ratio to pstops'.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
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

const std::string kPstops = "/usr/lib/cups/filter/pstops";

// A filter as the print server runs it on `document` (zpx-filter unless
// `program` names another), its job thrown away.
std::string FilterCommand(const TempFolder& folder, const std::string& options,
                          const std::string& document, const std::string& program = kFilter) {
  return "PPD='" + std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd' TMPDIR='" + folder.Path() +
         "' '" + program + "' 7 user ten 1 '" + options + "' '" + document +
         "' > /dev/null 2> /dev/null";
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

// A 200 MB document of one-line pages in the folder; its path.
std::string LargeDocument(const TempFolder& folder) {
  const std::string document = folder.Path() + "/large.ps";
  std::ofstream out(document, std::ios::binary);
  out << "%!PS-Adobe-3.0\n%%EndComments\n%%BeginSetup\n%%EndSetup\n";
  const std::string page = "%%Page: 1 1\n" + std::string(1000, '%') + "\nshowpage\n";
  for (size_t written = 0; written < (size_t(200) << 20); written += page.size()) out << page;
  out << "%%EOF\n";
  return document;
}

void BM_FilterLargeJob(benchmark::State& state) {
  TempFolder folder;
  const std::string document = LargeDocument(folder);
  const std::string command = FilterCommand(folder, "ZPDuplex=Top", document);
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("zpx-filter failed");
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  state.counters["max_rss_MiB"] = double(usage.ru_maxrss) / 1024;
  state.SetBytesProcessed(int64_t(state.iterations()) * (int64_t(200) << 20));
}
BENCHMARK(BM_FilterLargeJob)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU time of one run of `command`, in milliseconds.
double CpuMilliseconds(const std::string& command, benchmark::State& state) {
  const double before = ChildrenCpuSeconds();
  if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  return (ChildrenCpuSeconds() - before) * 1000;
}

using Measure = double (*)(const std::string& command, benchmark::State& state);

// `ours` and `pstops` in turn, each iteration: what `measure` gives for each
// per run as `counter` and "pstops_" `counter`, and their ratio.
void Alternate(benchmark::State& state, Measure measure, const std::string& ours,
               const std::string& pstops, const std::string& counter) {
  double oursMs = 0, pstopsMs = 0;
  for (auto _ : state) {
    oursMs += measure(ours, state);
    pstopsMs += measure(pstops, state);
  }
  const double runs = double(state.iterations());
  state.counters[counter] = oursMs / runs;
  state.counters["pstops_" + counter] = pstopsMs / runs;
  state.counters["ratio"] = pstopsMs > 0 ? oursMs / pstopsMs : 0;
}

// `ours` and pstops on the ten-page job in turn: the CPU time of each per job
// and their ratio.
void CompareWithPstops(benchmark::State& state, const std::string& ours) {
  TempFolder folder;
  const std::string pstops = FilterCommand(folder, "", folder.Write("ten.ps", TenPages()), kPstops);
  Alternate(state, CpuMilliseconds, ours, pstops, "cpu_ms");
}

void BM_FilterCpuAgainstPstops(benchmark::State& state) {
  TempFolder folder;
  CompareWithPstops(
      state, FilterCommand(folder, "ZPDuplex=Top number-up=1", folder.Write("ten.ps", TenPages())));
}
BENCHMARK(BM_FilterCpuAgainstPstops)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PrintCpuAgainstPstops(benchmark::State& state) {
  TempFolder folder;
  folder.Write("tmp/.keep", "");
  CompareWithPstops(state, "HOME='" + folder.Path() + "' XDG_CONFIG_HOME='" + folder.Path() +
                               "/config' ZPX_TMPDIR='" + folder.Path() + "/tmp' " + ZPX_TOOLS_DIR +
                               "/zpx-print --ppd '" + ZPX_BUNDLE +
                               "/samples/ZPX-Sample.ppd' -o ZPDuplex=Top '" +
                               folder.Write("ten.ps", TenPages()) + "' > /dev/null");
}
BENCHMARK(BM_PrintCpuAgainstPstops)->Unit(benchmark::kMillisecond)->UseRealTime();

// Milliseconds from starting `command` to the first byte it writes.
double FirstByteMilliseconds(const std::string& command, benchmark::State& state) {
  const auto start = std::chrono::steady_clock::now();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    state.SkipWithError("cannot start the filter");
    return 0;
  }
  const bool got = std::fgetc(pipe) != EOF;
  const double waited =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  char drain[1 << 16];
  while (std::fread(drain, 1, sizeof drain, pipe) > 0) {
  }
  if (pclose(pipe) != 0 || !got) state.SkipWithError(("failed: " + command).c_str());
  return waited;
}

void BM_FirstByteOfLargeJobAgainstPstops(benchmark::State& state) {
  TempFolder folder;
  const std::string document = LargeDocument(folder);
  // The job read from the pipe instead.
  const auto unsent = [](std::string command) { return command.erase(command.rfind(" > ")); };
  const std::string ours = unsent(FilterCommand(folder, "ZPDuplex=Top", document));
  const std::string pstops = unsent(FilterCommand(folder, "", document, kPstops));
  Alternate(state, FirstByteMilliseconds, ours, pstops, "first_byte_ms");
}
BENCHMARK(BM_FirstByteOfLargeJobAgainstPstops)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
