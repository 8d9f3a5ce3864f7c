#pragma once
// A pane over a print job: the job's PPD copied into a temporary folder (the
// pane writes its ".ppd" copy beside it), a shown dialog window with the
// parent pane the print dialog hands over, and the "PDEProject" interface
// file of the assembled bundle. No companion starts unless a test names one.

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>

#include "cf/CFRef.h"
#include "ipc/SharedSegment.h"
#include "output/PDEDataJob.h"
#include "output/SharedMemoryList.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "plugin/SessionFunctions.h"
#include "print/PMTicket.h"
#include "support/FileText.h"
#include "support/PluginBundle.h"
#include "support/TempFolder.h"
#include "support/ToolkitFixture.h"
#include "toolkit/CoreGraphics.h"
#include "ui/UI_Panel.h"

// A PPD of `groups` roll-down groups G0, G1, ... of `perGroup` pick-one
// options *ZPOpt<g>_<i> (choices A, the default, and B), preceded by the
// option *ZPFirst in G0, and followed by `tail` (shortcuts and more).
inline std::string GeneratedPaneText(int groups, int perGroup, const std::string& tail) {
  std::string text =
      "*PPD-Adobe: \"4.3\"\n*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n"
      "*%ZPXPropPage FPPage/Page: True\n*%ZPXGroupName Pane/Pane: True\n"
      "*%ZPXParent Pane/FPPage: True|Scrollpane\n";
  for (int g = 0; g < groups; ++g) {
    const std::string group = "G" + std::to_string(g);
    text += "*%ZPXGroupName " + group + "/Group " + std::to_string(g) + ": True\n";
    text += "*%ZPXParent " + group + "/Pane: True|Rolldown\n";
  }
  auto option = [&](const std::string& keyword, const std::string& group) {
    text += "*%ZPXFlags *" + keyword + ": Setup\n*%ZPXGroup *" + keyword + " " + group + "/" +
            keyword + "\n*OpenUI *" + keyword + "/" + keyword + ": PickOne\n*Default" + keyword +
            ": A\n*" + keyword + " A/Choice A: \"\"\n*" + keyword +
            " B/Choice B: \"\"\n*CloseUI: *" + keyword + "\n";
  };
  option("ZPFirst", "G0");
  for (int g = 0; g < groups; ++g)
    for (int i = 0; i < perGroup; ++i)
      option("ZPOpt" + std::to_string(g) + "_" + std::to_string(i), "G" + std::to_string(g));
  return text + tail;
}

// "*%ZPShortcut" lines for the first `count` generated options, group by group.
inline std::string GeneratedShortcuts(int count, int perGroup) {
  std::string lines;
  for (int k = 0; k < count; ++k)
    lines += "*%ZPShortcut *ZPOpt" + std::to_string(k / perGroup) + "_" +
             std::to_string(k % perGroup) + "\n";
  return lines;
}

// A field of a pane's shared area as the other process reads it; "<no area>"
// when the area cannot be read whole.
inline std::string AreaField(int areaId, size_t offset, size_t size) {
  size_t length = 0;
  const void* bytes = SharedSegmentAttachOwnReadOnly(areaId, length);
  if (bytes == nullptr || length < SharedMemoryList::kAreaSize) return "<no area>";
  const std::string field =
      SharedMemoryList(static_cast<char*>(const_cast<void*>(bytes))).ReadField(offset, size);
  SharedSegmentDetach(bytes);
  return field;
}

class PaneJob {
 public:
  static constexpr Rect kSmallParentPane = {20, 20, 40, 40};

  explicit PaneJob(const std::string& ppdText = SamplePPDText(),
                   const std::string& ppdName = "job.ppd",
                   const Rect& paneBounds = kSmallParentPane)
      : mPPDPath(mPPDFolder.Write(ppdName, ppdText)),
        mJob("en", mPPDPath),
        mBundle(CreateBundleAt(ZPX_BUILT_BUNDLE)) {
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, "");
    CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("PDEProject"), &mNib);
    const Rect window = {60, 60, 660, 760};
    CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &window, &mDialog);
    ControlRef root = nullptr;
    CreateRootControl(mDialog, &root);
    ShowWindow(mDialog);
    CreateUserPaneControl(mDialog, &paneBounds, 0, &mParentPane);
    EmbedControl(mParentPane, root);
  }
  ~PaneJob() {
    if (mNib != nullptr) DisposeNibReference(mNib);
    SetMainDisplayBounds(CGRectMake(0, 0, 1440, 900));
  }
  PaneJob(const PaneJob&) = delete;
  PaneJob& operator=(const PaneJob&) = delete;

  std::unique_ptr<UI_Panel> NewPanel() {
    return std::make_unique<UI_Panel>(mNib, mParentPane, &mJob.Data());
  }
  // The dialog's control, or null.
  ControlRef Control(OSType signature, SInt32 number) const {
    return FindControl(mDialog, signature, number);
  }
  // The paper page setup chose: its name and its unadjusted rectangle (top,
  // left, bottom, right).
  void SetPageSetupPaper(CFStringRef name, std::initializer_list<float> rect) {
    PMTicketRef pageFormat = nullptr;
    if (MyGetTicket(mJob.Session(), kPDE_PMPageFormatRef, pageFormat) != noErr) return;
    PMTicketRef paper = nullptr;
    PMTicketCreate(nullptr, kPMPaperInfoTicket, &paper);
    PMTicketSetCFString(paper, CFSTR("test"), kPMPaperNameKey, name, false);
    CFRef<CFMutableArrayRef> numbers(CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks));
    for (float side : rect) {
      CFRef<CFNumberRef> number(CFNumberCreate(nullptr, kCFNumberFloat32Type, &side));
      CFArrayAppendValue(numbers.get(), number.get());
    }
    PMTicketSetCFArray(paper, CFSTR("test"), kPMUnadjustedPaperRectKey, numbers.get(), false);
    PMTicketSetTicket(pageFormat, paper, 0);
    PMTicketReleaseAndClear(&paper);
  }
  // The plug-in's bundle here is the job's copy: it gets a file of the
  // assembled bundle's resources.
  void CopyBuiltResource(const std::string& relative) const {
    CFRef<CFURLRef> url(CFBundleCopyBundleURL(GetBundleRef()));
    UInt8 path[1024] = {};
    CFURLGetFileSystemRepresentation(url.get(), true, path, sizeof path);
    const std::string target =
        reinterpret_cast<char*>(path) + std::string("/Contents/Resources/") + relative;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    std::filesystem::copy_file(std::string(ZPX_BUILT_BUNDLE) + "/Contents/Resources/" + relative,
                               target, std::filesystem::copy_options::overwrite_existing);
  }
  static void UseSmallScreen() { SetMainDisplayBounds(CGRectMake(0, 0, 1024, 768)); }

  PDEDataJob& Job() { return mJob; }
  WindowRef Dialog() const { return mDialog; }
  ControlRef ParentPane() const { return mParentPane; }
  const std::string& PPDPath() const { return mPPDPath; }
  IBNibRef Nib() const { return mNib; }

 private:
  TempFolder mPPDFolder;
  std::string mPPDPath;
  PDEDataJob mJob;
  CFRef<CFBundleRef> mBundle;
  IBNibRef mNib = nullptr;
  WindowRef mDialog = nullptr;
  ControlRef mParentPane = nullptr;
};
