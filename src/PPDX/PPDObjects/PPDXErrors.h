#pragma once
// The document's list of parse errors, in the order they were found. The list
// borrows the error objects: their owner deletes them.

#include "foundation/PointerList.h"

class PPDXErrorObj;

class PPDXErrors {
 public:
  PPDXErrors();
  virtual ~PPDXErrors();

  PPDXErrors(const PPDXErrors&) = delete;
  PPDXErrors& operator=(const PPDXErrors&) = delete;

  void Add(PPDXErrorObj* error);

  // One cursor walks the list: First starts it, Next moves it on. Both give null
  // for an empty list; Next gives null past the last error and stays there.
  PPDXErrorObj* First();
  PPDXErrorObj* Next();

  unsigned long Count() const { return mErrors.Size(); }
  bool Empty() const { return mErrors.Empty(); }

 private:
  PointerList mErrors;
  PointerListItr mCursor;
};
