#include "foundation/CFDataStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "carbon/MacErrors.h"

CFDataStream::CFDataStream() : data(CFDataCreateMutable(kCFAllocatorDefault, 0)) {
  isValid = data != nullptr;
  if (!isValid) lastError = memFullErr;
}

CFDataStream::CFDataStream(CFDataRef source) : data(nullptr) {
  if (source == nullptr) return;
  data = CFDataCreateMutableCopy(kCFAllocatorDefault, 0, source);
  if (data == nullptr) {
    lastError = memFullErr;
    return;
  }
  bytesHeld = static_cast<unsigned long>(CFDataGetLength(data));
  isValid = bytesHeld != 0;
}

CFDataStream::~CFDataStream() {
  if (data != nullptr) CFRelease(data);
}

bool CFDataStream::out(const void* bytes, unsigned long count) {
  if (data == nullptr || count > LONG_MAX || (bytes == nullptr && count != 0)) return false;
  CFDataAppendBytes(data, static_cast<const UInt8*>(bytes), CFIndex(count));
  bytesHeld += count;
  return true;
}

bool CFDataStream::in(void* bytes, unsigned long count, unsigned long* countRead, short* error) {
  unsigned long copied = 0;
  if (data != nullptr && bytes != nullptr) {
    copied = std::min(count, bytesHeld - position);
    std::memcpy(bytes, CFDataGetBytePtr(data) + position, copied);
    position += copied;
  }
  lastError = copied == count ? short(noErr) : short(eofErr);
  if (countRead != nullptr) *countRead = copied;
  if (error != nullptr) *error = lastError;
  return lastError == noErr;
}
