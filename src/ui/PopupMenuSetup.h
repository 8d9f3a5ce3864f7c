#pragma once
// A pop-up's menu filled from an option's choices.

#include "toolkit/Menus.h"

class PPDXPopupControl;

// Titles menu item i with choice i (retitling items the menu has, appending
// the rest); a choice without display name shows its keyword, as PPD readers
// do. One more than the number of choices, or 0 when an item could not be
// appended.
long SetupMenuFromPPDControl(PPDXPopupControl* option, MenuRef menu);
// Deletes every item of the menu.
void resetMenu(MenuRef menu);
