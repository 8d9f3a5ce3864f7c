#include "foundation/ZPXAssert.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

void ZPXAssertionFailed(const char* file, unsigned line, const char* expression) {
  // The build maps source paths to be relative to src/; the report leaves out
  // the file's extension.
  const char* dot = std::strrchr(file, '.');
  const char* slash = std::strrchr(file, '/');
  int stem = (dot != nullptr && (slash == nullptr || dot > slash))
                 ? static_cast<int>(dot - file)
                 : static_cast<int>(std::strlen(file));
  std::fprintf(stderr, "%.*s:%u: failed assertion `%s'\n", stem, file, line, expression);
  std::abort();
}
