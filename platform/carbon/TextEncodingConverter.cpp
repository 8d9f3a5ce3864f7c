#include "carbon/TextEncodingConverter.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>

#include "carbon/MacErrors.h"
#include "carbon/TextCommon.h"

struct OpaqueTECObjectRef {
  iconv_t descriptor;
  TextEncoding input;
};

namespace {

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

const char* UnicodeCharacterSet(TextEncodingFormat format) {
  switch (format) {
    case kUnicode16BitFormat:
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
      return "UTF-16BE";
#else
      return "UTF-16LE";
#endif
    case kUnicodeUTF8Format:
      return "UTF-8";
    default:
      return nullptr;
  }
}

// The iconv name of an encoding, or null when the encoding is not known. The
// variant bits never change the character set of these encodings.
const char* CharacterSet(TextEncoding encoding) {
  if (GetTextEncodingBase(encoding) == kTextEncodingUnicodeDefault)
    return UnicodeCharacterSet(GetTextEncodingFormat(encoding));
  return TextEncodingCharacterSet(GetTextEncodingBase(encoding));
}

// iconv reports both undecodable input and characters the output lacks as EILSEQ;
// decoding the offending bytes alone tells the two apart.
bool DecodesAt(TextEncoding input, const char* bytes, size_t length) {
  iconv_t decoder = iconv_open("UTF-32", CharacterSet(input));
  if (decoder == kNoDescriptor) return false;
  char decoded[64];
  char* in = const_cast<char*>(bytes);
  size_t inLeft = length < 8 ? length : 8;
  char* out = decoded;
  size_t outLeft = sizeof decoded;
  size_t result = iconv(decoder, &in, &inLeft, &out, &outLeft);
  bool decodes = result != static_cast<size_t>(-1) || errno != EILSEQ || in != bytes;
  iconv_close(decoder);
  return decodes;
}

OSStatus StatusOfFailure(TECObjectRef converter, const char* at, size_t left, size_t written) {
  switch (errno) {
    case E2BIG:
      return written > 0 ? kTECOutputBufferFullStatus : kTECBufferBelowMinimumSizeErr;
    case EINVAL:
      return kTECPartialCharErr;
    default:
      return DecodesAt(converter->input, at, left) ? kTECUnmappableElementErr
                                                   : kTextMalformedInputErr;
  }
}

}  // namespace

OSStatus TECCreateConverter(TECObjectRef* newEncodingConverter, TextEncoding inputEncoding,
                            TextEncoding outputEncoding) {
  if (newEncodingConverter == nullptr) return paramErr;
  *newEncodingConverter = nullptr;
  const char* from = CharacterSet(inputEncoding);
  const char* to = CharacterSet(outputEncoding);
  if (from == nullptr || to == nullptr) return kTextUnsupportedEncodingErr;
  iconv_t descriptor = iconv_open(to, from);
  if (descriptor == kNoDescriptor) return kTextUnsupportedEncodingErr;
  auto* converter = static_cast<TECObjectRef>(std::malloc(sizeof(OpaqueTECObjectRef)));
  if (converter == nullptr) {
    iconv_close(descriptor);
    return memFullErr;
  }
  converter->descriptor = descriptor;
  converter->input = inputEncoding;
  *newEncodingConverter = converter;
  return noErr;
}

OSStatus TECConvertText(TECObjectRef encodingConverter, ConstTextPtr inputBuffer,
                        ByteCount inputBufferLength, ByteCount* actualInputLength,
                        TextPtr outputBuffer, ByteCount outputBufferLength,
                        ByteCount* actualOutputLength) {
  if (encodingConverter == nullptr || actualInputLength == nullptr ||
      actualOutputLength == nullptr || (inputBuffer == nullptr && inputBufferLength > 0) ||
      (outputBuffer == nullptr && outputBufferLength > 0))
    return paramErr;
  char* in = reinterpret_cast<char*>(const_cast<UInt8*>(inputBuffer));
  size_t inLeft = inputBufferLength;
  char* out = reinterpret_cast<char*>(outputBuffer);
  size_t outLeft = outputBufferLength;
  OSStatus status = noErr;
  if (inLeft > 0 &&
      iconv(encodingConverter->descriptor, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1))
    status = StatusOfFailure(encodingConverter, in, inLeft, outputBufferLength - outLeft);
  *actualInputLength = inputBufferLength - inLeft;
  *actualOutputLength = outputBufferLength - outLeft;
  return status;
}

OSStatus TECFlushText(TECObjectRef encodingConverter, TextPtr outputBuffer,
                      ByteCount outputBufferLength, ByteCount* actualOutputLength) {
  if (encodingConverter == nullptr || actualOutputLength == nullptr ||
      (outputBuffer == nullptr && outputBufferLength > 0))
    return paramErr;
  char* out = reinterpret_cast<char*>(outputBuffer);
  size_t outLeft = outputBufferLength;
  OSStatus status = noErr;
  if (iconv(encodingConverter->descriptor, nullptr, nullptr, &out, &outLeft) ==
      static_cast<size_t>(-1))
    status = kTECOutputBufferFullStatus;
  *actualOutputLength = outputBufferLength - outLeft;
  return status;
}

OSStatus TECClearConverterContextInfo(TECObjectRef encodingConverter) {
  if (encodingConverter == nullptr) return paramErr;
  iconv(encodingConverter->descriptor, nullptr, nullptr, nullptr, nullptr);
  return noErr;
}

OSStatus TECDisposeConverter(TECObjectRef newEncodingConverter) {
  if (newEncodingConverter == nullptr) return paramErr;
  iconv_close(newEncodingConverter->descriptor);
  std::free(newEncodingConverter);
  return noErr;
}
