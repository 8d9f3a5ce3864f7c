#include "print/Printer.h"

OpaquePMPrinter::OpaquePMPrinter(CFStringRef name, CFStringRef makeAndModel, CFURLRef ppdURL,
                                 CFURLRef deviceURI)
    : mName(CFStringCreateCopy(kCFAllocatorDefault, name)),
      mMakeAndModel(CFRef<CFStringRef>::Retain(makeAndModel)),
      mPPDURL(CFRef<CFURLRef>::Retain(ppdURL)),
      mDeviceURI(CFRef<CFURLRef>::Retain(deviceURI)) {}

OpaquePMPrinter* OpaquePMPrinter::From(PMPrinter printer) {
  return dynamic_cast<OpaquePMPrinter*>(PrintObject::Live(printer));
}
