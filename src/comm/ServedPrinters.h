#pragma once
// The printers a bundle serves: the PPD file names of its printer list, held
// to a PPD as the extension holds the session's PPD to them.

#include <string>

#include "cf/CoreFoundation.h"
#include "comm/PrinterListFile.h"

class ServedPrinters {
 public:
  // `bundleFolder` is the bundle's own folder (ZPXPDE.plugin).
  explicit ServedPrinters(CFURLRef bundleFolder);
  ServedPrinters(const ServedPrinters&) = delete;
  ServedPrinters& operator=(const ServedPrinters&) = delete;

  // False also when the bundle has no readable printer list.
  bool Serves(CFURLRef ppd) const;
  bool Serves(const std::string& ppdPath) const;

 private:
  PrinterListFile mList;
};
