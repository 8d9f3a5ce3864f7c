#include "cf/CFURL.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "cf/CFCharacters.h"
#include "cf/CFObject.h"
#include "cf/CFStringObject.h"
#include "cf/CFURLFileReplace.h"
#include "cf/RegularFileReader.h"

namespace {

// Parts of a URL text as RFC 3986 splits it.
struct URLParts {
  std::string scheme;  // without ":"
  bool hasAuthority = false;
  std::string authority;
  std::string path;
  std::string rest;  // "?query#fragment" as written

  static URLParts parse(const std::string& text);
  std::string join() const {
    std::string text = scheme.empty() ? std::string() : scheme + ":";
    if (hasAuthority) text += "//" + authority;
    return text + path + rest;
  }
  std::string host() const;
};

bool isSchemeCharacter(char c, bool first) {
  bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  return letter || (!first && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
}

URLParts URLParts::parse(const std::string& text) {
  URLParts parts;
  size_t i = 0;
  size_t colon = text.find(':');
  if (colon != std::string::npos && colon > 0) {
    bool valid = true;
    for (size_t k = 0; k < colon && valid; ++k) valid = isSchemeCharacter(text[k], k == 0);
    if (valid) {
      parts.scheme = text.substr(0, colon);
      i = colon + 1;
    }
  }
  if (text.compare(i, 2, "//") == 0) {
    size_t end = text.find_first_of("/?#", i + 2);
    if (end == std::string::npos) end = text.size();
    parts.hasAuthority = true;
    parts.authority = text.substr(i + 2, end - i - 2);
    i = end;
  }
  size_t pathEnd = text.find_first_of("?#", i);
  if (pathEnd == std::string::npos) pathEnd = text.size();
  parts.path = text.substr(i, pathEnd - i);
  parts.rest = text.substr(pathEnd);
  return parts;
}

std::string URLParts::host() const {
  std::string host =
      authority.substr(authority.find('@') == std::string::npos ? 0 : authority.find('@') + 1);
  if (!host.empty() && host[0] == '[') return host.substr(1, host.find(']') - 1);
  return host.substr(0, host.find(':'));
}

bool isHexDigit(char character) {
  return CFHexDigitValue(static_cast<unsigned char>(character)) >= 0;
}

std::string percentDecode(const std::string& text) {
  std::string decoded;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && isHexDigit(text[i + 1]) &&
        isHexDigit(text[i + 2])) {
      decoded += static_cast<char>(CFHexDigitValue(static_cast<unsigned char>(text[i + 1])) * 16 +
                                   CFHexDigitValue(static_cast<unsigned char>(text[i + 2])));
      i += 2;
    } else {
      decoded += text[i];
    }
  }
  return decoded;
}

// Escapes every byte of a path that a URL path may not hold as it is.
std::string percentEncodePath(const std::string& path) {
  static const char hexDigits[] = "0123456789ABCDEF";
  static const char allowed[] = "-._~!$&'()*+,;=:@/";
  std::string encoded;
  for (unsigned char c : path) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 (c != 0 && std::strchr(allowed, c));
    if (plain) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += hexDigits[c >> 4];
      encoded += hexDigits[c & 15];
    }
  }
  return encoded;
}

// Resolves "." and ".." segments of an absolute path.
std::string removeDotSegments(const std::string& path) {
  std::vector<std::string> segments;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string segment = path.substr(start, end - start);
    bool last = end == path.size();
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      if (last) segments.push_back("");
    } else if (segment == ".") {
      if (last) segments.push_back("");
    } else {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const std::string& segment : segments) resolved += "/" + segment;
  return resolved.empty() ? "/" : resolved;
}

URLParts resolve(const URLParts& reference, const URLParts& base) {
  if (!reference.scheme.empty()) return reference;
  URLParts target = base;
  target.rest = reference.rest;
  if (reference.hasAuthority) {
    target.authority = reference.authority;
    target.path = removeDotSegments(reference.path.empty() ? "/" : reference.path);
  } else if (reference.path.empty()) {
    if (reference.rest.empty()) target.rest = base.rest.substr(0, base.rest.find('#'));
  } else if (reference.path[0] == '/') {
    target.path = removeDotSegments(reference.path);
  } else {
    std::string directory = base.path.substr(0, base.path.rfind('/') + 1);
    if (directory.empty() && base.hasAuthority) directory = "/";
    target.path = removeDotSegments((directory.empty() ? "/" : directory) + reference.path);
  }
  return target;
}

}  // namespace

struct __CFURL : CFObject {
  __CFURL(std::string text, CFURLRef base)
      : CFObject(kCFObjectTypeURL), text(std::move(text)), base(base) {
    if (base) CFRetain(base);
    string = __CFString::createFromUTF8(this->text);
  }
  ~__CFURL() override {
    CFRelease(string);
    if (base) CFRelease(base);
  }

  bool equals(const CFObject& other) const override {
    const __CFURL& url = static_cast<const __CFURL&>(other);
    return text == url.text && CFEqual(base, url.base);
  }
  CFHashCode hash() const override { return CFObjectHashBytes(text.data(), text.size()); }
  std::u16string description() const override {
    std::u16string own(string->text());
    return base ? own + u" -- " + base->description() : own;
  }

  URLParts absoluteParts() const {
    URLParts parts = URLParts::parse(text);
    return base ? resolve(parts, base->absoluteParts()) : parts;
  }

  std::string text;
  CFURLRef base;
  CFStringRef string;
};

namespace {

std::string currentDirectory() {
  std::vector<char> buffer(4096);
  while (!getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE || buffer.size() > (1u << 20)) return "/";
    buffer.resize(buffer.size() * 2);
  }
  return buffer.data();
}

CFURLRef createFileURL(std::string path, bool isDirectory) {
  if (isDirectory && (path.empty() || path.back() != '/')) path += '/';
  if (!path.empty() && path[0] == '/')
    return new __CFURL("file://" + percentEncodePath(path), nullptr);
  CFURLRef base = createFileURL(currentDirectory(), true);
  CFURLRef url = new __CFURL(percentEncodePath(path), base);
  CFRelease(base);
  return url;
}

// The URL with its path replaced, keeping its scheme and authority.
CFURLRef withPath(CFURLRef url, const std::string& path) {
  URLParts parts = URLParts::parse(url->text);
  parts.path = path;
  parts.rest.clear();
  return new __CFURL(parts.join(), url->base);
}

std::string fileSystemPath(CFURLRef url, bool resolveAgainstBase) {
  URLParts parts = resolveAgainstBase ? url->absoluteParts() : URLParts::parse(url->text);
  std::string path = percentDecode(parts.path);
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

bool isFileURL(const URLParts& parts) { return parts.scheme == "file" && !parts.path.empty(); }

void setError(SInt32* errorCode, SInt32 value) {
  if (errorCode) *errorCode = value;
}

SInt32 errorOfErrno() {
  if (errno == ENOENT || errno == ENOTDIR) return kCFURLResourceNotFoundError;
  if (errno == EACCES || errno == EPERM || errno == ELOOP || errno == EROFS)
    return kCFURLResourceAccessViolationError;
  return kCFURLUnknownError;
}

// Files larger than this are not read into memory.
constexpr size_t kMaximumResourceSize = size_t(256) << 20;

bool readFile(const std::string& path, std::vector<UInt8>& bytes, SInt32* errorCode) {
  switch (RegularFileReader::Read(path, kMaximumResourceSize, bytes)) {
    case RegularFileReader::kRead:
      return true;
    case RegularFileReader::kCannotOpen:
      setError(errorCode, errorOfErrno());
      return false;
    case RegularFileReader::kNotRegular:
    case RegularFileReader::kTooLarge:
      setError(errorCode, kCFURLResourceAccessViolationError);
      return false;
    case RegularFileReader::kReadFailed:
      break;
  }
  setError(errorCode, kCFURLUnknownError);
  return false;
}

SInt32 errorOfWrite(int error) {
  errno = error;
  return error == ELOOP ? kCFURLResourceAccessViolationError : errorOfErrno();
}

bool writeFile(const std::string& path, const UInt8* bytes, size_t length, SInt32* errorCode) {
  int error = CFURLFileReplace::Write(path, bytes, length);
  if (error != 0) setError(errorCode, errorOfWrite(error));
  return error == 0;
}

// A directory URL names a folder to create, as on the platform; its parent must exist.
bool createFolder(const std::string& path, SInt32* errorCode) {
  if (mkdir(path.c_str(), 0777) == 0) return true;
  setError(errorCode, errorOfErrno());
  return false;
}

}  // namespace

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef filePath,
                                       CFURLPathStyle pathStyle, Boolean isDirectory) {
  if (!filePath || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  std::string path = __CFString::utf8Of(filePath);
  if (path.empty()) return nullptr;
  return createFileURL(path, isDirectory);
}

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* buffer,
                                                 CFIndex bufferLength, Boolean isDirectory) {
  if (!buffer || bufferLength <= 0) return nullptr;
  std::string path(reinterpret_cast<const char*>(buffer), static_cast<size_t>(bufferLength));
  path.resize(std::strlen(path.c_str()));
  return path.empty() ? nullptr : createFileURL(path, isDirectory);
}

CFURLRef CFURLCreateWithString(CFAllocatorRef, CFStringRef URLString, CFURLRef baseURL) {
  if (!URLString) return nullptr;
  std::string text = __CFString::utf8Of(URLString);
  if (text.empty()) return nullptr;
  for (unsigned char c : text)
    if (c <= ' ' || c == 0x7F) return nullptr;
  return new __CFURL(text, baseURL);
}

CFURLRef CFURLCopyAbsoluteURL(CFURLRef url) {
  if (!url) return nullptr;
  if (!url->base) return static_cast<CFURLRef>(CFRetain(url));
  return new __CFURL(url->absoluteParts().join(), nullptr);
}

CFStringRef CFURLGetString(CFURLRef url) { return url ? url->string : nullptr; }

CFStringRef CFURLCopyScheme(CFURLRef url) {
  if (!url) return nullptr;
  URLParts parts = url->absoluteParts();
  return parts.scheme.empty() ? nullptr : __CFString::createFromUTF8(parts.scheme);
}

CFStringRef CFURLCopyHostName(CFURLRef url) {
  if (!url) return nullptr;
  std::string host = url->absoluteParts().host();
  return host.empty() ? nullptr : __CFString::createFromUTF8(percentDecode(host));
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle pathStyle) {
  if (!url || pathStyle != kCFURLPOSIXPathStyle) return nullptr;
  return __CFString::createFromUTF8(fileSystemPath(url, false));
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer,
                                         CFIndex maxBufferLength) {
  if (!url || !buffer || maxBufferLength <= 0) return false;
  std::string path = fileSystemPath(url, resolveAgainstBase);
  if (path.empty() || static_cast<CFIndex>(path.size()) >= maxBufferLength) return false;
  std::memcpy(buffer, path.c_str(), path.size() + 1);
  return true;
}

CFURLRef CFURLCreateCopyAppendingPathComponent(CFAllocatorRef, CFURLRef url,
                                               CFStringRef pathComponent, Boolean isDirectory) {
  if (!url || !pathComponent) return nullptr;
  std::string path = URLParts::parse(url->text).path;
  if (path.empty() || path.back() != '/') path += '/';
  path += percentEncodePath(__CFString::utf8Of(pathComponent));
  if (isDirectory && path.back() != '/') path += '/';
  return withPath(url, path);
}

Boolean CFURLCreateDataAndPropertiesFromResource(CFAllocatorRef allocator, CFURLRef url,
                                                 CFDataRef* resourceData,
                                                 CFDictionaryRef* properties, CFArrayRef,
                                                 SInt32* errorCode) {
  setError(errorCode, 0);
  if (properties) *properties = nullptr;
  if (resourceData) *resourceData = nullptr;
  if (!url) {
    setError(errorCode, kCFURLImproperArgumentsError);
    return false;
  }
  if (!isFileURL(url->absoluteParts())) {
    setError(errorCode, kCFURLUnknownSchemeError);
    return false;
  }
  std::vector<UInt8> bytes;
  if (!readFile(fileSystemPath(url, true), bytes, errorCode)) return false;
  if (resourceData)
    *resourceData = CFDataCreate(allocator, bytes.data(), static_cast<CFIndex>(bytes.size()));
  return true;
}

Boolean CFURLWriteDataAndPropertiesToResource(CFURLRef url, CFDataRef dataToWrite, CFDictionaryRef,
                                              SInt32* errorCode) {
  setError(errorCode, 0);
  if (!url || !dataToWrite) {
    setError(errorCode, kCFURLImproperArgumentsError);
    return false;
  }
  URLParts parts = url->absoluteParts();
  if (!isFileURL(parts)) {
    setError(errorCode, kCFURLUnknownSchemeError);
    return false;
  }
  std::string path = fileSystemPath(url, true);
  if (parts.path.back() == '/') return createFolder(path, errorCode);
  return writeFile(path, CFDataGetBytePtr(dataToWrite),
                   static_cast<size_t>(CFDataGetLength(dataToWrite)), errorCode);
}
