// A tickets file comes back from disk, where anything may have changed it. Any
// bytes must load or be refused with a status; a refusal leaves the session's
// tickets in place, and what loads must save and load again.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "host/TicketsFile.h"

namespace {

// The print settings ticket that the session keeps, as its number.
SInt32 SettingsNumber(PMPrintSession session) {
  CFTypeRef datum = nullptr;
  SInt32 number = 0;
  FUZZ_CHECK(PMSessionGetDataFromSession(session, kPDE_PMPrintSettingsRef, &datum) == noErr);
  CFNumberGetValue(static_cast<CFNumberRef>(datum), kCFNumberSInt32Type, &number);
  return number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile file;
  PMPrintSession session = nullptr;
  FUZZ_CHECK(PMCreateSession(&session) == noErr);
  SInt32 before = SettingsNumber(session);
  const char* path = file.Write(std::string(reinterpret_cast<const char*>(bytes), size));
  if (TicketsFile::Load(session, path) == noErr) {
    FUZZ_CHECK(TicketsFile::Save(session, path) == noErr);
    FUZZ_CHECK(TicketsFile::Load(session, path) == noErr);
  } else {
    FUZZ_CHECK(SettingsNumber(session) == before);
  }
  PMRelease(session);
  return 0;
}
