#include "ui/UI_PrinterListDialog.h"

#include <cstring>

#include "carbon/SysBeep.h"
#include "cf/CFRef.h"
#include "comm/BonjourList.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEBundle.h"
#include "plugin/TextBuffer.h"
#include "ui/ControlUtils.h"
#include "ui/TellUser.h"
#include "ui/UI_ZPXAlert.h"

namespace {

constexpr SInt16 kSmallFontSize = 11;

enum { kAccept = 1, kStayOpen = 0, kCancel = -1 };

bool IsAddressCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

}  // namespace

CFStringRef UI_PrinterListDialog::CopyBidiString(CFStringRef key) {
  return PDEBundle::CopyLocalizedCFStringFromFile(key, CFSTR("BidiStrings"), GetBundleRef());
}

UI_PrinterListDialog::UI_PrinterListDialog(WindowRef parent, const char* initialAddress,
                                           bool allowEmpty)
    : UI_DialogWait(parent), mAllowEmpty(allowEmpty) {
  if (initialAddress != nullptr) setServerNameField(initialAddress);
  mBuilt = Build();
}

UI_PrinterListDialog::~UI_PrinterListDialog() {
  removeEventHandler();
  DeleteBonjourList(mNetworkList);
  if (mWindow != nullptr) DisposeWindow(mWindow);
  if (mNib != nullptr) DisposeNibReference(mNib);
}

bool UI_PrinterListDialog::Build() {
  CFBundleRef bundle = GetBundleRef();
  if (bundle == nullptr || CreateNibReferenceWithCFBundle(bundle, CFSTR("BidiUI"), &mNib) != noErr)
    return false;
  if (CreateWindowFromNib(mNib, CFSTR("PrinterListDialog"), &mWindow) != noErr) {
    mWindow = nullptr;
    return false;
  }
  setStandardButtonTitles();
  mAddressEdit = Control(kAddressEdit);
  mPrinterList = Control(kPrinterList);
  if (mAddressEdit == nullptr || mPrinterList == nullptr) return false;
  CFRef<CFStringRef> title(CopyBidiString(CFSTR("TWO_WAY_TITLE")));
  if (title) SetWindowTitleWithCFString(mWindow, title.get());
  mNetworkList = CreateBonjourList(mAddressEdit, mPrinterList, Control(kNoBrowserLabel));
  installEventHandler(mWindow);
  initializeStrings();
  return true;
}

ControlRef UI_PrinterListDialog::Control(OSType signature) const {
  return getControlByID(signature, 1);
}

void UI_PrinterListDialog::initializeStrings() {
  SetLabel(kNameLabel, CFSTR("PRINTER_NAME"), false);
  SetLabel(kAddressLabel, CFSTR("PRINTER_ADDR"), false);
  SetLabel(kHintLabel, CFSTR("IP_OR_DNS_NAME"), true);
  SetLabel(kHeadingLabel, CFSTR("ENTER_TWO_WAY"), false);
  SetLabel(kNoteLabel, CFSTR("NO_IP_ADDRESS"), true);
  SetLabel(kNoBrowserLabel, CFSTR("NO_BROWSER"), true);
}

void UI_PrinterListDialog::SetLabel(OSType signature, CFStringRef key, bool small) {
  ControlRef label = Control(signature);
  CFRef<CFStringRef> text(CopyBidiString(key));
  if (label == nullptr || !text) return;
  ControlUtils::SetControlTitle(label, text.get());
  if (small) setFontInfo(label, -1, kSmallFontSize, -1);
}

void UI_PrinterListDialog::show() {
  SetControlData(mAddressEdit, kControlEntireControl, kControlEditTextTextTag,
                 Size(strnlen(mField, sizeof mField)), mField);
  ActivateControl(mAddressEdit);
  SetKeyboardFocus(mWindow, mAddressEdit, kControlEditTextPart);
  UI_DialogWait::show();
}

bool UI_PrinterListDialog::ReadEntry(char* buffer) const {
  Size length = 0;
  if (GetControlDataSize(mAddressEdit, kControlEntireControl, kControlEditTextTextTag, &length) !=
          noErr ||
      length < 0 || size_t(length) >= kFieldSize)
    return false;
  if (GetControlData(mAddressEdit, kControlEntireControl, kControlEditTextTextTag, length, buffer,
                     nullptr) != noErr)
    return false;
  buffer[length] = '\0';
  return true;
}

bool UI_PrinterListDialog::validateAddress(const char* text) {
  if (text == nullptr) return false;
  for (const char* c = text; *c != '\0'; ++c)
    if (!IsAddressCharacter(*c)) return false;
  return true;
}

int UI_PrinterListDialog::validateInput() {
  char entry[kFieldSize];
  // An entry too long for the field is refused like any other bad address.
  if (!ReadEntry(entry)) return Refuse(CFSTR("INVALID_IP_ADDRESS"));
  if (entry[0] != '\0')
    return validateAddress(entry) ? kAccept : Refuse(CFSTR("INVALID_IP_ADDRESS"));
  if (mAllowEmpty) return kAccept;
  SysBeep(1);
  return Refuse(CFSTR("IP_NOT_CONFIG"));
}

int UI_PrinterListDialog::Refuse(CFStringRef key) {
  CFRef<CFStringRef> problem(CopyBidiString(key));
  CFRef<CFStringRef> next(CopyBidiString(CFSTR("PRESS_OKAY")));
  UInt32 answer = TellUser(problem.get(), next.get(),
                           UI_ZPXAlert::kStandardButtons | UI_ZPXAlert::kSecondLineSmall, mWindow);
  return answer == kCancelCommand ? kCancel : kStayOpen;
}

void UI_PrinterListDialog::onOK() {
  if (ReadEntry(mField)) mNetworkList->SetPrinterNameWithHostName(mField);
  UI_DialogWait::onOK();
}

UInt32 UI_PrinterListDialog::waitforResults(char* buffer, size_t size) {
  show();
  UInt32 ending = waitForUser();
  if (ending == kOKCommand) getServerNameField(buffer, size);
  return ending;
}

CFStringRef UI_PrinterListDialog::GetDeviceName() const {
  return mNetworkList != nullptr ? mNetworkList->GetPrinterName() : nullptr;
}

bool UI_PrinterListDialog::getServerNameField(char* buffer, size_t size) const {
  return CopyTextWhole(mField, buffer, size);
}

bool UI_PrinterListDialog::setServerNameField(const char* text) {
  if (CopyTextWhole(text, mField, sizeof mField)) return true;
  mField[0] = '\0';
  return false;
}
