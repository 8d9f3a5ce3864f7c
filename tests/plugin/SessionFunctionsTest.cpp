// What the plug-in asks of the print session: tickets, printer, PPD, connection.
#include <gtest/gtest.h>

#include "cf/CFRef.h"
#include "plugin/SessionFunctions.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFile.h"

namespace {

class SessionFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(noErr, PMCreateSession(&mSession)); }
  void TearDown() override { PMRelease(mSession); }

  // Makes a printer of that device URI (none when null) and PPD the current one.
  void UsePrinter(const char* deviceURI, const char* ppdPath = nullptr) {
    CFRef<CFStringRef> uriText(deviceURI != nullptr ? CreateText(deviceURI) : nullptr);
    CFRef<CFURLRef> uri(uriText ? CFURLCreateWithString(nullptr, uriText.get(), nullptr) : nullptr);
    CFRef<CFURLRef> ppd(ppdPath != nullptr ? CreateFileURL(ppdPath) : nullptr);
    PMPrinter printer = nullptr;
    ASSERT_EQ(noErr,
              PMPrinterCreate(CFSTR("Queue 1"), CFSTR("ZPX 9000"), ppd.get(), uri.get(), &printer));
    ASSERT_EQ(noErr, PMSessionSetCurrentPMPrinter(mSession, printer));
    PMRelease(printer);
  }

  std::string Connection() { return TakeText(CopyPrinterConnectionType(mSession)); }

  PMPrintSession mSession = nullptr;
};

}  // namespace

TEST_F(SessionFunctionsTest, MyGetTicketReadsNumbersOnly) {
  PMTicketRef ticket = nullptr;
  ASSERT_EQ(noErr, MyGetTicket(mSession, CFSTR("PMPageFormatTicket"), ticket));
  CFStringRef type = nullptr;
  EXPECT_EQ(noErr, PMTicketGetType(ticket, &type));
  EXPECT_TRUE(CFEqual(type, kPMPageFormatTicket));

  PMTicketRef untouched = reinterpret_cast<PMTicketRef>(uintptr_t(77));
  ticket = untouched;
  ASSERT_EQ(noErr, PMSessionSetDataInSession(mSession, CFSTR("PMPageFormatTicket"), CFSTR("12")));
  EXPECT_EQ(-30889, MyGetTicket(mSession, CFSTR("PMPageFormatTicket"), ticket));
  EXPECT_EQ(untouched, ticket);
  double real = 1.5;
  CFRef<CFNumberRef> fraction(CFNumberCreate(nullptr, kCFNumberDoubleType, &real));
  PMSessionSetDataInSession(mSession, CFSTR("PMPageFormatTicket"), fraction.get());
  EXPECT_EQ(-30889, MyGetTicket(mSession, CFSTR("PMPageFormatTicket"), ticket));
  EXPECT_EQ(untouched, ticket);
  EXPECT_EQ(kPMKeyNotFound, MyGetTicket(mSession, CFSTR("NoTicket"), ticket));
  EXPECT_EQ(kPMInvalidPrintSession, MyGetTicket(nullptr, CFSTR("PMPrintSettingsTicket"), ticket));
}

TEST_F(SessionFunctionsTest, PrinterNameAndPPDFile) {
  CFURLRef url = nullptr;
  FSRef file;
  EXPECT_EQ(nullptr, GetCurrentPrinterName(mSession));
  EXPECT_EQ(kPMInvalidPrinter, GetPPDFile(mSession, url, file));

  UsePrinter("usb://ZPX/9000", "/nonexistent/zpx.ppd");
  EXPECT_EQ("Queue 1", TextOf(GetCurrentPrinterName(mSession)));
  EXPECT_EQ(-43, GetPPDFile(mSession, url, file));
  EXPECT_EQ(nullptr, url);

  TempFile ppd("*PPD-Adobe: \"4.3\"\n");
  UsePrinter("usb://ZPX/9000", ppd.Path());
  ASSERT_EQ(noErr, GetPPDFile(mSession, url, file));
  EXPECT_EQ(ppd.Path(), TakeText(CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle)));
  UInt8 path[1024];
  EXPECT_EQ(noErr, FSRefMakePath(&file, path, sizeof path));
  EXPECT_STREQ(ppd.Path(), reinterpret_cast<char*>(path));
  CFRelease(url);

  UsePrinter("usb://ZPX/9000");
  EXPECT_EQ(kPMNoSuchEntry, GetPPDFile(mSession, url, file));
}

TEST_F(SessionFunctionsTest, ConnectionTestsCompareTheSchemeExactly) {
  struct Case {
    const char* uri;
    const char* scheme;
    bool usb, pap, ipp;
  };
  for (const Case& c : {Case{"usb://ZPX/9000", "usb", true, false, false},
                        Case{"pap://zone/printer", "pap", false, true, false},
                        Case{"ipp://host/queue", "ipp", false, false, true},
                        Case{"ipps://host/queue", "ipps", false, false, false},
                        Case{"USB://ZPX/9000", "USB", false, false, false},
                        Case{"ZPX9000", "<null>", false, false, false},
                        Case{nullptr, "<null>", false, false, false}}) {
    UsePrinter(c.uri);
    EXPECT_EQ(c.scheme, Connection()) << (c.uri ? c.uri : "no URI");
    EXPECT_EQ(c.usb, isUSBPrinterConnection(mSession)) << (c.uri ? c.uri : "no URI");
    EXPECT_EQ(c.pap, isAppleTalkPrinterConnection(mSession)) << (c.uri ? c.uri : "no URI");
    EXPECT_EQ(c.ipp, isIPPrinterConnection(mSession)) << (c.uri ? c.uri : "no URI");
  }
}
