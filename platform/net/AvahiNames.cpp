#include "net/AvahiNames.h"

#include <cstring>

namespace {

bool Bounded(const char* text, std::string& kept) {
  if (text == nullptr) return false;
  size_t length = strnlen(text, AvahiNames::kMaximumNameBytes + 1);
  if (length > AvahiNames::kMaximumNameBytes) return false;
  kept.assign(text, length);
  return true;
}

}  // namespace

std::string AvahiNames::Type(const std::string& type) {
  if (!type.empty() && type.back() == '.') return type.substr(0, type.size() - 1);
  return type;
}

const char* AvahiNames::Domain(const std::string& domain) {
  return domain.empty() ? nullptr : domain.c_str();
}

bool AvahiNames::Take(const char* name, const char* type, const char* domain,
                      NetServiceIdentity& service) {
  return Bounded(name, service.name) && Bounded(type, service.type) &&
         Bounded(domain, service.domain);
}
