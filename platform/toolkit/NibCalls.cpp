// The interface-file calls: a reference holds the checked contents of one file.

#include <cstdio>

#include "cf/CFRef.h"
#include "cf/CFStringObject.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/InterfaceBuilder.h"
#include "toolkit/InterfaceReader.h"
#include "toolkit/ToolkitModel.h"

struct OpaqueIBNibRef {
  std::string path;
  InterfaceContents contents;
};

OSStatus CreateNibReferenceWithCFBundle(CFBundleRef bundle, CFStringRef nibName, IBNibRef* outNib) {
  if (!bundle || !nibName || !outNib) return paramErr;
  *outNib = nullptr;
  CFRef<CFURLRef> url(CFBundleCopyResourceURL(bundle, nibName, CFSTR("ui"), nullptr));
  if (!url) return kIBCarbonRuntimeCantFindNibFile;
  CFRef<CFStringRef> path(CFURLCopyFileSystemPath(url.get(), kCFURLPOSIXPathStyle));
  auto nib = std::make_unique<OpaqueIBNibRef>();
  nib->path = __CFString::utf8Of(path.get());
  if (!InterfaceReader::ReadFile(nib->path, &nib->contents)) return kIBCarbonRuntimeCantFindNibFile;
  *outNib = nib.release();
  return noErr;
}

void DisposeNibReference(IBNibRef nib) { delete nib; }

OSStatus CreateWindowFromNib(IBNibRef nib, CFStringRef windowName, WindowRef* outWindow) {
  if (!nib || !windowName || !outWindow) return paramErr;
  std::string name = __CFString::utf8Of(windowName);
  for (const InterfaceObject& object : nib->contents.objects) {
    if (object.className != "GtkWindow" || object.id != name) continue;
    *outWindow = InterfaceBuilder(nib->contents).MakeWindow(object);
    return noErr;
  }
  std::fprintf(stderr, "%s:%ld: no window \"%s\"\n", nib->path.c_str(), nib->contents.interfaceLine,
               name.c_str());
  return kIBCarbonRuntimeCantFindObject;
}
