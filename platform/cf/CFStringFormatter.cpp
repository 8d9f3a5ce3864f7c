#include "cf/CFStringFormatter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "cf/CFCharacters.h"
#include "cf/CFObject.h"
#include "cf/CFStringObject.h"

namespace {

struct Conversion {
  std::string flags;
  int width = -1;
  int precision = -1;
  std::string length;
  char16_t kind = 0;
};

std::u16string widen(const std::string& bytes) {
  return __CFString::textFromUTF8(bytes.data(), bytes.size());
}

template <typename Value>
std::string printNarrow(const Conversion& conversion, const std::string& lengthModifier,
                        Value value) {
  std::string narrowFormat = "%" + conversion.flags;
  if (conversion.width >= 0) narrowFormat += std::to_string(conversion.width);
  if (conversion.precision >= 0) narrowFormat += "." + std::to_string(conversion.precision);
  narrowFormat += lengthModifier;
  narrowFormat += static_cast<char>(conversion.kind);
  int size = std::snprintf(nullptr, 0, narrowFormat.c_str(), value);
  if (size <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(size) + 1);
  std::snprintf(buffer.data(), buffer.size(), narrowFormat.c_str(), value);
  return std::string(buffer.data(), static_cast<size_t>(size));
}

std::u16string pad(std::u16string text, const Conversion& conversion) {
  if (conversion.width < 0 || text.size() >= static_cast<size_t>(conversion.width)) return text;
  std::u16string padding(static_cast<size_t>(conversion.width) - text.size(), u' ');
  bool left = conversion.flags.find('-') != std::string::npos;
  return left ? text + padding : padding + text;
}

std::u16string describe(CFTypeRef object) {
  return object ? CFObject::from(object)->description() : u"(null)";
}

std::u16string formatSigned(const Conversion& conversion, va_list& arguments) {
  const std::string& length = conversion.length;
  if (length == "l") return widen(printNarrow(conversion, "l", va_arg(arguments, long)));
  if (length == "ll" || length == "q")
    return widen(printNarrow(conversion, "ll", va_arg(arguments, long long)));
  if (length == "z" || length == "t")
    return widen(printNarrow(conversion, "t", va_arg(arguments, ptrdiff_t)));
  if (length == "j") return widen(printNarrow(conversion, "j", va_arg(arguments, intmax_t)));
  int value = va_arg(arguments, int);
  if (length == "h") value = static_cast<short>(value);
  if (length == "hh") value = static_cast<signed char>(value);
  return widen(printNarrow(conversion, "", value));
}

std::u16string formatUnsigned(const Conversion& conversion, va_list& arguments) {
  const std::string& length = conversion.length;
  if (length == "l") return widen(printNarrow(conversion, "l", va_arg(arguments, unsigned long)));
  if (length == "ll" || length == "q")
    return widen(printNarrow(conversion, "ll", va_arg(arguments, unsigned long long)));
  if (length == "z" || length == "t")
    return widen(printNarrow(conversion, "z", va_arg(arguments, size_t)));
  if (length == "j") return widen(printNarrow(conversion, "j", va_arg(arguments, uintmax_t)));
  unsigned value = va_arg(arguments, unsigned);
  if (length == "h") value = static_cast<unsigned short>(value);
  if (length == "hh") value = static_cast<unsigned char>(value);
  return widen(printNarrow(conversion, "", value));
}

std::u16string formatFloating(const Conversion& conversion, va_list& arguments) {
  if (conversion.length == "L")
    return widen(printNarrow(conversion, "L", va_arg(arguments, long double)));
  return widen(printNarrow(conversion, "", va_arg(arguments, double)));
}

std::u16string formatUnicodeText(const Conversion& conversion, va_list& arguments) {
  const char16_t* units = reinterpret_cast<const char16_t*>(va_arg(arguments, const UniChar*));
  std::u16string text = units ? std::u16string(units) : u"(null)";
  if (conversion.precision >= 0 && text.size() > static_cast<size_t>(conversion.precision))
    text.resize(static_cast<size_t>(conversion.precision));
  return pad(text, conversion);
}

std::u16string formatConversion(const Conversion& conversion, va_list& arguments) {
  switch (conversion.kind) {
    case u'd':
    case u'i':
      return formatSigned(conversion, arguments);
    case u'u':
    case u'o':
    case u'x':
    case u'X':
      return formatUnsigned(conversion, arguments);
    case u'f':
    case u'F':
    case u'e':
    case u'E':
    case u'g':
    case u'G':
    case u'a':
    case u'A':
      return formatFloating(conversion, arguments);
    case u'c':
      return widen(printNarrow(conversion, "", va_arg(arguments, int)));
    case u'C':
      return pad(std::u16string(1, static_cast<char16_t>(va_arg(arguments, int))), conversion);
    case u's':
      return widen(printNarrow(conversion, "", va_arg(arguments, const char*)));
    case u'S':
      return formatUnicodeText(conversion, arguments);
    case u'p':
      return widen(printNarrow(conversion, "", va_arg(arguments, void*)));
    case u'@':
      return pad(describe(va_arg(arguments, CFTypeRef)), conversion);
    case u'%':
      return u"%";
    default:
      return std::u16string();
  }
}

// Reads a width or precision: digits, or "*" for the next argument.
int readCount(std::u16string_view format, size_t& i, va_list& arguments) {
  if (i < format.size() && format[i] == u'*') {
    ++i;
    return va_arg(arguments, int);
  }
  int count = 0;
  while (i < format.size() && CFIsASCIIDigit(format[i]) && count < 100000)
    count = count * 10 + (format[i++] - u'0');
  return count;
}

// Parses the conversion that starts after a "%"; false when the format ends inside it.
bool parseConversion(std::u16string_view format, size_t& i, va_list& arguments,
                     Conversion& conversion) {
  static const std::u16string flags = u"-+ #0'";
  while (i < format.size() && flags.find(format[i]) != std::u16string::npos)
    conversion.flags += static_cast<char>(format[i++]);
  if (i < format.size() && (CFIsASCIIDigit(format[i]) || format[i] == u'*')) {
    conversion.width = readCount(format, i, arguments);
    if (conversion.width < 0) {
      conversion.flags += '-';
      conversion.width = -conversion.width;
    }
  }
  if (i < format.size() && format[i] == u'.') {
    ++i;
    conversion.precision = readCount(format, i, arguments);
  }
  static const std::u16string lengths = u"hlqLztj";
  while (i < format.size() && lengths.find(format[i]) != std::u16string::npos)
    conversion.length += static_cast<char>(format[i++]);
  if (i >= format.size()) return false;
  conversion.kind = format[i++];
  return true;
}

}  // namespace

std::u16string CFStringFormatter::format(std::u16string_view format, va_list arguments) {
  va_list cursor;
  va_copy(cursor, arguments);
  std::u16string text;
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] != u'%') {
      text += format[i++];
      continue;
    }
    ++i;
    Conversion conversion;
    if (!parseConversion(format, i, cursor, conversion)) break;
    text += formatConversion(conversion, cursor);
  }
  va_end(cursor);
  return text;
}
