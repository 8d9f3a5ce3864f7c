#pragma once
// A printf-style format filled into a string of the length it needs.

#include <cstdio>
#include <string>

template <typename... Values>
std::string PrintfText(const char* format, Values... values) {
  const int length = std::snprintf(nullptr, 0, format, values...);
  if (length <= 0) return "";
  std::string text(size_t(length) + 1, '\0');
  std::snprintf(&text[0], text.size(), format, values...);
  text.resize(size_t(length));
  return text;
}
