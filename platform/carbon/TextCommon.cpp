#include "carbon/TextCommon.h"

#include "carbon/MacErrors.h"

namespace {
// The highest of the Mac script codes, each of which is also its encoding's base.
constexpr ScriptCode kLastMacScript = 32;
}  // namespace

TextEncoding GetApplicationTextEncoding() { return kTextEncodingUTF8; }

const char* TextEncodingCharacterSet(TextEncodingBase base) {
  switch (base) {
    case kTextEncodingMacRoman:
      return "MACINTOSH";
    case kTextEncodingISOLatin1:
      return "ISO-8859-1";
    case kTextEncodingISOLatin2:
      return "ISO-8859-2";
    case kTextEncodingISOLatin5:
      return "ISO-8859-9";
    case kTextEncodingWindowsLatin1:
      return "CP1252";
    case kTextEncodingWindowsLatin2:
      return "CP1250";
    case kTextEncodingUS_ASCII:
      return "ASCII";
    case kTextEncodingShiftJIS:
    case kTextEncodingMacJapanese:
      return "CP932";
    default:
      return nullptr;
  }
}

TextEncoding CreateTextEncoding(TextEncodingBase base, TextEncodingVariant variant,
                                TextEncodingFormat format) {
  return (base & 0xFFFF) | ((variant & 0x3FF) << 16) | ((format & 0x3F) << 26);
}

TextEncodingBase GetTextEncodingBase(TextEncoding encoding) { return encoding & 0xFFFF; }

TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding) { return (encoding >> 26) & 0x3F; }

OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode textScriptID, LangCode, RegionCode,
                                         ConstStr255Param, TextEncoding* encoding) {
  if (!encoding) return paramErr;
  bool systemText = textScriptID == smSystemScript || textScriptID == smCurrentScript ||
                    textScriptID == kTextScriptDontCare;
  if (systemText) {
    *encoding = GetApplicationTextEncoding();
    return noErr;
  }
  if (textScriptID < 0 || textScriptID > kLastMacScript) return paramErr;
  *encoding = CreateTextEncoding(static_cast<TextEncodingBase>(textScriptID),
                                 kTextEncodingDefaultVariant, kTextEncodingDefaultFormat);
  return noErr;
}
