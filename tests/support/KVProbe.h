#pragma once
// A constraint set that tells which option a control last reported for its keyword:
// for every watched option a probe key excludes that option, so the probe's choice
// is constrained exactly while the option is the key's current one.

#include <initializer_list>
#include <string>

#include "constraints/UIConstraints.h"

class KVProbe {
 public:
  KVProbe(const char* key, std::initializer_list<const char*> options)
      : mKey(key), mProbe(std::string("*Probe") + key) {
    for (const char* option : options) {
      constraints.KVSInsert(mKey.c_str(), option);
      constraints.KVSInsert(mProbe.c_str(), option);
      constraints.Add(mProbe.c_str(), option, mKey.c_str(), option, false);
    }
    constraints.Resolve();
  }

  // True while the option is the one last reported for the key.
  bool Current(const char* option) { return constraints.IsKVConstrained(mProbe.c_str(), option); }

  UIConstraints constraints;

 private:
  std::string mKey;
  std::string mProbe;
};
