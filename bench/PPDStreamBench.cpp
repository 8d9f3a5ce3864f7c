// Line reading through the file window, and the pattern search over a PPD head.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "foundation/BoyerMoore.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"

namespace {

// A PPD-like text of about 2 MB: option lines of typical length.
std::string PPDText() {
  std::string text = "*PPD-Adobe: \"4.3\"\n";
  for (int i = 0; text.size() < 2000000; ++i)
    text += "*ZPMediaType Option" + std::to_string(i) + "/Option " + std::to_string(i) +
            ": \"<</MediaType (Option" + std::to_string(i) + ")>> setpagedevice\"\r\n";
  return text;
}

void BM_ReadLinesThroughWindow(benchmark::State& state) {
  char path[] = "/tmp/zpx-bench-XXXXXX";
  int fd = mkstemp(path);
  std::string text = PPDText();
  std::ofstream(path, std::ios::binary) << text;
  for (auto _ : state) {
    PPDFile file(path);
    PPDFileStream stream(&file, true);
    char line[PPDStream::kMaxLine + 1];
    long lines = 0;
    while (stream.GetLine(line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  close(fd);
  unlink(path);
}
BENCHMARK(BM_ReadLinesThroughWindow)->Unit(benchmark::kMillisecond);

void BM_SearchPCFileNameInHead(benchmark::State& state) {
  std::string head = PPDText().substr(0, 4096 - 40) + "*PCFileName: \"ZPX9000.PPD\"\n";
  BoyerMoore search;
  search.SetSearchString("*PCFileName", 11);
  for (auto _ : state) {
    search.SetSearchData(&head[0], static_cast<long>(head.size()));
    benchmark::DoNotOptimize(search.Search());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(head.size()));
}
BENCHMARK(BM_SearchPCFileNameInHead);

}  // namespace
