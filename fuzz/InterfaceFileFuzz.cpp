// Interface files come with the bundle, which anyone could edit: any bytes are
// either refused or build windows whose every ID finds a control that has it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "testing/HeadlessDriver.h"
#include "toolkit/InterfaceBuilder.h"
#include "toolkit/InterfaceReader.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

void CheckTree(WindowRef window, ControlRef control) {
  ControlRef found = nullptr;
  if (control->mID.signature != 0 || control->mID.id != 0) {
    FUZZ_CHECK(GetControlByID(window, &control->mID, &found) == noErr);
    FUZZ_CHECK(found->mID.signature == control->mID.signature && found->mID.id == control->mID.id);
  }
  FUZZ_CHECK(control->mMinimum <= control->mValue && control->mValue <= control->mMaximum);
  for (ControlRef child : control->mChildren) {
    FUZZ_CHECK(child->mParent == control && child->mWindow == window);
    CheckTree(window, child);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  InterfaceContents contents;
  if (!InterfaceReader::ReadBytes(reinterpret_cast<const char*>(bytes), size, "fuzz.ui", &contents))
    return 0;
  for (const InterfaceObject& object : contents.objects) {
    if (object.className != "GtkWindow") continue;
    WindowRef window = InterfaceBuilder(contents).MakeWindow(object);
    CheckTree(window, window->mRoot.get());
    FUZZ_CHECK(!HeadlessDriver::Dump(window).empty());
    DisposeWindow(window);
  }
  FUZZ_CHECK(ToolkitModel::Shared().Windows().empty());
  return 0;
}
