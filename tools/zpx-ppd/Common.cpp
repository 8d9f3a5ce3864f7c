#include <cstdio>
#include <cstring>

#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "carbon/Resources.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

namespace zpxtool {

const char kTool[] = "zpx-ppd";

int Fail(const char* path, const char* reason) {
  std::fprintf(stderr, "%s: %s: %s\n", kTool, path, reason);
  return kExitNotPPD;
}

int Usage(const char* arguments) {
  std::fprintf(stderr, "usage: %s %s\n", kTool, arguments);
  return kExitUsage;
}

std::unique_ptr<ZPXPPD> ParseDocument(const char* path) {
  CFRef<CFURLRef> url(CFURLCreateFromFileSystemRepresentation(
      kCFAllocatorDefault, reinterpret_cast<const UInt8*>(path), CFIndex(std::strlen(path)), false));
  if (!url) return nullptr;
  short resources = OpenStringListFile(ZPX_BUNDLE "/Resources", "ZPXPDE.strlist");
  if (resources < 0) std::fprintf(stderr, "%s: the error texts of the bundle cannot be read\n", kTool);
  std::unique_ptr<ZPXPPD> document(new ZPXPPD(url.get(), PARSE_ALL, nullptr));
  if (resources >= 0) CloseResFile(resources);
  return document;
}

}  // namespace zpxtool
