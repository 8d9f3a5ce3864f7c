#include "foundation/PPDFile.h"

#include <climits>

#include "carbon/MacErrors.h"
#include "cf/CFURLFSRef.h"

PPDFile::PPDFile(CFURLRef url) {
  FSRef ref;
  FSSpec location = {};
  UInt8 path[PATH_MAX];
  if (CFURLGetFSRef(url, &ref)) {
    // A name too long for an FSSpec still leaves the rest of it filled.
    OSErr error = FSGetCatalogInfo(&ref, kFSCatInfoNone, nullptr, nullptr, &location, nullptr);
    if ((error == noErr || error == bdNamErr) && FSRefMakePath(&ref, path, sizeof path) == noErr) {
      SetLocation(location, reinterpret_cast<const char*>(path));
      Result(error);
      return;
    }
  }
  const unsigned char noName[] = {0};
  Result(FSMakeFSSpec(0, 0, noName, &location));
  SetLocation(location, std::string());
}
