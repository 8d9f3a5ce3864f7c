#include "PPDX/GroupName.h"

#include "PPDX/PPDObjects/PPDXElement.h"

GroupName::GroupName(const char* name, CFStringRef translation, bool visible)
    : name(new CString(name)),
      translation(static_cast<CFStringRef>(CFRetain(translation))),
      translationText(CFStringToCString(translation)),
      visible(visible) {}

GroupName::~GroupName() { CFRelease(translation); }
