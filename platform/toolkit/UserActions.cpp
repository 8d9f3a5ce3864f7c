#include "toolkit/UserActions.h"

#include "toolkit/EventRouting.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

Point Centre(const Rect& bounds) {
  return {short((bounds.top + bounds.bottom) / 2), short((bounds.left + bounds.right) / 2)};
}

ListView* ReachableList(ControlRef list) {
  return UserActions::Reachable(list) ? list->mList.get() : nullptr;
}

}  // namespace

bool UserActions::Reachable(ControlRef control) {
  return ToolkitModel::Shared().IsLive(control) && control->IsShown() && control->mWindow->mVisible;
}

bool UserActions::Press(ControlRef control) {
  if (!Reachable(control)) return false;
  mPressed = control;
  ToolkitModel::Shared().mGesture.Begin(Centre(control->mBounds));
  return true;
}

void UserActions::MoveTo(Point point) { ToolkitModel::Shared().mGesture.MoveTo(point); }

void UserActions::Release(Point point) { ReleaseOn(point, 0); }

void UserActions::ReleaseOn(Point point, MenuItemIndex chosen) {
  ControlRef pressed = std::exchange(mPressed, nullptr);
  if (!pressed) return;
  ToolkitModel::Shared().mGesture.ReleaseAt(point);
  EventRouting::SendClick(pressed, chosen);
  RunUntilIdle();
}

bool UserActions::Click(ControlRef control) {
  if (!Press(control)) return false;
  Release(Centre(control->mBounds));
  return true;
}

bool UserActions::ChooseMenuItem(ControlRef popup, MenuItemIndex item) {
  return Reachable(popup) && popup->mMenu && popup->mMenu->IsEnabled(item) &&
         ClickMenu(popup, item);
}

bool UserActions::OpenMenu(ControlRef popup) {
  return Reachable(popup) && popup->mMenu && ClickMenu(popup, 0);
}

bool UserActions::ChoosePopupItem(ControlRef popup, MenuItemIndex item) {
  if (!Reachable(popup) || !EventRouting::PickMenuItem(popup, item)) return false;
  RunUntilIdle();
  return true;
}

bool UserActions::ClickMenu(ControlRef popup, MenuItemIndex item) {
  Press(popup);
  ReleaseOn(Centre(popup->mBounds), item);
  return true;
}

bool UserActions::PressKeyButton(KeyEquivalent key) {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  ControlRef button = front ? front->ButtonFor(key) : nullptr;
  return button && Click(button);
}

bool UserActions::PressReturn() { return PressKeyButton(KeyEquivalent::kReturn); }

bool UserActions::PressEscape() { return PressKeyButton(KeyEquivalent::kEscape); }

void UserActions::CloseWindow(WindowRef window) {
  if (!ToolkitModel::Shared().IsLive(window)) return;
  EventRouting::SendWindowClose(window);
  RunUntilIdle();
}

bool UserActions::SelectRow(ControlRef list, UInt32 item) {
  ListView* rows = ReachableList(list);
  if (!rows || !rows->Has(item)) return false;
  rows->Select(1, &item, kDataBrowserItemsAssign);
  RunUntilIdle();
  return true;
}

bool UserActions::OpenRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::Open);
}

bool UserActions::CloseRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::Close);
}

bool UserActions::DoubleClickRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::DoubleClick);
}

bool UserActions::OnRow(ControlRef list, UInt32 item, bool (ListView::*action)(UInt32)) {
  ListView* rows = ReachableList(list);
  bool done = rows && (rows->*action)(item);
  RunUntilIdle();
  return done;
}

bool UserActions::SortRows(ControlRef list, UInt32 property, bool increasing) {
  ListView* rows = ReachableList(list);
  if (!rows) return false;
  rows->SortBy(property);
  rows->SetOrder(increasing ? kDataBrowserOrderIncreasing : kDataBrowserOrderDecreasing);
  return true;
}

void UserActions::RunUntilIdle() {
  while (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource) {
  }
}
