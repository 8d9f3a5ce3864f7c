#include "toolkit/HeadlessDriver.h"

#include "toolkit/EventRouting.h"
#include "toolkit/Menus.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"
#include "toolkit/WindowDump.h"

namespace {

Point Centre(const Rect& bounds) {
  return {short((bounds.top + bounds.bottom) / 2), short((bounds.left + bounds.right) / 2)};
}

bool Reachable(ControlRef control) {
  return ToolkitModel::Shared().IsLive(control) && control->IsShown() &&
         control->mWindow->mVisible;
}

ControlRef NextTextField(ControlRef from, ControlRef after, bool* passed) {
  if (!from->IsShown()) return nullptr;
  if (from->mKind == kControlKindEditText) {
    if (*passed) return from;
    if (from == after) *passed = true;
  }
  for (ControlRef child : from->mChildren)
    if (ControlRef found = NextTextField(child, after, passed)) return found;
  return nullptr;
}

}  // namespace

HeadlessDriver::HeadlessDriver(std::function<void(const std::string&)> fail)
    : mFail(std::move(fail)) {
  ToolkitModel::Shared().mBackend = this;
}

HeadlessDriver::~HeadlessDriver() {
  if (ToolkitModel::Shared().mBackend == this) ToolkitModel::Shared().mBackend = nullptr;
}

bool HeadlessDriver::Press(ControlRef control) {
  if (!Reachable(control)) return false;
  mPressed = control;
  ToolkitModel::Shared().mGesture.Begin(Centre(control->mBounds));
  return true;
}

void HeadlessDriver::MoveTo(Point point) { ToolkitModel::Shared().mGesture.MoveTo(point); }

void HeadlessDriver::Release(Point point) {
  ControlRef pressed = std::exchange(mPressed, nullptr);
  if (!pressed) return;
  ToolkitModel::Shared().mGesture.ReleaseAt(point);
  EventRouting::SendControlEvent(pressed, kEventControlClick, pressed->ClickPart());
  RunUntilIdle();
}

bool HeadlessDriver::Click(ControlRef control) {
  if (!Press(control)) return false;
  Release(Centre(control->mBounds));
  return true;
}

bool HeadlessDriver::ChooseMenuItem(ControlRef popup, MenuItemIndex item) {
  if (!Reachable(popup) || !popup->mMenu || !popup->mMenu->IsEnabled(item)) return false;
  Press(popup);
  ToolkitModel::Shared().mGesture.mChosenItem = item;
  Release(Centre(popup->mBounds));
  return true;
}

bool HeadlessDriver::Type(const std::string& utf8) {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  if (!front || !front->mFocus || !Reachable(front->mFocus)) return false;
  front->mFocus->mText += utf8;
  return true;
}

bool HeadlessDriver::PressReturn() {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  ControlRef button = front ? front->ButtonFor(KeyEquivalent::kReturn) : nullptr;
  return button && Click(button);
}

bool HeadlessDriver::PressEscape() {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  ControlRef button = front ? front->ButtonFor(KeyEquivalent::kEscape) : nullptr;
  return button && Click(button);
}

bool HeadlessDriver::PressTab() {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  if (!front || !front->mRoot) return false;
  bool passed = front->mFocus == nullptr;
  ControlRef next = NextTextField(front->mRoot.get(), front->mFocus, &passed);
  if (!next) {  // wrap around to the first
    passed = true;
    next = NextTextField(front->mRoot.get(), nullptr, &passed);
  }
  if (!next) return false;
  front->mFocus = next;
  return true;
}

void HeadlessDriver::CloseWindow(WindowRef window) {
  if (!ToolkitModel::Shared().IsLive(window)) return;
  EventRouting::SendWindowClose(window);
  RunUntilIdle();
}

namespace {

ListView* ReachableList(ControlRef list) { return Reachable(list) ? list->mList.get() : nullptr; }

}  // namespace

bool HeadlessDriver::SelectRow(ControlRef list, UInt32 item) {
  ListView* rows = ReachableList(list);
  if (!rows || !rows->Has(item)) return false;
  rows->Select(1, &item, kDataBrowserItemsAssign);
  RunUntilIdle();
  return true;
}

bool HeadlessDriver::OpenRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::Open);
}

bool HeadlessDriver::CloseRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::Close);
}

bool HeadlessDriver::DoubleClickRow(ControlRef list, UInt32 item) {
  return OnRow(list, item, &ListView::DoubleClick);
}

bool HeadlessDriver::OnRow(ControlRef list, UInt32 item, bool (ListView::*action)(UInt32)) {
  ListView* rows = ReachableList(list);
  bool done = rows && (rows->*action)(item);
  RunUntilIdle();
  return done;
}

bool HeadlessDriver::SortRows(ControlRef list, UInt32 property, bool increasing) {
  ListView* rows = ReachableList(list);
  if (!rows) return false;
  rows->SortBy(property);
  rows->SetOrder(increasing ? kDataBrowserOrderIncreasing : kDataBrowserOrderDecreasing);
  return true;
}

void HeadlessDriver::AdvanceClock(double seconds) {
  ToolkitModel::Shared().AdvanceClock(seconds);
  RunUntilIdle();
}

void HeadlessDriver::RunUntilIdle() {
  while (CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, true) == kCFRunLoopRunHandledSource) {
  }
}

void HeadlessDriver::QueueModalStep(std::function<void()> step) {
  mModalSteps.push_back(std::move(step));
}

bool HeadlessDriver::PerformModalStep(WindowRef) {
  if (mModalSteps.empty()) return false;
  std::function<void()> step = std::move(mModalSteps.front());
  mModalSteps.pop_front();
  step();
  return true;
}

void HeadlessDriver::ModalLoopStalled(WindowRef window) {
  std::string title = ToolkitModel::Shared().IsLive(window) ? window->mTitle : "?";
  mFail("modal loop of window \"" + title + "\" has no queued step left and would never end");
}

std::string HeadlessDriver::Dump(WindowRef window) { return WindowDump(window).Text(); }
