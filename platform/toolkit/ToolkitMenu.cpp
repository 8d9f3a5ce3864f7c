#include "toolkit/ToolkitMenu.h"

bool OpaqueMenuRef::IsEnabled(MenuItemIndex item) const {
  if (item == 0) return mEnabled;
  return mEnabled && HasItem(item) && mItems[item - 1].enabled;
}
