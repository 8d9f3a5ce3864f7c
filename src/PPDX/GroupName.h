#pragma once
// A group name that the PPD declared, kept until a control, a parent line or
// the end of the parse turns it into a group.

#include <memory>

#include "cf/CoreFoundation.h"
#include "foundation/CString.h"

struct GroupName {
  // Retains the translation and keeps its text in the system encoding.
  GroupName(const char* name, CFStringRef translation, bool visible);
  ~GroupName();

  GroupName(const GroupName&) = delete;
  GroupName& operator=(const GroupName&) = delete;

  std::unique_ptr<CString> name;
  CFStringRef translation;
  std::unique_ptr<CString> translationText;
  // Handed to the group it becomes.
  bool visible;
};
