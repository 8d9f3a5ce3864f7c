// zpx-companion: a stand-in for the job-properties application, for tests and
// demonstrations. Started with the shared area's identifier as its only
// argument, it serves the port named by that identifier: on "jpOpenMainUI" it
// plays the scenario named by ZPX_COMPANION_SCENARIO (doc/companion.md) or,
// without one, logs the entries to standard error and answers "0"; on
// "jpUnload" it quits, as it does when the pane's process is gone.

#include <sys/shm.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CompanionScenario.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "ipc/CFMessagePort.h"
#include "output/SharedMemoryList.h"
#include "output/WideText.h"

namespace {

constexpr double kLoopSeconds = 0.02;

struct CompanionState {
  bool mOpenRequested = false;
  bool mQuit = false;
};

bool IsMessage(CFDataRef data, const char* message) {
  const size_t length = size_t(CFDataGetLength(data));
  const char* bytes = reinterpret_cast<const char*>(CFDataGetBytePtr(data));
  return length == strlen(message) + 1 && memcmp(bytes, message, length) == 0;
}

CFDataRef Received(CFMessagePortRef local, SInt32, CFDataRef data, void* info) {
  CompanionState* state = static_cast<CompanionState*>(info);
  if (IsMessage(data, "jpOpenMainUI")) state->mOpenRequested = true;
  if (IsMessage(data, "jpUnload")) {
    state->mQuit = true;
    CFMessagePortInvalidate(local);
  }
  return CFDataCreate(nullptr, nullptr, 0);
}

void LogEntries(const SharedMemoryList& area) {
  SDMKeyValueList* list = area.Create_SDMList_From_SharedMemoryList();
  if (list == nullptr) return;
  for (const auto& entry : SharedMemoryList::PairsOf(*list))
    fprintf(stderr, "%s=%s\n", UTF8FromWideReplacing(entry.first.c_str()).c_str(),
            UTF8FromWideReplacing(entry.second.c_str()).c_str());
  SharedMemoryList::FreeSDMList(list);
}

// False when the scenario says to quit without answering.
bool AnswerOpen(SharedMemoryList& area, char* bytes) {
  const char* scenarioPath = getenv("ZPX_COMPANION_SCENARIO");
  if (scenarioPath == nullptr || scenarioPath[0] == '\0') {
    LogEntries(area);
    area.WriteStatus(SharedMemoryList::kStatusDone);
    return true;
  }
  CompanionScenario scenario;
  if (!scenario.Load(scenarioPath)) return false;
  return scenario.Play(area, bytes);
}

bool AreaIdentifier(const char* text, int& id) {
  char* end = nullptr;
  const long number = strtol(text, &end, 10);
  if (end == text || *end != '\0' || number <= 0 || number > 0x7FFFFFFF) return false;
  id = int(number);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int id = 0;
  if (argc != 2 || !AreaIdentifier(argv[1], id)) {
    fprintf(stderr, "usage: zpx-companion SHARED-AREA-ID\n");
    return 2;
  }
  void* attached = shmat(id, nullptr, 0);
  if (attached == reinterpret_cast<void*>(-1)) {
    fprintf(stderr, "zpx-companion: cannot attach the shared area %d\n", id);
    return 1;
  }
  char* bytes = static_cast<char*>(attached);
  const pid_t pane = getppid();
  CompanionState state;
  CFMessagePortContext context = {0, &state, nullptr, nullptr, nullptr};
  CFRef<CFStringRef> name(CFStringCreateWithCString(nullptr, argv[1], kCFStringEncodingUTF8));
  CFRef<CFMessagePortRef> port(
      CFMessagePortCreateLocal(nullptr, name.get(), Received, &context, nullptr));
  if (port.get() == nullptr) {
    fprintf(stderr, "zpx-companion: cannot serve the port %s\n", argv[1]);
    shmdt(attached);
    return 1;
  }
  {
    SharedMemoryList area(bytes);
    while (!state.mQuit && getppid() == pane) {
      CFRunLoopRunInMode(kCFRunLoopDefaultMode, kLoopSeconds, false);
      if (!state.mOpenRequested) continue;
      state.mOpenRequested = false;
      if (!AnswerOpen(area, bytes)) break;
    }
  }
  CFMessagePortInvalidate(port.get());
  shmdt(attached);
  return 0;
}
