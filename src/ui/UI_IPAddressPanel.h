#pragma once
// The printer-address area of the pane: a switch for two-way communication,
// the printer's address and name, and a Configure button that opens the
// address dialog. The switch and the address are kept per printer in the
// preferences store and reported to the pane by commands posted to its window:
// kAddressChangedCommand and kSwitchChangedCommand.

#include <cstddef>
#include <memory>
#include <string>

#include "cf/CFRef.h"
#include "print/PMPrintSession.h"
#include "toolkit/CarbonEvents.h"
#include "toolkit/Controls.h"
#include "toolkit/MacWindows.h"

class UI_PrinterListDialog;
class ZPXMelvanePrinterPList;

class UI_IPAddressPanel {
 public:
  static constexpr UInt32 kAddressChangedCommand = FourCC("IPcm");
  static constexpr UInt32 kSwitchChangedCommand = FourCC("IPcb");
  static constexpr OSType kSwitchSignature = FourCC("bidi");
  static constexpr OSType kConfigureSignature = FourCC("conf");
  static constexpr SInt32 kControlNumber = 10;
  enum : UInt32 { kAddressChanged = 1, kSwitchChanged = 2 };
  // An area this size or smaller in either direction builds no controls.
  enum : short { kMinimumWidth = 249, kMinimumHeight = 49 };

  UI_IPAddressPanel(WindowRef window, ControlRef parent, const Rect& bounds, PMPrintSession session,
                    bool twoWayOn, bool shown, bool hasCheckBox);
  ~UI_IPAddressPanel();
  UI_IPAddressPanel(const UI_IPAddressPanel&) = delete;
  UI_IPAddressPanel& operator=(const UI_IPAddressPanel&) = delete;

  bool IsInitialized() const { return mInitialized; }
  bool IsTwoWayOn() const { return mTwoWayOn; }
  bool initialize();
  void show();
  void hide();
  void enableBidiUI(bool on);
  bool switchBidiMode(bool on);
  bool handleBiDi();
  void setCheckBoxState(bool on);
  // Null or empty leaves no address.
  void setIPAddress(const char* text);
  void setDeviceName(CFStringRef name);
  // The command that ended the address dialog; kCancelCommand when it could not be built.
  UInt32 ShowTwoWayCommuncationsDialog();
  // A click on the switch or on Configure, tracked by hand; eventNotHandledErr otherwise.
  OSStatus HandleIPAddressPanelEvent(EventRef event);
  // True once after the address changed, copying it into `buffer` of `size`
  // bytes when given and when it fits whole; clears the changed bits.
  bool IPAddressHasChanged(char* buffer, size_t size);
  UInt32 ChangedState() const { return mChanged; }
  void ResetState() { mChanged = 0; }
  // The printer's stored address, else the host of its device URI; null for
  // none. Re-reads the store; `enabled`, when given, gets the stored switch.
  CFStringRef GetMelvanePrinterAddress(CFStringRef printerName, bool* enabled);
  // Null printer: the current one.
  void SetMelvanePrinterAddress(CFStringRef printerName, const char* address, bool enabled);
  void SetIPAddressEnabled(bool on);
  void ResetMelvanePrinterList();
  // The host of the current printer's device URI (cached); null for an
  // AppleTalk printer or a URI without host.
  CFStringRef GetPrinterAddress();
  void Update();

  const std::string& Address() const { return mAddress; }
  CFStringRef DeviceName() const { return mDeviceName.get(); }
  ControlRef Container() const { return mContainer; }

 private:
  void BuildControls();
  ControlRef NewText(const Rect& bounds, CFStringRef text);
  ControlRef NewLabel(const Rect& bounds, CFStringRef key);
  void Identify(ControlRef control, OSType signature);
  void Post(UInt32 command) const;
  ZPXMelvanePrinterPList& Preferences();

  std::string mAddress;
  CFRef<CFStringRef> mDeviceName;
  bool mTwoWayOn;
  bool mInitialized = false;
  ControlRef mAddressText = nullptr;
  ControlRef mDeviceNameText = nullptr;
  ControlRef mSwitch = nullptr;
  ControlRef mAddressLabel = nullptr;
  ControlRef mNameLabel = nullptr;
  ControlRef mSeparator = nullptr;
  ControlRef mConfigButton = nullptr;
  ControlRef mContainer = nullptr;
  WindowRef mWindow;
  Rect mBounds;
  std::unique_ptr<UI_PrinterListDialog> mDialog;
  UInt32 mChanged = 0;
  bool mHasCheckBox;
  std::unique_ptr<ZPXMelvanePrinterPList> mPreferences;
  PMPrintSession mSession;
  CFRef<CFStringRef> mHostName;
  bool mHostNameLooked = false;
  CFRef<CFStringRef> mStoredAddress;
  CFRef<CFStringRef> mPrinterName;
};
