#include "TranslationText.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CFText.h"

namespace zpxtool {

TranslationText::TranslationText(const char* languageEncoding)
    : mEncoding(kCFStringEncodingISOLatin1) {
  static const struct {
    const char* name;
    CFStringEncoding encoding;
  } kEncodings[] = {{"UTF-8", kCFStringEncodingUTF8},
                    {"ISOLatin2", kCFStringEncodingISOLatin2},
                    {"ISOLatin5", kCFStringEncodingISOLatin5},
                    {"WindowsANSI", kCFStringEncodingWindowsLatin1}};
  for (const auto& entry : kEncodings) {
    if (languageEncoding != nullptr && std::strcmp(languageEncoding, entry.name) == 0)
      mEncoding = entry.encoding;
  }
}

std::string TranslationText::Of(CFStringRef name) const {
  if (name == nullptr) return "";
  const CFIndex length = CFStringGetLength(name);
  std::vector<UInt8> bytes(size_t(CFStringGetMaximumSizeForEncoding(length, mEncoding)) + 1);
  CFIndex used = 0;
  CFStringGetBytes(name, CFRangeMake(0, length), mEncoding, '?', false, bytes.data(),
                   CFIndex(bytes.size()), &used);
  return Escaped(std::string(reinterpret_cast<const char*>(bytes.data()), size_t(used)));
}

std::string TranslationText::OfUTF8(const std::string& name) const {
  CFRef<CFStringRef> text(CreateText(name));
  return Of(text.get());
}

bool TranslationText::StartsCharacter(unsigned char byte) const {
  return mEncoding != kCFStringEncodingUTF8 || (byte & 0xC0) != 0x80;
}

std::string TranslationText::Escaped(const std::string& bytes) const {
  std::string text;
  size_t kept = 0;
  for (size_t at = 0; at < bytes.size(); ++at) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    // A character that would pass the limit goes whole, with what follows.
    if (kept >= kMaxBytes && StartsCharacter(byte)) break;
    if (kept >= kMaxBytes) {
      while (!text.empty() && !StartsCharacter(static_cast<unsigned char>(text.back())))
        text.pop_back();
      if (!text.empty()) text.pop_back();
      break;
    }
    ++kept;
    if (byte < 0x20 || byte == 0x7F || std::strchr(":<>\"", byte) != nullptr) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "<%02X>", byte);
      text += hex;
    } else {
      text += char(byte);
    }
  }
  return text;
}

}  // namespace zpxtool
