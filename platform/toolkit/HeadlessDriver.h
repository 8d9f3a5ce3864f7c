#pragma once
// The headless backend: it does what a user does to the model (clicks, menu
// choices, keys, closing windows, waiting) on a virtual clock, performs the
// steps tests queue for modal loops, and reads the model back. While one
// lives, it is the process's backend.

#include <deque>
#include <functional>
#include <string>

#include "toolkit/ToolkitBackend.h"

class ListView;

class HeadlessDriver : public ToolkitBackend {
 public:
  // `fail` hears of what a test did wrong: a modal loop with nothing left to do.
  explicit HeadlessDriver(std::function<void(const std::string&)> fail);
  ~HeadlessDriver() override;
  HeadlessDriver(const HeadlessDriver&) = delete;
  HeadlessDriver& operator=(const HeadlessDriver&) = delete;

  // Each answers false when the user could not do it: the control is hidden
  // or disabled (or above it), the item is missing or disabled, no button
  // answers the key.
  bool Click(ControlRef control);
  bool Press(ControlRef control);
  // In window coordinates.
  void MoveTo(Point point);
  void Release(Point point);
  bool ChooseMenuItem(ControlRef popup, MenuItemIndex item);
  bool Type(const std::string& utf8);
  bool PressReturn();
  bool PressEscape();
  // Focus to the next visible, enabled text field of the front window.
  bool PressTab();
  void CloseWindow(WindowRef window);
  // List rows: a click on the row selects it alone; opening a container tells
  // the program, which adds its rows; sorting clicks a column heading.
  bool SelectRow(ControlRef list, UInt32 item);
  bool OpenRow(ControlRef list, UInt32 item);
  bool CloseRow(ControlRef list, UInt32 item);
  bool DoubleClickRow(ControlRef list, UInt32 item);
  bool SortRows(ControlRef list, UInt32 property, bool increasing);

  // Moves the virtual clock, firing due timers in order, then runs until idle.
  void AdvanceClock(double seconds);
  // Runs the main run loop until nothing is waiting (posted events, sources).
  void RunUntilIdle();
  // What the user will do, one step per turn of the next modal loops.
  void QueueModalStep(std::function<void()> step);

  // The window as stable text: each control's kind, ID, bounds, text, values,
  // state and menu items, one per line, embedded ones indented.
  static std::string Dump(WindowRef window);

  bool PerformModalStep(WindowRef window) override;
  void ModalLoopStalled(WindowRef window) override;

 private:
  // The action on a reachable list's row, then the run loop until idle.
  bool OnRow(ControlRef list, UInt32 item, bool (ListView::*action)(UInt32));

  ControlRef mPressed = nullptr;
  std::deque<std::function<void()>> mModalSteps;
  std::function<void(const std::string&)> mFail;
};
