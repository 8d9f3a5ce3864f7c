#include "extension/SessionPPD.h"

#include "PPDX/ZPXPPD.h"
#include "plugin/BundleFunctions.h"
#include "plugin/SessionFunctions.h"

SessionPPD::SessionPPD(PMPrintSession session) {
  CFURLRef url = nullptr;
  FSRef file;
  if (GetPPDFile(session, url, file) != noErr) return;
  mURL.reset(url);
  CFRef<CFURLRef> contents(CreatePDEContentsURL(GetBundleID()));
  if (contents) mList.reset(new PrinterListFile(contents.get(), kCFPropertyListImmutable));
}

bool SessionPPD::IsListed() const {
  return IsValid() && ZPXPPD::ValidateFileName(mURL.get(), FileNames(), nullptr);
}
