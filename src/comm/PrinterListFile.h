#pragma once
// The bundle's list of supported PPD file names: "PrinterList.plist" in the
// bundle's Contents folder, a dictionary whose "PCFILENAME" entry is an array
// of file names. Without that array the list is invalid and no printer is
// accepted.

#include "comm/PropertyListFile.h"

class PrinterListFile : public PropertyListFile {
 public:
  PrinterListFile(CFURLRef contentsFolder, CFOptionFlags mutability);

  // The supported file names, part of the property list (not retained); null
  // when the list is invalid.
  CFArrayRef GetFileNames() const { return mFileNames; }

 private:
  CFArrayRef mFileNames = nullptr;
};
