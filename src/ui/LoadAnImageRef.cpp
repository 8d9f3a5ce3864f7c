#include "ui/LoadAnImageRef.h"

CGImageRef LoadAnImageRef(CFURLRef url) {
  if (url == nullptr) return nullptr;
  CGDataProviderRef provider = CGDataProviderCreateWithURL(url);
  if (provider == nullptr) return nullptr;
  CGImageRef image =
      CGImageCreateWithPNGDataProvider(provider, nullptr, false, kCGRenderingIntentDefault);
  CGDataProviderRelease(provider);
  return image;
}
