#include "ui/UI_Panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXGroup.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFURLFileReplace.h"
#include "cf/RegularFileReader.h"
#include "foundation/CString.h"
#include "output/PDEData.h"
#include "paths/PlatformPaths.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"
#include "print/PMTicket.h"
#include "toolkit/Controls.h"
#include "toolkit/CoreGraphics.h"
#include "toolkit/Gestalt.h"
#include "toolkit/QuickDraw.h"
#include "ui/PPDTree.h"
#include "ui/UI_CheckBoxControl.h"
#include "ui/UI_IPAddressPanel.h"
#include "ui/UI_PopupControl.h"

namespace {

constexpr char kScrollPaneGroup[] = "ZPScrollPane";
// Fixed rows of a document without shortcuts, in this order.
constexpr const char* kFixedRows[] = {"*ZPDuplex", "*ZPRIPBooklet", "*ZPSort"};
constexpr SInt32 kPageStep = 4;
constexpr SInt32 kSmallScreenPageStep = 2;
constexpr SInt32 kSmallScreenMinorVersion = 4;  // above it, a small display counts
constexpr CGFloat kSmallScreenHeight = 800;
constexpr size_t kPPDCopyLimit = 64 * 1024 * 1024;
// A paper rectangle beyond this many points in either direction is not a paper.
constexpr float kLargestPaper = 100000;

short Width(const Rect& r) { return short(r.right - r.left); }
short Height(const Rect& r) { return short(r.bottom - r.top); }

Rect BoundsOf(ControlRef control) {
  Rect bounds = {0, 0, 0, 0};
  GetControlBounds(control, &bounds);
  return bounds;
}

void MoveUp(ControlRef control, short by) {
  if (control == nullptr) return;
  Rect bounds = BoundsOf(control);
  OffsetRect(&bounds, 0, short(-by));
  SetControlBounds(control, &bounds);
}

void ShortenBottom(ControlRef control, short by) {
  if (control == nullptr) return;
  Rect bounds = BoundsOf(control);
  bounds.bottom = short(std::max<int>(bounds.top, bounds.bottom - by));
  SetControlBounds(control, &bounds);
}

bool SameIgnoringCase(CFStringRef a, CFStringRef b) {
  return a != nullptr && b != nullptr &&
         CFStringCompare(a, b, kCFCompareCaseInsensitive) == kCFCompareEqualTo;
}

PPDXControl* FindControl(ZPXPPD* document, const char* keyword) {
  if (document == nullptr) return nullptr;
  CNTL_TYPE type = CNTL_NONE;
  const bool exact = true;
  return document->GetControls()->Find(keyword, type, exact);
}

PPDXPopupControl* FindPopup(ZPXPPD* document, const char* keyword) {
  PPDXControl* control = FindControl(document, keyword);
  return control != nullptr && control->Type() == CNTL_POPUP
             ? static_cast<PPDXPopupControl*>(control)
             : nullptr;
}

const char* ParentKeyword(PPDXControl* control) {
  PPDXElement* parent = control->GetParent();
  return parent != nullptr ? parent->Keyword() : nullptr;
}

// The four numbers of a paper rectangle (top, left, bottom, right) as the
// paper's width and height in points; false when it is no paper.
bool PaperSize(CFArrayRef rect, float& width, float& height) {
  if (rect == nullptr || CFArrayGetCount(rect) < 4) return false;
  float sides[4];
  for (CFIndex i = 0; i < 4; ++i) {
    CFTypeRef value = CFArrayGetValueAtIndex(rect, i);
    if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat32Type, &sides[i]) ||
        !std::isfinite(sides[i]))
      return false;
  }
  width = std::fabs(sides[1]) + std::fabs(sides[3]);
  height = std::fabs(sides[0]) + std::fabs(sides[2]);
  return width > 0 && height > 0 && width <= kLargestPaper && height <= kLargestPaper;
}

}  // namespace

UI_Panel* UI_Panel::sLivePanel = nullptr;
ZPXPPD* UI_Panel::sCurrentDocument = nullptr;
long UI_Panel::sScrollOffset = 0;
bool UI_Panel::sSmallScreen = false;
SInt32 UI_Panel::sPageStep = kPageStep;
bool UI_Panel::sSmallScreenShiftDone = false;

bool IsControlDisabled(const char* keyword) {
  return keyword != nullptr && std::strcmp(keyword, "*PageSize") == 0;
}

UI_Panel::UI_Panel(IBNibRef nib, ControlRef parentPane, PDEData* data)
    : UI_DialogWait(GetControlOwner(parentPane)),
      mData(data),
      mDialog(GetControlOwner(parentPane)),
      mParentPane(parentPane),
      mNib(nib),
      mCompanionPath(PlatformPaths::Get(PlatformPaths::kCompanionProgram)) {
  if (mData == nullptr || mData->PrinterName() == nullptr) return;
  mPrinterName = CFRef<CFStringRef>::Retain(mData->PrinterName());
  if (IsHeadless())
    CreateAddressArea(Rect{0, 0, 0, 0});
  else
    BuildUI(nib);
  sCurrentDocument = mData->Document();
  if (!IsHeadless()) PopulatePPDTreeStructure();
  sScrollOffset = 0;
  if (!mData->IsReinitialized() && !mData->IsRestoredFromTicket()) TakePageSetupPaper();
  if (!IsHeadless()) CreateBasicPanel();
  mData->DeleteWatermarks();
  mSettingsChanged = false;
  sLivePanel = this;
  if (IsHeadless()) {
    LoadWatermarks();
    mValid = true;
    return;
  }
  mPPDCopy = CopyPPDBeside();
  if (!SetUpSharedArea()) {
    mData->MarkIncomplete();
    return;
  }
  mValid = true;
}

UI_Panel::~UI_Panel() {
  sSmallScreenShiftDone = false;
  if (sLivePanel == this) sLivePanel = nullptr;
  CloseDownLink();
  // The parent pane is the dialog's: it keeps its visibility for the next pane.
  StopHandlingEvents();
  DestroyRows();
  mAddressArea.reset();
  DisposeBlocker();
  for (ControlRef group : {mAddressGroup, mRowsGroup})
    if (group != nullptr) DisposeControl(group);
}

void UI_Panel::TakePageSetupPaper() {
  if (GetOSPageSize()) {
    PPDXPopupControl* pageSize = FindPopup(mData->Document(), "*PageSize");
    pageSize->SetValue(1);
    _PopupItem* first = pageSize->FirstItem();
    if (first != nullptr) {
      if (first->name != nullptr) CFRelease(first->name);
      first->name = static_cast<CFStringRef>(CFRetain(mPaperName.get()));
      delete[] std::exchange(first->nameText, nullptr);
    }
    mData->SetDocumentPageSizeInUse(true);
  } else {
    SetZPPrintSizeToDocumentSize();
    mData->SetDocumentPageSizeInUse(false);
  }
}

// ---- Building the pane.

void UI_Panel::BuildUI(IBNibRef nib) {
  WindowRef source = nullptr;
  if (nib == nullptr || CreateWindowFromNib(nib, CFSTR("PDEMain"), &source) != noErr) return;
  mBuilt = true;
  MergeEmbedUI(source);
  sPageStep = kPageStep;
  CheckSmallScreen();
  if (mAddressGroup != nullptr) {
    if (sSmallScreen) MoveUp(mAddressGroup, kSmallScreenShift);
    CreateAddressArea(BoundsOf(mAddressGroup));
  }
  DisposeWindow(source);
}

void UI_Panel::CheckSmallScreen() {
  SInt32 minor = 0;
  sSmallScreen = Gestalt(gestaltSystemVersionMinor, &minor) == noErr &&
                 minor > kSmallScreenMinorVersion &&
                 CGDisplayBounds(CGMainDisplayID()).size.height <= kSmallScreenHeight;
  if (sSmallScreen) sPageStep = kSmallScreenPageStep;
}

// The two groups leave "PDEMain" for the parent pane, also in a pane rebuilt
// from the tickets: left in "PDEMain" the rows would go with it, and outside
// the parent pane they would stay on screen when the dialog hides the pane.
void UI_Panel::MergeEmbedUI(WindowRef source) {
  Rect sourceBounds = {0, 0, 0, 0};
  GetWindowBounds(source, kWindowContentRgn, &sourceBounds);
  const ControlID addressId = {kAddressGroupSignature, kAddressGroup};
  const ControlID rowsId = {kRowsGroupSignature, kRowsGroup};
  ControlRef addressGroup = nullptr;
  ControlRef rowsGroup = nullptr;
  GetControlByID(source, &addressId, &addressGroup);
  GetControlByID(source, &rowsId, &rowsGroup);
  mAddressGroup = addressGroup;
  mRowsGroup = rowsGroup;
  const Rect pane = BoundsOf(mParentPane);
  for (ControlRef group : {addressGroup, rowsGroup}) {
    if (group == nullptr) continue;
    AdjustSubControl(group, pane, Height(sourceBounds));
    EmbedControl(group, mParentPane);
    CoverWithParentPane(group);
  }
}

// Both groups keep their places relative to each other: the vertical offset
// is the source window's, the horizontal one each group's own.
void UI_Panel::AdjustSubControl(ControlRef control, const Rect& pane, short sourceHeight) {
  Rect bounds = BoundsOf(control);
  const short dh = short(std::max(0, (Width(pane) - Width(bounds)) / 2));
  const short dv = short(std::max(0, (Height(pane) - sourceHeight) / 2));
  OffsetRect(&bounds, short(pane.left + dh - bounds.left), short(pane.top + dv));
  SetControlBounds(control, &bounds);
}

// Grows the parent pane to cover the control.
void UI_Panel::CoverWithParentPane(ControlRef control) {
  const Rect pane = BoundsOf(mParentPane);
  const Rect bounds = BoundsOf(control);
  Rect covering;
  UnionRect(&pane, &bounds, &covering);
  SetControlBounds(mParentPane, &covering);
}

void UI_Panel::CreateAddressArea(const Rect& bounds) {
  mAddressArea = std::make_unique<UI_IPAddressPanel>(mDialog, mParentPane, bounds, mData->Session(),
                                                     mData->GetIPAddressEnabled(), true, true);
  Rect covered = bounds;
  if (sSmallScreen) covered.bottom = short(covered.bottom - kSmallScreenShift);
  const Rect pane = BoundsOf(mParentPane);
  Rect grown;
  UnionRect(&pane, &covered, &grown);
  SetControlBounds(mParentPane, &grown);
}

ControlRef UI_Panel::DialogControl(OSType signature, SInt32 number) const {
  const ControlID id = {signature, number};
  ControlRef control = nullptr;
  GetControlByID(mDialog, &id, &control);
  return control;
}

// ---- The shortcut tree.

void UI_Panel::PopulatePPDTreeStructure() {
  PPDTree& tree = PPDTree::Shared();
  tree.Clear();
  ZPXPPD* document = mData->Document();
  if (document == nullptr) return;
  PPDXShortcuts* shortcuts = document->GetShortcuts();
  for (PPDXControl* control = shortcuts != nullptr ? shortcuts->First() : nullptr;
       control != nullptr; control = shortcuts->Next())
    if (mData->IsValidBasicPanelControl(control))
      tree.AddShortcut(control->Keyword(), control->CFStringUserName());
  // Nothing saved reads as an empty list: the document's shortcuts stay.
  std::vector<std::string> saved;
  if (mData->GetPPDShortcuts(saved) && !saved.empty()) {
    tree.ClearShortcuts();
    for (const std::string& keyword : saved) {
      PPDXControl* control = FindControl(document, keyword.c_str());
      if (control != nullptr) tree.AddShortcut(keyword.c_str(), control->CFStringUserName());
    }
  }
  PPDXGroups* groups = document->GetGroups();
  PPDXGroup* group = groups->First();
  for (group = group != nullptr ? groups->Next() : nullptr; group != nullptr;
       group = groups->Next()) {
    const char* keyword = group->Keyword();
    if (keyword == nullptr || UserChoice::IsInstallableGroup(keyword) ||
        std::strcmp(keyword, kScrollPaneGroup) == 0)
      continue;
    tree.AddGroup(keyword, group->CFStringUserName());
  }
  CNTL_TYPE type = CNTL_NONE;
  PPDXControls* controls = document->GetControls();
  PPDXControl* control = controls->First(type);
  for (control = control != nullptr ? controls->Next(type) : nullptr; control != nullptr;
       control = controls->Next(type)) {
    if ((type != CNTL_BOOLEAN && type != CNTL_POPUP) || !mData->IsValidBasicPanelControl(control))
      continue;
    const size_t g = tree.FindGroup(ParentKeyword(control));
    if (g == tree.GroupCount()) continue;
    const UInt32 id = tree.AddItem(g, control->Keyword(), control->CFStringUserName());
    PPDTree::Shortcut* shortcut = tree.FindShortcut(control->Keyword());
    if (id != PPDTree::kNoItem && shortcut != nullptr) shortcut->itemId = id;
  }
  tree.RemoveEmptyGroups();
}

// ---- The basic panel.

void UI_Panel::DestroyRows() {
  for (auto& popup : mPopups) popup.reset();
  for (auto& box : mCheckBoxes) box.reset();
}

void UI_Panel::DocumentDestroyed() {
  DestroyRows();
  if (sCurrentDocument == mData->Document()) sCurrentDocument = nullptr;
  mDocumentGone = true;
}

void UI_Panel::CreateBasicPanel() {
  DestroyRows();
  sCurrentDocument = mData->Document();
  mDocumentGone = sCurrentDocument == nullptr;
  if (mDocumentGone) return;
  const SInt32 rows = sSmallScreen ? kSmallScreenRows : kRows;
  const long count = long(PPDTree::Shared().ShortcutCount());
  ControlRef scroll = DialogControl(kScrollSignature, kScrollBar);
  if (scroll != nullptr) {
    const SInt32 maximum = std::max<SInt32>(0, SInt32((count - rows + 1) / 2 * 2));
    SetControl32BitMaximum(scroll, maximum);
    SetControlVisibility(scroll, count > rows, false);
  }
  if (count == 0) {
    MakeFixedRows();
  } else {
    MakeShortcutRows(rows);
  }
}

void UI_Panel::MakeFixedRows() {
  SInt32 row = 0;
  for (const char* keyword : kFixedRows) {
    if (FindPopup(sCurrentDocument, keyword) == nullptr) continue;
    MakeRow(keyword, row++, false, false);
  }
}

void UI_Panel::MakeShortcutRows(SInt32 rows) {
  const PPDTree& tree = PPDTree::Shared();
  SInt32 row = 0;
  for (size_t i = size_t(std::max(0L, sScrollOffset)); i < tree.ShortcutCount() && row < rows;
       ++i) {
    const char* keyword = tree.ShortcutAt(i).keyword.c_str();
    if (FindControl(sCurrentDocument, keyword) == nullptr) continue;
    MakeRow(keyword, row++, true, true);
  }
}

// Row `row` for the option: a pop-up or a check box; any other kind leaves
// the row empty.
void UI_Panel::MakeRow(const char* keyword, SInt32 row, bool checkConstraints, bool withIcon) {
  PPDXControl* control = FindControl(sCurrentDocument, keyword);
  const SInt32 icon = withIcon ? kPopupRowBase + row : 0;
  if (control->Type() == CNTL_POPUP) {
    mPopups[size_t(row)] = std::make_unique<UI_PopupControl>(
        mDialog, kPopupRowBase + row, static_cast<PPDXPopupControl*>(control), checkConstraints,
        sCurrentDocument, IsControlDisabled(keyword), icon);
  } else if (control->Type() == CNTL_BOOLEAN) {
    mCheckBoxes[size_t(row)] = std::make_unique<UI_CheckBoxControl>(
        mDialog, kCheckBoxRowBase + row, static_cast<PPDXBooleanControl*>(control),
        checkConstraints, sCurrentDocument, icon);
  }
}

void LiveActionProc(ControlRef control, ControlPartCode part) {
  UI_Panel* panel = UI_Panel::sLivePanel;
  if (control == nullptr || panel == nullptr) return;
  const SInt32 value = GetControl32BitValue(control);
  const SInt32 minimum = GetControl32BitMinimum(control);
  const SInt32 maximum = GetControl32BitMaximum(control);
  SInt32 step = 0;
  switch (part) {
    case kControlUpButtonPart:
      step = value > minimum ? -1 : 0;
      break;
    case kControlDownButtonPart:
      step = value < maximum ? 1 : 0;
      break;
    case kControlPageUpPart:
      step = value > minimum ? -UI_Panel::sPageStep : 0;
      break;
    case kControlPageDownPart:
      step = value < maximum ? UI_Panel::sPageStep : 0;
      break;
    default:
      break;
  }
  SetControl32BitValue(control, std::clamp(value + step, minimum, maximum));
  UI_Panel::sScrollOffset = std::max<SInt32>(0, GetControl32BitValue(control));
  panel->CreateBasicPanel();
}

// ---- Showing.

// The first pane shown on a small screen in this process makes room once.
void UI_Panel::ShiftForSmallScreenOnce() {
  if (!sSmallScreen || sSmallScreenShiftDone || !mBuilt) return;
  sSmallScreenShiftDone = true;
  ShortenBottom(DialogControl(kScrollSignature, kScrollBar), kSmallScreenShift);
  ShortenBottom(DialogControl(kQuickAccessSignature, kQuickAccessArea), kSmallScreenShift);
  ShortenBottom(DialogControl(kRowsGroupSignature, kRowsGroup), kSmallScreenShift);
  MoveUp(DialogControl(kJobPropertiesSignature, kJobPropertiesButton), kSmallScreenShift);
  MoveUp(DialogControl(kResetSignature, kResetButton), kSmallScreenShift);
}

void UI_Panel::RefreshStoredAddress() {
  mData->ResetMelvanePrinterList();
  if (mAddressArea == nullptr) return;
  if (IsHeadless()) {
    // The job takes the switch as the area judges it; the preferences stay as they are.
    mData->TakeIPAddressEnabled(mAddressArea->IsTwoWayOn());
    return;
  }
  bool enabled = false;
  CFStringRef stored = mData->GetMelvanePrinterAddress(mPrinterName.get(), &enabled);
  const std::string address = UTF8Text(stored);
  mData->SetMelvanePrinterAddress(mPrinterName.get(), CString(address.c_str()),
                                  mAddressArea->IsTwoWayOn());
  if (enabled) mAddressArea->switchBidiMode(true);
}

// ---- Reset and paper.

void UI_Panel::ResetControlsToDefault() {
  UserChoice(*mData->Document()).ResetJobOptions();
  CreateBasicPanel();
}

bool UI_Panel::GetOSPageSize() {
  PMTicketRef pageFormat = nullptr;
  PMTicketRef paperInfo = nullptr;
  CFStringRef paperName = nullptr;
  if (MyGetTicket(mData->Session(), kPDE_PMPageFormatRef, pageFormat) != noErr ||
      PMTicketGetTicket(pageFormat, kPMPaperInfoTicket, 0, &paperInfo) != noErr ||
      PMTicketGetCFString(paperInfo, kPMTopLevel, kPMTopLevel, kPMPaperNameKey, &paperName) !=
          noErr)
    return false;
  ZPXPPD* document = mData->Document();
  PPDXPopupControl* pageSize = FindPopup(document, "*PageSize");
  if (pageSize == nullptr || paperName == nullptr) return false;
  pageSize->ResetToDefaultValue();
  pageSize->SetCurrentControlWithCFString(paperName);
  CFRef<CFStringRef> current(pageSize->CopyCurrentControlValueString());
  if (SameIgnoringCase(current.get(), paperName)) return false;
  const std::pair<CFStringRef, const char*> known[] = {{CFSTR("US Letter"), "Letter"},
                                                       {CFSTR("US Legal"), "Legal"}};
  for (const auto& [name, keyword] : known) {
    if (!SameIgnoringCase(paperName, name)) continue;
    pageSize->SetKeywordSelect(keyword, true);
    return false;
  }
  CFArrayRef rect = nullptr;
  float width = 0;
  float height = 0;
  if (PMTicketGetCFArray(paperInfo, kPMTopLevel, kPMTopLevel, kPMUnadjustedPaperRectKey, &rect) !=
          noErr ||
      !PaperSize(rect, width, height))
    return false;
  mPaperName = CFRef<CFStringRef>::Retain(paperName);
  PPDXControl* custom = FindControl(document, "*CustomPrintSize");
  if (custom != nullptr && custom->Type() == CNTL_CUSTOMPAGESIZE) {
    auto* size = static_cast<PPDXCustomPageSizeControl*>(custom);
    size->SetWidth(width);
    size->SetHeight(height);
    CFRef<CFStringRef> text(size->CopyCurrentControlValueString());
    mCustomSizeText = UTF8Text(text.get());
    if (PPDXControl* printSize = FindControl(document, "*ZPPrintSize"))
      printSize->SetCurrentControlWithCFString(CFSTR("CustomPrintSize"));
  }
  return true;
}

void UI_Panel::SetZPPrintSizeToDocumentSize() {
  ZPXPPD* document = mData->Document();
  PPDXPopupControl* printSize = FindPopup(document, "*ZPPrintSize");
  PPDXControl* pageSize = FindControl(document, "*PageSize");
  if (printSize == nullptr || pageSize == nullptr || printSize->IsKeywordSelected("SameAsPageSize"))
    return;
  CFRef<CFStringRef> value(pageSize->CopyCurrentControlValueString());
  printSize->SetCurrentControlWithCFString(value.get());
}

// The companion reads the PPD beside itself under ".ppd". The copy goes
// through a new file renamed into place: a link planted at that name is
// replaced, never followed.
// Without a copy the area's PPD-copy field stays empty.
std::string UI_Panel::CopyPPDBeside() const {
  const std::string& source = mData->PPDPath();
  const std::string copy = source + ".ppd";
  std::vector<UInt8> bytes;
  if (!source.empty() &&
      RegularFileReader::Read(source, kPPDCopyLimit, bytes) == RegularFileReader::kRead &&
      CFURLFileReplace::Write(copy, bytes.data(), bytes.size(), CFURLFileReplace::kReplaceLink) ==
          0)
    return copy;
  std::fprintf(stderr, "ZPX: the PPD could not be copied beside itself\n");
  return std::string();
}
