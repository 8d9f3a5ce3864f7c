#include "PPDX/ZPXPPDParse.h"

#include <cstdlib>
#include <cstring>

#include "PPDX/PPDX.h"
#include "foundation/CString.h"

namespace zpxppd {

bool IsJobNoteDefault(const char* keyword) {
  static constexpr char kPrefix[] = "*%Default";
  return std::strncmp(keyword, kPrefix, sizeof kPrefix - 1) == 0;
}

bool ReadJobNoteDefault(PPDStream& rest, char* text) {
  return PPDX::NextToken(rest, text, kFlagDelimiters, true) && text[0] != '\0';
}

PPDXErrorObj* MakeError(PPDXErrorCode code, const char* keyword, bool fatal) {
  return new PPDXErrorObj(code, CString(keyword != nullptr ? keyword : ""), fatal);
}

unsigned char* CopyPostScript(const char* bytes, unsigned long length) {
  if (length == 0) return nullptr;
  unsigned char* copy = static_cast<unsigned char*>(std::malloc(length));
  if (copy != nullptr) std::memcpy(copy, bytes, length);
  return copy;
}

}  // namespace zpxppd
