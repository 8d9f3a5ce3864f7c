#include "net/NetServiceBackend.h"

#include "net/AvahiNetServiceBackend.h"

namespace {

NetServiceBackend*& Installed() {
  static NetServiceBackend* sInstalled = nullptr;
  return sInstalled;
}

}  // namespace

NetServiceBackend& NetServiceBackend::Current() {
  static AvahiNetServiceBackend sSystemBackend;
  return Installed() != nullptr ? *Installed() : sSystemBackend;
}

void NetServiceBackend::Install(NetServiceBackend* backend) { Installed() = backend; }
