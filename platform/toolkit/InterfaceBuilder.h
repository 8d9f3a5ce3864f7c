#pragma once
// Makes a window and its controls from a checked GtkWindow object of an
// interface file (doc/toolkit-ui.md has the mapping). Controls sit at their
// packing x/y inside their GtkFixed, sized by width-request/height-request.

#include "toolkit/InterfaceObject.h"
#include "toolkit/MacWindows.h"

class InterfaceBuilder {
 public:
  // Sizes the file leaves out.
  static constexpr short kWindowWidth = 400;
  static constexpr short kWindowHeight = 300;
  static constexpr short kControlWidth = 100;
  static constexpr short kControlHeight = 20;

  explicit InterfaceBuilder(const InterfaceContents& contents) : mContents(contents) {}
  // A new, hidden window.
  WindowRef MakeWindow(const InterfaceObject& window) const;

 private:
  void AddControl(const InterfaceObject& object, ControlRef container, Point origin,
                  Point size) const;
  void Configure(const InterfaceObject& object, ControlRef control) const;
  void Values(const InterfaceObject& object, ControlRef control) const;
  const InterfaceObject* Adjustment(const std::string& id) const;

  const InterfaceContents& mContents;
};
