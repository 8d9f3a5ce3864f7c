#include "ui/UI_IPAddressPanel.h"

#include "carbon/TextCommon.h"
#include "comm/ZPXMelvanePrinterPList.h"
#include "plugin/BundleFunctions.h"
#include "plugin/SessionFunctions.h"
#include "plugin/TextBuffer.h"
#include "toolkit/QuickDraw.h"
#include "ui/ControlUtils.h"
#include "ui/CustomCarbonEvent.h"
#include "ui/UI_PrinterListDialog.h"

namespace {

constexpr short kFirstRowHeight = 20;
constexpr short kRowHeight = 16;
constexpr short kLabelWidth = 110;
constexpr short kButtonWidth = 90;
constexpr short kGap = 4;

Rect Box(short top, short left, short bottom, short right) {
  return Rect{top, left, bottom, right};
}

bool IsEmpty(CFStringRef text) { return text == nullptr || CFStringGetLength(text) == 0; }

}  // namespace

UI_IPAddressPanel::UI_IPAddressPanel(WindowRef window, ControlRef parent, const Rect& bounds,
                                     PMPrintSession session, bool twoWayOn, bool shown,
                                     bool hasCheckBox)
    : mTwoWayOn(twoWayOn),
      mWindow(window),
      mBounds(bounds),
      mHasCheckBox(hasCheckBox),
      mSession(session),
      mPrinterName(CFRef<CFStringRef>::Retain(GetCurrentPrinterName(session))) {
  Rect inner = bounds;
  InsetRect(&inner, 2, 2);
  CreateUserPaneControl(window, &inner, 0, &mContainer);
  EmbedControl(mContainer, parent);
  SetControlVisibility(mContainer, false, false);
  CFRef<CFStringRef> stored(
      CFRef<CFStringRef>::Retain(GetMelvanePrinterAddress(mPrinterName.get(), nullptr)));
  mTwoWayOn = twoWayOn && !IsEmpty(stored.get());
  if (!initialize()) return;
  PMPrinter printer = nullptr;
  CFStringRef makeAndModel = nullptr;
  if (PMSessionGetCurrentPrinter(session, &printer) == noErr &&
      PMPrinterGetMakeAndModelName(printer, &makeAndModel) == noErr)
    setDeviceName(makeAndModel);
  if (IsEmpty(stored.get()))
    switchBidiMode(false);
  else
    setIPAddress(EncodedText(stored.get(), GetApplicationTextEncoding()).c_str());
  if (shown)
    show();
  else
    hide();
  mInitialized = true;
}

UI_IPAddressPanel::~UI_IPAddressPanel() {
  mDialog.reset();
  // The container takes the controls embedded in it along.
  if (mContainer != nullptr) DisposeControl(mContainer);
}

bool UI_IPAddressPanel::initialize() {
  if (GetBundleRef() == nullptr || mBounds.right - mBounds.left <= kMinimumWidth ||
      mBounds.bottom - mBounds.top <= kMinimumHeight)
    return false;
  BuildControls();
  handleBiDi();
  return true;
}

void UI_IPAddressPanel::BuildControls() {
  Rect area;
  GetControlBounds(mContainer, &area);
  const short middle = short(area.left + (area.right - area.left) / 2);
  CFRef<CFStringRef> switchTitle(UI_PrinterListDialog::CopyBidiString(CFSTR("USE_BIDI")));
  Rect row = Box(area.top, area.left, short(area.top + kFirstRowHeight), middle);
  if (mHasCheckBox) {
    CreateCheckBoxControl(mWindow, &row, switchTitle.get(), mTwoWayOn ? 1 : 0, true, &mSwitch);
    Identify(mSwitch, kSwitchSignature);
  } else {
    mSwitch = NewText(row, switchTitle.get());
  }
  short top = short(area.top + kFirstRowHeight + kGap);
  Rect line = Box(top, area.left, short(top + 2), area.right);
  CreateSeparatorControl(mWindow, &line, &mSeparator);
  EmbedControl(mSeparator, mContainer);

  top = short(top + 2 + kGap);
  const short textLeft = short(area.left + kLabelWidth);
  mAddressLabel =
      NewLabel(Box(top, area.left, short(top + kRowHeight), textLeft), CFSTR("PRINTER_ADDR"));
  const short buttonLeft = short(area.right - kButtonWidth);
  mAddressText =
      NewText(Box(top, textLeft, short(top + kRowHeight), short(buttonLeft - kGap)), nullptr);
  CFRef<CFStringRef> configure(UI_PrinterListDialog::CopyBidiString(CFSTR("CONFIG_BTN")));
  Rect button = Box(top, buttonLeft, short(top + kFirstRowHeight), area.right);
  CreatePushButtonControl(mWindow, &button, configure.get(), &mConfigButton);
  Identify(mConfigButton, kConfigureSignature);
  ControlUtils::SizeControl(mConfigButton, false);

  top = short(top + kFirstRowHeight + kGap);
  mNameLabel =
      NewLabel(Box(top, area.left, short(top + kRowHeight), textLeft), CFSTR("PRINTER_NAME"));
  mDeviceNameText = NewText(Box(top, textLeft, short(top + kRowHeight), area.right), nullptr);
}

ControlRef UI_IPAddressPanel::NewText(const Rect& bounds, CFStringRef text) {
  ControlRef control = nullptr;
  CreateStaticTextControl(mWindow, &bounds, text, nullptr, &control);
  EmbedControl(control, mContainer);
  return control;
}

ControlRef UI_IPAddressPanel::NewLabel(const Rect& bounds, CFStringRef key) {
  CFRef<CFStringRef> text(UI_PrinterListDialog::CopyBidiString(key));
  return NewText(bounds, text.get());
}

void UI_IPAddressPanel::Identify(ControlRef control, OSType signature) {
  const ControlID id = {signature, kControlNumber};
  SetControlID(control, &id);
  SetControlCommandID(control, signature);
  EmbedControl(control, mContainer);
}

void UI_IPAddressPanel::show() { SetControlVisibility(mContainer, true, true); }

void UI_IPAddressPanel::hide() { SetControlVisibility(mContainer, false, false); }

void UI_IPAddressPanel::enableBidiUI(bool on) {
  for (ControlRef control : {mAddressText, mDeviceNameText, mAddressLabel, mNameLabel}) {
    if (control == nullptr) continue;
    if (on)
      EnableControl(control);
    else
      DisableControl(control);
  }
}

bool UI_IPAddressPanel::handleBiDi() {
  if (mSwitch == nullptr) return false;
  const bool wanted = !mHasCheckBox || GetControl32BitValue(mSwitch) == 1;
  if (!switchBidiMode(wanted)) return false;
  mChanged |= kSwitchChanged;
  return true;
}

bool UI_IPAddressPanel::switchBidiMode(bool on) {
  bool reported = false;
  if (!on) {
    mTwoWayOn = false;
  } else if (!mAddress.empty() || !mInitialized) {
    mTwoWayOn = true;
  } else {
    // The dialog posts the address change itself when it ends with OK.
    reported = ShowTwoWayCommuncationsDialog() == UI_PrinterListDialog::kOKCommand;
    mTwoWayOn = reported;
    if (!reported) setCheckBoxState(false);
  }
  enableBidiUI(mTwoWayOn);
  if (mInitialized && !reported) Post(kSwitchChangedCommand);
  return mTwoWayOn;
}

void UI_IPAddressPanel::setCheckBoxState(bool on) {
  if (mHasCheckBox && mSwitch != nullptr) SetControl32BitValue(mSwitch, on ? 1 : 0);
}

void UI_IPAddressPanel::setIPAddress(const char* text) {
  mAddress = text != nullptr ? text : "";
  if (mAddressText != nullptr) {
    SetControlData(mAddressText, kControlEntireControl, kControlStaticTextTextTag,
                   Size(mAddress.size()), mAddress.data());
    Draw1Control(mAddressText);
  }
  if (mDialog) mDialog->setServerNameField(mAddress.c_str());
}

void UI_IPAddressPanel::setDeviceName(CFStringRef name) {
  mDeviceName = CFRef<CFStringRef>::Retain(name);
  if (mDeviceNameText == nullptr) return;
  CFStringRef shown = name != nullptr ? name : CFSTR("");
  SetControlData(mDeviceNameText, kControlEntireControl, kControlStaticTextCFStringTag,
                 sizeof shown, &shown);
  Draw1Control(mDeviceNameText);
}

UInt32 UI_IPAddressPanel::ShowTwoWayCommuncationsDialog() {
  mDialog = std::make_unique<UI_PrinterListDialog>(mWindow, mAddress.c_str(), false);
  UInt32 ending = UI_PrinterListDialog::kCancelCommand;
  char result[UI_PrinterListDialog::kFieldSize];
  if (mDialog->IsBuilt()) ending = mDialog->waitforResults(result, sizeof result);
  if (ending == UI_PrinterListDialog::kOKCommand) {
    if (CFStringRef picked = mDialog->GetDeviceName()) setDeviceName(picked);
    mDialog.reset();  // closed: setIPAddress has no dialog field to fill
    setIPAddress(result);
    mChanged |= kAddressChanged;
    Post(kAddressChangedCommand);
  }
  mDialog.reset();
  return ending;
}

OSStatus UI_IPAddressPanel::HandleIPAddressPanelEvent(EventRef event) {
  ControlRef control = nullptr;
  ControlID id = {0, 0};
  if (mContainer == nullptr || !IsControlVisible(mContainer) ||
      GetEventClass(event) != kEventClassControl || GetEventKind(event) != kEventControlClick ||
      GetEventParameter(event, kEventParamDirectObject, typeControlRef, nullptr, sizeof control,
                        nullptr, &control) != noErr ||
      GetControlID(control, &id) != noErr || id.id != kControlNumber ||
      (id.signature != kSwitchSignature && id.signature != kConfigureSignature))
    return eventNotHandledErr;
  if (!ControlUtils::TrackClick(control)) return eventNotHandledErr;
  if (id.signature == kConfigureSignature) {
    ShowTwoWayCommuncationsDialog();
    return noErr;
  }
  if (mHasCheckBox) SetControl32BitValue(control, GetControl32BitValue(control) == 1 ? 0 : 1);
  handleBiDi();
  return noErr;
}

bool UI_IPAddressPanel::IPAddressHasChanged(char* buffer, size_t size) {
  const bool addressChanged = (mChanged & kAddressChanged) != 0;
  if (addressChanged && buffer != nullptr) CopyTextWhole(mAddress.c_str(), buffer, size);
  mChanged = 0;
  return addressChanged;
}

void UI_IPAddressPanel::Post(UInt32 command) const {
  CustomCarbonEvent event(command, mWindow, kEventClassCommand, kEventCommandProcess);
  event.send(nullptr, kEventPriorityStandard);
}

ZPXMelvanePrinterPList& UI_IPAddressPanel::Preferences() {
  if (!mPreferences) ResetMelvanePrinterList();
  return *mPreferences;
}

void UI_IPAddressPanel::ResetMelvanePrinterList() {
  mPreferences = std::make_unique<ZPXMelvanePrinterPList>();
}

CFStringRef UI_IPAddressPanel::GetMelvanePrinterAddress(CFStringRef printerName, bool* enabled) {
  ResetMelvanePrinterList();
  CFStringRef stored = printerName != nullptr ? mPreferences->Find(printerName) : nullptr;
  if (enabled != nullptr)
    *enabled = printerName != nullptr && mPreferences->getIPEnabled(printerName);
  if (!IsEmpty(stored)) {
    mStoredAddress = CFRef<CFStringRef>::Retain(stored);
    return mStoredAddress.get();
  }
  return GetPrinterAddress();
}

void UI_IPAddressPanel::SetMelvanePrinterAddress(CFStringRef printerName, const char* address,
                                                 bool enabled) {
  CFStringRef name = printerName != nullptr ? printerName : mPrinterName.get();
  CFRef<CFStringRef> text(CFStringCreateWithCString(
      kCFAllocatorDefault, address != nullptr ? address : "", GetApplicationTextEncoding()));
  if (name != nullptr && text && Preferences().Add(name, text.get(), enabled)) mPreferences->Save();
}

void UI_IPAddressPanel::SetIPAddressEnabled(bool on) {
  bool found = false;
  if (!mPrinterName) return;
  Preferences().Exists(mPrinterName.get(), found);
  if (!found) return;
  mPreferences->setIPEnabled(mPrinterName.get(), on);
  mPreferences->Save();
}

CFStringRef UI_IPAddressPanel::GetPrinterAddress() {
  if (mHostNameLooked) return mHostName.get();
  mHostNameLooked = true;
  PMPrinter printer = nullptr;
  CFURLRef uri = nullptr;
  if (isAppleTalkPrinterConnection(mSession) ||
      PMSessionGetCurrentPrinter(mSession, &printer) != noErr ||
      PMPrinterCopyDeviceURI(printer, &uri) != noErr || uri == nullptr)
    return nullptr;
  CFRef<CFURLRef> device(uri);
  mHostName.reset(CFURLCopyHostName(device.get()));
  return mHostName.get();
}

void UI_IPAddressPanel::Update() {
  bool enabled = false;
  CFStringRef address = GetMelvanePrinterAddress(mPrinterName.get(), &enabled);
  setIPAddress(EncodedText(address, GetApplicationTextEncoding()).c_str());
  if (!enabled) return;
  setCheckBoxState(true);
  mTwoWayOn = true;
  enableBidiUI(true);
}
