#include "foundation/CError.h"

CError::CError() : code(0), fatal(false) {}

CError::CError(const short& code, const CString& description, const bool& fatal)
    : code(code), description(description), fatal(fatal) {}

const char* CError::Description() const {
  return description.Empty() ? nullptr : static_cast<const char*>(description);
}

void CError::Description(const char* text) { description = text; }
