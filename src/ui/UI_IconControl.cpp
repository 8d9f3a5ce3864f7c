#include "ui/UI_IconControl.h"

#include <cstring>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "toolkit/CoreGraphics.h"
#include "toolkit/MacWindows.h"
#include "ui/ControlUtils.h"
#include "ui/IconTable.h"

namespace {

const EventTypeSpec kDrawEvents[] = {{kEventClassControl, kEventControlDraw}};

}  // namespace

UI_IconControl::UI_IconControl(WindowRef window, SInt32 controlNumber, const char* keyword,
                               ZPXPPD* document)
    : mWindow(window), mDocument(document) {
  if (keyword != nullptr && std::strlen(keyword) < sizeof mKeyword) std::strcpy(mKeyword, keyword);
  const ControlID id = {kSignature, controlNumber};
  if (GetControlByID(window, &id, &mPane) != noErr) {
    mPane = nullptr;
    return;
  }
  InstallEventHandler(GetControlEventTarget(mPane), NewEventHandlerUPP(IconControlHandler), 1,
                      kDrawEvents, this, &mHandler);
  if (IconTable::Shared().Empty()) ParseIconLookupFile();
  ShowControl(mPane);
  Redraw();
}

UI_IconControl::~UI_IconControl() {
  if (mPane == nullptr) return;
  Rect bounds;
  EraseRect(GetControlBounds(mPane, &bounds));
  HideControl(mPane);
  if (mHandler != nullptr) RemoveEventHandler(mHandler);
}

void UI_IconControl::Redraw() {
  if (mPane != nullptr) Draw1Control(mPane);
}

void UI_IconControl::CurrentValue(char* value, size_t size) const {
  value[0] = '\0';
  if (mDocument == nullptr || mKeyword[0] == '\0') return;
  CFRef<CFStringRef> key(CFStringCreateWithCString(nullptr, mKeyword, kCFStringEncodingASCII));
  PPDXControl* option = key ? mDocument->GetPPDXControlForKey(key.get()) : nullptr;
  if (option == nullptr) return;
  if (option->Type() == CNTL_BOOLEAN) {
    const bool on = static_cast<PPDXBooleanControl*>(option)->IsTrue();
    std::strcpy(value, on ? "True" : "False");  // both fit any kKeywordSize buffer
  } else if (option->Type() == CNTL_POPUP) {
    CFRef<CFStringRef> current(option->CopyCurrentControlValueString());
    if (!current || !CFStringGetCString(current.get(), value, CFIndex(size), kCFStringEncodingUTF8))
      value[0] = '\0';
  }
}

void UI_IconControl::DrawIcon() {
  if (mPane == nullptr) return;
  char value[kKeywordSize];
  CurrentValue(value, sizeof value);
  const char* bare = mKeyword[0] == '*' ? mKeyword + 1 : mKeyword;
  const char* path = value[0] != '\0' ? GetIconPath(bare, value) : "";
  ControlUtils::DrawPNG(GetWindowPort(mWindow), mPane, path);
}

void UI_IconControl::ParseIconLookupFile() {
  char folder[ControlUtils::kResourcePathSize];
  if (!ControlUtils::GetResourceURL(folder)) return;
  IconTable::Shared().ReadFile((std::string(folder) + "icons/lookup.csv").c_str());
}

const char* UI_IconControl::GetIconPath(const char* keyword, const char* value) {
  return IconTable::Shared().PathFor(keyword, value);
}

// Every draw of the pane reaches this handler first, so the picture needs no
// user-pane draw callback besides.
OSStatus UI_IconControl::IconControlHandler(EventHandlerCallRef, EventRef, void* self) {
  static_cast<UI_IconControl*>(self)->DrawIcon();
  return noErr;
}
