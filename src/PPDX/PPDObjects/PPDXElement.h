#pragma once
// Every object of the option model: a PPD keyword, the name the user sees, a
// visibility flag and the layout object that contains it.

#include <memory>

#include "PPDX/PPDXDisplayOptions.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "foundation/CString.h"

class Settings;

class PPDXElement {
 public:
  PPDXElement();
  // The keyword is copied (a null or empty one leaves the element without); the
  // display name is retained and must not be null.
  PPDXElement(const char* keyword, CFStringRef inLocalName, const bool& visible);
  // Rebuilds from the entries written by Save; the parent stays pending (see
  // TakeParentKeyword) until the document resolves it.
  PPDXElement(Settings& settings, const long& index);
  virtual ~PPDXElement() = 0;

  PPDXElement(const PPDXElement&) = delete;
  PPDXElement& operator=(const PPDXElement&) = delete;

  virtual bool OkayToDisplay(const _DISPLAY_OPTIONS_& options);
  virtual short Save(Settings& settings, const long& index);

  const char* Keyword() const;
  // The display name as text, converted on first request; null without one.
  const char* UserName();
  CFStringRef CFStringUserName() const { return mDisplayName.get(); }
  bool IsVisible() const { return mVisible; }
  // False while a rebuilt element still waits for its parent to be resolved.
  bool IsOrphan() const { return mParent == nullptr && mParentKeyword == nullptr; }
  PPDXElement* GetParent() const { return mParent; }
  // Setting a parent, or clearing it, drops a pending parent keyword.
  void SetParent(PPDXElement* parent);
  // The keyword of the parent named in the store this element was rebuilt from;
  // the caller takes the string (and deletes it) and resolves the parent.
  CString* TakeParentKeyword();

  // Keywords compare case-sensitively; an element without one equals nothing.
  bool operator==(const PPDXElement& other) const;
  bool operator==(const char* keyword) const;

 protected:
  // Replaces the display name with one the caller created (adopted, not retained).
  void AdoptDisplayName(CFStringRef name);

 private:
  // Unset without a keyword; held here, not behind a pointer of its own.
  CString mKeyword;
  std::unique_ptr<CString> mUserName;
  CFRef<CFStringRef> mDisplayName;
  bool mVisible;
  PPDXElement* mParent;
  std::unique_ptr<CString> mParentKeyword;
};

// A new text of the string in the system encoding (the caller deletes it); null for
// a null string.
CString* CFStringToCString(CFStringRef text);
