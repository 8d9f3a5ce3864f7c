// Typed access to tickets, and the printer info ticket's accessors.
#include <gtest/gtest.h>

#include "cf/CFRef.h"
#include "foundation/CString.h"
#include "output/PrintSettingsTicket.h"
#include "output/PrinterInfoTicket.h"
#include "support/PlatformString.h"

namespace {

class JobTicketTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(noErr, PMCreateSession(&mSession)); }
  void TearDown() override { PMRelease(mSession); }
  PMPrintSession mSession = nullptr;
};

}  // namespace

TEST_F(JobTicketTest, TypedItemsAndTheStatusOfEachCall) {
  PrintSettingsTicket settings(mSession);
  ASSERT_TRUE(settings.IsValid());
  CFRef<CFMutableDictionaryRef> values(CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  CFDictionarySetValue(values.get(), CFSTR("*Duplex"), CFSTR("None"));
  EXPECT_EQ(noErr, settings.Set(CFSTR("app"), CFSTR("dict"), values.get(), false));
  EXPECT_EQ(noErr, settings.Set(CFSTR("app"), CFSTR("count"), 12L, false));
  EXPECT_EQ(noErr, settings.Set(CFSTR("app"), CFSTR("text"), CFSTR("abc"), true));

  CFDictionaryRef dictionary = nullptr;
  EXPECT_EQ(noErr, settings.Get(CFSTR("dict"), dictionary));
  EXPECT_TRUE(CFEqual(dictionary, values.get()));
  long count = 0;
  EXPECT_EQ(noErr, settings.GetInt(CFSTR("count"), count));
  EXPECT_EQ(12, count);
  CFStringRef text = nullptr;
  EXPECT_EQ(kPMItemIsLocked, settings.Set(CFSTR("other"), CFSTR("text"), CFSTR("x"), false));
  EXPECT_EQ(kPMItemIsLocked, settings.LastStatus());
  EXPECT_EQ(noErr, settings.Get(CFSTR("text"), text));
  EXPECT_EQ("abc", TextOf(text));
  CFDataRef data = reinterpret_cast<CFDataRef>(CFSTR("stale"));
  EXPECT_EQ(kPMInvalidType, settings.Get(CFSTR("text"), data));
  EXPECT_EQ(nullptr, data);
  EXPECT_EQ(noErr, settings.Release(CFSTR("count")));
  EXPECT_EQ(kPMKeyNotFound, settings.GetInt(CFSTR("count"), count));

  // Numbers of the session: missing or 0 is -30875.
  long number = 5;
  EXPECT_EQ(-30875, settings.Get(CFSTR("nothing"), number));
  EXPECT_EQ(0, number);
  SInt32 zero = 0;
  CFRef<CFNumberRef> zeroNumber(CFNumberCreate(nullptr, kCFNumberSInt32Type, &zero));
  PMSessionSetDataInSession(mSession, CFSTR("zero"), zeroNumber.get());
  EXPECT_EQ(-30875, settings.Get(CFSTR("zero"), number));

  // No ticket at all: every read and write is -30891.
  PMSessionSetDataInSession(mSession, kPDE_PMPrintSettingsRef, zeroNumber.get());
  PrintSettingsTicket none(mSession);
  EXPECT_FALSE(none.IsValid());
  EXPECT_EQ(-30891, none.Get(CFSTR("text"), text));
  EXPECT_EQ(-30891, none.Set(CFSTR("app"), CFSTR("text"), CFSTR("x"), false));
  EXPECT_EQ(-30891, none.GetInt(CFSTR("count"), count));
  EXPECT_EQ(-30891, none.LastStatus());
}

TEST_F(JobTicketTest, AnOwnedTicketGoesWithItsObject) {
  PMTicketRef kept = nullptr;
  {
    JobTicket owned(kPMPageFormatTicket);
    ASSERT_TRUE(owned.IsValid());
    kept = owned.Ticket();
    EXPECT_EQ(noErr, owned.Set(CFSTR("app"), kPMOrientationKey, 2L, false));
  }
  CFTypeRef item = nullptr;
  EXPECT_EQ(kPMInvalidTicket,
            PMTicketGetItem(kept, kPMTopLevel, kPMTopLevel, kPMOrientationKey, &item));
}

TEST_F(JobTicketTest, PrinterInfoAccessors) {
  PrinterInfoTicket info(mSession);
  ASSERT_TRUE(info.IsValid());
  CString text("old");
  long level = 9, revision = 9;
  EXPECT_EQ(nullptr, info.GetFullPrinterTypeName());
  EXPECT_FALSE(info.GetFullPrinterTypeName(text));
  EXPECT_FALSE(info.SupportColor());
  EXPECT_EQ(0, info.MemoryInstalled());
  EXPECT_FALSE(info.PostscriptVersion(&level, &text, &revision));
  EXPECT_EQ(9, level);
  EXPECT_FALSE(info.PPDFile(text));
  EXPECT_TRUE(text.Empty());
  EXPECT_EQ(kPMKeyNotFound, info.AccessorStatus());

  PMTicketRef ticket = info.Ticket();
  CFStringRef app = CFSTR("host");
  PMTicketSetCFString(ticket, app, kPMPrinterLongNameKey, CFSTR("ZPX 9000 Production"), false);
  PMTicketSetCFString(ticket, app, kPMMakeAndModelNameKey, CFSTR("ZPX 9000"), false);
  PMTicketSetCFString(ticket, app, kPMPrinterAddressKey, CFSTR("10.0.0.9"), false);
  PMTicketSetItem(ticket, app, kPMSupportsColorKey, kCFBooleanTrue, false);
  PMTicketSetItem(ticket, app, kPMDoesCopiesKey, kCFBooleanFalse, false);
  PMTicketSetCFString(ticket, app, kPMDoesCopyCollateKey, CFSTR("true"), false);  // not a boolean
  PMTicketSetSInt32(ticket, app, kPMPostScriptLevelKey, 3, false);
  PMTicketSetCFString(ticket, app, kPMPostScriptVersionKey, CFSTR("3011.104"), false);
  double fraction = 2.5;
  CFRef<CFNumberRef> real(CFNumberCreate(nullptr, kCFNumberDoubleType, &fraction));
  PMTicketSetItem(ticket, app, kPMPostScriptRevisionKey, real.get(), false);
  PMTicketSetSInt32(ticket, app, kPMTotalMemInstalledKey, 1024, false);
  PMTicketSetSInt32(ticket, app, kPMPostScriptTrueTypeFontRasterizerKey, 1, false);
  PMTicketSetCFString(ticket, app, kPMDescriptionFileKey, CFSTR("/etc/cups/ppd/q.ppd"), false);
  CFRef<CFMutableArrayRef> types(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  CFArrayAppendValue(types.get(), CFSTR("application/postscript"));
  PMTicketSetCFArray(ticket, app, kPMOutputTypeListKey, types.get(), false);

  EXPECT_EQ("ZPX 9000 Production", TextOf(info.GetFullPrinterTypeName()));
  EXPECT_TRUE(info.GetPrinterMakeAndModel(text));
  EXPECT_STREQ("ZPX 9000", text);
  EXPECT_EQ("10.0.0.9", TextOf(info.GetPrinterAddress()));
  EXPECT_TRUE(info.SupportColor());
  EXPECT_FALSE(info.SupportCopies());
  EXPECT_FALSE(info.SupportCopiesAndCollate());
  EXPECT_FALSE(info.SupportReversePrintingOrder());
  EXPECT_EQ(1, CFArrayGetCount(info.OutputTypeList()));
  EXPECT_EQ(nullptr, info.InputFileList());
  EXPECT_EQ(1024, info.MemoryInstalled());
  EXPECT_EQ(1, info.TrueTypeFontRasterizer());
  EXPECT_TRUE(info.PPDFile(text));
  EXPECT_STREQ("/etc/cups/ppd/q.ppd", text);

  EXPECT_TRUE(info.PostscriptVersion(&level, &text, &revision));
  EXPECT_EQ(3, level);
  EXPECT_STREQ("3011.104", text);
  EXPECT_EQ(-1, revision);  // 2.5 is no whole number
  long onlyLevel = 0;
  EXPECT_TRUE(info.PostscriptVersion(&onlyLevel, nullptr, nullptr));
  EXPECT_EQ(3, onlyLevel);
  CFNumberRef levelNumber = nullptr, revisionNumber = real.get();
  CFStringRef version = nullptr;
  PMTicketReleaseItem(ticket, kPMPostScriptRevisionKey);
  info.PostscriptVersion(&levelNumber, &version, &revisionNumber);
  EXPECT_NE(nullptr, levelNumber);
  EXPECT_EQ("3011.104", TextOf(version));
  EXPECT_EQ(nullptr, revisionNumber);
}
