// The dialog extension as a print dialog meets it: the bundle loaded as a
// plug-in, its factory, the interface object's ten slots and the ProjectPDE
// behind them, driven through a print session.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "cf/CFRef.h"
#include "comm/PreferencesHome.h"
#include "host/InjectionDataFile.h"
#include "paths/PlatformPaths.h"
#include "plugin/PDEPluginInterface.h"
#include "plugin/SessionFunctions.h"
#include "support/FileText.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"
#include "support/ToolRun.h"
#include "support/ToolkitFixture.h"

namespace {

// The sample in a folder of the tests': the pane writes its ".ppd" copy beside it.
const TempFolder sSampleFolder;
const std::string kSamplePPD = sSampleFolder.Write("ZPX-Sample.ppd", SamplePPDText());

CFUUIDRef CreateUUID(const char* text) {
  CFRef<CFStringRef> string(CreateText(text));
  return CFUUIDCreateFromString(nullptr, string.get());
}

// A copy of the built bundle in a folder of its own (its printer list
// replaced when one is given), loaded as a plug-in, with the factory instance
// it makes for our type.
class LoadedBundle {
 public:
  explicit LoadedBundle(const std::string& printerList = "") {
    mPath = mFolder.Path() + "/ZPXPDE.plugin";
    std::filesystem::copy(ZPX_BUILT_BUNDLE, mPath, std::filesystem::copy_options::recursive);
    if (!printerList.empty())
      mFolder.Write("ZPXPDE.plugin/Contents/PrinterList.plist", printerList);
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mFolder.Path());
    PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mFolder.Path());
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, "");
    Load();
  }
  ~LoadedBundle() {
    if (mFactory != nullptr) mFactory->mTable->Release(mFactory);
    if (mPlugIn != nullptr) CFRelease(mPlugIn);
    PlatformPaths::ResetAll();
  }
  LoadedBundle(const LoadedBundle&) = delete;
  LoadedBundle& operator=(const LoadedBundle&) = delete;

  PDEInterfaceObject* NewInterface() {
    CFRef<CFUUIDRef> interface(CreateUUID(kPDEDialogExtensionInterfaceID));
    void* object = nullptr;
    EXPECT_EQ(
        mFactory->mTable->QueryInterface(mFactory, CFUUIDGetUUIDBytes(interface.get()), &object),
        0);
    return static_cast<PDEInterfaceObject*>(object);
  }

  const std::string& Path() const { return mPath; }
  PDEFactoryInstance* Factory() const { return mFactory; }
  CFUUIDRef FactoryID() const { return mFactoryID.get(); }
  CFStringRef Identifier() const { return CFBundleGetIdentifier(mPlugIn); }

 private:
  // Loads the bundle and makes the factory instance.
  void Load() {
    CFRef<CFURLRef> url(CreateFileURL(mPath, true));
    mPlugIn = CFPlugInCreate(nullptr, url.get());
    ASSERT_NE(mPlugIn, nullptr);
    CFRef<CFUUIDRef> type(CreateUUID(kPDEPlugInTypeID));
    CFRef<CFArrayRef> factories(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type.get(), mPlugIn));
    ASSERT_TRUE(factories);
    ASSERT_EQ(CFArrayGetCount(factories.get()), 1);
    mFactoryID.reset(static_cast<CFUUIDRef>(CFRetain(CFArrayGetValueAtIndex(factories.get(), 0))));
    mFactory = static_cast<PDEFactoryInstance*>(
        CFPlugInInstanceCreate(nullptr, mFactoryID.get(), type.get()));
    ASSERT_NE(mFactory, nullptr);
  }

  TempFolder mFolder;
  std::string mPath;
  CFPlugInRef mPlugIn = nullptr;
  CFRef<CFUUIDRef> mFactoryID;
  PDEFactoryInstance* mFactory = nullptr;
};

// A session whose printer has the PPD, and a window with the user pane.
class Dialog {
 public:
  explicit Dialog(const std::string& ppd, const char* makeAndModel = "ZPX Production 9000",
                  bool compiledPPD = true) {
    PMCreateSession(&mSession);
    CFRef<CFURLRef> url(CreateFileURL(ppd));
    CFRef<CFStringRef> model(CreateText(makeAndModel));
    PMPrinter printer = nullptr;
    PMPrinterCreate(CFSTR("Queue"), model.get(), url.get(), nullptr, &printer);
    PMSessionSetCurrentPMPrinter(mSession, printer);
    PMRelease(printer);
    PMTicketRef info = Ticket(kPDE_PMPrinterInfoRef);
    PMTicketSetCFString(info, CFSTR("test"), kPMMakeAndModelNameKey, model.get(), false);
    if (compiledPPD) {
      CFRef<CFStringRef> path(CreateText(ppd));
      PMTicketSetCFString(info, CFSTR("test"), kPMCompiledPPDKey, path.get(), false);
    }
    Rect bounds = {100, 40, 500, 640};
    Rect paneBounds = {0, 0, 200, 525};
    ControlRef root = nullptr;
    CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow);
    CreateRootControl(mWindow, &root);
    CreateUserPaneControl(mWindow, &paneBounds, 0, &mPane);
  }
  ~Dialog() {
    DisposeWindow(mWindow);
    PMRelease(mSession);
  }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  PMTicketRef Ticket(CFStringRef name) const {
    PMTicketRef ticket = nullptr;
    MyGetTicket(mSession, name, ticket);
    return ticket;
  }
  // The print settings item under the key, or null.
  CFTypeRef SettingsItem(CFStringRef key) const {
    CFTypeRef item = nullptr;
    PMTicketGetItem(Ticket(kPDE_PMPrintSettingsRef), kPMTopLevel, kPMTopLevel, key, &item);
    return item;
  }
  short WindowTop() const {
    Rect bounds;
    GetWindowBounds(mWindow, kWindowStructureRgn, &bounds);
    return bounds.top;
  }

  PMPrintSession mSession = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mPane = nullptr;
};

// One extension made by Prologue through a new interface object.
struct Extension {
  explicit Extension(LoadedBundle& bundle)
      : mObject(bundle.NewInterface()), mSlots(*mObject->mTable) {
    EXPECT_EQ(mSlots.Prologue(&mContext, &mCreator, &mKind, &mTitle, &mWidth, &mHeight), 0);
  }
  ~Extension() {
    if (mContext != nullptr) mSlots.Terminate(mContext, 0);
    if (mKind != nullptr) CFRelease(mKind);
    mSlots.Release(&mObject);
  }
  Extension(const Extension&) = delete;
  Extension& operator=(const Extension&) = delete;

  PDEInterfaceObject* mObject;
  const PDEInterfaceTable& mSlots;
  PDEContext mContext = nullptr;
  OSType mCreator = 0;
  CFStringRef mKind = nullptr;
  CFStringRef mTitle = nullptr;
  UInt32 mWidth = 0, mHeight = 0;
};

// The feature code the extension handed over in the file the ticket names.
std::string FeatureCode(CFTypeRef dataFile) {
  JobInjections injections;
  if (dataFile == nullptr || InjectionDataFile::Read(TextOf(static_cast<CFStringRef>(dataFile)),
                                                     injections) != InjectionDataFile::kRead)
    return "";
  std::string code;
  for (const std::string& block : injections.mSetupBlocks) code += block;
  return code;
}

CFStringRef CreatePSDataKey(CFStringRef identifier) {
  return CreateText("ZPX.PSData." + TextOf(identifier));
}

}  // namespace

TEST(DialogExtension, TheFactoryAnswersItsInterfacesAndCountsItsInstance) {
  LoadedBundle bundle;
  PDEFactoryInstance* factory = bundle.Factory();
  EXPECT_EQ(CFPlugInGetInstanceCountForFactory(bundle.FactoryID()), 1);

  CFRef<CFUUIDRef> base(CreateUUID(kPDEBaseInterfaceID));
  void* result = nullptr;
  EXPECT_EQ(factory->mTable->QueryInterface(factory, CFUUIDGetUUIDBytes(base.get()), &result), 0);
  EXPECT_EQ(result, factory);
  EXPECT_EQ(factory->mTable->Release(factory), 1u);

  PDEInterfaceObject* first = bundle.NewInterface();
  PDEInterfaceObject* second = bundle.NewInterface();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->mCount, 1u);
  EXPECT_EQ(factory->mTable->AddRef(factory), 2u);
  EXPECT_EQ(factory->mTable->Release(factory), 1u);
  EXPECT_EQ(first->mTable->Release(&first), 0);
  EXPECT_EQ(first, nullptr);
  second->mTable->Release(&second);

  CFRef<CFUUIDRef> other(CreateUUID("11111111-2222-3333-4444-555555555555"));
  result = factory;
  EXPECT_EQ(factory->mTable->QueryInterface(factory, CFUUIDGetUUIDBytes(other.get()), &result),
            kPDENoInterface);
  EXPECT_EQ(result, nullptr);

  // Another type has no factory here.
  CFRef<CFUUIDRef> type(CreateUUID(kPDEDialogExtensionInterfaceID));
  EXPECT_EQ(CFPlugInInstanceCreate(nullptr, bundle.FactoryID(), type.get()), nullptr);
}

TEST(DialogExtension, PrologueDescribesThePaneAndSlotsRefuseAMissingContext) {
  LoadedBundle bundle;
  Extension extension(bundle);
  ASSERT_NE(extension.mContext, nullptr);
  EXPECT_EQ(extension.mWidth, 525u);
  EXPECT_EQ(extension.mHeight, 200u);
  EXPECT_EQ(TextOf(extension.mTitle), "ZPX Options");
  EXPECT_TRUE(CFEqual(extension.mKind, bundle.Identifier()));
  EXPECT_EQ(extension.mCreator, FourCC("ZPX2"));
  PDEAPIVersion version = {};
  EXPECT_EQ(extension.mSlots.GetAPIVersion(extension.mObject, &version), 0);
  EXPECT_EQ(version.mBuildMajor, 1u);
  EXPECT_EQ(version.mBaseMajor, 1u);
  EXPECT_EQ(version.mBuildMinor + version.mBaseMinor, 0u);

  const PDEInterfaceTable& slots = extension.mSlots;
  PDEFlags flags = 7;
  EXPECT_EQ(slots.Initialize(nullptr, &flags, nullptr, nullptr, nullptr), kPDEInvalidContext);
  EXPECT_EQ(slots.Sync(nullptr, nullptr, false), kPDEInvalidContext);
  EXPECT_EQ(slots.GetSummaryText(nullptr, nullptr, nullptr), kPDEInvalidContext);
  EXPECT_EQ(slots.Open(nullptr), kPDEInvalidContext);
  EXPECT_EQ(slots.Close(nullptr), kPDEInvalidContext);
  EXPECT_EQ(slots.Terminate(nullptr, 0), kPDEInvalidContext);
}

TEST(DialogExtension, PrologueFailsWithoutTheInterfaceFileAndRetainReloadsItAfterTheLastRelease) {
  LoadedBundle bundle;
  PDEInterfaceObject* object = bundle.NewInterface();
  EXPECT_EQ(object->mTable->Retain(object), 0);
  EXPECT_EQ(object->mCount, 2u);
  std::filesystem::remove(bundle.Path() + "/Contents/Resources/PDEProject.ui");
  // Loaded once for all objects: a second Retain reads nothing.
  EXPECT_EQ(object->mTable->Retain(object), 0);
  PDEContext context = &object;
  OSType creator;
  CFStringRef kind = nullptr, title = nullptr;
  UInt32 width, height;
  EXPECT_EQ(object->mTable->Prologue(&context, &creator, &kind, &title, &width, &height),
            kPDEInvalidContext);
  EXPECT_EQ(context, nullptr);
  // The holds of QueryInterface and the two Retains.
  OSStatus (*release)(PDEInterfaceObject**) = object->mTable->Release;
  for (int hold = 0; hold < 3; ++hold) {
    PDEInterfaceObject* held = object;
    release(&held);
  }
  PDEInterfaceObject* fresh = bundle.NewInterface();
  EXPECT_NE(fresh->mTable->Retain(fresh), 0);
  PDEInterfaceObject* held = fresh;
  fresh->mTable->Release(&held);
  fresh->mTable->Release(&fresh);
}

TEST(DialogExtension, AServedPrinterIsInitializedSyncedIntoTheTicketsAndOpened) {
  LoadedBundle bundle;
  Dialog dialog(kSamplePPD);
  Extension extension(bundle);
  const PDEInterfaceTable& slots = extension.mSlots;
  PDEFlags flags = 7;
  ASSERT_EQ(slots.Initialize(extension.mContext, &flags, nullptr, dialog.mPane, dialog.mSession),
            0);
  EXPECT_EQ(flags, 0u);

  CFRef<CFStringRef> psKey(CreatePSDataKey(bundle.Identifier()));
  EXPECT_EQ(slots.Sync(extension.mContext, dialog.mSession, false), 0);
  CFTypeRef dataFile = dialog.SettingsItem(psKey.get());
  ASSERT_NE(dataFile, nullptr);
  EXPECT_TRUE(Has(FeatureCode(dataFile), "%%BeginFeature: *ZPDuplex False\n"));
  // The make and model, spaces as underscores, before the identifier's ".PInf".
  std::string key = TextOf(bundle.Identifier());
  key.insert(key.size() - 5, ".ZPX_Production_9000");
  CFRef<CFStringRef> settingsKey(CreateText(key));
  CFTypeRef values = dialog.SettingsItem(settingsKey.get());
  ASSERT_NE(values, nullptr);
  EXPECT_TRUE(
      CFEqual(CFDictionaryGetValue(static_cast<CFDictionaryRef>(values), CFSTR("*ZPDuplex")),
              CFSTR("False")));

  // A choice stored under the key is what a rebuild from the tickets takes.
  CFRef<CFMutableDictionaryRef> chosen(CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
  CFDictionarySetValue(chosen.get(), CFSTR("*ZPDuplex"), CFSTR("Top"));
  PMTicketSetCFDictionary(dialog.Ticket(kPDE_PMPrintSettingsRef), CFSTR("test"), settingsKey.get(),
                          chosen.get(), false);
  EXPECT_EQ(slots.Sync(extension.mContext, dialog.mSession, true), 0);
  EXPECT_EQ(slots.Sync(extension.mContext, dialog.mSession, false), 0);
  dataFile = dialog.SettingsItem(psKey.get());
  EXPECT_TRUE(Has(FeatureCode(dataFile), "%%BeginFeature: *ZPDuplex Top\n"));

  CFRef<CFArrayRef> before(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
  CFArrayRef titles = before.get(), summaries = before.get();
  EXPECT_EQ(slots.GetSummaryText(extension.mContext, &titles, &summaries), 0);
  EXPECT_EQ(titles, nullptr);
  EXPECT_EQ(summaries, nullptr);

  // Not a sheet: the window slides up from its top of 100 to 63.
  EXPECT_EQ(dialog.WindowTop(), 100);
  EXPECT_EQ(slots.Open(extension.mContext), 0);
  EXPECT_EQ(dialog.WindowTop(), 63);
  // Each opening starts one above; at 61 or less it stays.
  for (short top : {62, 61, 61}) {
    EXPECT_EQ(slots.Open(extension.mContext), 0);
    EXPECT_EQ(dialog.WindowTop(), top);
  }
  EXPECT_EQ(slots.Close(extension.mContext), 0);
}

// A pane answers the user only once shown: a rebuild from the tickets shows
// the new pane at once while the parent pane is visible, and leaves it for
// Open while the dialog has the parent pane hidden.
TEST(DialogExtension, ARebuildShowsTheNewPaneOnlyWhileTheParentPaneIsVisible) {
  LoadedBundle bundle;
  Dialog dialog(kSamplePPD);
  Extension extension(bundle);
  const PDEInterfaceTable& slots = extension.mSlots;
  HeadlessDriver driver([](const std::string& what) { ADD_FAILURE() << what; });
  // Whether a press on Customize opens its window (closed again by Close).
  auto customizeOpens = [&] {
    const size_t before = ToolkitModel::Shared().Windows().size();
    driver.Click(FindControl(dialog.mWindow, FourCC("Cust"), 5101));
    const bool opened = ToolkitModel::Shared().Windows().size() > before;
    slots.Close(extension.mContext);
    return opened;
  };
  PDEFlags flags = 0;
  ShowWindow(dialog.mWindow);
  ASSERT_EQ(slots.Initialize(extension.mContext, &flags, nullptr, dialog.mPane, dialog.mSession),
            0);
  ASSERT_NE(FindControl(dialog.mWindow, FourCC("Cust"), 5101), nullptr);
  ASSERT_EQ(slots.Open(extension.mContext), 0);
  EXPECT_TRUE(customizeOpens());  // Close hid the parent pane
  ASSERT_EQ(slots.Open(extension.mContext), 0);
  ASSERT_EQ(slots.Sync(extension.mContext, dialog.mSession, true), 0);
  EXPECT_TRUE(customizeOpens());

  SetControlVisibility(dialog.mPane, false, false);
  ASSERT_EQ(slots.Sync(extension.mContext, dialog.mSession, true), 0);
  SetControlVisibility(dialog.mPane, true, false);
  EXPECT_FALSE(customizeOpens());
  ASSERT_EQ(slots.Open(extension.mContext), 0);
  EXPECT_TRUE(IsControlVisible(FindControl(dialog.mWindow, FourCC("Cntl"), 2001)));
  EXPECT_TRUE(customizeOpens());
  // The rebuilt pane's rows went into the parent pane: closed, they are gone too.
  EXPECT_FALSE(IsControlVisible(FindControl(dialog.mWindow, FourCC("Cntl"), 2001)));
}

TEST(DialogExtension, PrintersItDoesNotServeFailInitializeAndSyncWritesNothing) {
  LoadedBundle bundle;
  TempFolder folder;
  std::string other = FileText(kSamplePPD);
  other.replace(other.find("ZPX9000.PPD"), 11, "OTHER.PPD");
  const std::string otherPPD = folder.Write("other.ppd", other);
  // A PPD that parses with errors still is the printer's document.
  std::string broken = FileText(kSamplePPD);
  broken.replace(broken.find("*CloseUI: *ZPDuplex"), 19, "*%CloseUI dropped");
  const std::string brokenPPD = folder.Write("broken.ppd", broken);
  CFRef<CFStringRef> psKey(CreatePSDataKey(bundle.Identifier()));

  struct Case {
    std::string ppd;
    bool compiled;
    OSStatus initialized;
  };
  for (const Case& printer :
       {Case{otherPPD, true, 1}, Case{kSamplePPD, false, 1},
        Case{folder.Path() + "/none.ppd", true, 1}, Case{brokenPPD, true, 0}}) {
    Dialog dialog(printer.ppd, "ZPX Production 9000", printer.compiled);
    Extension extension(bundle);
    PDEFlags flags = 0;
    EXPECT_EQ(extension.mSlots.Initialize(extension.mContext, &flags, nullptr, dialog.mPane,
                                          dialog.mSession),
              printer.initialized)
        << printer.ppd;
    EXPECT_EQ(extension.mSlots.Sync(extension.mContext, dialog.mSession, false), 0);
    EXPECT_EQ(dialog.SettingsItem(psKey.get()) != nullptr, printer.initialized == 0) << printer.ppd;
    EXPECT_EQ(extension.mSlots.Sync(extension.mContext, nullptr, false), 1);
  }
  {
    Dialog dialog(kSamplePPD);
    Extension extension(bundle);
    EXPECT_EQ(
        extension.mSlots.Initialize(extension.mContext, nullptr, nullptr, dialog.mPane, nullptr),
        1);
  }
}

TEST(DialogExtension, APrinterListWithoutFileNamesServesNoPrinter) {
  LoadedBundle bundle("<plist version=\"1.0\"><dict><key>OTHER</key><array/></dict></plist>");
  Dialog dialog(kSamplePPD);
  Extension extension(bundle);
  PDEFlags flags = 0;
  EXPECT_EQ(extension.mSlots.Initialize(extension.mContext, &flags, nullptr, dialog.mPane,
                                        dialog.mSession),
            1);
}

// A dialog that shows no window gives no pane. The extension then writes the
// job it writes in a pane, with the stored two-way switch judged as the
// address area judges it, and makes nothing for a screen or the companion:
// no copy of the PPD beside it, no address dialog, nothing written into the
// printer preferences.
TEST(DialogExtension, WithoutAPaneTheJobIsThePanesAndNothingIsMadeForAScreen) {
  LoadedBundle bundle;
  PreferencesHome home;
  TempFolder folder;
  const std::string ppd = folder.Write("ZPX-Sample.ppd", SamplePPDText());
  CFRef<CFStringRef> psKey(CreatePSDataKey(bundle.Identifier()));
  // The feature code of Initialize, Open, Sync and Close in the pane or in none.
  auto job = [&](bool inPane) {
    Dialog dialog(ppd);
    Extension extension(bundle);
    const PDEInterfaceTable& slots = extension.mSlots;
    PDEFlags flags = 0;
    EXPECT_EQ(slots.Initialize(extension.mContext, &flags, nullptr, inPane ? dialog.mPane : nullptr,
                               dialog.mSession),
              0);
    EXPECT_EQ(slots.Open(extension.mContext), 0);
    EXPECT_EQ(slots.Sync(extension.mContext, dialog.mSession, false), 0);
    EXPECT_EQ(slots.Close(extension.mContext), 0);
    return FeatureCode(dialog.SettingsItem(psKey.get()));
  };
  const std::string twoWay = "XJXsetDynamicOption";
  struct Case {
    const char* address;
    const char* enabled;
    bool twoWay;
  };
  // An enabled switch without an address is off, as the address area has it.
  for (const Case& stored : {Case{"10.1.2.3", "<true/>", true}, Case{"10.1.2.3", "<false/>", false},
                             Case{"", "<true/>", false}}) {
    const std::string address = std::string("<string>") + stored.address + "</string>";
    const std::string preferences = PlistArray(
        {"<string>Queue</string>", address.c_str(), stored.enabled, "<string>2</string>"});
    home.WritePreferences(preferences);
    const std::string hidden = job(false);
    EXPECT_EQ(Has(hidden, twoWay), stored.twoWay) << stored.address << stored.enabled;
    EXPECT_FALSE(std::filesystem::exists(ppd + ".ppd"));
    EXPECT_EQ(FileText(home.PreferencesFile()), preferences);
    if (*stored.address == '\0') continue;
    EXPECT_EQ(hidden, job(true)) << stored.enabled;
    std::filesystem::remove(ppd + ".ppd");
  }
  std::filesystem::remove(home.PreferencesFile());
  const std::string hidden = job(false);
  EXPECT_FALSE(std::filesystem::exists(home.PreferencesFile()));
  EXPECT_FALSE(Has(hidden, twoWay));
  EXPECT_EQ(hidden, job(true));
}
