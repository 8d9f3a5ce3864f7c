#pragma once
// Text encodings as the platform's text services name them: a base encoding,
// a variant and a format packed into one 32-bit value. The Unicode encodings
// share their values with the platform strings' encodings, so UTF-8 is
// 0x08000100 in both.

#include "carbon/MacTypes.h"

typedef UInt32 TextEncodingBase;
typedef UInt32 TextEncodingVariant;
typedef UInt32 TextEncodingFormat;

enum : TextEncodingBase {
  kTextEncodingMacRoman = 0,
  kTextEncodingMacJapanese = 1,
  kTextEncodingUnicodeDefault = 0x100,
  kTextEncodingISOLatin1 = 0x201,
  kTextEncodingISOLatin2 = 0x202,
  kTextEncodingISOLatin5 = 0x209,
  kTextEncodingWindowsLatin1 = 0x500,
  kTextEncodingWindowsLatin2 = 0x501,
  kTextEncodingUS_ASCII = 0x600,
  kTextEncodingShiftJIS = 0xA01,
};

enum : TextEncodingVariant { kTextEncodingDefaultVariant = 0 };

enum : TextEncodingFormat {
  kTextEncodingDefaultFormat = 0,
  kUnicode16BitFormat = 0,
  kUnicodeUTF7Format = 1,
  kUnicodeUTF8Format = 2,
  kUnicode32BitFormat = 3,
};

enum : TextEncoding { kTextEncodingUTF8 = 0x08000100 };

enum : ScriptCode {
  smRoman = 0,
  smJapanese = 1,
  smSystemScript = -1,
  smCurrentScript = -2,
  smAllScripts = -3,
  kTextScriptDontCare = -128,
};
enum : LangCode { kTextLanguageDontCare = -128 };
enum : RegionCode { kTextRegionDontCare = -128 };

// The encoding in which this port's applications exchange 8-bit text: UTF-8.
TextEncoding GetApplicationTextEncoding();

// The C library's (iconv) name of the character set of an 8-bit or Japanese
// encoding base, or null for the Unicode forms and unknown bases. Shift_JIS and
// Mac Japanese use the Windows form of Shift_JIS: it keeps the 7-bit range ASCII
// both ways (plain Shift_JIS reads 0x5C as a yen sign but writes a backslash as
// 0x5C) and knows the vendor characters that PPDs written on Windows contain.
const char* TextEncodingCharacterSet(TextEncodingBase base);

TextEncoding CreateTextEncoding(TextEncodingBase base, TextEncodingVariant variant,
                                TextEncodingFormat format);
TextEncodingBase GetTextEncodingBase(TextEncoding encoding);
TextEncodingFormat GetTextEncodingFormat(TextEncoding encoding);

// The encoding of a script: the system and current scripts, and "don't care",
// are UTF-8 on this port; a Mac script code gives its Mac encoding. Language,
// region and font name do not refine it here. paramErr for a script code
// outside the Mac scripts, or a null result pointer.
OSStatus UpgradeScriptInfoToTextEncoding(ScriptCode textScriptID, LangCode textLanguageID,
                                         RegionCode regionID, ConstStr255Param textFontname,
                                         TextEncoding* encoding);
