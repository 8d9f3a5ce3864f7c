// The job ticket store on the large generated PPD of the parser benchmark: the
// whole document saved into the print settings ticket and rebuilt from it,
// beside a parse of the same file, and Save of 2,000 feature-code blocks
// through the temporary file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "support/GeneratedPPD.h"
#include "cf/CFRef.h"
#include "output/PrintSettingsTicket.h"
#include "output/ZPXJobTicket.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "support/ParsedDocument.h"
#include "support/TempFolder.h"

namespace {

using generatedppd::GeneratedFiles;

// A session with its print settings ticket, and a bundle whose printer list
// names the generated PPD, for as long as a benchmark runs.
class TicketScene {
 public:
  TicketScene() {
    mFolder.Write("ZPX.plugin/Contents/Info.plist",
                  "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" +
                      TextOf(GetBundleID()) + "</string></dict></plist>");
    mFolder.Write("ZPX.plugin/Contents/PrinterList.plist",
                  "<plist version=\"1.0\"><dict><key>PCFILENAME</key><array>"
                  "<string>ZPXBENCH.PPD</string></array></dict></plist>");
    CFRef<CFURLRef> url(CreateFileURL(mFolder.Path() + "/ZPX.plugin"));
    mBundle.reset(CFBundleCreate(nullptr, url.get()));
    PMCreateSession(&mSession);
    mSettings.reset(new PrintSettingsTicket(mSession));
  }
  ~TicketScene() {
    MyFreeBundle(nullptr);
    mSettings.reset();
    PMRelease(mSession);
  }

  PrintSettingsTicket* Settings() { return mSettings.get(); }
  bool HasBundle() const { return bool(mBundle); }
  const std::string& Folder() const { return mFolder.Path(); }

 private:
  TempFolder mFolder;
  CFRef<CFBundleRef> mBundle;
  PMPrintSession mSession = nullptr;
  std::unique_ptr<PrintSettingsTicket> mSettings;
};

void BM_ParseGeneratedPPD(benchmark::State& state) {
  const std::string& path = GeneratedFiles().Path(2);
  for (auto _ : state) {
    std::unique_ptr<ZPXPPD> document = ParseFile(path);
    benchmark::DoNotOptimize(document.get());
  }
}

void BM_SavePPDThenRestorePPD(benchmark::State& state) {
  const std::string& path = GeneratedFiles().Path(2);
  std::unique_ptr<ZPXPPD> document = ParseFile(path);
  CFRef<CFURLRef> url(CreateFileURL(path));
  TicketScene scene;
  if (!scene.HasBundle()) state.SkipWithError("no bundle for the printer list");
  ZPXJobTicket job(scene.Settings(), CFSTR("PPD"));
  for (auto _ : state) {
    if (!job.SavePPD(document.get(), CFSTR("PPD"), url.get()))
      state.SkipWithError("SavePPD failed");
    ZPXPPD* restored = job.RestorePPD(CFSTR("PPD"), url.get());
    if (restored == nullptr) {
      state.SkipWithError("RestorePPD failed");
      break;
    }
    restored->Release();
  }
  CFDataRef stored = nullptr;
  scene.Settings()->Get(CFSTR("PPD"), stored);
  state.counters["ticket_kb"] = stored != nullptr ? double(CFDataGetLength(stored)) / 1024.0 : 0;
}

void BM_SaveFeatureCodeBlocks(benchmark::State& state) {
  TicketScene scene;
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, scene.Folder());
  std::string code =
      "%%BeginFeature: *ZPMediaType Plain\n<</MediaType (Plain)>> setpagedevice\n"
      "%%EndFeature\n";
  for (auto _ : state) {
    ZPXJobTicket job(scene.Settings(), CFSTR("ZPX.PSData"));
    for (int block = 0; block < state.range(0); ++block)
      job.Add(kPSInjectionSiteFeatureCode, code.data(), long(code.size()));
    if (!job.Save(CFSTR("bench"))) state.SkipWithError("Save failed");
    state.PauseTiming();
    CFStringRef written = nullptr;
    scene.Settings()->Get(CFSTR("ZPX.PSData"), written);
    unlink(TextOf(written).c_str());
    state.ResumeTiming();
  }
  PlatformPaths::ResetAll();
}

BENCHMARK(BM_ParseGeneratedPPD)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavePPDThenRestorePPD)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFeatureCodeBlocks)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
