#pragma once
// A new file written whole, for data that another program will act on: it is
// made only where nothing stands (never over an existing file, never through a
// symbolic link planted at the name), with mode 0644 whatever the umask, and
// it is gone again when it cannot be written whole.

#include "carbon/MacErrors.h"
#include "cf/CoreFoundation.h"

class ExclusiveFile {
 public:
  // noErr, or dupFNErr when something stands at the path, permErr, dirNFErr
  // or ioErr; on failure no file of ours is left.
  static OSStatus Write(const char* path, CFDataRef data);
};
