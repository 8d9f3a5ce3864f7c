#pragma once
// The PPD languages whose 8-bit text is never taken for system-encoded text: their
// PPDs carry multi-byte or non-Latin text in their own encoding.

#include <set>
#include <string>

class HexLanguageExceptions {
 public:
  HexLanguageExceptions();

  bool IsException(const std::string& language) const;

 private:
  std::set<std::string> mLanguages;
};
