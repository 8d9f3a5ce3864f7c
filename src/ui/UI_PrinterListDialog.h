#pragma once
// The address dialog of two-way communication: the user types the printer's
// IP address or DNS name, or picks a printer the network announces. The
// address being edited, and the result, live in a 256-byte field; an entry
// that does not fit whole is refused, never cut.

#include <cstddef>

#include "toolkit/IBCarbonRuntime.h"
#include "ui/UI_DialogWait.h"

class BonjourList;

class UI_PrinterListDialog : public UI_DialogWait {
 public:
  enum : size_t { kFieldSize = 256 };
  static constexpr OSType kAddressEdit = FourCC("paed");
  static constexpr OSType kPrinterList = FourCC("ppls");
  static constexpr OSType kNameLabel = FourCC("pncp");
  static constexpr OSType kAddressLabel = FourCC("pacp");
  static constexpr OSType kHintLabel = FourCC("pdcp");
  static constexpr OSType kHeadingLabel = FourCC("ptit");
  static constexpr OSType kNoteLabel = FourCC("pres");
  // Shown only when no network service browser runs to find printers.
  static constexpr OSType kNoBrowserLabel = FourCC("pnsv");

  // Nothing is built without a plug-in bundle, its "BidiUI" file, the window
  // or its address edit and list; IsBuilt tells.
  UI_PrinterListDialog(WindowRef parent, const char* initialAddress, bool allowEmpty);
  ~UI_PrinterListDialog() override;

  bool IsBuilt() const { return mBuilt; }
  // Shows the dialog, waits, and answers the ending command (kOKCommand or
  // kCancelCommand); on OK the address is copied into `buffer` of `size`
  // bytes when it fits whole.
  UInt32 waitforResults(char* buffer, size_t size);
  // The name of the network printer picked or matched on OK; null for none.
  CFStringRef GetDeviceName() const;
  // ASCII letters, digits, "-" and "." only; the empty text passes, a missing one does not.
  static bool validateAddress(const char* text);
  // Whether the field fitted whole into `buffer` of `size` bytes.
  bool getServerNameField(char* buffer, size_t size) const;
  // Whether `text` fitted whole into the field; the field is cleared otherwise.
  bool setServerNameField(const char* text);
  void initializeStrings();
  // The text of `key` in the bundle's "BidiStrings" table; the caller releases it.
  static CFStringRef CopyBidiString(CFStringRef key);

  int validateInput() override;
  void onOK() override;
  void show() override;

 private:
  bool Build();
  ControlRef Control(OSType signature) const;
  void SetLabel(OSType signature, CFStringRef key, bool small);
  // The edit control's text into `buffer` of kFieldSize bytes; false when it
  // does not fit whole.
  bool ReadEntry(char* buffer) const;
  // Shows the alert "`key`" / "PRESS_OKAY" and answers what validateInput does after it.
  int Refuse(CFStringRef key);

  char mField[kFieldSize] = {};
  ControlRef mAddressEdit = nullptr;
  ControlRef mPrinterList = nullptr;
  IBNibRef mNib = nullptr;
  bool mBuilt = false;
  bool mAllowEmpty;
  BonjourList* mNetworkList = nullptr;
};
