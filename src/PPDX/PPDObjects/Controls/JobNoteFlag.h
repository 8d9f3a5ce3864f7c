#pragma once
// What the PPD says about a job note's field: which characters it takes, whether it
// is required, a password, a switch, and so on. The set only describes the field;
// the panel that edits the text decides what to make of it.

#include "carbon/MacTypes.h"

class JobNoteFlag {
 public:
  // One bit per PPD flag word, in the order the words are listed.
  enum Bit : UInt32 {
    kAlpha = 1u << 0,
    kNumeric = 1u << 1,
    kDecimal = 1u << 2,
    kRequired = 1u << 3,
    kRemembered = 1u << 4,
    kPassword = 1u << 5,
    kAlwaysDisplay = 1u << 6,
    kResume = 1u << 7,
    kMember = 1u << 8,
    kOnOffSwitch = 1u << 9,
    kLengthReq = 1u << 10,
    kSecPrint = 1u << 11,
    kCommand = 1u << 12,
    kSpace = 1u << 13,
    kNegative = 1u << 14,
    kEncrypt = 1u << 15,
    kMultiSpace = 1u << 16,
    kMultiComma = 1u << 17,
    kLCD = 1u << 18,
    kHyphen = 1u << 19,
    kTwoCharField = 1u << 20,
    kNoComma = 1u << 21,
    kMinLength = 1u << 22,
  };

  // A PPD flag word and the bit it sets.
  struct Word {
    const char* text;
    Bit bit;
  };
  // The PPD flag words in the order they are listed; the extension levels
  // accept a leading part of this order.
  static constexpr Word kWords[] = {
      {"Alpha", kAlpha},
      {"Numeric", kNumeric},
      {"Decimal", kDecimal},
      {"Required", kRequired},
      {"Remembered", kRemembered},
      {"Password", kPassword},
      {"AlwaysDisplay", kAlwaysDisplay},
      {"Resume", kResume},
      {"Member", kMember},
      {"OnOfSwitch", kOnOffSwitch},
      {"LengthReq", kLengthReq},
      {"SecPrint", kSecPrint},
      {"Command", kCommand},
      {"Space", kSpace},
      {"Negative", kNegative},
      {"Encrypt", kEncrypt},
      {"MultiSpace", kMultiSpace},
      {"MultiComma", kMultiComma},
      {"LCD", kLCD},
      {"Hyphen", kHyphen},
      {"TwoCharField", kTwoCharField},
      {"NoComma", kNoComma},
      {"MinLength", kMinLength},
  };
  static constexpr int kWordCount = sizeof kWords / sizeof kWords[0];

  // The bits that restrict which characters the field takes.
  static constexpr UInt32 kCharacterClasses =
      kAlpha | kNumeric | kDecimal | kSpace | kNegative | kMultiSpace | kMultiComma;

  constexpr JobNoteFlag() : mBits(0) {}
  constexpr explicit JobNoteFlag(UInt32 bits) : mBits(bits) {}

  void Add(UInt32 bits) { mBits |= bits; }
  UInt32 Value() const { return mBits; }
  bool Has(UInt32 bits) const { return (mBits & bits) == bits; }

  bool IsAlpha() const { return Has(kAlpha); }
  bool IsNumeric() const { return Has(kNumeric); }
  bool IsDecimal() const { return Has(kDecimal); }
  bool IsRequired() const { return Has(kRequired); }
  bool Remember() const { return Has(kRemembered); }
  bool IsPassword() const { return Has(kPassword); }
  bool AlwaysDisplay() const { return Has(kAlwaysDisplay); }
  bool Resume() const { return Has(kResume); }
  bool IsMember() const { return Has(kMember); }
  bool IsOnOffSwitch() const { return Has(kOnOffSwitch); }
  bool IsLengthReq() const { return Has(kLengthReq); }
  bool IsSecPrint() const { return Has(kSecPrint); }
  bool IsSpace() const { return Has(kSpace); }
  bool IsNegative() const { return Has(kNegative); }
  bool IsEncrypt() const { return Has(kEncrypt); }
  bool IsMultiSpace() const { return Has(kMultiSpace); }
  bool IsMultiComma() const { return Has(kMultiComma); }
  bool IsLCD() const { return Has(kLCD); }
  bool IsHyphen() const { return Has(kHyphen); }
  bool IsTwoCharFields() const { return Has(kTwoCharField); }
  bool IsNoComma() const { return Has(kNoComma); }
  // Free text: no character class restricts the field.
  bool IsAnyText() const { return (mBits & kCharacterClasses) == 0; }

 private:
  UInt32 mBits;
};

// Bit n is the n-th word of the list.
static_assert(
    [] {
      for (int place = 0; place < JobNoteFlag::kWordCount; ++place) {
        if (JobNoteFlag::kWords[place].bit != UInt32(1) << place) return false;
      }
      return true;
    }(),
    "the job note flag words are not in the order of their bits");
