#include "comm/ZPXMelvanePrinterPList.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "comm/PreferencesHome.h"
#include "support/FileText.h"
#include "support/PlatformString.h"

namespace {

const char* const kEnd = "----- Data End -----";

// The store's array as texts: strings as they are, booleans as <true>/<false>.
std::vector<std::string> Elements(CFArrayRef array) {
  std::vector<std::string> texts;
  for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
    CFTypeRef value = CFArrayGetValueAtIndex(array, i);
    if (CFGetTypeID(value) == CFStringGetTypeID())
      texts.push_back(TextOf(static_cast<CFStringRef>(value)));
    else if (CFGetTypeID(value) == CFBooleanGetTypeID())
      texts.push_back(CFBooleanGetValue(static_cast<CFBooleanRef>(value)) ? "<true>" : "<false>");
    else
      texts.push_back("<other>");
  }
  return texts;
}

std::string FindText(const ZPXMelvanePrinterPList& store, const char* name) {
  CFRef<CFStringRef> key(CreateText(name));
  return TextOf(store.Find(key.get()));
}

bool AddPrinter(ZPXMelvanePrinterPList& store, const char* name, const char* address, bool on) {
  CFRef<CFStringRef> key(CreateText(name));
  CFRef<CFStringRef> value(CreateText(address));
  return store.Add(key.get(), value.get(), on);
}

bool AddBlob(ZPXMelvanePrinterPList& store, const char* name, int blob,
             const std::vector<std::string>& lines) {
  std::unique_ptr<char[][ZPXMelvanePrinterPList::kBlobLineSize]> slots(
      new char[lines.size()][ZPXMelvanePrinterPList::kBlobLineSize]());
  for (size_t i = 0; i < lines.size(); ++i) std::memcpy(slots[i], lines[i].data(), lines[i].size());
  CFRef<CFStringRef> key(CreateText(name));
  return store.AddDataBlob(key.get(), int(lines.size()), blob, slots.get());
}

// The blob's lines, or {"<none>"} when the store answers false.
std::vector<std::string> Blob(const ZPXMelvanePrinterPList& store, const char* name, int blob) {
  CFRef<CFStringRef> key(CreateText(name));
  CFRef<CFMutableArrayRef> lines(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  if (!store.GetDataBlob(key.get(), blob, lines.get())) return {"<none>"};
  return Elements(lines.get());
}

bool TwoWay(const ZPXMelvanePrinterPList& store, const char* name) {
  CFRef<CFStringRef> key(CreateText(name));
  return store.getIPEnabled(key.get());
}

}  // namespace

TEST(ZPXMelvanePrinterPList, NewPrinterIsSavedBelowTheHomeFolder) {
  PreferencesHome home;
  {
    ZPXMelvanePrinterPList store;
    EXPECT_TRUE(store.IsValid());
    EXPECT_EQ(CFArrayGetCount(store.GetArray()), 0);
    EXPECT_EQ(FindText(store, "Office"), "");
    EXPECT_FALSE(TwoWay(store, "Office"));
    EXPECT_EQ(Blob(store, "Office", 1), std::vector<std::string>{"<none>"});
    EXPECT_TRUE(AddBlob(store, "Office", 1, {"ignored"}));  // no record: nothing happens
    EXPECT_FALSE(store.IsDirty());

    ASSERT_TRUE(AddPrinter(store, "Office", "10.0.0.9", true));
    EXPECT_TRUE(store.IsDirty());
    EXPECT_EQ(Elements(store.GetArray()),
              (std::vector<std::string>{"Office", "10.0.0.9", "<true>", "2", kEnd}));
    // The home folder has no preferences folder yet: Save makes it.
    ASSERT_TRUE(store.Save()) << store.GetLastError();
    EXPECT_FALSE(store.IsDirty());
  }
  std::string saved = FileText(home.PreferencesFile());
  EXPECT_EQ(saved.compare(0, 5, "<?xml"), 0) << saved;
  struct stat status;
  ASSERT_EQ(stat(home.PreferencesFile().c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0022, 0u);

  ZPXMelvanePrinterPList again;
  EXPECT_EQ(FindText(again, "OFFICE"), "10.0.0.9");
  EXPECT_TRUE(TwoWay(again, "office"));
  EXPECT_EQ(FindText(again, "Office 2"), "");
}

TEST(ZPXMelvanePrinterPList, UpdatesKeepOneRecordPerNameIgnoringCase) {
  PreferencesHome home;
  ZPXMelvanePrinterPList store;
  ASSERT_TRUE(AddPrinter(store, "Front", "Back", false));
  ASSERT_TRUE(AddBlob(store, "Front", 0, {"*Duplex"}));
  // "Back" is only an address so far: it gets a record of its own.
  ASSERT_TRUE(AddPrinter(store, "Back", "10.0.0.2", true));
  EXPECT_EQ(FindText(store, "Back"), "10.0.0.2");
  // An update of "FRONT" changes the address and the flag of "Front" only.
  ASSERT_TRUE(AddPrinter(store, "FRONT", "10.0.0.1", true));
  EXPECT_EQ(Elements(store.GetArray()),
            (std::vector<std::string>{"Front", "10.0.0.1", "<true>", "2", "0:1", "*Duplex", kEnd,
                                      "Back", "10.0.0.2", "<true>", "2", kEnd}));

  CFRef<CFStringRef> back(CreateText("back"));
  store.setIPEnabled(back.get(), false);
  EXPECT_FALSE(TwoWay(store, "Back"));
  EXPECT_TRUE(TwoWay(store, "Front"));
  CFRef<CFStringRef> nobody(CreateText("Nobody"));
  store.setIPEnabled(nobody.get(), true);
  EXPECT_EQ(CFArrayGetCount(store.GetArray()), 12);
  EXPECT_FALSE(store.Add(back.get(), nullptr, true));
}

TEST(ZPXMelvanePrinterPList, BlobsAreReplacedWholeAndMatchedByNumber) {
  PreferencesHome home;
  ZPXMelvanePrinterPList store;
  ASSERT_TRUE(AddPrinter(store, "Office", "", false));
  ASSERT_TRUE(AddBlob(store, "Office", 0, {"1:looks like a header", "*Staple"}));
  ASSERT_TRUE(AddBlob(store, "Office", 1, {"a", "b", "c"}));
  ASSERT_TRUE(AddBlob(store, "Office", 1, {"d", "e"}));
  ASSERT_TRUE(AddBlob(store, "Office", 11, {"eleven"}));
  EXPECT_EQ(Elements(store.GetArray()),
            (std::vector<std::string>{"Office", "", "<false>", "2", "11:1", "eleven", "1:2", "d",
                                      "e", "0:2", "1:looks like a header", "*Staple", kEnd}));
  EXPECT_EQ(Blob(store, "Office", 1), (std::vector<std::string>{"d", "e"}));
  EXPECT_EQ(Blob(store, "Office", 11), (std::vector<std::string>{"eleven"}));
  EXPECT_EQ(Blob(store, "Office", 0),
            (std::vector<std::string>{"1:looks like a header", "*Staple"}));
  EXPECT_EQ(Blob(store, "Office", 2), std::vector<std::string>{"<none>"});
  // Lines are never taken for headers, whatever they begin with.
  ASSERT_TRUE(AddPrinter(store, "Lines", "", false));
  ASSERT_TRUE(AddBlob(store, "Lines", 0, {"1:1", "x"}));
  EXPECT_EQ(Blob(store, "Lines", 1), std::vector<std::string>{"<none>"});

  // A line that is no UTF-8 is left out, and the header counts what is kept.
  ASSERT_TRUE(AddBlob(store, "Office", 1, {"ok", "\xff\xfe", "fine"}));
  EXPECT_EQ(Blob(store, "Office", 1), (std::vector<std::string>{"ok", "fine"}));
  EXPECT_EQ(Blob(store, "Office", 11), (std::vector<std::string>{"eleven"}));
  ASSERT_TRUE(AddBlob(store, "Office", 1, {}));
  EXPECT_EQ(Blob(store, "Office", 1), std::vector<std::string>{});
  EXPECT_EQ(Blob(store, "Office", 0),
            (std::vector<std::string>{"1:looks like a header", "*Staple"}));
}

TEST(ZPXMelvanePrinterPList, OlderRecordFormatsAreConverted) {
  PreferencesHome home;
  home.WritePreferences(PlistArray({"<string>Zero</string>",
                                    "<string>10.0.0.1</string>",
                                    "<false/>",
                                    "<string>0</string>",
                                    "<string>legacy</string>",
                                    "<string>One</string>",
                                    "<string>10.0.0.2</string>",
                                    "<true/>",
                                    "<string>1</string>",
                                    "<string>2</string>",
                                    "<string>l1</string>",
                                    "<string>l2</string>",
                                    "<string>old end</string>",
                                    "<string>Blob</string>",
                                    "<string>10.0.0.3</string>",
                                    "<true/>",
                                    "<string>1</string>",
                                    "<string>1</string>",
                                    "<string>x</string>",
                                    "<string>old end</string>",
                                    "<string>Tail</string>",
                                    "<string>10.0.0.4</string>",
                                    "<false/>",
                                    "<string>2</string>",
                                    "<string>----- Data End -----</string>"}));
  ZPXMelvanePrinterPList store;
  EXPECT_EQ(FindText(store, "One"), "10.0.0.2");
  EXPECT_EQ(Blob(store, "Zero", 0), std::vector<std::string>{"<none>"});
  EXPECT_EQ(Blob(store, "One", 1), std::vector<std::string>{"<none>"});

  ASSERT_TRUE(AddPrinter(store, "zero", "10.0.0.11", true));
  ASSERT_TRUE(AddPrinter(store, "One", "10.0.0.12", false));
  // A blob written into an older record converts it first.
  ASSERT_TRUE(AddBlob(store, "Blob", 1, {"w"}));
  EXPECT_EQ(Elements(store.GetArray()),
            (std::vector<std::string>{"Zero",      "10.0.0.11", "<true>", "2",  kEnd,   "One",
                                      "10.0.0.12", "<false>",   "2",      kEnd, "Blob", "10.0.0.3",
                                      "<true>",    "2",         "1:1",    "w",  kEnd,   "Tail",
                                      "10.0.0.4",  "<false>",   "2",      kEnd}));
  EXPECT_EQ(Blob(store, "Blob", 1), std::vector<std::string>{"w"});
}

TEST(ZPXMelvanePrinterPList, DamagedFilesAreReadWithinBounds) {
  PreferencesHome home;
  // A header announcing more lines than the record holds, and a negative one.
  home.WritePreferences(PlistArray({"<string>Big</string>",
                                    "<string>1.1.1.1</string>",
                                    "<true/>",
                                    "<string>2</string>",
                                    "<string>1:99999</string>",
                                    "<string>x</string>",
                                    "<string>----- Data End -----</string>",
                                    "<string>Neg</string>",
                                    "<string>2.2.2.2</string>",
                                    "<true/>",
                                    "<string>2</string>",
                                    "<string>3:-4</string>",
                                    "<string>----- Data End -----</string>",
                                    "<string>Typed</string>",
                                    "<string>3.3.3.3</string>",
                                    "<true/>",
                                    "<string>2</string>",
                                    "<string>5:2</string>",
                                    "<integer>7</integer>",
                                    "<string>y</string>",
                                    "<string>----- Data End -----</string>",
                                    "<string>NoFlag</string>",
                                    "<string>4.4.4.4</string>",
                                    "<integer>1</integer>",
                                    "<string>2</string>",
                                    "<string>Old</string>",
                                    "<string>5.5.5.5</string>",
                                    "<false/>",
                                    "<string>1</string>",
                                    "<string>5000</string>",
                                    "<string>z</string>",
                                    "<string>Cut</string>"}));
  ZPXMelvanePrinterPList store;
  EXPECT_EQ(Blob(store, "Big", 1), std::vector<std::string>{"<none>"});
  EXPECT_EQ(Blob(store, "Neg", 3), std::vector<std::string>{"<none>"});
  EXPECT_EQ(Blob(store, "Typed", 5), std::vector<std::string>{"y"});
  // A record whose flag is no boolean is no record; nor is a name at the end.
  EXPECT_EQ(FindText(store, "NoFlag"), "");
  EXPECT_FALSE(TwoWay(store, "NoFlag"));
  EXPECT_EQ(FindText(store, "Cut"), "");
  // A new blob goes in front of the damaged header, which no longer matters.
  ASSERT_TRUE(AddBlob(store, "Big", 1, {"fresh"}));
  EXPECT_EQ(Blob(store, "Big", 1), std::vector<std::string>{"fresh"});
  // A line count beyond the array takes what there is.
  ASSERT_TRUE(AddPrinter(store, "Old", "5.5.5.6", true));
  std::vector<std::string> elements = Elements(store.GetArray());
  EXPECT_EQ(std::vector<std::string>(elements.end() - 5, elements.end()),
            (std::vector<std::string>{"Old", "5.5.5.6", "<true>", "2", kEnd}));

  // Not an array at all, and not a property list: an empty store.
  home.WritePreferences("<?xml version=\"1.0\"?><plist><dict><key>a</key><true/></dict></plist>");
  ZPXMelvanePrinterPList dictionary;
  EXPECT_TRUE(dictionary.IsValid());
  EXPECT_EQ(CFArrayGetCount(dictionary.GetArray()), 0);
  home.WritePreferences("bplist00\x01\x02 not really");
  ZPXMelvanePrinterPList garbage;
  EXPECT_EQ(CFArrayGetCount(garbage.GetArray()), 0);
  EXPECT_TRUE(AddPrinter(garbage, "New", "6.6.6.6", false));
  EXPECT_TRUE(garbage.Save());
}

TEST(ZPXMelvanePrinterPList, ReadsABinaryPreferencesFile) {
  PlatformPaths::Redirect(PlatformPaths::kHomeFolder, ZPX_FIXTURES "/comm/binary-home");
  ZPXMelvanePrinterPList store;
  PlatformPaths::Reset(PlatformPaths::kHomeFolder);
  EXPECT_EQ(FindText(store, "studio printer"), "192.168.7.20");
  EXPECT_TRUE(TwoWay(store, "Studio Printer"));
  EXPECT_EQ(Blob(store, "Studio Printer", 1),
            (std::vector<std::string>{"Draft,Helvetica,48", "Secret,Times,36"}));
  EXPECT_EQ(Blob(store, "Studio Printer", 0), std::vector<std::string>{"*Duplex"});
}
