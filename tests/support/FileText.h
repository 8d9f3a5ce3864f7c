#pragma once
// A whole file's bytes; empty when it cannot be read. The bundled sample PPD's
// text, which many tests start from.

#include <fstream>
#include <sstream>
#include <string>

inline std::string FileText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

inline std::string SamplePPDText() { return FileText(ZPX_BUNDLE "/samples/ZPX-Sample.ppd"); }
