#include "output/EncodedText.h"

#include "carbon/TextEncodingConverter.h"
#include "plugin/PDEBundle.h"

namespace {

constexpr long kLanguageSize = 64;

}  // namespace

bool ConvertFromUTF8(const std::string& text, TextEncoding encoding, std::string& converted) {
  converted.clear();
  if (text.empty()) return true;
  TECObjectRef converter = nullptr;
  if (TECCreateConverter(&converter, kTextEncodingUTF8, encoding) != noErr) return false;
  // No 8-bit or Japanese encoding takes more bytes than UTF-8 for a character.
  std::string output(text.size(), '\0');
  ByteCount read = 0, written = 0;
  const OSStatus status =
      TECConvertText(converter, reinterpret_cast<ConstTextPtr>(text.data()), text.size(), &read,
                     reinterpret_cast<TextPtr>(&output[0]), output.size(), &written);
  TECDisposeConverter(converter);
  if (status != noErr || read != text.size()) return false;
  output.resize(written);
  converted = output;
  return true;
}

bool ControllerTextEncoding(const std::string& language, TextEncoding& encoding) {
  if (language == "ja") {
    encoding = CreateTextEncoding(kTextEncodingMacJapanese, kControllerJapaneseVariant,
                                  kTextEncodingDefaultFormat);
    return true;
  }
  for (const char* western : {"en", "fr", "it", "de", "es"}) {
    if (language == western) {
      encoding = kTextEncodingISOLatin1;
      return true;
    }
  }
  return false;
}

std::string ServerLanguage() {
  char language[kLanguageSize];
  PDEBundle::GetLocalizedString(CFSTR("ServerLanguage"), language, sizeof language);
  return language;
}
