#pragma once
// The PostScript blocks that the dialog wants in the job, each tagged with its
// injection site, and the document's values, kept in the print settings
// ticket. The blocks travel to the print system in a temporary property-list
// file (alternating site numbers and data objects) whose path is the ticket
// item under the entry key.

#include "cf/CFRef.h"
#include "output/JobTicket.h"
#include "print/PostScriptInjectionSite.h"

class PPDXControl;
class PrintSettingsTicket;
class ZPXPPD;

class ZPXJobTicket : public JobTicket {
 public:
  // Everything is stored through `settings` (borrowed) under a copy of `key`.
  // Valid once the entries array exists; both are needed.
  ZPXJobTicket(PrintSettingsTicket* settings, CFStringRef key);
  ~ZPXJobTicket() override;

  // An empty entries array of our own; memFullErr when it cannot be made.
  OSStatus Create();
  // Appends the block; a block of length 0 adds nothing and succeeds. True
  // when the status is 0.
  bool Add(PostScriptInjectionSite site, const void* bytes, long length);
  // Appends the control's feature code; false without a control.
  bool Add(PostScriptInjectionSite site, PPDXControl* control);
  // Writes the blocks to a new file below the temporary folder (mode 0644,
  // never an existing file or link) and records its path under the entry key.
  // True with nothing to do; false, leaving no file and no item, on failure.
  bool Save(CFStringRef clientID);
  OSStatus EnforceCopiesLimit(CFStringRef clientID, long copies);
  // 0 when the ticket holds no copies.
  long GetCopies();
  // Removes the item under the entry key; always true.
  bool Invalidate(CFStringRef unused);

  OSStatus SavePPDForAllKeys(ZPXPPD* document, CFStringRef key);
  OSStatus RestorePPDForAllKeys(ZPXPPD* document, CFStringRef unused, CFStringRef key);
  OSStatus SavePPDForKeys(ZPXPPD* document, CFStringRef key, CFArrayRef valueKeys);
  OSStatus RestorePPDForKeys(ZPXPPD* document, CFStringRef key, CFArrayRef valueKeys);
  // The whole document as a settings blob, stored as a data item under the key.
  bool SavePPD(ZPXPPD* document, CFStringRef key, CFURLRef url);
  // A new document rebuilt from the blob under the key, whose PPD is one the
  // bundle's printer list names; null otherwise.
  ZPXPPD* RestorePPD(CFStringRef key, CFURLRef url);

  long Count() const { return mCount; }
  // Borrowed: alternating site numbers and data objects.
  CFArrayRef Entries() const { return mEntries; }
  bool IsDirty() const { return mDirty; }

  static constexpr long kLocalBufferSize = 1024;

 private:
  bool StoreDictionary(CFDictionaryRef values, CFStringRef key);

  PrintSettingsTicket* mSettings;
  CFRef<CFStringRef> mKey;
  long mCount = 0;
  CFMutableArrayRef mEntries = nullptr;
  bool mOwnsEntries = false;
  bool mDirty = true;
};
