// A session's tickets kept in a file between runs, and files that break the form.
#include <gtest/gtest.h>

#include "cf/CFRef.h"
#include "host/TicketsFile.h"
#include "support/FileText.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

class TicketsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(noErr, PMCreateSession(&mSession)); }
  void TearDown() override { PMRelease(mSession); }

  PMTicketRef Ticket(CFStringRef name) const {
    CFTypeRef datum = nullptr;
    SInt32 number = 0;
    PMSessionGetDataFromSession(mSession, name, &datum);
    CFNumberGetValue(static_cast<CFNumberRef>(datum), kCFNumberSInt32Type, &number);
    return reinterpret_cast<PMTicketRef>(uintptr_t(UInt32(number)));
  }

  std::string SavedText() {
    std::string path = mFolder.Path() + "/tickets.plist";
    EXPECT_EQ(noErr, TicketsFile::Save(mSession, path.c_str()));
    return FileText(path);
  }

  // Loads the text as a tickets file; the print settings must stay as they were
  // whenever the load fails.
  OSStatus LoadText(const std::string& text) {
    std::string path = mFolder.Write("load.plist", text);
    PMTicketRef before = Ticket(kPDE_PMPrintSettingsRef);
    OSStatus status = TicketsFile::Load(mSession, path.c_str());
    if (status != noErr) {
      EXPECT_EQ(before, Ticket(kPDE_PMPrintSettingsRef));
    }
    return status;
  }

  PMPrintSession mSession = nullptr;
  TempFolder mFolder;
};

}  // namespace

TEST_F(TicketsFileTest, TicketsComeBackWithTheirLocksAndContainedTickets) {
  PMTicketRef settings = Ticket(kPDE_PMPrintSettingsRef);
  ASSERT_EQ(noErr, PMTicketSetSInt32(settings, CFSTR("dialog"), kPMCopiesKey, 3, true));
  ASSERT_EQ(noErr, PMTicketSetCFString(settings, CFSTR("pde"), CFSTR("values"), CFSTR("x"), false));
  PMTicketRef paper = nullptr;
  ASSERT_EQ(noErr, PMTicketGetTicket(Ticket(kPDE_PMPageFormatRef), kPMPaperInfoTicket, 0, &paper));
  ASSERT_EQ(noErr,
            PMTicketSetCFString(paper, CFSTR("dialog"), kPMPaperNameKey, CFSTR("A3"), false));
  ASSERT_EQ(noErr, PMTicketSetSInt32(Ticket(kPDE_PMPageFormatRef), CFSTR("dialog"),
                                     kPMOrientationKey, 2, false));
  std::string path = mFolder.Path() + "/tickets.plist";
  ASSERT_EQ(noErr, TicketsFile::Save(mSession, path.c_str()));

  PMPrintSession later = nullptr;
  ASSERT_EQ(noErr, PMCreateSession(&later));
  ASSERT_EQ(noErr, TicketsFile::Load(later, path.c_str()));
  std::swap(mSession, later);
  PMRelease(later);

  settings = Ticket(kPDE_PMPrintSettingsRef);
  SInt32 copies = 0;
  EXPECT_EQ(noErr, PMTicketGetSInt32(settings, kPMTopLevel, kPMTopLevel, kPMCopiesKey, &copies));
  EXPECT_EQ(3, copies);
  EXPECT_EQ(kPMItemIsLocked, PMTicketSetSInt32(settings, CFSTR("other"), kPMCopiesKey, 5, false));
  EXPECT_EQ(noErr,
            PMTicketSetCFString(settings, CFSTR("other"), CFSTR("values"), CFSTR("y"), false));
  ASSERT_EQ(noErr, PMTicketGetTicket(Ticket(kPDE_PMPageFormatRef), kPMPaperInfoTicket, 0, &paper));
  CFStringRef paperName = nullptr;
  EXPECT_EQ(noErr,
            PMTicketGetCFString(paper, kPMTopLevel, kPMTopLevel, kPMPaperNameKey, &paperName));
  EXPECT_EQ("A3", TextOf(paperName));
  SInt32 orientation = 0;
  EXPECT_EQ(noErr, PMTicketGetSInt32(Ticket(kPDE_PMPageFormatRef), kPMTopLevel, kPMTopLevel,
                                     kPMOrientationKey, &orientation));
  EXPECT_EQ(2, orientation);
}

TEST_F(TicketsFileTest, FilesOfTheWrongFormChangeNothing) {
  ASSERT_EQ(noErr,
            PMTicketSetSInt32(Ticket(kPDE_PMPrintSettingsRef), CFSTR("a"), kPMCopiesKey, 4, false));
  const std::string good = SavedText();
  ASSERT_NE(good.find("<key>Creator</key>"), std::string::npos);

  EXPECT_EQ(fnfErr, TicketsFile::Load(mSession, (mFolder.Path() + "/none.plist").c_str()));
  EXPECT_EQ(kPMXMLParseError, LoadText(good.substr(0, good.size() / 2)));
  EXPECT_EQ(kPMXMLParseError, LoadText(""));
  EXPECT_EQ(kPMInvalidTicket, LoadText("<plist><array/></plist>"));

  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  // An item list that is no list, an item without its creator, a lock that is
  // no boolean, a ticket of the wrong type in a place, a missing ticket.
  EXPECT_EQ(kPMInvalidTicket,
            LoadText(replaced("<key>Items</key>\n\t\t<array>",
                              "<key>Items</key><string/><key>x</key>\n\t\t<array>")));
  EXPECT_EQ(kPMInvalidItem, LoadText(replaced("<key>Creator</key>", "<key>Maker</key>")));
  EXPECT_EQ(kPMInvalidItem, LoadText(replaced("<false/>", "<string>no</string>")));
  EXPECT_EQ(kPMInvalidTicket, LoadText(replaced("com.apple.print.PrintSettingsTicket",
                                                "com.apple.print.PageFormatTicket")));
  EXPECT_EQ(kPMInvalidTicket,
            LoadText(replaced("<key>PMPrinterInfoTicket</key>", "<key>Elsewhere</key>")));

  // The session still answers what it had.
  SInt32 copies = 0;
  EXPECT_EQ(noErr, PMTicketGetSInt32(Ticket(kPDE_PMPrintSettingsRef), kPMTopLevel, kPMTopLevel,
                                     kPMCopiesKey, &copies));
  EXPECT_EQ(4, copies);
  EXPECT_EQ(noErr, LoadText(good));
}
