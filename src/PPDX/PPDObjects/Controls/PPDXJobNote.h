#pragma once
// The free-text control: notes, instructions, a mailbox number, an account or a
// password that the controller receives with the job. Its feature snippet names the
// text as the option and carries, as code, either the PPD's template with the text
// injected or, without a template, a DSC comment line chosen by flags and keyword.
// The note stores any text without a control character, wherever it comes from
// (set, preset, blob, PPD default); its flags and lengths only describe the field,
// and the places where a person gives a value check it with TextRule.

#include <memory>
#include <string>

#include "PPDX/PPDObjects/Controls/JobNoteFlag.h"
#include "PPDX/PPDObjects/Controls/JobNoteTextRule.h"
#include "PPDX/PPDObjects/PPDXControl.h"

class CString;
class SettingsEntryReader;
class TextConverter;

class PPDXJobNote : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("JbNt");

  PPDXJobNote();
  // Adopts `notes` as the current text and keeps a copy of it as the default (none
  // at all for a text with a control character); the template is adopted as the
  // control's PostScript. `language` (the PPD's language
  // encoding name) only sets up the converter that all notes share; it stays the
  // caller's.
  PPDXJobNote(const char* keyword, CFStringRef displayName, PointerList& flags,
              unsigned char* psTemplate, long templateLength, CString* notes, CString* language,
              bool visible, long maxLength, const JobNoteFlag& noteFlags, long minLength);
  PPDXJobNote(Settings& settings, long index, CString* language,
              DocumentStorage* storage = nullptr);
  ~PPDXJobNote() override;

  void ResetToDefaultValue() override;
  // The framed snippet: the full text as option, the injected template or the DSC
  // line as code; nothing at all (0) without text or keyword.
  long PostScript(unsigned char* out) override;
  // The snippet as it is with the note's text encrypted: `hexText`, the
  // ciphertext as upper-case hexadecimal text, in place of the text, which
  // stays as it is. The note's rule does not judge it (no flags or lengths
  // describe a ciphertext), but anything but such text gives 0.
  long PostScriptWithEncryptedText(const char* hexText, unsigned char* out);
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  void SetCurrentControlWithCFString(CFStringRef value) override;
  // Presets hold the text encrypted, never in the clear.
  CFStringRef CopyPresetValueString() override;
  void SetPresetValueString(CFStringRef value) override;

  const char* GetNotes() const;
  const char* GetDefaultNotes() const;
  // False, with the text unchanged, for a text with a control character.
  bool SetNotes(const char* text);
  // The texts the note's field takes, by its flags and lengths.
  JobNoteTextRule TextRule() const;
  // What a person who gives `text` is told when TextRule refuses it, as one
  // message: the keyword and the rule ("*ZPSecurePIN needs 4 to 8 digits"),
  // never the text. "" when the rule takes it.
  std::string Refusal(const char* text) const;
  // A new string of the text ("" without one); the caller releases it.
  CFStringRef CopyNotes() const;

  bool GetNotesOnValue() const { return mNotesOn; }
  void SetNotesOnValue(bool on) { mNotesOn = on; }

  long MaxLength() const { return mMaxLength; }
  long MinLength() const { return mMinLength; }
  const JobNoteFlag& Flags() const { return mNoteFlags; }

  bool IsAlpha() const { return mNoteFlags.IsAlpha(); }
  bool IsNumeric() const { return mNoteFlags.IsNumeric(); }
  bool IsDecimal() const { return mNoteFlags.IsDecimal(); }
  bool IsRequired() const { return mNoteFlags.IsRequired(); }
  bool Remember() const { return mNoteFlags.Remember(); }
  bool IsPassword() const { return mNoteFlags.IsPassword(); }
  bool AlwaysDisplay() const { return mNoteFlags.AlwaysDisplay(); }
  bool Resume() const { return mNoteFlags.Resume(); }
  bool IsMember() const { return mNoteFlags.IsMember(); }
  bool IsOnOffSwitch() const { return mNoteFlags.IsOnOffSwitch(); }
  bool IsLengthReq() const { return mNoteFlags.IsLengthReq(); }
  bool IsSecPrint() const { return mNoteFlags.IsSecPrint(); }
  bool IsSpace() const { return mNoteFlags.IsSpace(); }
  bool IsNegative() const { return mNoteFlags.IsNegative(); }
  bool IsEncrypt() const { return mNoteFlags.IsEncrypt(); }
  bool IsMultiSpace() const { return mNoteFlags.IsMultiSpace(); }
  bool IsMultiComma() const { return mNoteFlags.IsMultiComma(); }
  bool IsLCD() const { return mNoteFlags.IsLCD(); }
  bool IsHyphen() const { return mNoteFlags.IsHyphen(); }
  bool IsTwoCharFields() const { return mNoteFlags.IsTwoCharFields(); }
  bool IsNoComma() const { return mNoteFlags.IsNoComma(); }
  bool IsAnyText() const { return mNoteFlags.IsAnyText(); }

  // Fills the PostScript cache with the DSC line for a note without template.
  void BuildPDLString(const char* text);

  // The control's entries, then the note's.
  short Save(Settings& settings, long index);

  // The converter from the system's encoding to the PPD's that every note shares
  // while at least one note exists (null otherwise), and how many notes hold it.
  static TextConverter* SharedConverter() { return sConverter; }
  static long SharedConverterUsers() { return sConverterUsers; }

 private:
  static void AcquireConverter(const CString* language);
  static void ReleaseConverter();

  // The text when it is safe (JobNoteTextRule::IsSafe); otherwise null, the text deleted.
  static CString* SafeText(CString* text);
  void RestoreNotes(SettingsEntryReader& reader);
  void ClearCache();
  // Fills the cache from the template, or from BuildPDLString without one.
  void BuildCache(const char* valueText);
  void AdoptCache(unsigned char* bytes, long length);

  std::unique_ptr<CString> mNotes;
  long mMaxLength = 0;
  long mMinLength = 0;
  JobNoteFlag mNoteFlags;
  std::unique_ptr<CString> mDefaultNotes;
  bool mNotesOn = false;
  unsigned char* mCache = nullptr;
  long mCacheLength = 0;

  static TextConverter* sConverter;
  static long sConverterUsers;
};
