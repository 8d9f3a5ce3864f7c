#include "cf/CFString.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "cf/CFCharacters.h"
#include "cf/CFRangeClip.h"
#include "cf/CFStringEncodingConverter.h"
#include "cf/CFStringFormatter.h"
#include "cf/CFStringObject.h"

std::u16string_view __CFString::textOf(CFStringRef string) {
  return string ? string->text() : std::u16string_view();
}

__CFString* __CFString::create(std::u16string_view text) {
  void* block = ::operator new(sizeof(__CFString) + text.size() * sizeof(char16_t));
  __CFString* string = ::new (block) __CFString(text.size());
  std::copy(text.begin(), text.end(), string->units());
  return string;
}

CFMutableStringRef __CFString::createMutable(std::u16string text) {
  return ::new __CFString(std::move(text));
}

std::string __CFString::utf8Of(CFStringRef string) {
  CFIndex length = CFStringGetLength(string);
  std::string bytes(
      static_cast<size_t>(CFStringEncodingConverter::maximumSize(length, kCFStringEncodingUTF8)),
      '\0');
  CFIndex used = 0;
  CFStringGetBytes(string, CFRangeMake(0, length), kCFStringEncodingUTF8, '?', false,
                   reinterpret_cast<UInt8*>(&bytes[0]), static_cast<CFIndex>(bytes.size()), &used);
  bytes.resize(static_cast<size_t>(used));
  return bytes;
}

std::u16string __CFString::textFromUTF8(const char* bytes, size_t length) {
  const UInt8* data = reinterpret_cast<const UInt8*>(bytes);
  std::u16string text;
  if (CFStringEncodingConverter::decode(data, length, kCFStringEncodingUTF8, false, text))
    return text;
  text.clear();
  CFStringEncodingConverter::decode(data, length, kCFStringEncodingISOLatin1, false, text);
  return text;
}

CFStringRef __CFString::createFromUTF8(const std::string& bytes) {
  return create(textFromUTF8(bytes.data(), bytes.size()));
}

namespace {

bool decode(const UInt8* bytes, size_t length, CFStringEncoding encoding, bool external,
            std::u16string& text) {
  return CFStringEncodingConverter::decode(bytes, length, encoding, external, text);
}

bool isWhiteSpace(char16_t unit) {
  return unit == u' ' || (unit >= u'\t' && unit <= u'\r') || unit == 0xA0;
}

// The ASCII text of the leading number of a string, after optional white space.
std::string leadingNumber(std::u16string_view text, bool withFraction) {
  size_t i = 0;
  while (i < text.size() && isWhiteSpace(text[i])) ++i;
  std::string number;
  auto take = [&](auto accepts) {
    while (i < text.size() && accepts(text[i])) number += static_cast<char>(text[i++]);
  };
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
    number += static_cast<char>(text[i++]);
  take(CFIsASCIIDigit);
  if (!withFraction) return number;
  if (i < text.size() && text[i] == u'.') {
    number += '.';
    ++i;
    take(CFIsASCIIDigit);
  }
  bool hasMantissa = number.find_first_of("0123456789") != std::string::npos;
  size_t exponent =
      i + 1 < text.size() && (text[i + 1] == u'-' || text[i + 1] == u'+') ? i + 2 : i + 1;
  if (hasMantissa && i < text.size() && (text[i] == u'e' || text[i] == u'E') &&
      exponent < text.size() && CFIsASCIIDigit(text[exponent])) {
    number += 'e';
    ++i;
    if (text[i] == u'-' || text[i] == u'+') number += static_cast<char>(text[i++]);
    take(CFIsASCIIDigit);
  }
  return hasMantissa ? number : std::string();
}

}  // namespace

CFStringRef __CFStringMakeConstantString(const char* text) {
  static std::mutex lock;
  // Never destroyed: constants outlive every other object.
  static auto* constants = new std::unordered_map<std::string, CFStringRef>();
  std::lock_guard<std::mutex> guard(lock);
  CFStringRef& constant = (*constants)[text];
  if (!constant) {
    __CFString* string = __CFString::create(__CFString::textFromUTF8(text, std::strlen(text)));
    string->makeConstant();
    constant = string;
  }
  return constant;
}

CFTypeID CFStringGetTypeID() { return kCFObjectTypeString; }

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                      CFStringEncoding encoding) {
  if (!text) return nullptr;
  return CFStringCreateWithBytes(allocator, reinterpret_cast<const UInt8*>(text),
                                 static_cast<CFIndex>(std::strlen(text)), encoding, false);
}

CFStringRef CFStringCreateWithBytes(CFAllocatorRef, const UInt8* bytes, CFIndex length,
                                    CFStringEncoding encoding, Boolean isExternalRepresentation) {
  if (length < 0 || (!bytes && length > 0)) return nullptr;
  std::u16string text;
  if (length > 0 &&
      !decode(bytes, static_cast<size_t>(length), encoding, isExternalRepresentation, text))
    return nullptr;
  return __CFString::create(text);
}

CFStringRef CFStringCreateWithCharacters(CFAllocatorRef, const UniChar* characters,
                                         CFIndex length) {
  if (!characters || length <= 0) return __CFString::create(std::u16string_view());
  return __CFString::create(std::u16string_view(reinterpret_cast<const char16_t*>(characters),
                                                static_cast<size_t>(length)));
}

CFStringRef CFStringCreateWithSubstring(CFAllocatorRef, CFStringRef text, CFRange range) {
  std::u16string_view units = __CFString::textOf(text);
  CFRange clipped = CFRangeClip(range, static_cast<CFIndex>(units.size()));
  return __CFString::create(
      units.substr(static_cast<size_t>(clipped.location), static_cast<size_t>(clipped.length)));
}

CFStringRef CFStringCreateCopy(CFAllocatorRef, CFStringRef text) {
  if (text && !text->isMutable) return static_cast<CFStringRef>(CFRetain(text));
  return __CFString::create(__CFString::textOf(text));
}

CFStringRef CFStringCreateWithFormat(CFAllocatorRef allocator, CFDictionaryRef formatOptions,
                                     CFStringRef format, ...) {
  va_list arguments;
  va_start(arguments, format);
  CFStringRef result =
      CFStringCreateWithFormatAndArguments(allocator, formatOptions, format, arguments);
  va_end(arguments);
  return result;
}

CFStringRef CFStringCreateWithFormatAndArguments(CFAllocatorRef, CFDictionaryRef,
                                                 CFStringRef format, va_list arguments) {
  if (!format) return nullptr;
  return __CFString::create(CFStringFormatter::format(format->text(), arguments));
}

CFMutableStringRef CFStringCreateMutableCopy(CFAllocatorRef, CFIndex, CFStringRef text) {
  return __CFString::createMutable(std::u16string(__CFString::textOf(text)));
}

CFIndex CFStringGetLength(CFStringRef text) {
  return static_cast<CFIndex>(__CFString::textOf(text).size());
}

UniChar CFStringGetCharacterAtIndex(CFStringRef text, CFIndex index) {
  std::u16string_view units = __CFString::textOf(text);
  return index >= 0 && index < static_cast<CFIndex>(units.size())
             ? units[static_cast<size_t>(index)]
             : 0;
}

Boolean CFStringGetCString(CFStringRef text, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding) {
  if (!buffer || bufferSize <= 0) return false;
  std::u16string_view units = __CFString::textOf(text);
  auto result =
      CFStringEncodingConverter::encode(units.data(), static_cast<CFIndex>(units.size()), encoding,
                                        0, false, reinterpret_cast<UInt8*>(buffer), bufferSize - 1);
  bool complete = text && result.unitsConverted == static_cast<CFIndex>(units.size());
  buffer[complete ? result.bytesUsed : 0] = '\0';
  return complete;
}

CFIndex CFStringGetBytes(CFStringRef text, CFRange range, CFStringEncoding encoding, UInt8 lossByte,
                         Boolean isExternalRepresentation, UInt8* buffer, CFIndex maxBufferLength,
                         CFIndex* usedBufferLength) {
  std::u16string_view units = __CFString::textOf(text);
  CFRange clipped = CFRangeClip(range, static_cast<CFIndex>(units.size()));
  auto result = CFStringEncodingConverter::encode(units.data() + clipped.location, clipped.length,
                                                  encoding, lossByte, isExternalRepresentation,
                                                  buffer, buffer ? maxBufferLength : 0);
  if (usedBufferLength) *usedBufferLength = result.bytesUsed;
  return result.unitsConverted;
}

CFIndex CFStringGetMaximumSizeForEncoding(CFIndex length, CFStringEncoding encoding) {
  return CFStringEncodingConverter::maximumSize(length, encoding);
}

SInt32 CFStringGetIntValue(CFStringRef text) {
  std::string number = leadingNumber(__CFString::textOf(text), false);
  bool negative = !number.empty() && number[0] == '-';
  long long value = 0;
  for (char digit : number) {
    if (digit < '0' || digit > '9') continue;
    value = std::min<long long>(value * 10 + (digit - '0'), 1LL + INT_MAX);
  }
  if (negative) return static_cast<SInt32>(std::max<long long>(-value, INT_MIN));
  return static_cast<SInt32>(std::min<long long>(value, INT_MAX));
}

double CFStringGetDoubleValue(CFStringRef text) {
  std::string number = leadingNumber(__CFString::textOf(text), true);
  if (number.empty()) return 0.0;
  bool negative = number[0] == '-';
  if (number[0] == '-' || number[0] == '+') number.erase(0, 1);
  if (number[0] == '.') number.insert(0, "0");
  double value = 0.0;
  std::from_chars(number.data(), number.data() + number.size(), value);
  return negative ? -value : value;
}

void CFStringAppend(CFMutableStringRef text, CFStringRef appended) {
  if (text && text->isMutable) text->editableText() += __CFString::textOf(appended);
}

CFDataRef CFStringCreateExternalRepresentation(CFAllocatorRef allocator, CFStringRef text,
                                               CFStringEncoding encoding, UInt8 lossByte) {
  std::u16string_view units = __CFString::textOf(text);
  CFIndex length = static_cast<CFIndex>(units.size());
  CFIndex size = CFStringEncodingConverter::maximumSize(length, encoding);
  if (!text || size < 0) return nullptr;
  std::vector<UInt8> bytes(static_cast<size_t>(size) + 4);
  auto result = CFStringEncodingConverter::encode(units.data(), length, encoding, lossByte, true,
                                                  bytes.data(), static_cast<CFIndex>(bytes.size()));
  if (result.unitsConverted != length) return nullptr;
  return CFDataCreate(allocator, bytes.data(), result.bytesUsed);
}

CFStringRef CFStringCreateFromExternalRepresentation(CFAllocatorRef allocator, CFDataRef data,
                                                     CFStringEncoding encoding) {
  if (!data) return nullptr;
  return CFStringCreateWithBytes(allocator, CFDataGetBytePtr(data), CFDataGetLength(data), encoding,
                                 true);
}

CFStringEncoding CFStringGetSystemEncoding() { return kCFStringEncodingUTF8; }

CFStringEncoding CFStringGetMostCompatibleMacStringEncoding(CFStringEncoding encoding) {
  switch (encoding) {
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingMacJapanese:
    case kCFStringEncodingMacCentralEurRoman:
    case kCFStringEncodingMacTurkish:
      return encoding;
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingWindowsLatin1:
    case kCFStringEncodingASCII:
    case kCFStringEncodingNextStepLatin:
    case kCFStringEncodingNonLossyASCII:
      return kCFStringEncodingMacRoman;
    case kCFStringEncodingISOLatin2:
    case kCFStringEncodingWindowsLatin2:
      return kCFStringEncodingMacCentralEurRoman;
    case kCFStringEncodingISOLatin5:
      return kCFStringEncodingMacTurkish;
    case kCFStringEncodingShiftJIS:
      return kCFStringEncodingMacJapanese;
    default:
      break;
  }
  // Every Unicode form has the platform's 16-bit Unicode as its closest match.
  return (encoding & 0x0FFF) == kCFStringEncodingUnicode ? kCFStringEncodingUnicode
                                                         : kCFStringEncodingInvalidId;
}
