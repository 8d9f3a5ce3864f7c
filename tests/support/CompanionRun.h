#pragma once
// The stand-in companion started over a fresh shared area, with its port
// folder and scenario in a temporary folder of the test.

#include <stdlib.h>
#include <time.h>

#include <cstring>
#include <string>

#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "cf/CoreFoundation.h"
#include "ipc/CFMessagePort.h"
#include "ipc/ProcessSpawn.h"
#include "ipc/SharedSegment.h"
#include "output/SharedMemoryList.h"
#include "support/TempFolder.h"

inline std::string CompanionProgram() { return std::string(ZPX_TOOLS_DIR) + "/zpx-companion"; }

// Points this process and the programs it starts at the folder's port
// folder and scenario; puts the environment back when it goes.
class CompanionEnvironment {
 public:
  CompanionEnvironment(const TempFolder& folder, const std::string& scenario) {
    Save("XDG_RUNTIME_DIR", mOldRuntime);
    Save("ZPX_COMPANION_SCENARIO", mOldScenario);
    setenv("XDG_RUNTIME_DIR", folder.Path().c_str(), 1);
    if (scenario.empty()) {
      unsetenv("ZPX_COMPANION_SCENARIO");
    } else {
      setenv("ZPX_COMPANION_SCENARIO", folder.Write("scenario.txt", scenario).c_str(), 1);
    }
  }
  ~CompanionEnvironment() {
    Restore("XDG_RUNTIME_DIR", mOldRuntime);
    Restore("ZPX_COMPANION_SCENARIO", mOldScenario);
  }

 private:
  static void Save(const char* name, std::string& old) {
    const char* value = getenv(name);
    old = value != nullptr ? value : "\x01";
  }
  static void Restore(const char* name, const std::string& old) {
    old == "\x01" ? unsetenv(name) : setenv(name, old.c_str(), 1);
  }
  std::string mOldRuntime;
  std::string mOldScenario;
};

// Sleeps in small steps until the condition holds or the seconds are up.
template <typename Condition>
bool WaitFor(Condition condition, double seconds) {
  const struct timespec step = {0, 1000 * 1000};
  for (double waited = 0; waited < seconds; waited += 0.001) {
    if (condition()) return true;
    nanosleep(&step, nullptr);
  }
  return condition();
}

inline CFMessagePortRef RemotePort(int id) {
  CFRef<CFStringRef> name(CreateText(std::to_string(id)));
  return CFMessagePortCreateRemote(nullptr, name.get());
}

// Sends the message with its NUL, as the pane does.
inline SInt32 SendMessage(CFMessagePortRef port, const char* message, bool awaitReply) {
  CFRef<CFDataRef> data(
      CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(message), CFIndex(strlen(message) + 1)));
  return CFMessagePortSendRequest(port, 0, data.get(), 10, awaitReply ? 5 : 0,
                                  awaitReply ? kCFRunLoopDefaultMode : nullptr, nullptr);
}
