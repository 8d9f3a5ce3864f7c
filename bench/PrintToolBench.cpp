// One zpx-print run on the sample PPD with a ten-page document: start, bundle
// load, the dialog's lifecycle, the merge and the remembered tickets, as a
// user waits for them.

#include <benchmark/benchmark.h>

#include <cstdlib>
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
                              "/config' ZPX_TMPDIR='" +
                              folder.Path() + "/tmp' " + ZPX_TOOLS_DIR + "/zpx-print --ppd '" +
                              ZPX_BUNDLE + "/samples/ZPX-Sample.ppd' -o ZPDuplex=Top --output '" +
                              folder.Path() + "/job.ps' '" + document + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("zpx-print failed");
}
BENCHMARK(BM_PrintSampleJob)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
