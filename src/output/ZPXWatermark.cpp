#include "output/ZPXWatermark.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "output/EncodedText.h"
#include "output/PrintfText.h"

namespace {

// The description's fields, counted from 1.
enum Field {
  kXField = 1,
  kYField = 2,
  kRedField = 3,
  kGreenField = 4,
  kBlueField = 5,
  kFirstPageField = 7,
  kAngleField = 9,
  kFontSizeField = 12,
  kFontNameField = 13,
  kTextField = 14,
};

constexpr long kLandscape = 2;
constexpr long kReverseLandscape = 4;

// The description split at commas, runs of commas counting as one.
std::vector<std::string> Fields(const std::string& description) {
  std::vector<std::string> fields{""};  // fields count from 1
  size_t start = 0;
  while (start <= description.size()) {
    size_t comma = description.find(',', start);
    if (comma == std::string::npos) comma = description.size();
    if (comma > start) fields.push_back(description.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

std::string FieldText(const std::vector<std::string>& fields, Field field) {
  return size_t(field) < fields.size() ? fields[field] : "";
}

long FieldNumber(const std::vector<std::string>& fields, Field field) {
  return std::strtol(FieldText(fields, field).c_str(), nullptr, 10);
}

// At most `size` bytes, never ending inside a UTF-8 character.
std::string CutText(const std::string& text, size_t size) {
  if (text.size() <= size) return text;
  size_t end = size;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// The resource's lines in order; the variant lines are chosen below.
const char* const kHead = "%%%%ZPX Begin Watermark resource\n";
const char* const kLandscapeLines =
    " globaldict /landscapeDoc true  put\n globaldict /invLandscapeDoc false put\n";
const char* const kReverseLandscapeLines =
    " globaldict /landscapeDoc false put\n globaldict /invLandscapeDoc true  put\n";
const char* const kUprightLines =
    " globaldict /landscapeDoc false put\n globaldict /invLandscapeDoc false put\n";
const char* const kFontHead =
    " userdict /ZPXWaterMark\n"
    " {\n"
    " /%s findfont dup length dict begin\n"
    " {1 index /FID ne {def} {pop pop} ifelse} forall\n";
const char* const kReencodedFontEnd =
    " /Encoding ISOLatin1Encoding def currentdict\n"
    " end /%s-ISOLatin1 exch definefont pop\n";
const char* const kPlainFontEnd =
    " end                                                                                \n";
const char* const kWatermarkLine = " userdict begin\n /Watermark <%s> def\n";
const char* const kReencodedFontLine = " /FontSize %d def /Font /%s-ISOLatin1 def\n";
const char* const kPlainFontLine = " /FontSize %d def /Font /%s           def\n";
const char* const kDrawing =
    " /WaterMarkColor {%1.2f %1.2f %1.2f setrgbcolor} bind def\n"
    " /Angle %.1f def\n"
    " globaldict /landscapeDoc get { /Angle Angle 90 add def } if\n"
    " globaldict /invLandscapeDoc get { /Angle Angle -90 add def } if\n"
    " /XOffset %d def\n"
    " /YOffset %d def\n"
    " gsave initgraphics\n"
    " clippath pathbbox\n"
    " /MaxY exch def /MaxX exch def /MinY exch def /MinX exch def\n"
    " MaxX 2 div MinX 2 div add XOffset add\n"
    " MaxY 2 div MinY 2 div add YOffset add translate\n"
    " Angle rotate Font findfont FontSize scalefont setfont WaterMarkColor\n"
    " Watermark stringwidth pop 2 div neg FontSize 3 div neg moveto\n"
    " Watermark show\n"
    " grestore\n"
    " end\n"
    " } bind put\n"
    " globaldict /pageCount 0 put\n";
const char* const kFirstPageLine = " globaldict /waterMarkAllPages false put\n";
const char* const kAllPagesLine = " globaldict /waterMarkAllPages true  put\n";
const char* const kTail =
    " userdict /ZPXDRVRMACOriginalshowpage /showpage load put\n"
    " userdict /showpage\n"
    " {\n"
    " globaldict /pageCount globaldict /pageCount get 1 add put\n"
    " globaldict /pageCount get 1 eq\n"
    " globaldict /waterMarkAllPages get or\n"
    " {\n"
    " userdict /ZPXWaterMark get exec\n"
    " } if\n"
    " userdict /ZPXDRVRMACOriginalshowpage get exec\n"
    " } bind put\n"
    "%%%%ZPX End Watermark resource\n";

const char* OrientationLines(long orientation) {
  if (orientation == kLandscape) return kLandscapeLines;
  if (orientation == kReverseLandscape) return kReverseLandscapeLines;
  return kUprightLines;
}

std::string ResourceTemplate(bool reencodeFont, long orientation, bool firstPageOnly) {
  return std::string(kHead) + OrientationLines(orientation) + kFontHead +
         (reencodeFont ? kReencodedFontEnd : kPlainFontEnd) + kWatermarkLine +
         (reencodeFont ? kReencodedFontLine : kPlainFontLine) + kDrawing +
         (firstPageOnly ? kFirstPageLine : kAllPagesLine) + kTail;
}

}  // namespace

ZPXWatermark::ZPXWatermark(const char* description)
    : mDescription(CutText(description != nullptr ? description : "", kDescriptionSize)) {
  const std::vector<std::string> fields = Fields(mDescription);
  mXOffset = FieldNumber(fields, kXField);
  mYOffset = FieldNumber(fields, kYField);
  mRed = FieldNumber(fields, kRedField);
  mGreen = FieldNumber(fields, kGreenField);
  mBlue = FieldNumber(fields, kBlueField);
  mFirstPageOnly = FieldText(fields, kFirstPageField) == "1";
  mAngle = FieldNumber(fields, kAngleField);
  mFontSize = FieldNumber(fields, kFontSizeField);
  mFontName = CutText(FieldText(fields, kFontNameField), kFontNameSize);
  mText = CutText(FieldText(fields, kTextField), kTextSize);
}

void ZPXWatermark::SetFirstPageOnly(const wchar_t* text) {
  mFirstPageOnly = text != nullptr && std::wcscmp(text, L"True") == 0;
}

const char* ZPXWatermark::GetWMTextInHex() {
  std::string bytes = mText;
  TextEncoding encoding;
  std::string converted;
  // A text the controller's encoding cannot carry goes as the user typed it.
  if (ControllerTextEncoding(ServerLanguage(), encoding) &&
      ConvertFromUTF8(mText, encoding, converted))
    bytes = converted;
  mHexText.clear();
  for (unsigned char byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", byte);
    mHexText += digits;
  }
  return mHexText.c_str();
}

std::string ZPXWatermark::PostScriptResource(long orientation) {
  const bool reencodeFont = ServerLanguage() != "ja";
  GetWMTextInHex();
  return FilledTemplate(reencodeFont, orientation);
}

std::string ZPXWatermark::FilledTemplate(bool reencodeFont, long orientation) const {
  const std::string format = ResourceTemplate(reencodeFont, orientation, mFirstPageOnly);
  const char* font = mFontName.c_str();
  const double red = mRed / 255.0, green = mGreen / 255.0, blue = mBlue / 255.0;
  const double degrees = mAngle / 10.0;
  const int size = int(mFontSize), x = int(mXOffset), y = int(mYOffset);
  if (reencodeFont)
    return PrintfText(format.c_str(), font, font, mHexText.c_str(), size, font, red, green, blue,
                      degrees, x, y);
  return PrintfText(format.c_str(), font, mHexText.c_str(), size, font, red, green, blue, degrees,
                    x, y);
}
