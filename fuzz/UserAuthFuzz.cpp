// User-authentication records arrive as Base64 text that anyone can write.
// Whatever the text, unpacking reads only inside its buffers and either
// refuses it, handing out nothing, or hands out three texts that pack again
// into a record that unpacks to the same fields.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "PPDX/PPDObjects/Controls/PPDXUserAuthLib.h"

namespace {

struct Fields {
  char* user = nullptr;
  char* password = nullptr;
  char* domain = nullptr;
  UAL_DomainType type = UAL_DomainType(0);
  unsigned char guid[kUALGUIDSize] = {};

  ~Fields() {
    AUTH_freeBuffer(&user);
    AUTH_freeBuffer(&password);
    AUTH_freeBuffer(&domain);
  }
};

int Unpack(const char* text, Fields& fields) {
  const int result = UAL_UnpackAndDecrypt(text, &fields.user, &fields.password, &fields.domain,
                                          &fields.type, fields.guid);
  FUZZ_CHECK(result == 0 || result == -1);
  if (result != 0) {
    FUZZ_CHECK(fields.user == nullptr && fields.password == nullptr && fields.domain == nullptr);
  } else {
    FUZZ_CHECK(fields.user != nullptr && fields.password != nullptr && fields.domain != nullptr);
  }
  return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  Fields fields;
  if (Unpack(text.c_str(), fields) != 0) return 0;

  char* packed = nullptr;
  FUZZ_CHECK(UAL_PackAndEncrypt(fields.user, fields.password, fields.domain, fields.type,
                                fields.guid, &packed) == 0);
  Fields again;
  FUZZ_CHECK(Unpack(packed, again) == 0);
  AUTH_freeBuffer(&packed);
  FUZZ_CHECK(std::strcmp(fields.user, again.user) == 0);
  FUZZ_CHECK(std::strcmp(fields.password, again.password) == 0);
  FUZZ_CHECK(std::strcmp(fields.domain, again.domain) == 0);
  FUZZ_CHECK(fields.type == again.type);
  FUZZ_CHECK(std::memcmp(fields.guid, again.guid, kUALGUIDSize) == 0);
  return 0;
}
