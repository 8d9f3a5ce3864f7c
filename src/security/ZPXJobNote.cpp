#include "security/ZPXJobNote.h"

#include <string.h>

#include <cstring>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "foundation/HexText.h"
#include "foundation/NumberText.h"
#include "security/AES256CBC.h"
#include "security/ControllerKeys.h"
#include "security/DES.h"
#include "security/SpecialOptionValue.h"

const KeywordMapRow gKeywordMap[kKeywordMapRows] = {
    {"*Notes1", "%%ZPXCustom1: "},
    {"*Notes2", "%%ZPXCustom2: "},
    {"*Instruct", "%%ZPXCustom3: "},
    {"*Notes3", "%%ZPXCustom4: "},
    {"*Resume", "%%PersPassword: "},
    {"*DeptPassword", "%%DeptPassword: "},
    {"*ZPUserAuthName", ""},
    {"*ZPUserAuthPwd", "%%ZPXUATag: "},
    {"*ZPXPrintTime", "%%ZPXPrintTime: "},
};

ZPXPPD* gZPXPPD = nullptr;
bool gUserAuthNameWasInited = false;

namespace {

constexpr size_t kDESBlockSize = 8;
constexpr size_t kTwoCharFieldDigits = 2;

// Where in the key table "*UseSpecialKey" puts the key.
size_t KeyOffset(const char* useSpecialKey) {
  if (useSpecialKey == nullptr) return 0;
  if (std::strcmp(useSpecialKey, "2") == 0) return 8;
  if (std::strcmp(useSpecialKey, "3") == 0) return 16;
  if (std::strcmp(useSpecialKey, "4") == 0) return 24;
  return 0;
}

// The text without terminator, then n bytes of value n up to a whole number
// of blocks (a full block when the text fills its last one); the number of
// ciphertext bytes, or 0 when they would not fit in `capacity`.
size_t EncryptDES(const unsigned char* key, const char* text, unsigned char* out, size_t capacity) {
  const size_t length = strnlen(text, capacity);
  const size_t pad = kDESBlockSize - length % kDESBlockSize;
  if (length + pad > capacity) return 0;
  std::memcpy(out, text, length);
  std::memset(out + length, int(pad), pad);
  deskey(key, EN0);
  for (size_t block = 0; block < length + pad; block += kDESBlockSize)
    des(out + block, out + block);
  return length + pad;
}

// The text, its terminator, then n bytes of value n-1 up to a whole number of
// blocks, in CBC mode; 0 when the ciphertext would not fit in `capacity`.
size_t EncryptAES(const unsigned char* key, const char* text, unsigned char* out, size_t capacity) {
  int length = int(capacity);
  if (strnlen(text, capacity) == capacity || !DoAES256Encrypt(key, kJobNoteIV, text, out, &length))
    return 0;
  return size_t(length);
}

}  // namespace

ZPXJobNote::ZPXJobNote(PPDXJobNote* control, bool keepNotesOn)
    : mControl(control), mNotesOn(keepNotesOn || control->GetNotesOnValue()), mInitialised(false) {
  gUserAuthNameWasInited = !keepNotesOn;
  mControl->SetNotesOnValue(mNotesOn);
  mInitialised = true;
}

bool ZPXJobNote::specialKeyword(short* index) const {
  const char* keyword = mControl->Keyword();
  for (short row = 0; keyword != nullptr && row < kKeywordMapRows; ++row) {
    if (std::strcmp(keyword, gKeywordMap[row].keyword) == 0) {
      *index = row;
      return true;
    }
  }
  *index = -1;
  return false;
}

long ZPXJobNote::getTitle(char* out) const {
  const char* title = mControl->UserName();
  if (title == nullptr) return 0;
  const size_t size = std::strlen(title) + 1;
  if (out != nullptr) std::memcpy(out, title, size);
  return long(size);
}

long ZPXJobNote::getUserData(char* out) const {
  const char* text = mControl->GetNotes();
  if (text == nullptr) text = "";
  if (out != nullptr) std::strcpy(out, text);
  return text[0] != '\0' ? long(std::strlen(text) + 1) : 0;
}

bool ZPXJobNote::checkRangeValues(const char* text) const {
  return !mControl->IsTwoCharFields() || validateRangeValues(text, kTwoCharFieldDigits);
}

bool ZPXJobNote::encryptNote(const char*, const char* plainText, char* out) const {
  std::memset(out, 0, kEncryptedTextSize);
  if (gZPXPPD == nullptr || plainText == nullptr) return false;
  const unsigned char* key =
      kJobNoteKeyTable + KeyOffset(SpecialOptionValue(gZPXPPD, "*UseSpecialKey"));
  unsigned char cipher[kMaxEncryptedBytes];
  const size_t length = SpecialOptionIs(gZPXPPD, "*UseSpecialAlgorithm", "2")
                            ? EncryptAES(key, plainText, cipher, sizeof cipher)
                            : EncryptDES(key, plainText, cipher, sizeof cipher);
  const std::string hex = UpperHex(cipher, length);
  explicit_bzero(cipher, sizeof cipher);
  std::memcpy(out, hex.data(), hex.size());
  return length != 0;
}
