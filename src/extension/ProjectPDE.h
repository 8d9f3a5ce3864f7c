#pragma once
// One dialog extension for one printer, as the print dialog drives it: it
// finds and parses the printer's PPD, restores earlier choices from the print
// settings ticket, owns the document, the dialog's data object and the pane,
// and on every Sync either rebuilds them from the tickets or writes the user's
// choices and the job's PostScript back.
//
// Whenever both the data object and the document exist, the data object's
// document is this one; the data object's reference is cleared before the
// document goes.

#include <memory>

#include "PPDX/PPDRef.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "plugin/PDEPluginInterface.h"
#include "print/PMPrintSession.h"
#include "toolkit/Controls.h"
#include "toolkit/IBCarbonRuntime.h"

class PDEData;
class PrintSettingsTicket;
class UI_Panel;
class ZPXJobTicket;
class ZPXPPD;

class ProjectPDE {
 public:
  static constexpr UInt32 kPaneWidth = 525;
  static constexpr UInt32 kPaneHeight = 200;
  // Status of Initialize and Sync that the dialog takes for "not done".
  static constexpr OSStatus kNotDone = 1;

  // Valid when the plug-in's bundle was found, its interface-builder file
  // opened and the pane's title loaded.
  ProjectPDE();
  virtual ~ProjectPDE();
  ProjectPDE(const ProjectPDE&) = delete;
  ProjectPDE& operator=(const ProjectPDE&) = delete;

  bool IsValid() const { return mValid; }
  bool IsInitialized() const { return mInitialized; }
  // Owned by the extension.
  CFStringRef Title() const { return mTitle.get(); }
  static void PaneSize(UInt32& width, UInt32& height);

  // 0, or kNotDone when the session's printer or PPD cannot be served.
  OSStatus Initialize(PDEFlags* flags, PDEReference reference, ControlRef parentPane,
                      PMPrintSession session);
  OSStatus Sync(PMPrintSession session, bool reinitialize);
  // Arrays the caller owns, or none.
  OSStatus GetSummaryText(CFArrayRef* titles, CFArrayRef* summaries);
  // Slides a dialog that is not a sheet upward, then shows the pane.
  OSStatus Open();
  OSStatus Close();
  // Builds the document of the session's PPD with the choices saved under
  // `key` (`restored`: whether they were read); always true.
  bool SetupPPD(ZPXJobTicket& jobTicket, bool& restored, CFStringRef key);

  ZPXPPD* Document() const { return mDocument.get(); }
  PDEData* Data() const { return mData.get(); }
  UI_Panel* Panel() const { return mPanel.get(); }
  // The bundle identifier with the make and model before its ".PInf".
  CFStringRef PrinterSettingsKey() const { return mPrinterSettingsKey.get(); }

 private:
  // The document of the session's PPD with the ticket's choices, and a new
  // data object over it; whether the choices were read.
  bool MakeModel(ZPXJobTicket& jobTicket);
  bool BuildModelAndPane(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings);
  OSStatus Rebuild(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings);
  OSStatus WriteChoices(ZPXJobTicket& jobTicket, PrintSettingsTicket& settings,
                        bool& destroyDocument);
  void SlideWindowUp() const;
  void DestroyDocument();

  PPDRef<ZPXPPD> mDocument;
  PMPrintSession mSession = nullptr;
  PDEReference mReference = nullptr;
  ControlRef mParentPane = nullptr;
  CFBundleRef mBundle = nullptr;
  IBNibRef mNib = nullptr;
  bool mValid = false;
  bool mInitialized = false;
  OSStatus mNibStatus = noErr;
  std::unique_ptr<UI_Panel> mPanel;
  CFRef<CFStringRef> mTitle;
  CFRef<CFStringRef> mPrinterSettingsKey;
  std::unique_ptr<PDEData> mData;
};
