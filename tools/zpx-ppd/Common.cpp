#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "carbon/Resources.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "paths/PlatformPaths.h"

namespace zpxtool {

const char kTool[] = "zpx-ppd";

int Fail(const char* path, const char* reason) {
  std::fprintf(stderr, "%s: %s: %s\n", kTool, Printable(path).c_str(), reason);
  return kExitNotPPD;
}

std::string Printable(const char* text) {
  std::string printable;
  for (const char* at = text != nullptr ? text : ""; *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte >= 0x20 && byte != 0x7F) {
      printable += *at;
    } else if (byte == '\n') {
      printable += "\\n";
    } else if (byte == '\t') {
      printable += "\\t";
    } else if (byte == '\r') {
      printable += "\\r";
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      printable += escaped;
    }
  }
  return printable;
}

std::string InputFileProblem(const char* path) {
  struct stat info;
  if (stat(path, &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "is a directory";
  if (!S_ISREG(info.st_mode)) return "not a regular file";
  return "";
}

bool IsInputFile(const char* path) {
  const std::string problem = InputFileProblem(path);
  return problem.empty() || Fail(path, problem.c_str()) == kExitPPD;
}

int Usage(const char* arguments) {
  std::fprintf(stderr, "usage: %s %s\n", kTool, arguments);
  return kExitUsage;
}

std::unique_ptr<ZPXPPD> ParseDocument(const char* path) {
  if (!IsInputFile(path)) return nullptr;
  CFRef<CFURLRef> url(CreateFileURL(path));
  if (!url) {
    Fail(path, "not a usable file path");
    return nullptr;
  }
  // The texts of parse errors, from the bundle the extension loads.
  const std::string folder =
      PlatformPaths::Below(PlatformPaths::kBundleFolder, "Contents/Resources");
  short resources = OpenStringListFile(folder.c_str(), "ZPXPDE.strlist");
  if (resources < 0)
    std::fprintf(stderr, "%s: the error texts of the bundle cannot be read\n", kTool);
  std::unique_ptr<ZPXPPD> document(new ZPXPPD(url.get(), PARSE_ALL, nullptr));
  if (resources >= 0) CloseResFile(resources);
  return document;
}

}  // namespace zpxtool
