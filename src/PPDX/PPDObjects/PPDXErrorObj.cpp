#include "PPDX/PPDObjects/PPDXErrorObj.h"

#include <cstring>

#include "carbon/Resources.h"

namespace {

// The text of the code, or an unset string when the current resource file has none.
CString ErrorText(short code) {
  Str255 entry;
  GetIndString(entry, PPDXErrorObj::kErrorStringListID, code);
  if (entry[0] == 0) return CString();
  char text[sizeof(Str255)];
  std::memcpy(text, entry + 1, entry[0]);
  text[entry[0]] = '\0';
  return CString(text);
}

}  // namespace

PPDXErrorObj::PPDXErrorObj() = default;

PPDXErrorObj::PPDXErrorObj(const short& code, const CString& keyword, const bool& fatal)
    : CError(code, ErrorText(code), fatal), mKeyword(keyword) {}

PPDXErrorObj::PPDXErrorObj(const short& code, const bool& fatal)
    : PPDXErrorObj(code, CString(), fatal) {}

const char* PPDXErrorObj::Keyword() const {
  return mKeyword.Empty() ? nullptr : static_cast<const char*>(mKeyword);
}
