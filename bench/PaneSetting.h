#pragma once
// A print job for the pane's benchmarks, headless or on the display: the PPD
// in a folder of its own, with the dialog's window and parent pane; the
// preferences, the temporary files and the bundle's interface file are the
// folder's and the assembled bundle's.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "support/GeneratedPPD.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "output/PDEData.h"
#include "paths/PlatformPaths.h"
#include "print/PMPrintSession.h"
#include "support/ParsedDocument.h"
#include "toolkit/Controls.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "ui/UI_Panel.h"

inline CFBundleRef BundleAt(const std::string& path) {
  CFRef<CFURLRef> url(CreateFileURL(path, true));
  return CFBundleCreate(nullptr, url.get());
}

// The large generated PPD with shortcuts to its first 10 pop-ups and 10 check boxes.
inline std::string LargePPDWithShortcuts() {
  std::ifstream in(generatedppd::GeneratedFiles().Path(2), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  for (int i = 0; i < 40; ++i)
    if (i % 4 < 2) text << "*%ZPShortcut *ZPOpt" << i << "\n";
  return text.str();
}

class PaneSetting {
 public:
  explicit PaneSetting(const std::string& ppdText, const std::string& companion = "")
      : mBundle(BundleAt(PlatformPaths::Get(PlatformPaths::kBundleFolder))) {
    char folder[] = "/tmp/zpx-pane-bench-XXXXXX";
    mFolder = mkdtemp(folder);
    std::filesystem::create_directories(mFolder + "/home");
    PlatformPaths::Redirect(PlatformPaths::kHomeFolder, mFolder + "/home");
    PlatformPaths::Redirect(PlatformPaths::kTemporaryFolder, mFolder);
    PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, companion);
    const std::string ppd = mFolder + "/job.ppd";
    std::ofstream(ppd, std::ios::binary) << ppdText;
    mDocument = ParseFile(ppd);
    PMCreateSession(&mSession);
    PMPrinter printer = nullptr;
    PMPrinterCreate(CFSTR("ZPX Bench Queue"), CFSTR("ZPX Bench"), nullptr, nullptr, &printer);
    PMSessionSetCurrentPMPrinter(mSession, printer);
    PMRelease(printer);
    mData = std::make_unique<PDEData>(mSession, mDocument.get(), nullptr);
    CreateNibReferenceWithCFBundle(mBundle.get(), CFSTR("PDEProject"), &mNib);
    const Rect bounds = {0, 0, 600, 700};
    CreateNewWindow(kDocumentWindowClass, kWindowNoAttributes, &bounds, &mWindow);
    ControlRef root = nullptr;
    CreateRootControl(mWindow, &root);
    const Rect pane = {20, 20, 40, 40};
    CreateUserPaneControl(mWindow, &pane, 0, &mParentPane);
    EmbedControl(mParentPane, root);
    ShowWindow(mWindow);
  }
  ~PaneSetting() {
    DisposeWindow(mWindow);
    if (mNib != nullptr) DisposeNibReference(mNib);
    mData.reset();
    PMRelease(mSession);
    PlatformPaths::ResetAll();
    std::filesystem::remove_all(mFolder);
  }
  bool IsReady() const { return mNib != nullptr && mDocument != nullptr; }
  std::unique_ptr<UI_Panel> NewPanel() {
    return std::make_unique<UI_Panel>(mNib, mParentPane, mData.get());
  }
  WindowRef Window() const { return mWindow; }
  ControlRef Control(OSType signature, SInt32 number) const {
    const ControlID id = {signature, number};
    ControlRef control = nullptr;
    GetControlByID(mWindow, &id, &control);
    return control;
  }

 private:
  CFRef<CFBundleRef> mBundle;
  std::string mFolder;
  std::unique_ptr<ZPXPPD> mDocument;
  PMPrintSession mSession = nullptr;
  std::unique_ptr<PDEData> mData;
  IBNibRef mNib = nullptr;
  WindowRef mWindow = nullptr;
  ControlRef mParentPane = nullptr;
};
