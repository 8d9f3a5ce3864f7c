#include "PPDX/ZPXPPDParse.h"

#include <cstdlib>
#include <cstring>

#include "foundation/CString.h"

namespace zpxppd {

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
