// Sessions and printers: the session's own tickets, its data and its printer.
#include <gtest/gtest.h>

#include "cf/CFRef.h"
#include "print/PMPrintSession.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"

namespace {

// The ticket that the session keeps under the name.
PMTicketRef SessionTicket(PMPrintSession session, CFStringRef name) {
  CFTypeRef datum = nullptr;
  SInt32 number = 0;
  if (PMSessionGetDataFromSession(session, name, &datum) != noErr ||
      CFGetTypeID(datum) != CFNumberGetTypeID() ||
      !CFNumberGetValue(static_cast<CFNumberRef>(datum), kCFNumberSInt32Type, &number))
    return nullptr;
  return reinterpret_cast<PMTicketRef>(uintptr_t(UInt32(number)));
}

}  // namespace

TEST(PMPrintSession, KeepsThreeTicketsAsNumbers) {
  PMPrintSession session = nullptr;
  ASSERT_EQ(noErr, PMCreateSession(&session));
  const std::pair<CFStringRef, CFStringRef> kinds[] = {
      {kPDE_PMPrintSettingsRef, kPMPrintSettingsTicket},
      {kPDE_PMPrinterInfoRef, kPMPrinterInfoTicket},
      {kPDE_PMPageFormatRef, kPMPageFormatTicket}};
  for (const auto& kind : kinds) {
    CFStringRef type = nullptr;
    EXPECT_EQ(noErr, PMTicketGetType(SessionTicket(session, kind.first), &type));
    EXPECT_TRUE(CFEqual(type, kind.second)) << TextOf(kind.first);
  }
  PMTicketRef paper = nullptr;
  EXPECT_EQ(noErr, PMTicketGetTicket(SessionTicket(session, kPDE_PMPageFormatRef),
                                     kPMPaperInfoTicket, 0, &paper));

  PMTicketRef settings = SessionTicket(session, kPDE_PMPrintSettingsRef);
  EXPECT_EQ(noErr, PMRelease(session));
  // The session's tickets went with it; the stale pointer is refused.
  SInt32 copies = 0;
  EXPECT_EQ(kPMInvalidTicket,
            PMTicketGetSInt32(settings, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &copies));
  EXPECT_EQ(kPMInvalidParameter, PMRelease(session));
  CFTypeRef datum = nullptr;
  EXPECT_EQ(kPMInvalidPrintSession,
            PMSessionGetDataFromSession(session, kPDE_PMPageFormatRef, &datum));
}

TEST(PMPrintSession, DataAndCurrentPrinter) {
  PMPrintSession session = nullptr;
  ASSERT_EQ(noErr, PMCreateSession(&session));
  CFTypeRef datum = CFSTR("stale");
  EXPECT_EQ(kPMKeyNotFound, PMSessionGetDataFromSession(session, CFSTR("missing"), &datum));
  EXPECT_EQ(nullptr, datum);
  EXPECT_EQ(noErr, PMSessionSetDataInSession(session, CFSTR("note"), CFSTR("hello")));
  EXPECT_EQ(noErr, PMSessionGetDataFromSession(session, CFSTR("note"), &datum));
  EXPECT_TRUE(CFEqual(datum, CFSTR("hello")));

  PMPrinter current = nullptr;
  EXPECT_EQ(kPMInvalidPrinter, PMSessionGetCurrentPrinter(session, &current));

  CFRef<CFURLRef> ppd(CreateFileURL("/tmp/some.ppd"));
  CFRef<CFURLRef> device(CFURLCreateWithString(nullptr, CFSTR("ipp://host/queue"), nullptr));
  PMPrinter printer = nullptr;
  ASSERT_EQ(noErr,
            PMPrinterCreate(CFSTR("Queue"), CFSTR("ZPX 9000"), ppd.get(), device.get(), &printer));
  EXPECT_EQ(noErr, PMSessionSetCurrentPMPrinter(session, printer));
  PMRelease(printer);  // the session holds its own

  ASSERT_EQ(noErr, PMSessionGetCurrentPrinter(session, &current));
  EXPECT_EQ("Queue", TextOf(PMPrinterGetName(current)));
  CFStringRef model = nullptr;
  EXPECT_EQ(noErr, PMPrinterGetMakeAndModelName(current, &model));
  EXPECT_EQ("ZPX 9000", TextOf(model));
  CFURLRef url = nullptr;
  EXPECT_EQ(noErr, PMPrinterCopyDescriptionURL(current, kPMPPDDescriptionType, &url));
  EXPECT_TRUE(CFEqual(url, ppd.get()));
  CFRelease(url);
  EXPECT_EQ(kPMInvalidParameter, PMPrinterCopyDescriptionURL(current, CFSTR("Other"), &url));
  EXPECT_EQ(nullptr, url);
  EXPECT_EQ(noErr, PMPrinterCopyDeviceURI(current, &url));
  EXPECT_EQ("ipp", TakeText(CFURLCopyScheme(url)));
  CFRelease(url);

  PMPrinter bare = nullptr;
  ASSERT_EQ(noErr, PMPrinterCreate(CFSTR("Bare"), nullptr, nullptr, nullptr, &bare));
  EXPECT_EQ(kPMNoSuchEntry, PMPrinterCopyDeviceURI(bare, &url));
  EXPECT_EQ(kPMNoSuchEntry, PMPrinterCopyDescriptionURL(bare, kPMPPDDescriptionType, &url));
  EXPECT_EQ(kPMInvalidPrinter,
            PMSessionSetCurrentPMPrinter(session, reinterpret_cast<PMPrinter>(session)));
  PMRelease(bare);
  PMRelease(session);
}
