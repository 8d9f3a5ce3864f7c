#pragma once
// The object behind a PMPrinter: what the print system knows of one printer.

#include "cf/CFRef.h"
#include "print/PMPrintSession.h"
#include "print/PrintObject.h"

struct OpaquePMPrinter : PrintObject {
  OpaquePMPrinter(CFStringRef name, CFStringRef makeAndModel, CFURLRef ppdURL, CFURLRef deviceURI);

  static OpaquePMPrinter* From(PMPrinter printer);

  CFRef<CFStringRef> mName;
  CFRef<CFStringRef> mMakeAndModel;
  CFRef<CFURLRef> mPPDURL;
  CFRef<CFURLRef> mDeviceURI;
};
