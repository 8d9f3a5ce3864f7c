#pragma once
// The property pages of a document in the order they were added. The list
// borrows them; pages are never hidden from a walk.

#include "foundation/PointerList.h"

class PPDXProperty;
class Settings;

class PPDXProperties {
 public:
  PPDXProperties();
  // Rebuilds the saved pages; the caller owns them (the document deletes them).
  explicit PPDXProperties(Settings& settings);
  virtual ~PPDXProperties();

  PPDXProperties(const PPDXProperties&) = delete;
  PPDXProperties& operator=(const PPDXProperties&) = delete;

  void Add(PPDXProperty* property);

  PPDXProperty* First();
  PPDXProperty* Next();
  // Walks with the cursor of First and Next.
  PPDXProperty* Find(const char* keyword, const bool& exact);

  unsigned long Count() const { return mProperties.Size(); }
  bool Empty() const { return mProperties.Empty(); }

  // The count, then each page, as kPropertyPageList places them.
  short Save(Settings& settings);

 private:
  PointerList mProperties;
  PointerListItr mCursor;
};
