// The job's PostScript blocks handed over through a temporary file, and the
// document's values kept in the print settings ticket.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <memory>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDRef.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "host/TicketsFile.h"
#include "output/ExclusiveFile.h"
#include "output/PrintSettingsTicket.h"
#include "output/ZPXJobTicket.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "support/ControlTestSupport.h"
#include "support/FileText.h"
#include "support/ParsedDocument.h"
#include "support/TempFolder.h"

namespace {

const std::string kSample = ZPX_BUNDLE "/samples/ZPX-Sample.ppd";

// A popup whose only choice's feature code makes its PostScript `total` bytes.
std::unique_ptr<PPDXPopupControl> PopupOfSize(long total) {
  auto make = [](const std::string& code) {
    PointerList flags, items = Items({{"Big", nullptr, code.c_str()}});
    return std::make_unique<PPDXPopupControl>("*Big", CFSTR("Big"), flags, true, false, false,
                                              items, new CString("Big"), nullptr);
  };
  // The frame around a code of one byte; each further byte adds one.
  long frame = make("p")->PostScript(nullptr) - 1;
  return make(std::string(size_t(total - frame), 'p'));
}

class ZPXJobTicketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(noErr, PMCreateSession(&mSession));
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mTemporary.Path());
    mSettings.reset(new PrintSettingsTicket(mSession));
    mKey.reset(CreatePostscriptDataFileKey());
  }
  void TearDown() override {
    mSettings.reset();
    PlatformPaths::ResetAll();
    MyFreeBundle(nullptr);
    PMRelease(mSession);
  }

  size_t TemporaryFiles() const {
    return size_t(std::distance(std::filesystem::directory_iterator(mTemporary.Path()),
                                std::filesystem::directory_iterator()));
  }

  // The path that the ticket holds under the key, "" without one.
  std::string RecordedPath() {
    CFStringRef path = nullptr;
    return mSettings->Get(mKey.get(), path) == noErr ? TextOf(path) : "";
  }

  PMPrintSession mSession = nullptr;
  TempFolder mTemporary;
  std::unique_ptr<PrintSettingsTicket> mSettings;
  CFRef<CFStringRef> mKey;
};

}  // namespace

TEST_F(ZPXJobTicketTest, SaveWritesOnlyWhatWasAddedOnce) {
  ZPXJobTicket job(mSettings.get(), mKey.get());
  ASSERT_TRUE(job.IsValid());
  EXPECT_TRUE(job.Save(CFSTR("pde")));  // nothing added
  EXPECT_EQ(0u, TemporaryFiles());
  EXPECT_EQ("", RecordedPath());

  EXPECT_TRUE(job.Add(kPSInjectionSiteFeatureCode, "", 0));
  EXPECT_EQ(0, job.Count());
  EXPECT_TRUE(job.Add(kPSInjectionSiteFeatureCode, "%%BeginFeature: *A B\n", 21));
  EXPECT_TRUE(job.Add(kPSInjectionSiteSuppressedFeature, "*Duplex", 7));
  EXPECT_TRUE(job.Add(kPSInjectionSiteHeaderComments, "%%Orientation", 13));
  EXPECT_EQ(3, job.Count());
  EXPECT_FALSE(job.Save(nullptr));  // no client id
  EXPECT_TRUE(job.Save(CFSTR("pde")));
  EXPECT_FALSE(job.IsDirty());

  const std::string path = RecordedPath();
  ASSERT_EQ(0u, path.rfind(mTemporary.Path() + "/Nimbo.temp", 0)) << path;
  struct stat status;
  ASSERT_EQ(0, lstat(path.c_str(), &status));
  EXPECT_TRUE(S_ISREG(status.st_mode));
  EXPECT_EQ(0644u, status.st_mode & 07777);

  // Alternating site numbers and data objects, sites at even positions.
  CFRef<CFURLRef> url(CreateFileURL(path));
  CFDataRef bytes = nullptr;
  ASSERT_TRUE(CFURLCreateDataAndPropertiesFromResource(nullptr, url.get(), &bytes, nullptr, nullptr,
                                                       nullptr));
  CFRef<CFDataRef> data(bytes);
  CFRef<CFPropertyListRef> list(CFPropertyListCreateFromXMLData(nullptr, bytes, 0, nullptr));
  ASSERT_TRUE(list && CFGetTypeID(list.get()) == CFArrayGetTypeID());
  CFArrayRef entries = static_cast<CFArrayRef>(list.get());
  ASSERT_EQ(6, CFArrayGetCount(entries));
  const SInt32 sites[] = {81, -9, 504};
  for (CFIndex i = 0; i < 6; i += 2) {
    SInt32 site = 0;
    ASSERT_EQ(CFNumberGetTypeID(), CFGetTypeID(CFArrayGetValueAtIndex(entries, i)));
    CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(entries, i)),
                     kCFNumberSInt32Type, &site);
    EXPECT_EQ(sites[i / 2], site);
    EXPECT_EQ(CFDataGetTypeID(), CFGetTypeID(CFArrayGetValueAtIndex(entries, i + 1)));
  }
  EXPECT_EQ(7, CFDataGetLength(static_cast<CFDataRef>(CFArrayGetValueAtIndex(entries, 3))));

  // Nothing new: nothing written. A new block: a new file.
  EXPECT_TRUE(job.Save(CFSTR("pde")));
  EXPECT_EQ(1u, TemporaryFiles());
  EXPECT_TRUE(job.Add(kPSInjectionSiteFileDestination, "/tmp/out.ps", 11));
  EXPECT_TRUE(job.Save(CFSTR("pde")));
  EXPECT_EQ(2u, TemporaryFiles());
  EXPECT_NE(path, RecordedPath());

  EXPECT_TRUE(job.Invalidate(nullptr));
  EXPECT_EQ("", RecordedPath());
}

TEST_F(ZPXJobTicketTest, AFailedSaveLeavesNoFileAndNoItem) {
  ZPXJobTicket job(mSettings.get(), mKey.get());
  ASSERT_TRUE(job.Add(kPSInjectionSiteFeatureCode, "code", 4));
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mTemporary.Path() + "/missing");
  EXPECT_FALSE(job.Save(CFSTR("pde")));
  EXPECT_EQ(dirNFErr, job.LastStatus());
  EXPECT_EQ(0u, TemporaryFiles());
  EXPECT_EQ("", RecordedPath());

  // A locked item under the key, kept by another creator: the file goes again.
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mTemporary.Path());
  ASSERT_EQ(noErr, mSettings->Set(CFSTR("someone"), mKey.get(), CFSTR("theirs"), true));
  ASSERT_TRUE(job.Add(kPSInjectionSiteFeatureCode, "code", 4));
  EXPECT_FALSE(job.Save(CFSTR("pde")));
  EXPECT_EQ(kPMItemIsLocked, job.LastStatus());
  EXPECT_EQ(0u, TemporaryFiles());

  // A name longer than the 256-byte buffer is never cut into another name.
  std::string deep = mTemporary.Path() + "/" + std::string(230, 'd');
  std::filesystem::create_directory(deep);
  PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, deep);
  ZPXJobTicket other(mSettings.get(), CFSTR("other key"));
  ASSERT_TRUE(other.Add(kPSInjectionSiteFeatureCode, "code", 4));
  EXPECT_FALSE(other.Save(CFSTR("pde")));
  EXPECT_TRUE(std::filesystem::is_empty(deep));
}

TEST(ExclusiveFile, NeverWritesThroughWhatStandsAtTheName) {
  TempFolder folder;
  const UInt8 bytes[] = {'P', 'S'};
  CFRef<CFDataRef> data(CFDataCreate(nullptr, bytes, 2));
  std::string target = folder.Write("target", "original");
  std::string link = folder.Path() + "/link";
  ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
  EXPECT_EQ(dupFNErr, ExclusiveFile::Write(link.c_str(), data.get()));
  EXPECT_EQ(dupFNErr, ExclusiveFile::Write(target.c_str(), data.get()));
  EXPECT_EQ("original", FileText(target));
  std::string dangling = folder.Path() + "/dangling";
  ASSERT_EQ(0, symlink((folder.Path() + "/nowhere").c_str(), dangling.c_str()));
  EXPECT_EQ(dupFNErr, ExclusiveFile::Write(dangling.c_str(), data.get()));
  EXPECT_FALSE(std::filesystem::exists(folder.Path() + "/nowhere"));

  mode_t previous = umask(077);
  std::string fresh = folder.Path() + "/fresh";
  EXPECT_EQ(noErr, ExclusiveFile::Write(fresh.c_str(), data.get()));
  umask(previous);
  struct stat status;
  ASSERT_EQ(0, stat(fresh.c_str(), &status));
  EXPECT_EQ(0644u, status.st_mode & 07777);
  EXPECT_EQ("PS", FileText(fresh));
}

TEST_F(ZPXJobTicketTest, ControlsOfEverySizeAddTheirWholeCode) {
  ZPXJobTicket job(mSettings.get(), mKey.get());
  EXPECT_FALSE(job.Add(kPSInjectionSiteFeatureCode, static_cast<PPDXControl*>(nullptr)));
  for (long size : {1023L, 1024L, 1025L, 40000L}) {
    std::unique_ptr<PPDXPopupControl> control = PopupOfSize(size);
    ASSERT_EQ(size, control->PostScript(nullptr));
    ASSERT_TRUE(job.Add(kPSInjectionSiteFeatureCode, control.get())) << size;
    CFDataRef added =
        static_cast<CFDataRef>(CFArrayGetValueAtIndex(job.Entries(), 2 * job.Count() - 1));
    EXPECT_EQ(size, CFDataGetLength(added));
    EXPECT_EQ(Emitted(*control), DataText(added)) << size;
  }
  EXPECT_EQ(4, job.Count());
  EXPECT_EQ(8, CFArrayGetCount(job.Entries()));
}

TEST_F(ZPXJobTicketTest, CopiesAndValuesUnderAPrinterSettingsKeyWithSpaces) {
  ZPXJobTicket job(mSettings.get(), mKey.get());
  EXPECT_EQ(0, job.GetCopies());
  EXPECT_EQ(noErr, job.EnforceCopiesLimit(CFSTR("pde"), 3));
  EXPECT_EQ(3, job.GetCopies());

  std::unique_ptr<ZPXPPD> document = ParseFile(kSample);
  ASSERT_TRUE(document->IsValidPPD());
  CFRef<CFStringRef> key(CreateClientIdentifier(CFSTR(" ZPX 9000 Pro.PInf")));
  const std::string original = Value(*document, "*ZPDuplex");
  const std::string other = "Top";
  ASSERT_EQ("False", original);
  SetValue(*document, "*ZPDuplex", other);
  EXPECT_EQ(noErr, job.SavePPDForAllKeys(document.get(), key.get()));

  // The key survives the tickets file a host keeps between runs.
  TempFolder folder;
  std::string file = folder.Path() + "/tickets.plist";
  ASSERT_EQ(noErr, TicketsFile::Save(mSession, file.c_str()));
  PMPrintSession later = nullptr;
  ASSERT_EQ(noErr, PMCreateSession(&later));
  ASSERT_EQ(noErr, TicketsFile::Load(later, file.c_str()));
  {
    PrintSettingsTicket laterSettings(later);
    ZPXJobTicket laterJob(&laterSettings, mKey.get());
    std::unique_ptr<ZPXPPD> fresh = ParseFile(kSample);
    EXPECT_EQ(original, Value(*fresh, "*ZPDuplex"));
    EXPECT_EQ(noErr, laterJob.RestorePPDForAllKeys(fresh.get(), nullptr, key.get()));
    EXPECT_EQ(other, Value(*fresh, "*ZPDuplex"));
    EXPECT_EQ(3, laterJob.GetCopies());
    EXPECT_EQ(kPMKeyNotFound, laterJob.RestorePPDForAllKeys(fresh.get(), nullptr, CFSTR("absent")));
  }
  PMRelease(later);

  // Only the listed keys travel; a listed key without an entry is set to none.
  CFStringRef listed[] = {CFSTR("*ZPDuplex"), CFSTR("*NoSuchKey")};
  CFRef<CFMutableArrayRef> valueKeys(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  for (CFStringRef listedKey : listed) CFArrayAppendValue(valueKeys.get(), listedKey);
  EXPECT_EQ(noErr, job.SavePPDForKeys(document.get(), CFSTR("some"), valueKeys.get()));
  CFDictionaryRef saved = nullptr;
  ASSERT_EQ(noErr, mSettings->Get(CFSTR("some"), saved));
  EXPECT_EQ(1, CFDictionaryGetCount(saved));
  std::unique_ptr<ZPXPPD> fresh = ParseFile(kSample);
  EXPECT_EQ(noErr, job.RestorePPDForKeys(fresh.get(), CFSTR("some"), valueKeys.get()));
  EXPECT_EQ(other, Value(*fresh, "*ZPDuplex"));
}

TEST_F(ZPXJobTicketTest, RestorePPDOnlyForPrintersTheBundleLists) {
  std::unique_ptr<ZPXPPD> document = ParseFile(kSample);
  ASSERT_TRUE(document->IsValidPPD());
  SetValue(*document, "*ZPDuplex", "Bottom");
  CFRef<CFURLRef> url(CreateFileURL(kSample));
  ZPXJobTicket job(mSettings.get(), mKey.get());
  ASSERT_TRUE(job.SavePPD(document.get(), CFSTR("PPD"), url.get()));
  CFDataRef stored = nullptr;
  EXPECT_EQ(noErr, mSettings->Get(CFSTR("PPD"), stored));

  TempFolder folder;
  auto bundleListing = [&](const std::string& name, const std::string& fileName) {
    folder.Write(name + "/Contents/Info.plist",
                 "<plist version=\"1.0\"><dict><key>CFBundleIdentifier</key><string>" +
                     TextOf(GetBundleID()) + "</string></dict></plist>");
    folder.Write(name + "/Contents/PrinterList.plist",
                 "<plist version=\"1.0\"><dict><key>PCFILENAME</key><array><string>" + fileName +
                     "</string></array></dict></plist>");
    std::string path = folder.Path() + "/" + name;
    CFRef<CFURLRef> bundleURL(CreateFileURL(path));
    return CFRef<CFBundleRef>(CFBundleCreate(nullptr, bundleURL.get()));
  };
  {
    CFRef<CFBundleRef> listing = bundleListing("Listing.plugin", "ZPX9000.PPD");
    PPDRef<ZPXPPD> restored(job.RestorePPD(CFSTR("PPD"), url.get()));
    ASSERT_TRUE(restored);
    EXPECT_EQ("Bottom", Value(*restored, "*ZPDuplex"));
    EXPECT_STREQ("ZPX9000.PPD", restored->PCFileName());
    MyFreeBundle(nullptr);
  }
  {
    CFRef<CFBundleRef> other = bundleListing("Other.plugin", "OTHER.PPD");
    EXPECT_EQ(nullptr, job.RestorePPD(CFSTR("PPD"), url.get()));
    MyFreeBundle(nullptr);
  }
  // Without a bundle, or with a blob that is no data, there is nothing to restore.
  EXPECT_EQ(nullptr, job.RestorePPD(CFSTR("PPD"), url.get()));
  CFRef<CFBundleRef> listing = bundleListing("Listing.plugin", "ZPX9000.PPD");
  mSettings->Set(CFSTR("pde"), CFSTR("Text"), CFSTR("not a blob"), false);
  EXPECT_EQ(nullptr, job.RestorePPD(CFSTR("Text"), url.get()));
  const char truncated[] = "<plist><data>AAAA";
  CFRef<CFDataRef> broken(
      CFDataCreate(nullptr, reinterpret_cast<const UInt8*>(truncated), sizeof truncated - 1));
  mSettings->Set(CFSTR("pde"), CFSTR("Broken"), broken.get(), false);
  EXPECT_EQ(nullptr, job.RestorePPD(CFSTR("Broken"), url.get()));
  EXPECT_EQ(nullptr, job.RestorePPD(CFSTR("Missing"), url.get()));
}
