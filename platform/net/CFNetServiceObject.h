#pragma once
// The object behind CFNetServiceRef: a service a browser found, and the
// addresses its last resolution gave.

#include "cf/CFObject.h"
#include "cf/CFRef.h"
#include "net/CFNetServices.h"
#include "net/NetServiceBackend.h"

struct __CFNetService : CFObject {
  explicit __CFNetService(const NetServiceIdentity& identity);

  bool equals(const CFObject& other) const override;
  CFHashCode hash() const override;
  std::u16string description() const override;

  NetServiceIdentity identity;
  CFRef<CFStringRef> name;
  CFRef<CFArrayRef> addressing;
};

// Fills in a caller's error record, when there is one: no domain for success.
inline void SetStreamError(CFStreamError* error, SInt32 code) {
  if (error == nullptr) return;
  error->domain = code == 0 ? CFIndex(0) : CFIndex(kCFStreamErrorDomainNetServices);
  error->error = code;
}
