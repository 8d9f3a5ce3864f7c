#include "testing/HeadlessDriver.h"

#include "testing/WindowDump.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

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

bool HeadlessDriver::Type(const std::string& utf8) {
  WindowRef front = ToolkitModel::Shared().FrontWindow();
  if (!front || !front->mFocus || !Reachable(front->mFocus)) return false;
  front->mFocus->mText += utf8;
  return true;
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

void HeadlessDriver::AdvanceClock(double seconds) {
  ToolkitModel::Shared().AdvanceClock(seconds);
  RunUntilIdle();
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
