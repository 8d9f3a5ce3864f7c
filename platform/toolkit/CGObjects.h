#pragma once
// The objects behind CGDataProviderRef and CGImageRef: platform objects that
// CFRetain and CFRelease take too.

#include <vector>

#include "cf/CFObject.h"
#include "toolkit/CoreGraphics.h"

struct __CGDataProvider : CFObject {
  explicit __CGDataProvider(std::vector<UInt8> bytes)
      : CFObject(kCFObjectTypeDataProvider), mBytes(std::move(bytes)) {}
  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CGDataProvider>"; }

  const std::vector<UInt8> mBytes;
};

struct __CGImage : CFObject {
  __CGImage(size_t width, size_t height, std::vector<UInt8> pixels)
      : CFObject(kCFObjectTypeImage), mWidth(width), mHeight(height), mPixels(std::move(pixels)) {}
  bool equals(const CFObject& other) const override { return this == &other; }
  CFHashCode hash() const override { return CFHashCode(this); }
  std::u16string description() const override { return u"<CGImage>"; }

  const size_t mWidth;
  const size_t mHeight;
  const std::vector<UInt8> mPixels;  // RGBA, row by row
};
