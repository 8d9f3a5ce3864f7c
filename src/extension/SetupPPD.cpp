#include "extension/SetupPPD.h"

#include "PPDX/ZPXPPD.h"
#include "extension/SessionPPD.h"

ZPXPPD* SetupPPD(PMPrintSession session, CFStringRef, CFStringRef) {
  SessionPPD ppd(session);
  if (!ppd.IsValid()) return nullptr;
  // The document releases the names it is given.
  CFRetain(ppd.FileNames());
  // A PPD with errors or for another printer is still the printer's document:
  // the pane shows what it could read.
  return new ZPXPPD(ppd.URL(), PARSE_ALL, ppd.FileNames());
}
