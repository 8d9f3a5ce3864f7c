// The workflow-server upload of PDEData: a job created on the server through
// the server maker's client library, when it is installed.

#include <dlfcn.h>

#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "output/PDEData.h"
#include "output/RXClientLibrary.h"
#include "paths/PlatformPaths.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"

namespace {

constexpr char kClientLibrary[] = "lib/librx2client.dylib";
constexpr size_t kAccountTextSize = 128;
constexpr size_t kWorkflowTextSize = 256;
constexpr long kJobNameSize = 256;

// The library, unloaded when this goes.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& path)
      : mHandle(path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL)) {}
  ~LoadedLibrary() {
    if (mHandle != nullptr) dlclose(mHandle);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool IsLoaded() const { return mHandle != nullptr; }
  template <typename Function>
  Function Resolve(const char* name) const {
    return reinterpret_cast<Function>(dlsym(mHandle, name));
  }

 private:
  void* mHandle;
};

std::string JobName(PMPrintSession session) {
  PMTicketRef ticket = nullptr;
  CFStringRef name = nullptr;
  if (MyGetTicket(session, kPDE_PMPrintSettingsRef, ticket) != noErr ||
      PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel,
                          CFSTR("com.apple.print.JobInfo.PMJobName"), &name) != noErr)
    return "";
  char buffer[kJobNameSize];
  return CopyTextCut(name, kCFStringEncodingUTF8, buffer, sizeof buffer) > 0 ? buffer : "";
}

}  // namespace

void PDEData::UploadRoutixXMLFiles(int mode) {
  LoadedLibrary library(PlatformPaths::Below(PlatformPaths::kApplicationSupport, kClientLibrary));
  if (!library.IsLoaded()) return;
  auto closeSession = library.Resolve<RXCloseSessionProc>("RXCloseSession");
  auto openSession = library.Resolve<RXOpenSessionProc>("RXOpenSession");
  auto createJob = library.Resolve<RXCreateNewJobExProc>("RXCreateNewJobEx");
  if (closeSession == nullptr || openSession == nullptr || createJob == nullptr) return;
  for (const char* keyword :
       {"*ZPUserName", "*ZPUserPassword", "*ZPIP", "*ZPWorkflowName", "*ZPWorkflowFolder"})
    if (FindControl(keyword) == nullptr) return;
  const std::string user = CurrentValue("*ZPUserName", kAccountTextSize);
  const std::string password = CurrentValue("*ZPUserPassword", kAccountTextSize);
  const std::string address = CurrentValue("*ZPIP", kAccountTextSize);
  const std::string workflow = CurrentValue("*ZPWorkflowName", kWorkflowTextSize);
  const std::string folder = CurrentValue("*ZPWorkflowFolder", kWorkflowTextSize);
  const std::string xmlPath =
      PlatformPaths::Below(PlatformPaths::kTemporaryFolder, workflow + ".xml");

  RXSessionRef session = nullptr;
  if (openSession(address.c_str(), user.c_str(), password.c_str(), "english", &session, 0) != 0 ||
      session == nullptr)
    return;
  const std::string jobName = JobName(mSession);
  char jobID[kRXJobIDSize] = "";
  if (mode == kUploadNewJob &&
      createJob(session, folder.c_str(), jobName.c_str(), xmlPath.c_str(), jobID) == 0) {
    jobID[kRXJobIDSize - 1] = '\0';
    CFRef<CFStringRef> id(CreateText(jobID));
    for (const char* keyword : {"*ZPRoutixJobId", "*ZPRXNewJobID"})
      if (PPDXControl* control = FindControl(keyword))
        control->SetCurrentControlWithCFString(id.get());
  }
  closeSession(session);
}
