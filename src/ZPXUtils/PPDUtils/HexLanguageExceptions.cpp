#include "ZPXUtils/PPDUtils/HexLanguageExceptions.h"

HexLanguageExceptions::HexLanguageExceptions()
    : mLanguages{"Japanese",   "ChineseTrad", "ChineseSimp", "Chinese", "Korean",    "Czech",
                 "Russian",    "Bulg",        "Estonian",    "Greek",   "Hungarian", "Latvian",
                 "Lithuanian", "Polish",      "Romanian",    "Slovak",  "Slovenian"} {}

bool HexLanguageExceptions::IsException(const std::string& language) const {
  return mLanguages.count(language) != 0;
}
