#include "foundation/NumberText.h"

#include <cctype>

bool validateRangeValues(const char* text, int maximumDigits) {
  if (text == nullptr) return true;
  int run = 0;
  for (const char* c = text; *c != '\0'; ++c) {
    run = std::isdigit(static_cast<unsigned char>(*c)) ? run + 1 : 0;
    if (run > maximumDigits) return false;
  }
  return true;
}
