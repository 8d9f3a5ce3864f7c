#pragma once
// A whole file's bytes; empty when it cannot be read.

#include <fstream>
#include <sstream>
#include <string>

inline std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}
