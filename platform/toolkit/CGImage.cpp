// Data providers over files, and PNG pictures decoded with libpng.

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <new>

#include "cf/CFStringObject.h"
#include "toolkit/CGObjects.h"

namespace {

constexpr size_t kMaximumFileSize = 16 << 20;
constexpr png_uint_32 kMaximumSide = 4096;

bool ReadWhole(const std::string& path, std::vector<UInt8>* out) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return false;
  std::streamoff size = in.tellg();
  if (size < 0 || size_t(size) > kMaximumFileSize) return false;
  out->resize(size_t(size));
  in.seekg(0);
  return bool(in.read(reinterpret_cast<char*>(out->data()), size));
}

}  // namespace

CGDataProviderRef CGDataProviderCreateWithURL(CFURLRef url) {
  if (!url) return nullptr;
  CFStringRef path = CFURLCopyFileSystemPath(url, kCFURLPOSIXPathStyle);
  if (!path) return nullptr;
  std::string file = __CFString::utf8Of(path);
  CFRelease(path);
  std::vector<UInt8> bytes;
  if (!ReadWhole(file, &bytes)) return nullptr;
  return new (std::nothrow) __CGDataProvider(std::move(bytes));
}

void CGDataProviderRelease(CGDataProviderRef provider) {
  if (provider) CFRelease(provider);
}

CGImageRef CGImageCreateWithPNGDataProvider(CGDataProviderRef source, const CGFloat*, bool,
                                            CGColorRenderingIntent) {
  if (!source || source->mBytes.empty()) return nullptr;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, source->mBytes.data(), source->mBytes.size()))
    return nullptr;
  if (image.width == 0 || image.height == 0 || image.width > kMaximumSide ||
      image.height > kMaximumSide) {
    png_image_free(&image);
    return nullptr;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<UInt8> pixels(PNG_IMAGE_SIZE(image));
  // A truncated or damaged stream fails here, with every allocation freed.
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return nullptr;
  return new (std::nothrow) __CGImage(image.width, image.height, std::move(pixels));
}

void CGImageRelease(CGImageRef image) {
  if (image) CFRelease(image);
}

size_t CGImageGetWidth(CGImageRef image) { return image ? image->mWidth : 0; }
size_t CGImageGetHeight(CGImageRef image) { return image ? image->mHeight : 0; }
