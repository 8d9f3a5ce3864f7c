#include "output/PrinterInfoTicket.h"

#include "foundation/CString.h"

PrinterInfoTicket::PrinterInfoTicket(PMPrintSession session) : JobTicket(session) {
  mValid = BindSessionTicket(kPDE_PMPrinterInfoRef);
}

CFTypeRef PrinterInfoTicket::Item(CFStringRef key, CFTypeID type) {
  CFTypeRef item = nullptr;
  mAccessorStatus = PMTicketGetItem(mTicket, kPMTopLevel, kPMTopLevel, key, &item);
  if (item != nullptr && type != 0 && CFGetTypeID(item) != type) return nullptr;
  return item;
}

CFStringRef PrinterInfoTicket::StringItem(CFStringRef key) {
  return static_cast<CFStringRef>(Item(key, CFStringGetTypeID()));
}

bool PrinterInfoTicket::IsTrue(CFStringRef key) {
  CFTypeRef item = Item(key, CFBooleanGetTypeID());
  return item != nullptr && CFBooleanGetValue(static_cast<CFBooleanRef>(item));
}

long PrinterInfoTicket::IntegerItem(CFStringRef key) {
  CFNumberRef number = static_cast<CFNumberRef>(Item(key, CFNumberGetTypeID()));
  SInt32 value = 0;
  if (number != nullptr && !CFNumberGetValue(number, kCFNumberSInt32Type, &value)) value = 0;
  return value;
}

bool PrinterInfoTicket::CopyStringItem(CFStringRef key, CString& text) {
  text = "";
  CFStringRef item = StringItem(key);
  if (item == nullptr) return false;
  text = item;
  return true;
}

CFStringRef PrinterInfoTicket::GetFullPrinterTypeName() {
  return StringItem(kPMPrinterLongNameKey);
}

bool PrinterInfoTicket::GetFullPrinterTypeName(CString& name) {
  return CopyStringItem(kPMPrinterLongNameKey, name);
}

CFStringRef PrinterInfoTicket::GetPrinterMakeAndModel() {
  return StringItem(kPMMakeAndModelNameKey);
}

bool PrinterInfoTicket::GetPrinterMakeAndModel(CString& makeAndModel) {
  return CopyStringItem(kPMMakeAndModelNameKey, makeAndModel);
}

CFStringRef PrinterInfoTicket::GetPrinterAddress() { return StringItem(kPMPrinterAddressKey); }

bool PrinterInfoTicket::SupportColor() { return IsTrue(kPMSupportsColorKey); }

bool PrinterInfoTicket::SupportCopies() { return IsTrue(kPMDoesCopiesKey); }

bool PrinterInfoTicket::SupportCopiesAndCollate() { return IsTrue(kPMDoesCopyCollateKey); }

bool PrinterInfoTicket::SupportReversePrintingOrder() { return IsTrue(kPMDoesReverseOrderKey); }

CFArrayRef PrinterInfoTicket::InputFileList() {
  return static_cast<CFArrayRef>(Item(kPMInputFileTypeListKey, CFArrayGetTypeID()));
}

CFArrayRef PrinterInfoTicket::OutputTypeList() {
  return static_cast<CFArrayRef>(Item(kPMOutputTypeListKey, CFArrayGetTypeID()));
}

void PrinterInfoTicket::PostscriptVersion(CFNumberRef* level, CFStringRef* version,
                                          CFNumberRef* revision) {
  if (level != nullptr)
    *level = static_cast<CFNumberRef>(Item(kPMPostScriptLevelKey, CFNumberGetTypeID()));
  if (version != nullptr) *version = StringItem(kPMPostScriptVersionKey);
  if (revision != nullptr)
    *revision = static_cast<CFNumberRef>(Item(kPMPostScriptRevisionKey, CFNumberGetTypeID()));
}

namespace {

// -1 for a number that is not a whole 32-bit value.
long Integer(CFNumberRef number) {
  SInt32 value = 0;
  return CFNumberGetValue(number, kCFNumberSInt32Type, &value) ? long(value) : -1;
}

}  // namespace

bool PrinterInfoTicket::PostscriptVersion(long* level, CString* version, long* revision) {
  CFNumberRef levelNumber = nullptr, revisionNumber = nullptr;
  CFStringRef versionText = nullptr;
  PostscriptVersion(level != nullptr ? &levelNumber : nullptr,
                    version != nullptr ? &versionText : nullptr,
                    revision != nullptr ? &revisionNumber : nullptr);
  bool delivered = false;
  if (levelNumber != nullptr) {
    *level = Integer(levelNumber);
    delivered = true;
  }
  if (versionText != nullptr) {
    *version = versionText;
    delivered = true;
  }
  if (revisionNumber != nullptr) {
    *revision = Integer(revisionNumber);
    delivered = true;
  }
  return delivered;
}

long PrinterInfoTicket::TrueTypeFontRasterizer() {
  return IntegerItem(kPMPostScriptTrueTypeFontRasterizerKey);
}

long PrinterInfoTicket::MemoryInstalled() { return IntegerItem(kPMTotalMemInstalledKey); }

CFStringRef PrinterInfoTicket::PPDFile() { return StringItem(kPMDescriptionFileKey); }

bool PrinterInfoTicket::PPDFile(CString& path) {
  return CopyStringItem(kPMDescriptionFileKey, path);
}

CFTypeRef PrinterInfoTicket::GetColorDeviceUUID() { return Item(kPMColorDeviceIDKey, 0); }

bool PrinterInfoTicket::GetColorDeviceUUID(CString& uuid) {
  return CopyStringItem(kPMColorDeviceIDKey, uuid);
}
