#pragma once
// The menu of a pop-up button. Items count from 1; item 0 of the enable calls
// is the whole menu.

#include "cf/CFString.h"
#include "toolkit/CarbonEvents.h"

typedef UInt32 MenuItemAttributes;

MenuRef GetControlPopupMenuHandle(ControlRef control);
UInt16 CountMenuItems(MenuRef menu);
void DeleteMenuItem(MenuRef menu, MenuItemIndex item);
OSStatus AppendMenuItemTextWithCFString(MenuRef menu, CFStringRef text,
                                        MenuItemAttributes attributes, MenuCommand commandID,
                                        MenuItemIndex* outItem);
OSStatus SetMenuItemTextWithCFString(MenuRef menu, MenuItemIndex item, CFStringRef text);
void EnableMenuItem(MenuRef menu, MenuItemIndex item);
void DisableMenuItem(MenuRef menu, MenuItemIndex item);
Boolean IsMenuItemEnabled(MenuRef menu, MenuItemIndex item);
// The width of the widest item, in pixels.
SInt16 GetMenuWidth(MenuRef menu);
