#pragma once
// The dialog keeps the texts it exchanges with the job-properties application
// as wide-character texts (one Unicode character each); the tickets and the
// job take them as UTF-8.

#include <string>

// False, with an empty result, for a character outside Unicode (or a
// surrogate half).
bool UTF8FromWide(const std::wstring& text, std::string& utf8);
// False, with an empty result, for bytes that are not UTF-8.
bool WideFromUTF8(const std::string& utf8, std::wstring& text);

// The lenient forms for texts another process wrote or that must always
// travel: what is not Unicode becomes U+FFFD instead of failing.
std::wstring WideFromUTF8Replacing(const char* bytes, size_t length);
std::string UTF8FromWideReplacing(const wchar_t* text);
