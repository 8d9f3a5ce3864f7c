// The menu calls over the process's toolkit model.

#include <algorithm>

#include "cf/CFStringObject.h"
#include "toolkit/Menus.h"
#include "toolkit/TextMetrics.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

// Room for the check mark and the pop-up arrow around the text.
constexpr SInt16 kMenuItemMargins = 38;

}  // namespace

MenuRef GetControlPopupMenuHandle(ControlRef control) {
  return ToolkitModel::Shared().IsLive(control) ? control->mMenu.get() : nullptr;
}

UInt16 CountMenuItems(MenuRef menu) { return menu ? UInt16(menu->mItems.size()) : 0; }

void DeleteMenuItem(MenuRef menu, MenuItemIndex item) {
  if (menu && menu->HasItem(item)) menu->mItems.erase(menu->mItems.begin() + (item - 1));
}

OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text, MenuItemAttributes,
                                        MenuCommand commandID, MenuItemIndex* outItem) {
  if (!menu || !text || menu->mItems.size() >= UINT16_MAX) return paramErr;
  menu->mItems.push_back({__CFString::utf8Of(text), commandID, true});
  if (outItem) *outItem = MenuItemIndex(menu->mItems.size());
  return noErr;
}

OSStatus SetMenuItemTextWithCFString(MenuRef menu, MenuItemIndex item, CFStringRef text) {
  if (!menu || !menu->HasItem(item) || !text) return paramErr;
  menu->At(item).text = __CFString::utf8Of(text);
  return noErr;
}

void EnableMenuItem(MenuRef menu, MenuItemIndex item) {
  if (menu && item == 0) menu->mEnabled = true;
  if (menu && menu->HasItem(item)) menu->At(item).enabled = true;
}

void DisableMenuItem(MenuRef menu, MenuItemIndex item) {
  if (menu && item == 0) menu->mEnabled = false;
  if (menu && menu->HasItem(item)) menu->At(item).enabled = false;
}

Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item) {
  return menu && menu->IsEnabled(item);
}

SInt16 GetMenuWidth(MenuRef menu) {
  if (!menu) return 0;
  size_t widest = 0;
  for (const OpaqueMenuRef::Item& item : menu->mItems)
    widest = std::max(widest, TextMetrics::Width(item.text, kThemeSystemFont));
  return SInt16(std::min<size_t>(widest + kMenuItemMargins, INT16_MAX));
}
