#pragma once
// The headless backend: it does what a user does to the model (the user's
// actions, typing, Tab, waiting) on a virtual clock, performs the steps tests
// queue for modal loops, and reads the model back. While one lives, it is
// the process's backend.

#include <deque>
#include <functional>
#include <string>

#include "toolkit/ToolkitBackend.h"
#include "toolkit/UserActions.h"

class HeadlessDriver : public ToolkitBackend, public UserActions {
 public:
  // `fail` hears of what a test did wrong: a modal loop with nothing left to do.
  explicit HeadlessDriver(std::function<void(const std::string&)> fail);
  ~HeadlessDriver() override;
  HeadlessDriver(const HeadlessDriver&) = delete;
  HeadlessDriver& operator=(const HeadlessDriver&) = delete;

  // False when no reachable text field has the focus.
  bool Type(const std::string& utf8);
  // Focus to the next visible, enabled text field of the front window.
  bool PressTab();

  // Moves the virtual clock, firing due timers in order, then runs until idle.
  void AdvanceClock(double seconds);
  // What the user will do, one step per turn of the next modal loops.
  void QueueModalStep(std::function<void()> step);

  // The window as stable text: each control's kind, ID, bounds, text, values,
  // state and menu items, one per line, embedded ones indented.
  static std::string Dump(WindowRef window);

  bool PerformModalStep(WindowRef window) override;
  void ModalLoopStalled(WindowRef window) override;

 private:
  std::deque<std::function<void()>> mModalSteps;
  std::function<void(const std::string&)> mFail;
};
