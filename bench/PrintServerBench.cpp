// A burst of 100 jobs on one print server of the bench's own (cupsd on
// loopback with the installed build, as the print server's tests run it):
// through zpx-filter on the sample PPD, then through the server's own chain
// for the same PPD without the filter line, in the same run. The time until
// the last job is captured gives each one's drain rate (jobs a second) and
// their ratio; a job not captured within the bound fails the run, so none is
// lost unseen.

#include <benchmark/benchmark.h>
#include <cups/cups.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "support/LocalPrintServer.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace {

constexpr int kJobs = 100;
constexpr int kDrainSeconds = 600;

const std::string kSamplePPD = std::string(ZPX_BUNDLE) + "/samples/ZPX-Sample.ppd";
const std::string kDocument = std::string(ZPX_BUNDLE) + "/samples/Sample.ps";

size_t CapturedJobs(const LocalPrintServer& server) {
  size_t jobs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(server.CaptureFolder()))
    if (entry.path().extension() == ".args") ++jobs;
  return jobs;
}

// Seconds from the first submission until every job of the burst is captured;
// negative when a job was refused or not captured in time.
double Drain(const LocalPrintServer& server, const std::string& queue) {
  const size_t before = CapturedJobs(server);
  const auto start = std::chrono::steady_clock::now();
  for (int job = 0; job < kJobs; ++job)
    if (cupsPrintFile(queue.c_str(), kDocument.c_str(), "burst", 0, nullptr) == 0) return -1;
  const auto deadline = start + std::chrono::seconds(kDrainSeconds);
  while (CapturedJobs(server) < before + kJobs) {
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The sample PPD without its filter line: the server's own chain prints it.
std::string PlainPPD(const TempFolder& folder) {
  std::istringstream lines(FileText(kSamplePPD));
  std::string text;
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("*cupsFilter", 0) != 0) text += line + "\n";
  return folder.Write("Plain.ppd", text);
}

void BM_BurstAgainstPlainChain(benchmark::State& state) {
  LocalPrintServer server;
  TempFolder folder;
  if (!server.IsRunning() || !server.AddQueue("Finished", kSamplePPD) ||
      !server.AddQueue("Plain", PlainPPD(folder))) {
    state.SkipWithError("the print server did not start");
    return;
  }
  setenv("CUPS_SERVER", server.Address().c_str(), 1);
  double finished = 0, plain = 0;
  for (auto _ : state) {
    const double finishedSeconds = Drain(server, "Finished");
    const double plainSeconds = Drain(server, "Plain");
    if (finishedSeconds < 0 || plainSeconds < 0) {
      state.SkipWithError("a job was refused or not captured");
      break;
    }
    finished += finishedSeconds;
    plain += plainSeconds;
  }
  unsetenv("CUPS_SERVER");
  const double bursts = double(state.iterations()) * kJobs;
  state.counters["finished_jobs_per_s"] = finished > 0 ? bursts / finished : 0;
  state.counters["plain_jobs_per_s"] = plain > 0 ? bursts / plain : 0;
  state.counters["ratio"] = finished > 0 ? plain / finished : 0;
}
BENCHMARK(BM_BurstAgainstPlainChain)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
