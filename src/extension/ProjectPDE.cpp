#include "extension/ProjectPDE.h"

#include <new>

#include "PPDX/ZPXPPD.h"
#include "carbon/Resources.h"
#include "extension/SessionPPD.h"
#include "extension/SetupPPD.h"
#include "output/PDEData.h"
#include "output/PrintSettingsTicket.h"
#include "output/PrinterInfoTicket.h"
#include "output/ZPXJobTicket.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEBundle.h"
#include "toolkit/MacWindows.h"
#include "ui/UI_Panel.h"

namespace {

#define kPaneTitleKey CFSTR("PDE Panel Title")
// The highest a dialog slides to when it opens, and its step.
constexpr short kSlideTop = 60;
constexpr short kSlideStep = 4;
// Summary lines asked of the data object at most: its answers end the list.
constexpr int kMaximumSummaryLines = 1000;

// Restores the resource file that was current on entry, on every exit.
class ResourceFileKeeper {
 public:
  ResourceFileKeeper() : mSaved(CurResFile()) {}
  ~ResourceFileKeeper() { UseResFile(mSaved); }
  ResourceFileKeeper(const ResourceFileKeeper&) = delete;
  ResourceFileKeeper& operator=(const ResourceFileKeeper&) = delete;

 private:
  short mSaved;
};

bool HasCompiledPPD(PrinterInfoTicket& info) {
  CFTypeRef item = nullptr;
  return PMTicketGetItem(info.Ticket(), kPMTopLevel, kPMTopLevel, kPMCompiledPPDKey, &item) ==
         noErr;
}

}  // namespace

ProjectPDE::ProjectPDE() : mBundle(CFBundleGetBundleWithIdentifier(GetBundleID())) {
  if (mBundle == nullptr) return;
  PDEBundle::InitBundle(mBundle);
  CFRef<CFStringRef> nibName(CreateNIBFileName());
  mNibStatus = nibName ? CreateNibReferenceWithCFBundle(mBundle, nibName.get(), &mNib) : memFullErr;
  if (mNibStatus != noErr) return;
  mTitle.reset(PDEBundle::CopyLocalizedCFString(kPaneTitleKey, mBundle));
  mValid = bool(mTitle);
}

ProjectPDE::~ProjectPDE() {
  if (mNib != nullptr) DisposeNibReference(mNib);
  DestroyDocument();
  mPanel.reset();
  mData.reset();
}

void ProjectPDE::PaneSize(UInt32& width, UInt32& height) {
  width = kPaneWidth;
  height = kPaneHeight;
}

void ProjectPDE::DestroyDocument() {
  if (mData) mData->SetDocument(nullptr);
  mDocument.reset();
}

OSStatus ProjectPDE::Initialize(PDEFlags* flags, PDEReference reference, ControlRef parentPane,
                                PMPrintSession session) {
  ResourceFileKeeper resourceFile;
  PrinterInfoTicket info(session);
  if (!info.IsValid() || session == nullptr) return kNotDone;
  if (flags != nullptr) *flags = 0;
  mSession = session;
  mReference = reference;
  mParentPane = parentPane;
  mPrinterSettingsKey.reset(CreatePrinterSettingsKey(GetBundleID(), info.GetPrinterMakeAndModel()));

  CFRef<CFStringRef> psDataKey(HasCompiledPPD(info) ? CreatePostscriptDataFileKey() : nullptr);
  PrintSettingsTicket settings(session);
  ZPXJobTicket jobTicket(&settings, psDataKey.get());
  mInitialized =
      psDataKey && SessionPPD(session).IsListed() && BuildModelAndPane(jobTicket, settings);
  if (!mInitialized) DestroyDocument();
  return mInitialized ? noErr : kNotDone;
}

bool ProjectPDE::MakeModel(ZPXJobTicket& jobTicket) {
  bool restored = false;
  SetupPPD(jobTicket, restored, mPrinterSettingsKey.get());
  mData.reset(new PDEData(mSession, mDocument.get(), this));
  mData->SetDocument(mDocument.get());
  return restored;
}

bool ProjectPDE::BuildModelAndPane(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings) {
  const bool restored = MakeModel(jobTicket);
  mData->SetRestoredFromTicket(restored);
  if (!mData->IsComplete()) return false;
  mData->RestoreNonPSSettings(&settings);
  mPanel.reset(new UI_Panel(mNib, mParentPane, mData.get()));
  return mPanel->IsValid() && jobTicket.Save(mPrinterSettingsKey.get());
}

bool ProjectPDE::SetupPPD(ZPXJobTicket& jobTicket, bool& restored, CFStringRef key) {
  restored = false;
  mDocument.reset(::SetupPPD(mSession, GetBundleID(), key));
  if (mDocument)
    restored = jobTicket.RestorePPDForAllKeys(mDocument.get(), GetBundleID(), key) == noErr;
  if (mData) mData->SetDocument(mDocument.get());
  return true;
}

OSStatus ProjectPDE::Sync(PMPrintSession session, bool reinitialize) {
  JobTicket sessionTicket(session);
  if (session == nullptr || !sessionTicket.IsValid()) return kNotDone;
  CFRef<CFStringRef> psDataKey(CreatePostscriptDataFileKey());
  if (!psDataKey) {
    // A key that cannot be made is a failure, not a Sync that wrote nothing.
    DestroyDocument();
    return memFullErr;
  }
  PrintSettingsTicket settings(session);
  ZPXJobTicket jobTicket(&settings, psDataKey.get());
  OSStatus status = kNotDone;
  bool destroyDocument = true;
  if (jobTicket.IsValid()) {
    if (reinitialize) {
      status = Rebuild(jobTicket, settings);
      destroyDocument = status != noErr;
    } else {
      status = WriteChoices(jobTicket, settings, destroyDocument);
    }
  }
  if (destroyDocument) DestroyDocument();
  return status;
}

OSStatus ProjectPDE::Rebuild(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings) {
  mPanel.reset();
  DestroyDocument();
  mData.reset();
  MakeModel(jobTicket);
  mData->SetReinitialized(true);
  if (!mData->IsComplete()) return memFullErr;
  OSStatus status = mData->RestoreNonPSSettings(&settings);
  mPanel.reset(new (std::nothrow) UI_Panel(mNib, mParentPane, mData.get()));
  if (!mPanel) return memFullErr;
  if (mParentPane != nullptr && IsControlVisible(mParentPane)) mPanel->Show();
  jobTicket.Save(mPrinterSettingsKey.get());
  return status;
}

OSStatus ProjectPDE::WriteChoices(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings,
                                  bool& destroyDocument) {
  destroyDocument = false;
  if (!mDocument) return noErr;
  if (mPanel) mPanel->CommitUserChanges();
  if (OSStatus status = mData->OutPostscriptData(&jobTicket)) {
    destroyDocument = true;
    return status;
  }
  jobTicket.SavePPDForAllKeys(mDocument.get(), mPrinterSettingsKey.get());
  OSStatus status = mData->SaveNonPSSettings(&settings, mPrinterSettingsKey.get());
  jobTicket.Save(mPrinterSettingsKey.get());
  return status;
}

OSStatus ProjectPDE::GetSummaryText(CFArrayRef* titles, CFArrayRef* summaries) {
  ResourceFileKeeper resourceFile;
  if (titles != nullptr) *titles = nullptr;
  if (summaries != nullptr) *summaries = nullptr;
  CFRef<CFMutableArrayRef> titleList(
      CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
  CFRef<CFMutableArrayRef> summaryList(
      CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
  if (!titleList || !summaryList) return memFullErr;
  if (!mData) return noErr;
  for (int line = 0; line < kMaximumSummaryLines; ++line) {
    CFRef<CFMutableStringRef> title(CFStringCreateMutableCopy(kCFAllocatorDefault, 0, CFSTR("")));
    CFRef<CFMutableStringRef> summary(CFStringCreateMutableCopy(kCFAllocatorDefault, 0, CFSTR("")));
    bool include = true;
    // The data object answers non-zero while it has a line; its 0 ends the list.
    if (mData->GetSummaryLine(title.get(), summary.get(), include) == noErr) break;
    if (!include) continue;
    CFArrayAppendValue(titleList.get(), title.get());
    CFArrayAppendValue(summaryList.get(), summary.get());
  }
  if (CFArrayGetCount(titleList.get()) == 0 || titles == nullptr || summaries == nullptr)
    return noErr;
  *titles = titleList.release();
  *summaries = summaryList.release();
  return noErr;
}

void ProjectPDE::SlideWindowUp() const {
  WindowRef window = GetControlOwner(mParentPane);
  WindowRef sheetParent = nullptr;
  Rect bounds;
  if (window == nullptr || GetSheetWindowParent(window, &sheetParent) == noErr ||
      GetWindowBounds(window, kWindowStructureRgn, &bounds) != noErr)
    return;
  for (short top = short(bounds.top - 1); top > kSlideTop; top = short(top - kSlideStep))
    MoveWindow(window, bounds.left, top, false);
}

OSStatus ProjectPDE::Open() {
  SlideWindowUp();
  if (mPanel) mPanel->Show();
  return noErr;
}

OSStatus ProjectPDE::Close() {
  if (mPanel) mPanel->Hide();
  return noErr;
}
