#pragma once
// An error record: a code, a description and whether it stops the work.

#include "foundation/CString.h"

class CError {
 public:
  CError();
  CError(const short& code, const CString& description, const bool& fatal);

  // Errors are told apart by their code alone.
  bool operator==(short other) const { return mCode == other; }
  bool operator!=(short other) const { return mCode != other; }
  short Code() const { return mCode; }

  // Null when there is no description or it is empty.
  const char* Description() const;
  void Description(const char* text);
  bool IsFatal() const { return mFatal; }

 private:
  short mCode;
  CString mDescription;
  bool mFatal;
};
