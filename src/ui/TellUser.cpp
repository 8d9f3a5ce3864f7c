#include "ui/TellUser.h"

#include "ui/UI_ZPXAlert.h"

UInt32 TellUser(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags, WindowRef parent,
                CFStringRef okTitle, CFStringRef cancelTitle) {
  UI_ZPXAlert alert(firstLine, secondLine, flags, parent, okTitle, cancelTitle);
  if (!alert.IsBuilt()) return kAlertNotShown;
  alert.show();
  return alert.waitForUser();
}

UInt32 TellUser(CFStringRef firstLine, CFStringRef secondLine, UInt32 flags, WindowRef parent) {
  return TellUser(firstLine, secondLine, flags, parent, nullptr, nullptr);
}

UInt32 TellUser(CFStringRef firstLine, UInt32 flags, WindowRef parent) {
  return TellUser(firstLine, nullptr, flags, parent, nullptr, nullptr);
}
