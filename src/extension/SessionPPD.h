#pragma once
// The PPD of a session's current printer with the bundle's list of the PPD
// file names the plug-in serves ("PCFILENAME" of PrinterList.plist).

#include <memory>

#include "cf/CFRef.h"
#include "comm/PrinterListFile.h"
#include "print/PMPrintSession.h"

class SessionPPD {
 public:
  explicit SessionPPD(PMPrintSession session);

  // Both the PPD and a valid printer list were found.
  bool IsValid() const { return mURL && mList && mList->GetFileNames() != nullptr; }
  // Whether the list names the PPD's file.
  bool IsListed() const;
  CFURLRef URL() const { return mURL.get(); }
  // Borrowed from the list.
  CFArrayRef FileNames() const { return mList ? mList->GetFileNames() : nullptr; }

 private:
  CFRef<CFURLRef> mURL;
  std::unique_ptr<PrinterListFile> mList;
};
