// Base64 texts come from job data and tickets. Whatever the text, decoding
// writes only inside a buffer of the decoder's own maximum size, gives the same
// bytes whether the text comes in one piece or two, and what it gives encodes
// and decodes back to itself.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "cf/CoreFoundation.h"
#include "security/Base64Decoder.h"
#include "security/Base64Encoder.h"
#include "security/ZPCFSecurity.h"

namespace {

// Decodes into an allocation of exactly the announced maximum, so that the
// sanitizer catches a write one byte past it.
std::string DecodePiece(Base64Decoder& decoder, const char* text, size_t length) {
  const size_t capacity = Base64Decoder::MaxDecodedLength(length);
  std::unique_ptr<unsigned char[]> out(new unsigned char[capacity]);
  const size_t written = decoder.Decode(text, length, out.get(), capacity);
  FUZZ_CHECK(written <= capacity);
  return std::string(reinterpret_cast<const char*>(out.get()), written);
}

std::string DecodeWhole(const std::string& text) {
  Base64Decoder decoder;
  return DecodePiece(decoder, text.data(), text.size());
}

std::string EncodeWithLineBreaks(const std::string& bytes) {
  const size_t length = Base64Encoder::EncodedLength(bytes.size(), true);
  std::unique_ptr<char[]> out(new char[length]);
  const size_t written = Base64Encoder::Encode(reinterpret_cast<const unsigned char*>(bytes.data()),
                                               bytes.size(), out.get(), true);
  FUZZ_CHECK(written == length);
  return std::string(out.get(), written);
}

// The platform-string route agrees with the decoder on every text that is
// valid UTF-8, the only kind a platform string can be made from here.
void CheckPlatformDecoding(const std::string& text, const std::string& expected) {
  CFStringRef string =
      CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(text.data()),
                              CFIndex(text.size()), kCFStringEncodingUTF8, false);
  if (string == nullptr) return;
  CFDataRef data = ZPCFBase64CreateDecodedData(string);
  FUZZ_CHECK(data != nullptr);
  FUZZ_CHECK(std::string(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                         size_t(CFDataGetLength(data))) == expected);
  CFRelease(data);
  CFRelease(string);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  // The first byte chooses where the text is cut in two; the rest is the text.
  const std::string text(reinterpret_cast<const char*>(bytes + 1), size - 1);
  const size_t cut = bytes[0] % (text.size() + 1);

  const std::string whole = DecodeWhole(text);
  Base64Decoder decoder;
  std::string pieces = DecodePiece(decoder, text.data(), cut);
  pieces += DecodePiece(decoder, text.data() + cut, text.size() - cut);
  FUZZ_CHECK(pieces == whole);

  FUZZ_CHECK(DecodeWhole(EncodeWithLineBreaks(whole)) == whole);
  CheckPlatformDecoding(text, whole);
  return 0;
}
