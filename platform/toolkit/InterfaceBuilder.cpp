#include "toolkit/InterfaceBuilder.h"

#include <algorithm>
#include <map>

#include "toolkit/InterfaceClasses.h"
#include "toolkit/ToolkitWindow.h"

namespace {

const std::string kNone;

WindowClass ClassOfRole(const std::string& role) {
  static const std::map<std::string, WindowClass> kClasses = {
      {"document", kDocumentWindowClass},
      {"movable-modal", kMovableModalWindowClass},
      {"sheet", kSheetWindowClass},
      {"sheet-alert", kSheetAlertWindowClass}};
  auto found = kClasses.find(role);
  return found == kClasses.end() ? kDocumentWindowClass : found->second;
}

short SizeProperty(const InterfaceObject& object, const char* property, short fallback) {
  const std::string& text = object.Property(property, kNone);
  return text.empty() ? fallback : short(InterfaceClasses::Number(text));
}

OSType Code(const std::string& four) {
  return (OSType(UInt8(four[0])) << 24) | (OSType(UInt8(four[1])) << 16) |
         (OSType(UInt8(four[2])) << 8) | OSType(UInt8(four[3]));
}

// "<window>:<code>:<number>", already checked by the reader. The number holds no
// colon, but the four characters of the code may: count back from the last one.
ControlID IdOf(const std::string& id) {
  size_t number = id.rfind(':') + 1;
  return {Code(id.substr(number - 5, 4)), InterfaceClasses::Number(id.substr(number))};
}

}  // namespace

WindowRef InterfaceBuilder::MakeWindow(const InterfaceObject& window) const {
  short width = SizeProperty(window, "default-width", kWindowWidth);
  short height = SizeProperty(window, "default-height", kWindowHeight);
  Rect bounds = {0, 0, height, width};
  WindowRef made = nullptr;
  CreateNewWindow(ClassOfRole(window.Property("role", kNone)), kWindowNoAttributes, &bounds, &made);
  made->mTitle = window.Property("title", kNone);
  ControlRef root = made->MakeRoot();
  for (const InterfaceObject& child : window.children)
    AddControl(child, root, {0, 0}, {height, width});
  return made;
}

void InterfaceBuilder::AddControl(const InterfaceObject& object, ControlRef container, Point origin,
                                  Point size) const {
  auto packed = [&](const char* axis) {
    auto found = object.packing.find(axis);
    return found == object.packing.end() ? short(0)
                                         : short(InterfaceClasses::Number(found->second));
  };
  short left = short(std::min(origin.h + packed("x"), 32767));
  short top = short(std::min(origin.v + packed("y"), 32767));
  short width = SizeProperty(object, "width-request", size.h);
  short height = SizeProperty(object, "height-request", size.v);
  Rect bounds = {top, left, short(std::min(top + height, 32767)),
                 short(std::min(left + width, 32767))};
  auto* control =
      new OpaqueControlRef(InterfaceClasses::Kind(object.className), container->mWindow, bounds);
  container->Adopt(control);
  Configure(object, control);
  for (const InterfaceObject& child : object.children) {
    if (child.className == "GtkTreeViewColumn")
      control->mColumns.push_back(
          {Code(child.id.substr(child.id.size() - 4)), child.Property("title", kNone)});
    else
      AddControl(child, control, {top, left}, {kControlHeight, kControlWidth});
  }
}

void InterfaceBuilder::Configure(const InterfaceObject& object, ControlRef control) const {
  if (!object.id.empty()) {
    control->mID = IdOf(object.id);
    control->mWindow->Index(control);
  }
  control->mVisible = InterfaceClasses::Boolean(object.Property("visible", "True"));
  control->mEnabled = InterfaceClasses::Boolean(object.Property("sensitive", "True"));
  const std::string& command = object.Property("name", kNone);
  if (!command.empty()) control->mCommandID = Code(command);
  control->mText = object.Property("label", object.Property("text", kNone));
  if (object.accelerator == "Return") control->mKeyEquivalent = KeyEquivalent::kReturn;
  if (object.accelerator == "Escape") control->mKeyEquivalent = KeyEquivalent::kEscape;
  Values(object, control);
}

// Set in place: nobody listens to a window that is still being made.
void InterfaceBuilder::Values(const InterfaceObject& object, ControlRef control) const {
  if (object.className == "GtkCheckButton") {
    control->mValue = InterfaceClasses::Boolean(object.Property("active", "False")) ? 1 : 0;
  } else if (object.className == "GtkComboBoxText") {
    for (const std::string& item : object.items) control->mMenu->mItems.push_back({item, 0, true});
    SInt32 count = SInt32(object.items.size());
    control->mMinimum = count > 0 ? 1 : 0;
    control->mMaximum = count;
    SInt32 active = InterfaceClasses::Number(object.Property("active", "0"));
    control->mValue = std::clamp(active + 1, control->mMinimum, control->mMaximum);
  } else if (const InterfaceObject* adjustment = Adjustment(object.Property("adjustment", kNone))) {
    control->mMinimum = InterfaceClasses::Number(adjustment->Property("lower", "0"));
    control->mMaximum =
        std::max(control->mMinimum, InterfaceClasses::Number(adjustment->Property("upper", "0")));
    control->mValue = std::clamp(InterfaceClasses::Number(adjustment->Property("value", "0")),
                                 control->mMinimum, control->mMaximum);
  }
}

const InterfaceObject* InterfaceBuilder::Adjustment(const std::string& id) const {
  if (id.empty()) return nullptr;
  for (const InterfaceObject& object : mContents.objects)
    if (object.className == "GtkAdjustment" && object.id == id) return &object;
  return nullptr;
}
