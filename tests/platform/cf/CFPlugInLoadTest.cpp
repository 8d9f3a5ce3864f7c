// A plug-in's code is loaded when first needed, its functions found by name,
// and unloaded only with its bundle's last release.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "support/FileURL.h"
#include "support/PlatformString.h"
#include "support/TempFolder.h"

namespace {

bool IsMapped(const std::string& library) {
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle != nullptr) dlclose(handle);
  return handle != nullptr;
}

}  // namespace

TEST(CFPlugInLoad, CodeLoadsOnDemandAndGoesWithTheLastRelease) {
  TempFolder folder;
  const std::string bundlePath = folder.Path() + "/Copy.plugin";
  std::filesystem::copy(ZPX_BUILT_BUNDLE, bundlePath, std::filesystem::copy_options::recursive);
  const std::string library = bundlePath + "/Contents/MacOS/libzpxpde.so";
  CFRef<CFURLRef> url(CreateFileURL(bundlePath, true));

  CFPlugInRef plugIn = CFPlugInCreate(nullptr, url.get());
  ASSERT_NE(plugIn, nullptr);
  EXPECT_EQ(CFPlugInGetBundle(plugIn), plugIn);
  EXPECT_FALSE(CFBundleIsExecutableLoaded(plugIn));
  EXPECT_FALSE(IsMapped(library));
  CFArrayRef all = CFBundleGetAllBundles();
  EXPECT_TRUE(CFArrayContainsValue(all, CFRangeMake(0, CFArrayGetCount(all)), plugIn));

  EXPECT_EQ(CFBundleGetFunctionPointerForName(plugIn, CFSTR("NoSuchFunction")), nullptr);
  EXPECT_TRUE(CFBundleIsExecutableLoaded(plugIn));
  EXPECT_TRUE(IsMapped(library));
  EXPECT_NE(CFBundleGetFunctionPointerForName(plugIn, CFSTR("PrinterInfoPluginFactory")), nullptr);

  // Held twice: the first release keeps the code.
  CFRetain(plugIn);
  CFRelease(plugIn);
  EXPECT_TRUE(IsMapped(library));
  CFRelease(plugIn);
  EXPECT_FALSE(IsMapped(library));
  all = CFBundleGetAllBundles();
  EXPECT_EQ(CFArrayGetCount(all), 0);
}

TEST(CFPlugInLoad, FactoriesAreFoundByTypeOnlyAsDeclared) {
  TempFolder folder;
  const std::string bundlePath = folder.Path() + "/Fake.plugin";
  folder.Write("Fake.plugin/Contents/Info.plist",
               "<plist version=\"1.0\"><dict>"
               "<key>CFBundleExecutable</key><string>missing.so</string>"
               "<key>CFPlugInFactories</key><dict>"
               "<key>11111111-1111-1111-1111-111111111111</key><string>Make</string></dict>"
               "<key>CFPlugInTypes</key><dict>"
               "<key>22222222-2222-2222-2222-222222222222</key><array>"
               "<string>11111111-1111-1111-1111-111111111111</string><string>not a uuid</string>"
               "<integer>3</integer></array></dict>"
               "</dict></plist>");
  CFRef<CFURLRef> url(CreateFileURL(bundlePath, true));
  CFPlugInRef plugIn = CFPlugInCreate(nullptr, url.get());
  ASSERT_NE(plugIn, nullptr);
  CFRef<CFUUIDRef> type(
      CFUUIDCreateFromString(nullptr, CFSTR("22222222-2222-2222-2222-222222222222")));
  CFRef<CFUUIDRef> otherType(
      CFUUIDCreateFromString(nullptr, CFSTR("33333333-2222-2222-2222-222222222222")));
  CFRef<CFUUIDRef> factory(
      CFUUIDCreateFromString(nullptr, CFSTR("11111111-1111-1111-1111-111111111111")));

  CFRef<CFArrayRef> found(CFPlugInFindFactoriesForPlugInTypeInPlugIn(type.get(), plugIn));
  ASSERT_EQ(CFArrayGetCount(found.get()), 1);
  EXPECT_TRUE(CFEqual(CFArrayGetValueAtIndex(found.get(), 0), factory.get()));
  CFRef<CFArrayRef> none(CFPlugInFindFactoriesForPlugInTypeInPlugIn(otherType.get(), plugIn));
  EXPECT_EQ(CFArrayGetCount(none.get()), 0);
  EXPECT_EQ(CFPlugInFindFactoriesForPlugInTypeInPlugIn(nullptr, plugIn), nullptr);

  // Declared, but the code is missing; another type is not the factory's.
  EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory.get(), type.get()), nullptr);
  EXPECT_FALSE(CFBundleLoadExecutable(plugIn));
  EXPECT_EQ(CFPlugInInstanceCreate(nullptr, factory.get(), otherType.get()), nullptr);
  CFRelease(plugIn);
}
