#pragma once
// A user-settable option: an element with a kind, the flag words the PPD gave it,
// an optional block of PostScript and the document's constraint set, which learns
// every value the user picks. Feature snippets are framed here and values are
// substituted into PostScript templates here, for every kind alike.

#include <string>

#include "PPDX/PPDObjects/PPDXElement.h"
#include "foundation/PointerList.h"

class DocumentStorage;
class UIConstraints;

enum CNTL_TYPE : SInt32 {
  CNTL_NONE = 0,
  CNTL_JOBNOTE = 1,
  CNTL_RANGE = 2,
  CNTL_FLOATRANGE = 3,
  CNTL_BOOLEAN = 4,
  CNTL_POPUP = 5,
  CNTL_SPECIAL = 6,
  CNTL_CUSTOMPAGESIZE = 7,
};

class PPDXControl : public PPDXElement {
 public:
  PPDXControl();
  // Takes the flag strings that `flags` lists with the list's nodes (it is left
  // empty; the strings live where the nodes do, on the heap or in a document's
  // storage that outlives the control) and adopts the PostScript buffer, which it frees with
  // free().
  PPDXControl(const char* keyword, CFStringRef displayName, PointerList& flags,
              unsigned char* psData, long psLength, bool visible, UIConstraints* constraints);
  // With `storage`, the flag words and their nodes are placed there.
  PPDXControl(Settings& settings, long index, UIConstraints* constraints,
              DocumentStorage* storage = nullptr);
  ~PPDXControl() override;

  virtual void ResetToDefaultValue() = 0;
  // Writes the control's PostScript into `out` (when not null) and returns its size.
  virtual long PostScript(unsigned char* out);
  virtual short Restore(Settings& settings, long index) = 0;
  // A new string that the caller releases.
  virtual CFStringRef CopyCurrentControlValueString() = 0;
  virtual void SetCurrentControlWithCFString(CFStringRef value) = 0;
  virtual CFStringRef CopyPresetValueString();
  virtual void SetPresetValueString(CFStringRef value);
  virtual bool IsInstallableOption();

  CNTL_TYPE Type() const { return mType; }

  // False for null and for the keywords the maker keeps for itself.
  static bool ValidKeyword(const char* keyword);

  long ControlFlagCount() const { return long(mFlags.Size()); }
  // One cursor serves both walks and FindControlFlag, which leaves it where it
  // stopped: do not search while walking.
  const char* FirstControlFlag();
  const char* NextControlFlag();
  bool FindControlFlag(const char* name);
  bool IsDynamic() { return FindControlFlag("Dynamic"); }
  bool IsCommand() { return FindControlFlag("Command"); }
  bool IsSpooler() { return FindControlFlag("Spooler"); }
  bool IsNoNimboDriverUI() { return FindControlFlag("NoNimboDriverUI"); }
  bool IsSetup() { return FindControlFlag("Setup"); }
  bool IsMacNJN() { return FindControlFlag("MacNJN"); }
  bool IsMacImgShift() { return FindControlFlag("MacIS"); }

  // The element's and the control's entries; each kind's Save adds its own after.
  // It leaves the element's virtual Save alone on purpose: through an element
  // pointer only the element's entries are written, and the control collection
  // saves each control with the Save of its own kind.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
  short Save(Settings& settings, long index);
#pragma GCC diagnostic pop

  void UpdateKVCache(const char* keyword, const char* value);

  // Writes one feature snippet into `out` (nothing when null) and returns its size:
  // with `frame`, "%%BeginFeature: <keyword> <option>\n" before and
  // "%%EndFeature\n" after; between them the data, or "\n" when there is none.
  long GeneratePSOutputData(unsigned char* out, unsigned char* data, long length,
                            const char* option, bool frame);

  // Replaces every "<name>" (any letter case) in the text with the value and
  // returns the new length; `out` receives a new NUL-terminated malloc'd buffer
  // that the caller frees (null, with 0, when memory runs out).
  long Inject(const char* name, const unsigned char* data, long length, const char* value,
              unsigned char*& out);

 protected:
  void SetType(CNTL_TYPE type) { mType = type; }

 private:
  // Splits words separated by "|" into new flags, placed where the list's
  // nodes live; empty pieces are skipped.
  void AppendFlagWords(const std::string& words);
  CString* NewFlag(const char* word);
  // Null at the end of the list or before a walk started.
  const char* CurrentControlFlag() const;

  CNTL_TYPE mType;
  SInt16 mOrder;
  PointerList mFlags;
  PointerListItr mFlagCursor;
  unsigned char* mPSData;
  long mPSLength;
  UIConstraints* mConstraints;
};
