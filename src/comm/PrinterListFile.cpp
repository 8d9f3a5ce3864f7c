#include "comm/PrinterListFile.h"

namespace {

// The file is read from disk: anything but a dictionary holding an array
// under the key is no list at all.
CFArrayRef FileNamesIn(CFPropertyListRef list) {
  if (list == nullptr || CFGetTypeID(list) != CFDictionaryGetTypeID()) return nullptr;
  CFTypeRef names = CFDictionaryGetValue(static_cast<CFDictionaryRef>(list), CFSTR("PCFILENAME"));
  if (names == nullptr || CFGetTypeID(names) != CFArrayGetTypeID()) return nullptr;
  return static_cast<CFArrayRef>(names);
}

}  // namespace

PrinterListFile::PrinterListFile(CFURLRef contentsFolder, CFOptionFlags mutability)
    : PropertyListFile(contentsFolder, CFSTR("PrinterList.plist"), false, mutability),
      mFileNames(FileNamesIn(GetPropertyList())) {
  mValid = mFileNames != nullptr;
}
