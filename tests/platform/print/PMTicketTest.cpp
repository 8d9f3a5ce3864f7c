// Tickets of the print system: typed items, locking, contained tickets, and
// references that outlive their tickets.
#include <gtest/gtest.h>

#include <cstdint>

#include "cf/CFRef.h"
#include "print/PMTicket.h"
#include "support/PlatformString.h"

namespace {

// A ticket of the type, released at the end of the test.
struct ScopedTicket {
  explicit ScopedTicket(CFStringRef type) {
    EXPECT_EQ(noErr, PMTicketCreate(nullptr, type, &ticket));
  }
  ~ScopedTicket() {
    if (ticket != nullptr) PMTicketReleaseAndClear(&ticket);
  }
  PMTicketRef ticket = nullptr;
};

}  // namespace

TEST(PMTicket, TypedItemsAnswerTheirOwnTypeOnly) {
  ScopedTicket settings(kPMPrintSettingsTicket);
  PMTicketRef ticket = settings.ticket;
  EXPECT_EQ(noErr, PMTicketSetSInt32(ticket, CFSTR("app"), kPMCopiesKey, 7, false));
  EXPECT_EQ(noErr, PMTicketSetCFString(ticket, CFSTR("app"), CFSTR("name"), CFSTR("ZPX"), false));
  const UInt8 bytes[] = {1, 2, 3};
  CFRef<CFDataRef> data(CFDataCreate(nullptr, bytes, 3));
  EXPECT_EQ(noErr, PMTicketSetCFData(ticket, CFSTR("app"), CFSTR("blob"), data.get(), false));

  SInt32 copies = 0;
  EXPECT_EQ(noErr, PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &copies));
  EXPECT_EQ(7, copies);
  CFStringRef name = nullptr;
  EXPECT_EQ(noErr, PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, CFSTR("name"), &name));
  EXPECT_EQ("ZPX", TextOf(name));
  CFDataRef blob = nullptr;
  EXPECT_EQ(noErr, PMTicketGetCFData(ticket, kPMTopLevel, kPMTopLevel, CFSTR("blob"), &blob));
  EXPECT_EQ(3, CFDataGetLength(blob));

  // Another type, a missing key, another level: refused, output cleared.
  name = CFSTR("stale");
  EXPECT_EQ(kPMInvalidType,
            PMTicketGetCFString(ticket, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &name));
  EXPECT_EQ(nullptr, name);
  CFArrayRef array = nullptr;
  EXPECT_EQ(kPMKeyNotFound,
            PMTicketGetCFArray(ticket, kPMTopLevel, kPMTopLevel, CFSTR("none"), &array));
  EXPECT_EQ(kPMInvalidIndex, PMTicketGetSInt32(ticket, 1, kPMTopLevel, kPMCopiesKey, &copies));
  double fraction = 2.5;
  CFRef<CFNumberRef> real(CFNumberCreate(nullptr, kCFNumberDoubleType, &fraction));
  EXPECT_EQ(noErr, PMTicketSetItem(ticket, CFSTR("app"), CFSTR("real"), real.get(), false));
  EXPECT_EQ(kPMInvalidValue,
            PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, CFSTR("real"), &copies));
  EXPECT_EQ(0, copies);

  // Only property-list values are items; a creator is required.
  CFRef<CFURLRef> url(CFURLCreateWithString(nullptr, CFSTR("usb://a/b"), nullptr));
  EXPECT_EQ(kPMInvalidValue, PMTicketSetItem(ticket, CFSTR("app"), CFSTR("url"), url.get(), false));
  EXPECT_EQ(kPMInvalidParameter,
            PMTicketSetCFString(ticket, nullptr, CFSTR("x"), CFSTR("y"), false));
}

TEST(PMTicket, LockedItemsAreKeptAgainstOtherCreators) {
  ScopedTicket settings(kPMPrintSettingsTicket);
  PMTicketRef ticket = settings.ticket;
  ASSERT_EQ(noErr, PMTicketSetSInt32(ticket, CFSTR("owner"), kPMCopiesKey, 2, true));
  EXPECT_EQ(kPMItemIsLocked, PMTicketSetSInt32(ticket, CFSTR("other"), kPMCopiesKey, 9, false));
  EXPECT_EQ(kPMItemIsLocked, PMTicketReleaseItem(ticket, kPMCopiesKey));
  SInt32 copies = 0;
  PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &copies);
  EXPECT_EQ(2, copies);

  // Its creator may change it, and unlock it.
  EXPECT_EQ(noErr, PMTicketSetSInt32(ticket, CFSTR("owner"), kPMCopiesKey, 3, false));
  EXPECT_EQ(noErr, PMTicketSetSInt32(ticket, CFSTR("other"), kPMCopiesKey, 4, false));
  EXPECT_EQ(noErr, PMTicketReleaseItem(ticket, kPMCopiesKey));
  EXPECT_EQ(kPMKeyNotFound,
            PMTicketGetSInt32(ticket, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &copies));
}

TEST(PMTicket, ReferencesOfGoneOrUnknownTicketsAreRefused) {
  PMTicketRef ticket = nullptr;
  ASSERT_EQ(noErr, PMTicketCreate(nullptr, kPMPrintSettingsTicket, &ticket));
  PMTicketRef kept = ticket;
  EXPECT_EQ(noErr, PMTicketReleaseAndClear(&ticket));
  EXPECT_EQ(nullptr, ticket);

  CFTypeRef item = nullptr;
  EXPECT_EQ(kPMInvalidTicket, PMTicketGetItem(kept, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &item));
  EXPECT_EQ(kPMInvalidTicket, PMTicketSetSInt32(kept, CFSTR("app"), kPMCopiesKey, 1, false));
  EXPECT_EQ(kPMInvalidTicket, PMTicketReleaseAndClear(&kept));

  // A later ticket never takes the gone one's reference.
  ScopedTicket later(kPMPrintSettingsTicket);
  EXPECT_NE(later.ticket, kept);

  for (uintptr_t bogus : {uintptr_t(0), uintptr_t(0x7FFFFFF0), uintptr_t(0xDEADBEEF00)}) {
    PMTicketRef unknown = reinterpret_cast<PMTicketRef>(bogus);
    EXPECT_EQ(kPMInvalidTicket,
              PMTicketGetItem(unknown, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &item));
  }
}

TEST(PMTicket, ContainedTicketsAreFoundByTypeAndIndex) {
  ScopedTicket pageFormat(kPMPageFormatTicket);
  PMTicketRef paper = nullptr, paper2 = nullptr, found = nullptr;
  ASSERT_EQ(noErr, PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper));
  ASSERT_EQ(noErr, PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper2));
  ASSERT_EQ(noErr, PMTicketSetCFString(paper, CFSTR("app"), kPMPaperNameKey, CFSTR("A4"), false));

  EXPECT_EQ(kPMInvalidIndex, PMTicketSetTicket(pageFormat.ticket, paper, 1));  // no gaps
  EXPECT_EQ(noErr, PMTicketSetTicket(pageFormat.ticket, paper, 0));
  EXPECT_EQ(noErr, PMTicketSetTicket(pageFormat.ticket, paper2, 1));
  // The container holds its own reference: ours may go.
  PMTicketReleaseAndClear(&paper);
  PMTicketReleaseAndClear(&paper2);

  ASSERT_EQ(noErr, PMTicketGetTicket(pageFormat.ticket, kPMPaperInfoTicket, 0, &found));
  CFStringRef paperName = nullptr;
  EXPECT_EQ(noErr,
            PMTicketGetCFString(found, kPMTopLevel, kPMTopLevel, kPMPaperNameKey, &paperName));
  EXPECT_EQ("A4", TextOf(paperName));
  EXPECT_EQ(noErr, PMTicketGetTicket(pageFormat.ticket, kPMPaperInfoTicket, 1, &found));
  EXPECT_EQ(kPMNoSuchEntry, PMTicketGetTicket(pageFormat.ticket, kPMPaperInfoTicket, 2, &found));
  EXPECT_EQ(nullptr, found);
  EXPECT_EQ(kPMNoSuchEntry,
            PMTicketGetTicket(pageFormat.ticket, kPMPrintSettingsTicket, 0, &found));
}
