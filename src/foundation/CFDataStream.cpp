#include "foundation/CFDataStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "carbon/MacErrors.h"

CFDataStream::CFDataStream() : mData(CFDataCreateMutable(kCFAllocatorDefault, 0)) {
  mIsValid = mData != nullptr;
  if (!mIsValid) mLastError = memFullErr;
}

CFDataStream::CFDataStream(CFDataRef source) : mData(nullptr) {
  if (source == nullptr) return;
  mData = CFDataCreateMutableCopy(kCFAllocatorDefault, 0, source);
  if (mData == nullptr) {
    mLastError = memFullErr;
    return;
  }
  mBytesHeld = static_cast<unsigned long>(CFDataGetLength(mData));
  mIsValid = mBytesHeld != 0;
}

CFDataStream::~CFDataStream() {
  if (mData != nullptr) CFRelease(mData);
}

bool CFDataStream::out(const void* bytes, unsigned long count) {
  if (mData == nullptr || count > LONG_MAX || (bytes == nullptr && count != 0)) return false;
  CFDataAppendBytes(mData, static_cast<const UInt8*>(bytes), CFIndex(count));
  mBytesHeld += count;
  return true;
}

bool CFDataStream::in(void* bytes, unsigned long count, unsigned long* countRead, short* error) {
  unsigned long copied = 0;
  if (mData != nullptr && bytes != nullptr) {
    copied = std::min(count, mBytesHeld - mPosition);
    std::memcpy(bytes, CFDataGetBytePtr(mData) + mPosition, copied);
    mPosition += copied;
  }
  mLastError = copied == count ? short(noErr) : short(eofErr);
  if (countRead != nullptr) *countRead = copied;
  if (error != nullptr) *error = mLastError;
  return mLastError == noErr;
}
