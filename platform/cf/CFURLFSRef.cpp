#include "cf/CFURLFSRef.h"

#include <climits>

Boolean CFURLGetFSRef(CFURLRef url, FSRef* fsRef) {
  UInt8 path[PATH_MAX];
  if (fsRef == nullptr || !CFURLGetFileSystemRepresentation(url, true, path, sizeof path))
    return false;
  return FSPathMakeRef(path, fsRef, nullptr) == noErr;
}
