#pragma once
// The object behind MenuRef: the items of a pop-up button's menu.

#include <string>
#include <vector>

#include "toolkit/CarbonEvents.h"

struct OpaqueMenuRef {
  struct Item {
    std::string text;  // UTF-8
    MenuCommand command;
    bool enabled;
  };

  bool HasItem(MenuItemIndex item) const { return item >= 1 && item <= mItems.size(); }
  Item& At(MenuItemIndex item) { return mItems[item - 1]; }
  // Item 0 (the whole menu) disabled disables every item.
  bool IsEnabled(MenuItemIndex item) const;

  std::vector<Item> mItems;
  bool mEnabled = true;
};
