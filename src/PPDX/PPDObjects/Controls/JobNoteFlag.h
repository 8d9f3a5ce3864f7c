#pragma once
// What the PPD says about a job note's field: which characters it takes, whether it
// is required, a password, a switch, and so on. The set only describes the field;
// the panel that edits the text decides what to make of it.

#include "carbon/MacTypes.h"

class JobNoteFlag {
 public:
  // One bit per PPD flag word, in the order the words are listed.
  enum Bit : UInt32 {
    kAlpha = 0x1,
    kNumeric = 0x2,
    kDecimal = 0x4,
    kRequired = 0x8,
    kRemembered = 0x10,
    kPassword = 0x20,
    kAlwaysDisplay = 0x40,
    kResume = 0x80,
    kMember = 0x100,
    kOnOffSwitch = 0x200,
    kLengthReq = 0x400,
    kSecPrint = 0x800,
    kCommand = 0x1000,
    kSpace = 0x2000,
    kNegative = 0x4000,
    kEncrypt = 0x8000,
    kMultiSpace = 0x10000,
    kMultiComma = 0x20000,
    kLCD = 0x40000,
    kHyphen = 0x80000,
    kTwoCharField = 0x100000,
    kNoComma = 0x200000,
    kMinLength = 0x400000,
  };

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
