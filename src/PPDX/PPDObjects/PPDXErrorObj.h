#pragma once
// One thing the parser found wrong with a PPD: a code (a PPDXErrorCode), the
// keyword concerned and whether it stops the parse. The description is the
// code's entry in the plug-in's string list of errors.

#include "PPDX/PPDObjects/PPDXErrorCode.h"
#include "foundation/CError.h"
#include "foundation/CString.h"

class PPDXErrorObj : public CError {
 public:
  // The resource id of the string list that holds the error texts.
  static constexpr short kErrorStringListID = -8900;

  PPDXErrorObj();
  PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal);
  PPDXErrorObj(const short& code, const bool& fatal);

  // Null when the error concerns no keyword.
  const char* Keyword() const;

 private:
  CString mKeyword;
};
