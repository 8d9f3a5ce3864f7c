// One job-properties exchange for the large generated PPD (2,000 options, so
// the overflow area is used) with the stand-in companion answering at once:
// the options into the list, the list into the area, the open message, the
// companion's answer (polled every millisecond instead of the pane's 0.01 s),
// the list read back and every value set on its option.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "GeneratedPPD.h"
#include "PPDX/PPDObjects/PPDXControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "output/WideText.h"
#include "support/CompanionRun.h"
#include "support/ParsedDocument.h"
#include "support/PlatformString.h"

namespace {

using generatedppd::GeneratedFiles;

std::wstring WideOf(CFStringRef text) {
  const std::string utf8 = TextOf(text);
  return WideFromUTF8Replacing(utf8.data(), utf8.size());
}

SDMPairs OptionEntries(ZPXPPD& document) {
  SDMPairs entries;
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = document.GetControls();
  for (PPDXControl* control = controls->First(type); control != nullptr; control = controls->Next(type)) {
    CFRef<CFStringRef> value(control->CopyCurrentControlValueString());
    std::string key = control->Keyword() != nullptr ? control->Keyword() : "";
    if (!key.empty() && key[0] == '*') key.erase(0, 1);
    entries.push_back({WideFromUTF8Replacing(key.data(), key.size()), WideOf(value.get())});
  }
  return entries;
}

void ApplyEntries(ZPXPPD& document, const SDMPairs& entries) {
  for (const auto& entry : entries) {
    const std::string keyword = "*" + UTF8FromWideReplacing(entry.first.c_str());
    CNTL_TYPE type = CNTL_NONE;
    const bool exact = true;
    PPDXControl* control = document.GetControls()->Find(keyword.c_str(), type, exact);
    if (control == nullptr) continue;
    const std::string value = UTF8FromWideReplacing(entry.second.c_str());
    CFRef<CFStringRef> text(CFStringCreateWithCString(nullptr, value.c_str(), kCFStringEncodingUTF8));
    control->SetCurrentControlWithCFString(text.get());
  }
}

void BM_JobPropertiesExchange(benchmark::State& state) {
  std::unique_ptr<ZPXPPD> document = ParseFile(GeneratedFiles().Path(2));
  TempFolder folder;
  CompanionEnvironment environment(folder, "status 0\n");
  const int id = SharedSegmentCreate(SharedMemoryList::kAreaSize);
  char* bytes = static_cast<char*>(SharedSegmentAttachAndMark(id));
  SharedMemoryList area(bytes);
  area.Clear();
  const pid_t companion = ProcessSpawn(CompanionProgram(), {std::to_string(id)});
  CFMessagePortRef found = nullptr;
  WaitFor([&] { return (found = RemotePort(id)) != nullptr; }, 10);
  CFRef<CFMessagePortRef> port(found);
  if (port.get() == nullptr) state.SkipWithError("the companion did not start");
  size_t entries = 0;
  for (auto _ : state) {
    SDMKeyValueList* list = SharedMemoryList::NewSDMList(OptionEntries(*document));
    area.Create_SharedMemoryList_From_SDMList(*list);
    SharedMemoryList::FreeSDMList(list);
    area.WriteStatus(SharedMemoryList::kStatusWorking);
    SendMessage(port.get(), "jpOpenMainUI", false);
    int status = SharedMemoryList::kStatusWorking;
    WaitFor([&] { return area.ReadStatus(status) && status != SharedMemoryList::kStatusWorking; }, 10);
    SDMKeyValueList* back = area.Create_SDMList_From_SharedMemoryList();
    if (back == nullptr) {
      state.SkipWithError("no list came back");
      break;
    }
    const SDMPairs pairs = SharedMemoryList::PairsOf(*back);
    SharedMemoryList::FreeSDMList(back);
    entries = pairs.size();
    ApplyEntries(*document, pairs);
  }
  state.counters["entries"] = double(entries);
  if (port.get() != nullptr) SendMessage(port.get(), "jpUnload", true);
  ProcessReapWithin(companion, 5);
  area.RemoveOverflowArea();
  SharedSegmentDetach(bytes);
}
BENCHMARK(BM_JobPropertiesExchange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
