#include "print/PMPrintSession.h"

#include <new>

#include "print/PrintSession.h"
#include "print/Printer.h"

OSStatus PMRetain(PMObject object) {
  PrintObject* live = PrintObject::Live(object);
  if (live == nullptr) return kPMInvalidParameter;
  live->Retain();
  return kPMNoError;
}

OSStatus PMRelease(PMObject object) {
  PrintObject* live = PrintObject::Live(object);
  if (live == nullptr) return kPMInvalidParameter;
  live->Release();
  return kPMNoError;
}

OSStatus PMCreateSession(PMPrintSession* printSession) {
  if (printSession == nullptr) return kPMInvalidParameter;
  *printSession = nullptr;
  OpaquePMPrintSession* session = new (std::nothrow) OpaquePMPrintSession;
  if (session == nullptr) return memFullErr;
  if (!session->Valid()) {
    session->Release();
    return memFullErr;
  }
  *printSession = session;
  return kPMNoError;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession printSession, PMPrinter* currentPrinter) {
  if (currentPrinter == nullptr) return kPMInvalidParameter;
  *currentPrinter = nullptr;
  OpaquePMPrintSession* session = OpaquePMPrintSession::From(printSession);
  if (session == nullptr) return kPMInvalidPrintSession;
  *currentPrinter = session->Printer();
  return *currentPrinter != nullptr ? kPMNoError : kPMInvalidPrinter;
}

OSStatus PMSessionSetCurrentPMPrinter(PMPrintSession printSession, PMPrinter printer) {
  OpaquePMPrintSession* session = OpaquePMPrintSession::From(printSession);
  if (session == nullptr) return kPMInvalidPrintSession;
  if (OpaquePMPrinter::From(printer) == nullptr) return kPMInvalidPrinter;
  session->SetPrinter(printer);
  return kPMNoError;
}

OSStatus PMSessionGetDataFromSession(PMPrintSession printSession, CFStringRef key,
                                     CFTypeRef* data) {
  if (data == nullptr) return kPMInvalidParameter;
  *data = nullptr;
  OpaquePMPrintSession* session = OpaquePMPrintSession::From(printSession);
  if (session == nullptr) return kPMInvalidPrintSession;
  if (key == nullptr) return kPMInvalidKey;
  *data = session->Datum(key);
  return *data != nullptr ? kPMNoError : kPMKeyNotFound;
}

OSStatus PMSessionSetDataInSession(PMPrintSession printSession, CFStringRef key, CFTypeRef data) {
  OpaquePMPrintSession* session = OpaquePMPrintSession::From(printSession);
  if (session == nullptr) return kPMInvalidPrintSession;
  if (key == nullptr) return kPMInvalidKey;
  if (data == nullptr) return kPMInvalidValue;
  session->SetDatum(key, data);
  return kPMNoError;
}

OSStatus PMPrinterCreate(CFStringRef name, CFStringRef makeAndModel, CFURLRef ppdURL,
                         CFURLRef deviceURI, PMPrinter* printer) {
  if (printer == nullptr || name == nullptr) return kPMInvalidParameter;
  *printer = new (std::nothrow) OpaquePMPrinter(name, makeAndModel, ppdURL, deviceURI);
  return *printer != nullptr ? OSStatus(kPMNoError) : OSStatus(memFullErr);
}

CFStringRef PMPrinterGetName(PMPrinter printer) {
  OpaquePMPrinter* object = OpaquePMPrinter::From(printer);
  return object != nullptr ? object->mName.get() : nullptr;
}

OSStatus PMPrinterGetMakeAndModelName(PMPrinter printer, CFStringRef* makeAndModel) {
  if (makeAndModel == nullptr) return kPMInvalidParameter;
  OpaquePMPrinter* object = OpaquePMPrinter::From(printer);
  *makeAndModel = object != nullptr ? object->mMakeAndModel.get() : nullptr;
  if (object == nullptr) return kPMInvalidPrinter;
  return *makeAndModel != nullptr ? kPMNoError : kPMNoSuchEntry;
}

namespace {

// A new reference to the URL, or kPMNoSuchEntry without one.
OSStatus CopyURL(const CFRef<CFURLRef>& held, CFURLRef* copy) {
  *copy = held ? static_cast<CFURLRef>(CFRetain(held.get())) : nullptr;
  return held ? kPMNoError : kPMNoSuchEntry;
}

}  // namespace

OSStatus PMPrinterCopyDescriptionURL(PMPrinter printer, CFStringRef descriptionType,
                                     CFURLRef* fileURL) {
  if (fileURL == nullptr) return kPMInvalidParameter;
  *fileURL = nullptr;
  OpaquePMPrinter* object = OpaquePMPrinter::From(printer);
  if (object == nullptr) return kPMInvalidPrinter;
  if (descriptionType == nullptr || !CFEqual(descriptionType, kPMPPDDescriptionType))
    return kPMInvalidParameter;
  return CopyURL(object->mPPDURL, fileURL);
}

OSStatus PMPrinterCopyDeviceURI(PMPrinter printer, CFURLRef* deviceURI) {
  if (deviceURI == nullptr) return kPMInvalidParameter;
  *deviceURI = nullptr;
  OpaquePMPrinter* object = OpaquePMPrinter::From(printer);
  if (object == nullptr) return kPMInvalidPrinter;
  return CopyURL(object->mDeviceURI, deviceURI);
}
