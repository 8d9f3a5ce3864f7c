#include "net/CFNetServiceObject.h"

#include "cf/CFData.h"
#include "cf/CFStringObject.h"

namespace {

CFArrayRef CreateAddressing(const std::vector<NetServiceBackend::SocketAddress>& addresses) {
  CFMutableArrayRef array = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
  for (const NetServiceBackend::SocketAddress& address : addresses) {
    CFRef<CFDataRef> data(
        CFDataCreate(kCFAllocatorDefault, address.data(), CFIndex(address.size())));
    CFArrayAppendValue(array, data.get());
  }
  return array;
}

}  // namespace

__CFNetService::__CFNetService(const NetServiceIdentity& identity)
    : CFObject(kCFObjectTypeNetService),
      identity(identity),
      name(__CFString::createFromUTF8(identity.name)) {}

bool __CFNetService::equals(const CFObject& other) const {
  const NetServiceIdentity& theirs = static_cast<const __CFNetService&>(other).identity;
  return identity.name == theirs.name && identity.type == theirs.type &&
         identity.domain == theirs.domain;
}

CFHashCode __CFNetService::hash() const {
  return CFObjectHashBytes(identity.name.data(), identity.name.size());
}

std::u16string __CFNetService::description() const {
  std::string text = identity.name + "." + identity.type + identity.domain;
  return __CFString::textFromUTF8(text.data(), text.size());
}

CFStringRef CFNetServiceGetName(CFNetServiceRef service) {
  return service != nullptr ? service->name.get() : nullptr;
}

Boolean CFNetServiceResolveWithTimeout(CFNetServiceRef service, CFTimeInterval timeout,
                                       CFStreamError* error) {
  SetStreamError(error, 0);
  if (service == nullptr || timeout < 0) {
    SetStreamError(error, kCFNetServicesErrorBadArgument);
    return false;
  }
  std::vector<NetServiceBackend::SocketAddress> addresses;
  SInt32 code = kCFNetServicesErrorUnknown;
  if (!NetServiceBackend::Current().Resolve(service->identity, timeout, addresses, code)) {
    SetStreamError(error, code);
    return false;
  }
  service->addressing.reset(CreateAddressing(addresses));
  return true;
}

CFArrayRef CFNetServiceGetAddressing(CFNetServiceRef service) {
  return service != nullptr ? service->addressing.get() : nullptr;
}
