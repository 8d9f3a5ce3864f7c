#pragma once
// Names between the platform's form and the daemon's. Names come from the
// network: each is bounded before anything keeps it.

#include <string>

#include "net/NetServiceBackend.h"

class AvahiNames {
 public:
  // DNS allows 255 bytes for a whole name; instance names are shorter still.
  static constexpr size_t kMaximumNameBytes = 255;

  // "_printer._tcp." is written without its final dot for the daemon.
  static std::string Type(const std::string& type);
  // The default domains ("") are asked for with no domain at all.
  static const char* Domain(const std::string& domain);
  // The names of a report, when each is present and within bounds.
  static bool Take(const char* name, const char* type, const char* domain,
                   NetServiceIdentity& service);
};
