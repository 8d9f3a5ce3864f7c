#include "PPDX/PPDObjects/PPDXElement.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "foundation/CString.h"
#include "foundation/ZPXAssert.h"

namespace {

constexpr unsigned long kKeywordKey = FourCC("KyWd");
constexpr unsigned long kUserNameKey = FourCC("LcNm");
constexpr unsigned long kDisplayNameKey = FourCC("LcCF");
constexpr unsigned long kVisibleKey = FourCC("isVs");
constexpr unsigned long kParentKey = FourCC("PrNm");

// An empty text is no keyword at all.
CString* KeywordOrNull(CString* keyword) {
  if (keyword != nullptr && keyword->Empty()) {
    delete keyword;
    return nullptr;
  }
  return keyword;
}

}  // namespace

CString* CFStringToCString(CFStringRef text) {
  if (text == nullptr) return nullptr;
  const CFIndex length = CFStringGetLength(text);
  if (length == 0) return new CString("");
  // Sized for the encoding, so that no name is ever cut or lost in conversion.
  const long capacity = CFStringGetMaximumSizeForEncoding(length, CFStringGetSystemEncoding()) + 1;
  std::unique_ptr<char[]> buffer(new char[size_t(capacity)]);
  TextConverter::CFStringToCstring(text, buffer.get(), capacity);
  return new CString(buffer.get());
}

PPDXElement::PPDXElement() : mVisible(false), mParent(nullptr) {}

PPDXElement::PPDXElement(const char* keyword, CFStringRef inLocalName, const bool& visible)
    : mDisplayName(CFRef<CFStringRef>::Retain(inLocalName)), mVisible(visible), mParent(nullptr) {
  ZPX_ASSERT(inLocalName != NULL);
  if (keyword != nullptr && keyword[0] != '\0') mKeyword = keyword;
}

PPDXElement::PPDXElement(Settings& settings, const long& index)
    : mVisible(false), mParent(nullptr) {
  SettingsEntryReader reader(settings, index);
  std::unique_ptr<CString> keyword(KeywordOrNull(reader.Text(kKeywordKey)));
  if (keyword) mKeyword = std::move(*keyword);
  mDisplayName.reset(reader.PlatformText(kDisplayNameKey));
  mParentKeyword.reset(KeywordOrNull(reader.Text(kParentKey)));
  SInt32 visible = 0;
  if (reader.Number(kVisibleKey, visible)) mVisible = visible != 0;
}

PPDXElement::~PPDXElement() = default;

bool PPDXElement::OkayToDisplay(const _DISPLAY_OPTIONS_& options) {
  switch (options) {
    case DISPLAY_ATTACHED_VISIBLE:
      return !IsOrphan() && mVisible;
    case DISPLAY_VISIBLE:
      return mVisible;
    case DISPLAY_ATTACHED:
      return !IsOrphan();
    default:
      return true;
  }
}

short PPDXElement::Save(Settings& settings, const long& index) {
  SettingsEntryWriter writer(settings, index);
  writer.Text(kKeywordKey, Keyword());
  const char* userName = UserName();
  const char* parentKeyword = mParent != nullptr ? mParent->Keyword() : nullptr;
  if (mParentKeyword) parentKeyword = *mParentKeyword;
  writer.Text(kUserNameKey, userName)
      .PlatformText(kDisplayNameKey, mDisplayName.get())
      .Number<SInt32>(kVisibleKey, mVisible ? 1 : 0)
      .Text(kParentKey, parentKeyword);
  return writer.Error();
}

const char* PPDXElement::Keyword() const { return mKeyword; }

const char* PPDXElement::UserName() {
  if (!mUserName) mUserName.reset(CFStringToCString(mDisplayName.get()));
  return mUserName ? static_cast<const char*>(*mUserName) : nullptr;
}

void PPDXElement::SetParent(PPDXElement* parent) {
  mParent = parent;
  mParentKeyword.reset();
}

CString* PPDXElement::TakeParentKeyword() { return mParentKeyword.release(); }

bool PPDXElement::operator==(const PPDXElement& other) const {
  return Keyword() != nullptr && other.Keyword() != nullptr && mKeyword == other.mKeyword;
}

bool PPDXElement::operator==(const char* keyword) const {
  return Keyword() != nullptr && keyword != nullptr && mKeyword == keyword;
}

void PPDXElement::AdoptDisplayName(CFStringRef name) {
  mDisplayName.reset(name);
  mUserName.reset();
}
