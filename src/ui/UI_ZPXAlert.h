#pragma once
// A one- or two-line alert from the bundle's "AlertUI" interface file, with
// OK and Cancel (or Yes and No) buttons.

#include "cf/CFRef.h"
#include "toolkit/IBCarbonRuntime.h"
#include "ui/UI_DialogWait.h"

class UI_ZPXAlert : public UI_DialogWait {
 public:
  enum : UInt32 {
    kCancelHidden = 0x1,     // standard buttons, Cancel hidden
    kStandardButtons = 0x2,  // OK and Cancel
    kYesNoButtons = 0x4,
    kFirstLineSmall = 0x100,  // in the small font (size 11)
    kSecondLineSmall = 0x200,
  };
  static constexpr OSType kLineSignature = FourCC("alrt");

  // Nothing is built without a first line, a plug-in bundle, its "AlertUI"
  // file or the window. A parent that is not itself a sheet gets the alert
  // as its sheet. Titles given override the flags' buttons.
  UI_ZPXAlert(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags, WindowRef parent,
              CFStringRef okTitle = nullptr, CFStringRef cancelTitle = nullptr);
  // The same with texts in the application's text encoding.
  UI_ZPXAlert(const char* firstLine, const char* secondLine, UInt32 flags, WindowRef parent,
              const char* okTitle = nullptr, const char* cancelTitle = nullptr);
  ~UI_ZPXAlert() override;

  bool IsBuilt() const { return mBuilt; }

 private:
  void Build(CFStringRef okTitle, CFStringRef cancelTitle);
  bool OpenWindow();
  void SetUpButtons(CFStringRef okTitle, CFStringRef cancelTitle);
  void PutLine(SInt32 number, CFStringRef text, bool small);

  IBNibRef mNib = nullptr;
  bool mBuilt = false;
  CFRef<CFStringRef> mFirstLine;
  CFRef<CFStringRef> mSecondLine;
  UInt32 mFlags;
};
