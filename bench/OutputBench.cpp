// The job-level PostScript of the large generated PPD with every option set
// away from its default: OutPostscriptData into a job ticket and its Save
// through the temporary file, whose size is reported.

#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "support/GeneratedPPD.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "output/PDEData.h"
#include "output/PrintSettingsTicket.h"
#include "output/ZPXJobTicket.h"
#include "paths/PlatformPaths.h"
#include "support/ParsedDocument.h"
#include "support/TempFolder.h"

namespace {

using generatedppd::GeneratedFiles;

// Every popup on its last choice, switches on, amounts at their maximum and
// a text in every note.
void SetEveryOption(ZPXPPD& document) {
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = document.GetControls();
  long index = 0;
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type), ++index) {
    if (type == CNTL_POPUP) {
      auto* popup = static_cast<PPDXPopupControl*>(control);
      popup->SetValue(popup->ItemCount() - 1);
    } else if (type == CNTL_BOOLEAN) {
      static_cast<PPDXBooleanControl*>(control)->SetValue(true);
    } else if (type == CNTL_RANGE) {
      auto* range = static_cast<PPDXRangeControl*>(control);
      range->SetValue(range->MaxVal());
    } else if (type == CNTL_JOBNOTE) {
      static_cast<PPDXJobNote*>(control)->SetNotes(("Note" + std::to_string(index)).c_str());
    }
  }
}

void BM_OutPostscriptDataAndSave(benchmark::State& state) {
  std::unique_ptr<ZPXPPD> document = ParseFile(GeneratedFiles().Path(2));
  SetEveryOption(*document);
  TempFolder folder;
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, folder.Path());
  PlatformPaths::Redirect(PlatformPaths::kHomeFolder, folder.Path());
  PMPrintSession session = nullptr;
  PMCreateSession(&session);
  PMPrinter printer = nullptr;
  PMPrinterCreate(CFSTR("ZPX Bench"), CFSTR("ZPX Bench"), nullptr, nullptr, &printer);
  PMSessionSetCurrentPMPrinter(session, printer);
  PMRelease(printer);
  PrintSettingsTicket settings(session);
  PDEData data(session, document.get(), nullptr);
  double fileBytes = 0;
  long blocks = 0;
  for (auto _ : state) {
    ZPXJobTicket jobTicket(&settings, CFSTR("ZPX.PSData.bench"));
    data.OutPostscriptData(&jobTicket);
    if (!jobTicket.Save(CFSTR("bench"))) state.SkipWithError("Save failed");
    state.PauseTiming();
    blocks = jobTicket.Count();
    CFStringRef written = nullptr;
    settings.Get(CFSTR("ZPX.PSData.bench"), written);
    const std::string path = TextOf(written);
    struct stat file {};
    if (stat(path.c_str(), &file) == 0) fileBytes = double(file.st_size);
    unlink(path.c_str());
    state.ResumeTiming();
  }
  state.counters["blocks"] = double(blocks);
  state.counters["data_file_kb"] = fileBytes / 1024.0;
  PMRelease(session);
  PlatformPaths::ResetAll();
}

BENCHMARK(BM_OutPostscriptDataAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
