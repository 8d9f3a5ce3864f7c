#pragma once
// The document of the session's PPD, when the bundle's printer list is valid.

#include "cf/CoreFoundation.h"
#include "print/PMPrintSession.h"

class ZPXPPD;

// A new document (one reference, the caller's), parsed with orphans and hidden
// elements, whether or not the PPD serves a listed printer or parses cleanly;
// null when the PPD cannot be located or the printer list cannot be read.
ZPXPPD* SetupPPD(PMPrintSession session, CFStringRef bundleID, CFStringRef key);
