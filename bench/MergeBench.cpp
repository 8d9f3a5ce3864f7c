// Merging a job's blocks into a generated 500 MB document with 10,000 feature
// blocks, half of them suppressed, written to /dev/null: the rate, and the
// process's peak memory, which must not grow with the document.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "host/JobOutput.h"
#include "host/PostScriptLineReader.h"
#include "host/PostScriptMerger.h"
#include "support/TempFolder.h"

namespace {

constexpr long kDocumentBytes = 500L << 20;
constexpr int kFeatureBlocks = 10000;

// Pages of drawing code with a feature block every so often; the duplex
// features are the ones the job suppresses.
std::string GenerateDocument(const TempFolder& folder) {
  const std::string path = folder.Path() + "/large.ps";
  FILE* file = std::fopen(path.c_str(), "wb");
  std::fputs(
      "%!PS-Adobe-3.0\n%%Title: large\n%%Orientation: Portrait\n%%EndComments\n"
      "%%BeginProlog\n%%EndProlog\n%%BeginSetup\n%%EndSetup\n",
      file);
  const std::string line = "72 700 moveto (The quick brown fox jumps over the lazy dog) show\n";
  const long linesPerBlock = kDocumentBytes / kFeatureBlocks / long(line.size());
  for (int block = 0; block < kFeatureBlocks; ++block) {
    std::fprintf(file,
                 "%%%%Page: %d %d\n[{\n%%%%BeginFeature: *%s Top\n<</Duplex true>> setpagedevice\n"
                 "%%%%EndFeature\n} stopped cleartomark\n",
                 block + 1, block + 1, block % 2 == 0 ? "ZPDuplex" : "ZPStapler");
    for (long n = 0; n < linesPerBlock; ++n) std::fwrite(line.data(), 1, line.size(), file);
    std::fputs("showpage\n", file);
  }
  std::fputs("%%EOF\n", file);
  std::fclose(file);
  return path;
}

void BM_MergeLargeDocument(benchmark::State& state) {
  TempFolder folder;
  const std::string path = GenerateDocument(folder);
  JobInjections injections;
  injections.mHeaderComments = {"%%Orientation: Landscape\n"};
  injections.mSetupBlocks = {
      "%%BeginFeature: *ZPDuplex Bottom\n<</Duplex true /Tumble true>> "
      "setpagedevice\n%%EndFeature\n"};
  injections.mSuppressedFeatures = {"*ZPDuplex"};
  struct stat status;
  stat(path.c_str(), &status);
  int sink = open("/dev/null", O_WRONLY);
  long bytes = 0;
  for (auto _ : state) {
    int input = open(path.c_str(), O_RDONLY);
    PostScriptLineReader reader(input);
    JobOutput output(sink);
    PostScriptMerger merger(injections, reader, output);
    if (merger.Merge() != PostScriptMerger::kMerged) state.SkipWithError("merge failed");
    close(input);
    bytes += long(status.st_size);
  }
  close(sink);
  state.SetBytesProcessed(bytes);
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MB"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(BM_MergeLargeDocument)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
