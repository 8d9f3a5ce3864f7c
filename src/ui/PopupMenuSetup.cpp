#include "ui/PopupMenuSetup.h"

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "cf/CFRef.h"
#include "foundation/CString.h"

namespace {

// The choice's display name, or its keyword when it has none (new for the caller).
CFStringRef CopyItemTitle(const _PopupItem& item) {
  if (item.name != nullptr && CFStringGetLength(item.name) > 0) {
    CFRetain(item.name);
    return item.name;
  }
  const char* keyword = item.keyword != nullptr ? static_cast<const char*>(*item.keyword) : "";
  return CFStringCreateWithCString(nullptr, keyword, kCFStringEncodingASCII);
}

}  // namespace

long SetupMenuFromPPDControl(PPDXPopupControl* option, MenuRef menu) {
  if (option == nullptr || menu == nullptr) return 0;
  MenuItemIndex index = 0;
  for (_PopupItem* item = option->FirstItem(); item != nullptr; item = option->NextItem()) {
    ++index;
    CFRef<CFStringRef> title(CopyItemTitle(*item));
    if (!title) return 0;
    if (index <= CountMenuItems(menu))
      SetMenuItemTextWithCFString(menu, index, title.get());
    else if (AppendMenuItemTextWithCFString(menu, title.get(), 0, 0, nullptr) != noErr)
      return 0;
  }
  return long(index) + 1;
}

void resetMenu(MenuRef menu) {
  for (UInt16 count = CountMenuItems(menu); count > 0; --count) DeleteMenuItem(menu, count);
}
