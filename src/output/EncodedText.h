#pragma once
// UTF-8 text in another encoding of the platform's text services, for texts
// that the controller reads in its own language's encoding.

#include <string>

#include "carbon/TextCommon.h"

// Mac Japanese as the controller's Japanese texts name it.
constexpr TextEncodingVariant kControllerJapaneseVariant = 4;

// The text in the encoding; false, leaving `converted` empty, when the text is
// not UTF-8 or holds a character the encoding lacks.
bool ConvertFromUTF8(const std::string& text, TextEncoding encoding, std::string& converted);

// The encoding in which the controller of that server language reads job
// texts; false for a language whose texts stay UTF-8. Western European
// languages read ISO Latin 1, "ja" Mac Japanese.
bool ControllerTextEncoding(const std::string& language, TextEncoding& encoding);

// The localized "ServerLanguage" of the plug-in's bundle ("" without one).
std::string ServerLanguage();
