#include "PPDX/PPDObjects/Controls/ChoiceName.h"

#include "foundation/SettingsStrings.h"

ChoiceName::ChoiceName(const ChoiceName& other) : mText(other) {
  if (mText != nullptr) CFRetain(mText);
}

ChoiceName::~ChoiceName() {
  if (mText != nullptr) CFRelease(mText);
}

ChoiceName& ChoiceName::operator=(CFStringRef created) {
  if (mText != nullptr) CFRelease(mText);
  mText = created;
  mExternal = nullptr;
  mLength = 0;
  return *this;
}

void ChoiceName::Defer(const unsigned char* external, std::size_t length) {
  *this = nullptr;
  mExternal = external;
  mLength = length;
}

ChoiceName::operator CFStringRef() const {
  if (mText == nullptr && mExternal != nullptr)
    mText = ExtenalToCFString(const_cast<unsigned char*>(mExternal), long(mLength));
  return mText;
}
