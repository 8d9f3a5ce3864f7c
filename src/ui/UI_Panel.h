#pragma once
// The pane the dialog extension shows inside the print dialog: the basic
// panel (a scrolling column of shortcut rows bound to the PPD's options), the
// Customize dialog that edits the shortcut list, Reset, the printer-address
// area, the paper chosen in page setup, and the link to the job-properties
// companion: the area shared with it, its process, the exchange started by
// the job-properties button and the 0.01 s poll that waits for its end.
//
// A pane given no parent pane (a dialog that shows no window, printing
// without one) keeps only what the job's PostScript needs: the page-setup
// paper, the watermarks and the stored two-way switch as the address area
// judges it. It builds no widgets, shortcut tree, PPD copy or area for the
// companion, and writes nothing into the printer preferences.
//
// Every change goes straight into the option model. The tree, the scroll
// offset and the layout flags are the process's, shared by every pane; only
// the newest (live) pane acts on events.

#include <sys/types.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "output/SharedMemoryList.h"
#include "toolkit/CarbonEvents.h"
#include "toolkit/DataBrowser.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "ui/UI_DialogWait.h"

class PDEData;
class PPDXControl;
class UI_CheckBoxControl;
class UI_IPAddressPanel;
class UI_PopupControl;
class ZPXPPD;

class UI_Panel : public UI_DialogWait {
 public:
  enum JP_ACTIONS { kJPMainView = 1, kJPTintoraView = 2, kJPMixedMediaView = 3 };
  static constexpr EventTimerInterval kPollInterval = 0.01;
  static constexpr size_t kWidgetSlots = 99;
  static constexpr SInt32 kRows = 8;
  static constexpr SInt32 kSmallScreenRows = 4;
  static constexpr short kSmallScreenShift = 110;
  static constexpr SInt32 kPopupRowBase = 2000;
  static constexpr SInt32 kCheckBoxRowBase = 3000;
  // Controls of "PDEMain".
  static constexpr OSType kJobPropertiesSignature = FourCC("cUpd");
  static constexpr OSType kCustomizeSignature = FourCC("Cust");
  static constexpr OSType kResetSignature = FourCC("Rest");
  static constexpr OSType kQuickAccessSignature = FourCC("QuAc");
  static constexpr OSType kScrollSignature = FourCC("Scrl");
  static constexpr OSType kAddressGroupSignature = FourCC("User");
  static constexpr OSType kRowsGroupSignature = FourCC("UseR");
  enum : SInt32 {
    kJobPropertiesButton = 5100,
    kCustomizeButton = 5101,
    kResetButton = 5102,
    kQuickAccessArea = 5103,
    kScrollBar = 5135,
    kAddressGroup = 101,
    kRowsGroup = 1000,
  };
  // The Customize window's lists and buttons.
  enum : SInt32 {
    kOptionList = 2000,
    kShortcutList = 2001,
    kAddButton = 1000,
    kRemoveButton = 1001
  };
  static constexpr UInt32 kAddCommand = FourCC("add!");
  static constexpr UInt32 kRemoveCommand = FourCC("remv");
  static constexpr UInt32 kMoveUpCommand = FourCC("movu");
  static constexpr UInt32 kMoveDownCommand = FourCC("movd");
  static constexpr UInt32 kJobPropertiesCommand = FourCC("cUpd");
  static constexpr DataBrowserPropertyID kOptionColumn = FourCC("CURR");
  static constexpr DataBrowserPropertyID kShortcutColumn = FourCC("SHOR");

  // The dialog window is the parent pane's owner. IsValid() is false without
  // a current printer or, with a parent pane, without the shared area.
  UI_Panel(IBNibRef nib, ControlRef parentPane, PDEData* data);
  ~UI_Panel() override;

  bool IsValid() const { return mValid; }
  bool IsBuilt() const { return mBuilt; }
  void Show();
  void Hide();
  OSStatus CommitUserChanges() { return noErr; }
  OSStatus SyncUI() { return noErr; }
  OSStatus ValidateUISettings(CFStringRef) { return noErr; }
  void ResetUI(PDEData* data) { mData = data; }
  // The data model's document is going away: the rows go first, and the
  // pane ignores events until CreateBasicPanel runs on a new one.
  void DocumentDestroyed();

  void CreateBasicPanel();
  void PopulatePPDTreeStructure();
  void ResetControlsToDefault();
  bool GetOSPageSize();
  void SetZPPrintSizeToDocumentSize();

  static OSStatus EventHandler(EventHandlerCallRef call, EventRef event, void* panel);
  OSStatus ProcessCommandEvent(UInt32 command);
  OSStatus ProcessControlHit(EventRef event, ControlRef control);
  OSStatus ProcessIPAddressEvent(EventRef event);
  OSStatus LastEventStatus() const { return mLastStatus; }
  bool SettingsChanged() const { return mSettingsChanged; }
  CFStringRef PaperName() const { return mPaperName.get(); }
  const std::string& CustomPrintSizeText() const { return mCustomSizeText; }
  UI_IPAddressPanel* AddressArea() const { return mAddressArea.get(); }
  WindowRef CustomizeWindow() const { return mCustomize; }

  // ---- Customize.
  void MyInitializeDataBrowserControl(WindowRef window);
  void AddShortCut();
  void RemoveShortCut();
  void MoveShortcutUp();
  void MoveShortcutDown();
  void CustomizeDialogOnOK();
  void UpdateDataBrowserControl(WindowRef window, DataBrowserItemID item, bool remove);
  static void MyItemNotification(ControlRef browser, DataBrowserItemID item,
                                 DataBrowserItemNotification message);
  static OSStatus MyDataBrowserItemDataCallback(ControlRef browser, DataBrowserItemID item,
                                                DataBrowserPropertyID property,
                                                DataBrowserItemDataRef itemData, Boolean setValue);

  // ---- The job-properties link.
  int AreaId() const { return mAreaId; }
  pid_t CompanionProcess() const { return mCompanion; }
  // Set while the companion works: the job-properties button is then ignored.
  bool IsIgnoringButton() const { return mIgnoreButton; }
  void LoadHelperModule();
  // False when no exchange started (unresolvable address, no companion).
  bool LaunchJobProperties(JP_ACTIONS action);
  SDMKeyValueList* GetDefaultSettings();
  // Applies the companion's list: a person's entries. A job note's entry that
  // the note's flags or lengths refuse stays out, and each such refusal is told
  // in an alert of its own (never with the text) once the list is applied.
  void SetUpdatedSettings(const SDMKeyValueList& list);
  // The preferences' watermarks, or the bundle's defaults when there are none.
  void LoadWatermarks();
  // LoadWatermarks, then the watermarks into the shared area.
  void GetWatermarks();
  void UpdateWatermarks();
  void SetTimerCheckForJPReturn();
  static void TimerCheckForJPReturn(EventLoopTimerRef timer, void* panel);
  void OnJPReturn();

  // ---- The process's state.
  static UI_Panel* LivePanel() { return sLivePanel; }
  static long ScrollOffset() { return sScrollOffset; }
  static bool IsSmallScreen() { return sSmallScreen; }
  static SInt32 PageStep() { return sPageStep; }
  static ZPXPPD* CurrentDocument() { return sCurrentDocument; }

 private:
  friend void LiveActionProc(ControlRef control, ControlPartCode part);

  // ---- Building.
  void BuildUI(IBNibRef nib);
  void MergeEmbedUI(WindowRef source);
  // Centres the group horizontally in the parent pane as it was handed over
  // and, by the source window's height, vertically; never left of or above
  // the pane's origin.
  static void AdjustSubControl(ControlRef control, const Rect& pane, short sourceHeight);
  void CoverWithParentPane(ControlRef control);
  void CheckSmallScreen();
  // An area of empty bounds builds no controls: it only judges the stored
  // two-way switch.
  void CreateAddressArea(const Rect& bounds);
  bool IsHeadless() const { return mParentPane == nullptr; }
  void DestroyRows();
  void MakeFixedRows();
  void MakeShortcutRows(SInt32 rows);
  void MakeRow(const char* keyword, SInt32 row, bool checkConstraints, bool withIcon);
  void ShiftForSmallScreenOnce();
  void TakePageSetupPaper();
  std::string CopyPPDBeside() const;
  ControlRef DialogControl(OSType signature, SInt32 number) const;
  void InstallHandler(EventTargetRef target);

  // ---- Events.
  OSStatus HandleEvent(EventRef event);
  OSStatus HandleJobPropertiesPress(EventRef event, ControlRef control);
  // Whether the press on the push button or check box ended inside it.
  static bool MSWordWorkaround(ControlRef control);
  void OpenCustomize();
  void CloseCustomize();
  // Removes the handlers Show installed and closes Customize.
  void StopHandlingEvents();
  void RefreshStoredAddress();
  void MarkAddressChanged();
  // Without a companion to start the job-properties button is disabled, and
  // its help tag says why.
  void UpdateJobPropertiesButton();

  // ---- Customize.
  ControlRef CustomizeList(SInt32 number) const;
  void MoveShortcut(int step);
  void SelectIn(SInt32 list);

  // ---- The link.
  bool SetUpSharedArea();
  bool TwoWayOn() const;
  // Whether the companion's path names a regular file this user may run.
  bool CompanionInstalled() const;
  void WriteArgumentsFile() const;
  bool CompanionGone() const;
  void TellInvalidAddress() const;
  void ShowBlocker();
  void DisposeBlocker();
  void SelectWatermarkNumber(long number);
  // Adds to `refusals` the message of a note entry that is refused.
  void ApplyEntry(const std::string& keyword, const std::wstring& value,
                  std::vector<std::string>& refusals);
  void TellRefusals(const std::vector<std::string>& refusals) const;
  void ApplyPrinterOption(const std::string& keyword, const std::string& value);
  bool SendUnload() const;  // true when the companion was told to quit
  void CloseDownLink();
  void AddOptionEntries(SDMPairs& entries, bool twoWay, bool customPageSize);

  PDEData* mData;
  WindowRef mDialog;
  ControlRef mParentPane;
  // The groups merged from "PDEMain"; they go with the pane.
  ControlRef mAddressGroup = nullptr;
  ControlRef mRowsGroup = nullptr;
  std::unique_ptr<UI_IPAddressPanel> mAddressArea;
  std::array<std::unique_ptr<UI_PopupControl>, kWidgetSlots> mPopups;
  std::array<std::unique_ptr<UI_CheckBoxControl>, kWidgetSlots> mCheckBoxes;
  IBNibRef mNib = nullptr;
  EventHandlerRef mHandler = nullptr;
  std::vector<EventHandlerRef> mControlHandlers;
  WindowRef mCustomize = nullptr;
  EventHandlerRef mCustomizeHandler = nullptr;
  WindowRef mBlocker = nullptr;
  CFRef<CFStringRef> mPrinterName;
  CFRef<CFStringRef> mPaperName;
  std::string mCustomSizeText;
  OSStatus mLastStatus = noErr;
  bool mValid = false;
  bool mBuilt = false;
  bool mSettingsChanged = false;
  bool mDocumentGone = false;

  std::string mCompanionPath;
  std::string mPPDCopy;
  int mAreaId = -1;
  char* mArea = nullptr;
  std::unique_ptr<SharedMemoryList> mList;
  pid_t mCompanion = -1;
  EventLoopTimerRef mTimer = nullptr;
  bool mIgnoreButton = false;
  long mBidiPairsFilled = 0;

  static UI_Panel* sLivePanel;
  static ZPXPPD* sCurrentDocument;
  static long sScrollOffset;
  static bool sSmallScreen;
  static SInt32 sPageStep;
  static bool sSmallScreenShiftDone;
};

// Scrolls the basic panel of the live pane by the part of the scroll bar.
void LiveActionProc(ControlRef control, ControlPartCode part);
// Whether the option is chosen elsewhere than in the basic panel ("*PageSize",
// in page setup).
bool IsControlDisabled(const char* keyword);
