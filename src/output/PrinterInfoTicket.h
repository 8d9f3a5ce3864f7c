#pragma once
// The printer info ticket of a session: what the printer is and can do. The
// accessors answer null, false or 0 when there is no ticket or no such item,
// and keep the status of their read.

#include "output/JobTicket.h"

class CString;

class PrinterInfoTicket : public JobTicket {
 public:
  // Valid when the session keeps a printer info ticket.
  explicit PrinterInfoTicket(PMPrintSession session);

  // Items are borrowed from the ticket.
  CFStringRef GetFullPrinterTypeName();
  bool GetFullPrinterTypeName(CString& name);
  CFStringRef GetPrinterMakeAndModel();
  bool GetPrinterMakeAndModel(CString& makeAndModel);
  CFStringRef GetPrinterAddress();
  bool SupportColor();
  bool SupportCopies();
  bool SupportCopiesAndCollate();
  bool SupportReversePrintingOrder();
  CFArrayRef InputFileList();
  CFArrayRef OutputTypeList();
  // Each output is fetched only when given; one that cannot be fetched is cleared.
  void PostscriptVersion(CFNumberRef* level, CFStringRef* version, CFNumberRef* revision);
  // The same converted: level and revision as 32-bit integers (-1 for a
  // number that does not convert). True when any value was delivered.
  bool PostscriptVersion(long* level, CString* version, long* revision);
  long TrueTypeFontRasterizer();
  long MemoryInstalled();
  CFStringRef PPDFile();
  bool PPDFile(CString& path);
  CFTypeRef GetColorDeviceUUID();
  bool GetColorDeviceUUID(CString& uuid);

  OSStatus AccessorStatus() const { return mAccessorStatus; }

 private:
  // The item of the key when it has the type (0: any), else null.
  CFTypeRef Item(CFStringRef key, CFTypeID type);
  CFStringRef StringItem(CFStringRef key);
  bool IsTrue(CFStringRef key);
  long IntegerItem(CFStringRef key);
  // The string item into the text (emptied first); true when there was one.
  bool CopyStringItem(CFStringRef key, CString& text);

  OSStatus mAccessorStatus = noErr;
};
