#pragma once
// The free-text control: notes, instructions, a mailbox number, an account or a
// password that the controller receives with the job. Its feature snippet names the
// text as the option and carries, as code, either the PPD's template with the text
// injected or, without a template, a DSC comment line chosen by flags and keyword.

#include <memory>

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
  // Adopts `notes` as the current text and keeps a copy of it as the default; the
  // template is adopted as the control's PostScript. `language` (the PPD's language
  // encoding name) only sets up the converter that all notes share; it stays the
  // caller's.
  PPDXJobNote(const char* keyword, CFStringRef displayName, PointerList& flags,
              unsigned char* psTemplate, long templateLength, CString* notes, CString* language,
              bool visible, long maxLength, const JobNoteFlag& noteFlags, long minLength);
  PPDXJobNote(Settings& settings, long index, CString* language);
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
  // False, with the text unchanged, for a text the note's rule refuses.
  bool SetNotes(const char* text);
  // The texts this note takes, by its flags and lengths.
  JobNoteTextRule TextRule() const;
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

  // The text when the rule takes it; otherwise null, the text deleted.
  CString* AcceptedText(CString* text) const;
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
