// What the dialog and the job ask of a parsed document: controls by key, their
// values as platform strings, constraint answers, and popups made at run time.

#include <cstring>

#include "PPDX/GroupName.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/ZPXPPD.h"
#include "carbon/Files.h"
#include "cf/CFRef.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"

namespace {

// Keywords of controls are at most 40 characters.
constexpr CFIndex kKeyCapacity = 41;

const char kPrintSize[] = "*ZPPrintSize";
const char kPageSize[] = "*PageSize";
const char kSameAsPageSize[] = "SameAsPageSize";

CFStringRef CreateKeywordString(const PPDXControl& control) {
  if (control.Keyword() == nullptr) return nullptr;
  return CFStringCreateWithCString(kCFAllocatorDefault, control.Keyword(), kCFStringEncodingASCII);
}

bool SameLocation(const FSSpec& a, const FSSpec& b) {
  return a.vRefNum == b.vRefNum && a.parID == b.parID &&
         std::memcmp(a.name, b.name, size_t(a.name[0]) + 1) == 0;
}

bool SameText(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

}  // namespace

PPDXControl* ZPXPPD::GetPPDXControlForKey(const __CFString* key) const {
  char keyword[kKeyCapacity];
  if (key == nullptr || !CFStringGetCString(key, keyword, kKeyCapacity, kCFStringEncodingASCII))
    return nullptr;
  return FindAnyControl(keyword);
}

CFStringRef ZPXPPD::CopyValueForKey(const __CFString* key) const {
  PPDXControl* control = GetPPDXControlForKey(key);
  return control != nullptr ? control->CopyPresetValueString() : nullptr;
}

void ZPXPPD::SetValueForKey(const __CFString* key, const __CFString* value) {
  PPDXControl* control = GetPPDXControlForKey(key);
  if (control != nullptr) control->SetPresetValueString(value);
}

CFMutableDictionaryRef ZPXPPD::CopyAllValues() {
  CFMutableDictionaryRef values = CFDictionaryCreateMutable(
      kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CNTL_TYPE type;
  for (PPDXControl* control = mControls->First(type); control != nullptr;
       control = mControls->Next(type)) {
    CFRef<CFStringRef> key(CreateKeywordString(*control));
    CFRef<CFStringRef> value(key ? control->CopyPresetValueString() : nullptr);
    if (value) CFDictionarySetValue(values, key.get(), value.get());
  }
  return values;
}

void ZPXPPD::SetAllValues(CFDictionaryRef values) {
  if (values == nullptr) return;
  CNTL_TYPE type;
  for (PPDXControl* control = mControls->First(type); control != nullptr;
       control = mControls->Next(type)) {
    CFRef<CFStringRef> key(CreateKeywordString(*control));
    if (!key) continue;
    CFTypeRef value = CFDictionaryGetValue(values, key.get());
    // The dictionary comes from outside: only strings are values.
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) continue;
    if (!control->IsInstallableOption())
      control->SetPresetValueString(static_cast<CFStringRef>(value));
  }
}

PPDXPopupControl* ZPXPPD::PrintSizeFollowingPageSize() const {
  PPDXPopupControl* printSize = dynamic_cast<PPDXPopupControl*>(FindAnyControl(kPrintSize));
  if (printSize == nullptr || !printSize->IsKeywordSelected(kSameAsPageSize)) return nullptr;
  return FindAnyControl(kPageSize) != nullptr ? printSize : nullptr;
}

bool ZPXPPD::IsKVConstrained(const char* key, const char* option) {
  return FindConflict(key, option).first != nullptr;
}

std::pair<const char*, const char*> ZPXPPD::FindConflict(const char* key, const char* option) {
  PPDXPopupControl* printSize = PrintSizeFollowingPageSize();
  CFRef<CFStringRef> pageSize(
      printSize != nullptr ? FindAnyControl(kPageSize)->CopyCurrentControlValueString() : nullptr);
  if (!pageSize) return mConstraints->FindConflict(key, option);
  printSize->SetCurrentControlWithCFString(pageSize.get());
  std::pair<const char*, const char*> conflict = mConstraints->FindConflict(key, option);
  printSize->SetCurrentControlWithCFString(CFSTR("SameAsPageSize"));
  return conflict;
}

bool ZPXPPD::IsKVConstrained(long key, long option) {
  return mConstraints->IsKVConstrained(key, option);
}

bool ZPXPPD::GetFileSpec(FSSpec& location) const {
  return File() != nullptr && File()->getFileInfo(&location) == noErr;
}

bool ZPXPPD::operator==(const ZPXPPD& other) const {
  FSSpec mine;
  FSSpec theirs;
  return GetFileSpec(mine) && other.GetFileSpec(theirs) && SameLocation(mine, theirs) &&
         SameText(PCFileName(), other.PCFileName());
}

PPDXPopupControl* ZPXPPD::PPDCreatePopupMenu(const char* groupName, const char* key,
                                             const char* translation, PointerList& items,
                                             CString* defaultKeyword) {
  if (groupName == nullptr || translation == nullptr || !HasTextConverter()) return nullptr;
  if (mGroups->Find(groupName, true) == nullptr && FindGroupName(groupName) == nullptr) {
    CFRef<CFStringRef> groupDisplayName(CreateDisplayName(groupName));
    AddGroupName(new GroupName(groupName, groupDisplayName.get(), true));
  }
  PPDXGroup* group = mGroups->Find(groupName, true);
  CFRef<CFStringRef> displayName(CreateDisplayName(translation));
  PointerList noFlags;
  PPDXPopupControl* popup = new PPDXPopupControl(key, displayName.get(), noFlags, true, false,
                                                 false, items, defaultKeyword, mConstraints.get());
  SetupControl(group, popup, true);
  return popup;
}

bool ZPXPPD::PPDReconcilePopupMenu(const char* key, const char* translation, PointerList& items,
                                   CString* defaultKeyword) {
  PPDXPopupControl* popup =
      key != nullptr ? dynamic_cast<PPDXPopupControl*>(FindAnyControl(key)) : nullptr;
  return popup != nullptr && popup->Rebuild(translation, items, defaultKeyword);
}
