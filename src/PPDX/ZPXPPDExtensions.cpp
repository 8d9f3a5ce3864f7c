// The maker's extension keywords: the layout of the pane (property pages,
// group names, scroll panes and roll-downs), job notes, ranges, special
// options, the custom print size, shortcuts and constraints.

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <string_view>

#include "PPDX/FlagList.h"
#include "PPDX/GroupName.h"
#include "PPDX/PPDObjects/Controls/JobNoteFlag.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXProperties.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/PPDXShortcuts.h"
#include "PPDX/ZPXPPD.h"
#include "PPDX/ZPXPPDParse.h"
#include "cf/CFRef.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/PointerListOf.h"

using namespace zpxppd;

namespace {

bool Is(const char* text, const char* word) { return std::strcmp(text, word) == 0; }

// How many flag words, from the first, an extension level accepts; a level
// not listed accepts all of them.
struct LevelWords {
  _EXTENSIONS_SUPPORT_ level;
  int words;
};
constexpr LevelWords kLevelWords[] = {
    {EXTENSIONS_LEVEL0, 9}, {EXTENSIONS_LEVEL1, 12}, {EXTENSIONS_LEVEL2, 15}};

int AcceptedJobNoteWords(_EXTENSIONS_SUPPORT_ level) {
  for (const LevelWords& limit : kLevelWords) {
    if (limit.level == level) return limit.words;
  }
  return JobNoteFlag::kWordCount;
}

// The place of a flag word in JobNoteFlag's list, or -1 for a word the list
// does not have. A grouped note takes "MinLength" followed by the minimum length.
int JobNoteWordPlace(const char* word, bool grouped) {
  for (int place = 0; place < JobNoteFlag::kWordCount; ++place) {
    const JobNoteFlag::Word& listed = JobNoteFlag::kWords[place];
    if (Is(word, listed.text)) return place;
    if (grouped && listed.bit == JobNoteFlag::kMinLength &&
        std::strncmp(word, listed.text, std::strlen(listed.text)) == 0)
      return place;
  }
  return -1;
}

// The minimum length written after "MinLength": up to two digits; the
// negative values tell the panel what was wrong with the text.
long MinimumLength(const char* text) {
  if (text[0] == '\0') return 0;
  if (!std::isdigit(static_cast<unsigned char>(text[0]))) return -1;
  size_t length = std::strlen(text);
  if (length >= 3) return -2;
  if (length == 1) return text[0] - '0';
  if (!std::isdigit(static_cast<unsigned char>(text[1]))) return -3;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

// The next field of a constraint line, after the spaces before it, where the
// line lies; empty when there is none.
std::string_view NextOperand(PPDStream& line) {
  const PPDStream::Line word = line.NextWord();
  return std::string_view(word.text, word.length);
}

constexpr int kRangeNumbers = 4;
typedef char RangeFields[kRangeNumbers][kTokenSize];

// The four number fields between the parentheses of a range line, the opening
// one already read. Each must stand inside them: a field that would reach past
// the closing parenthesis or the line's end is missing.
bool ReadRangeFields(PPDStream& line, RangeFields& fields) {
  char inside[kTokenSize];
  unsigned long length = 0;
  char c;
  for (;;) {
    if (!line.GetChar(c) || c == '\n' || c == '\r') return false;
    if (c == ')') break;
    if (length < kTokenSize - 1) inside[length++] = c;
  }
  inside[length] = '\0';
  PPDStream numbers(inside, long(length));
  for (char* field : fields) {
    if (!PPDX::NextToken(numbers, field, kTypeDelimiters, true) || field[0] == '\0') return false;
  }
  return true;
}

// An integer range's number, whatever its size: one beyond a long is cut to
// the nearest long rather than passing through a double.
long IntegerField(const char* field) { return std::strtol(field, nullptr, 10); }

}  // namespace

PPDXErrorObj* ZPXPPD::ParsePropertyPage(PPDStream& line) {
  char name[kTokenSize];
  if (!NextToken(line, name, kOptionDelimiters, true))
    return MakeError(kPPDXErrPropertyPageWithoutName, name, false);
  if (mProperties->Find(name, true) != nullptr)
    return MakeError(kPPDXErrDuplicateName, name, false);
  char translation[kTokenSize];
  if (!NextToken(line, translation, kTranslationDelimiters, false)) return nullptr;
  bool visible = false;
  bool showInPrintProp = true;
  bool showInApp = true;
  char word[kTokenSize];
  while (NextFlagWord(line, word)) {
    if (Is(word, "True")) visible = true;
    if (Is(word, "App")) showInPrintProp = false;
    if (Is(word, "Prop")) showInApp = false;
  }
  if (!visible && !ParseHidden()) return nullptr;
  CFRef<CFStringRef> displayName(CreateDisplayName(translation));
  mProperties->Add(new PPDXProperty(name, displayName.get(), visible, showInPrintProp, showInApp));
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseGroupName(PPDStream& line) {
  char name[kTokenSize];
  if (!NextToken(line, name, kOptionDelimiters, true))
    return MakeError(kPPDXErrGroupNameWithoutName, name, false);
  if (mGroups->Find(name, true) != nullptr) return MakeError(kPPDXErrDuplicateName, name, false);
  char translation[kTokenSize];
  if (!NextToken(line, translation, kTranslationDelimiters, false)) return nullptr;
  bool visible = false;
  char word[kTokenSize];
  while (NextFlagWord(line, word)) {
    if (Is(word, "True")) visible = true;
  }
  if (!visible && !ParseHidden()) return nullptr;
  CFRef<CFStringRef> displayName(CreateDisplayName(translation));
  AddGroupName(new GroupName(name, displayName.get(), visible));
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseParent(PPDStream& line) {
  char name[kTokenSize];
  if (!NextToken(line, name, kOptionDelimiters, true))
    return MakeError(kPPDXErrIncompleteParentLine, name, false);
  char parentName[kTokenSize];
  if (!NextToken(line, parentName, kOptionDelimiters, true))
    return MakeError(kPPDXErrIncompleteParentLine, name, false);
  bool visible = false;
  enum { kNoKind, kScrollPane, kRollDown } kind = kNoKind;
  char word[kTokenSize];
  while (NextFlagWord(line, word)) {
    if (Is(word, "True")) visible = true;
    if (Is(word, "Scrollpane")) kind = kScrollPane;
    if (Is(word, "Rolldown")) kind = kRollDown;
  }
  const GroupName* record = FindGroupName(name);
  if ((!visible && !ParseHidden()) || record == nullptr || kind == kNoKind) return nullptr;
  if (kind == kScrollPane) {
    PPDXProperty* property = mProperties->Find(parentName, true);
    if (property == nullptr) return MakeError(kPPDXErrBadParent, parentName, false);
    PPDXScrollPane* pane = new PPDXScrollPane(name, record->translation, visible);
    pane->SetParent(property);
    property->SetScrollDown(pane);
    mGroups->Add(pane);
    return nullptr;
  }
  PPDXScrollPane* pane = dynamic_cast<PPDXScrollPane*>(mGroups->Find(parentName, true));
  if (pane == nullptr) return MakeError(kPPDXErrBadParent, parentName, false);
  PPDXRollDown* rollDown = new PPDXRollDown(name, record->translation, visible);
  rollDown->SetParent(pane);
  pane->RollDowns()->Add(rollDown);
  mGroups->Add(rollDown);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseJobNote(PPDStream& line) {
  FlagList noFlags;
  return ParseJobNote(line, nullptr, noFlags, nullptr);
}

// `announcedKey` is null for a standalone note.
PPDXErrorObj* ZPXPPD::ParseJobNote(PPDStream& line, const char* announcedKey, FlagList& flags,
                                   PPDXGroup* group) {
  bool grouped = announcedKey != nullptr;
  char key[kTokenSize];
  if (!NextToken(line, key, kOptionDelimiters, true) || (grouped && !Is(key, announcedKey)))
    return MakeError(kPPDXErrBadJobNoteKey, grouped ? announcedKey : key, false);
  char translation[kTokenSize];
  if (!NextToken(line, translation, kTranslationDelimiters, false)) return nullptr;
  char word[kTokenSize];
  if (!NextToken(line, word, kFlagDelimiters, true)) return nullptr;
  long maxLength = std::atol(word);
  JobNoteFlag noteFlags;
  long minLength = 0;
  while (NextFlagWord(line, word)) {
    int place = JobNoteWordPlace(word, grouped);
    if (place < 0) continue;
    if (place >= AcceptedJobNoteWords(sExtensions))
      return MakeError(kPPDXErrJobNoteFlagBeyondLevel, key, false);
    const JobNoteFlag::Word& listed = JobNoteFlag::kWords[place];
    noteFlags.Add(listed.bit);
    if (listed.bit == JobNoteFlag::kMinLength && grouped)
      minLength = MinimumLength(word + std::strlen(listed.text));
  }

  std::unique_ptr<CString> defaultText;
  char postScript[kPostScriptCapacity];
  unsigned long psLength = 0;
  char scratch[kTokenSize];
  PPDStream::Line text;
  if (FetchLine(text, scratch)) {
    PPDStream next(text);
    char keyword[kTokenSize];
    bool consumed = false;
    const char* bareKey = key[0] == '*' ? key + 1 : key;
    if (NextToken(next, keyword, kKeywordDelimiters, true)) {
      if (IsJobNoteDefault(keyword)) {
        consumed = true;
        if (ReadJobNoteDefault(next, word)) defaultText.reset(new CString(word));
      } else if (keyword[0] == '*' && keyword[1] == '%' && Is(keyword + 2, bareKey)) {
        consumed = true;
        psLength = GetPostscriptString(next, postScript, kPostScriptCapacity);
      }
    }
    if (!grouped && !consumed) {
      std::memcpy(mPendingLine, text.text, text.length);
      mPendingLine[text.length] = '\0';
      mHasPendingLine = true;
    }
  }

  unsigned char* psTemplate = CopyPostScript(postScript, psLength);
  long templateLength = psTemplate != nullptr ? long(psLength) : 0;
  const char* encoding = LanguageEncoding();
  std::unique_ptr<CString> language(encoding != nullptr ? new CString(encoding) : nullptr);
  CFRef<CFStringRef> displayName(CreateDisplayName(translation));
  PPDXJobNote* note = new (std::nothrow)
      PPDXJobNote(key, displayName.get(), flags.Words(), psTemplate, templateLength,
                  defaultText.get(), language.get(), true, maxLength, noteFlags, minLength);
  if (note == nullptr) {
    std::free(psTemplate);
    return MakeError(kPPDXErrOutOfMemory, key, false);
  }
  defaultText.release();
  SetupControl(group != nullptr ? group : mGroups->Find("FPZPNotes", true), note, false);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseRange(PPDStream& line, const char* key, FlagList& flags,
                                 PPDXGroup* group, bool real) {
  char keyword[kTokenSize];
  if (!NextToken(line, keyword, kOptionDelimiters, true) || !Is(keyword, key))
    return MakeError(kPPDXErrBadRangeLine, keyword, false);
  char translation[kTokenSize];
  if (!NextToken(line, translation, kTranslationDelimiters, false)) return nullptr;
  line.SkipWhiteSpace();
  char c;
  RangeFields numbers;
  if (!line.GetChar(c) || c != '(' || !ReadRangeFields(line, numbers))
    return MakeError(kPPDXErrBadRangeLine, key, false);
  char postScript[kPostScriptCapacity];
  unsigned long length = GetPostscriptString(line, postScript, kPostScriptCapacity);
  if (length == 0) AddError(MakeError(kPPDXErrRangeWithoutPostScript, key, false));
  if (group == nullptr && !ParseOrphans())
    return MakeError(kPPDXErrOptionOutsideGroups, key, false);

  unsigned char* psTemplate = CopyPostScript(postScript, length);
  long templateLength = psTemplate != nullptr ? long(length) : 0;
  CFRef<CFStringRef> displayName(CreateDisplayName(translation));
  PPDXControl* control;
  if (real)
    control = new (std::nothrow)
        PPDXFloatRangeControl(key, displayName.get(), flags.Words(), psTemplate,
                              double(templateLength), std::atof(numbers[0]), std::atof(numbers[1]),
                              std::atof(numbers[2]), std::atof(numbers[3]), true);
  else
    control = new (std::nothrow) PPDXRangeControl(
        key, displayName.get(), flags.Words(), psTemplate, templateLength, IntegerField(numbers[0]),
        IntegerField(numbers[1]), IntegerField(numbers[2]), IntegerField(numbers[3]), true);
  if (control == nullptr) {
    std::free(psTemplate);
    return MakeError(kPPDXErrOutOfMemory, key, false);
  }
  SetupControl(group, control, true);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseSpecialOption(PPDStream& line) {
  char key[kTokenSize];
  char value[kTokenSize];
  if (!NextToken(line, key, kTranslationDelimiters, true) || key[0] == '\0' ||
      !NextToken(line, value, kRestOfLine, true))
    return nullptr;
  FlagList noFlags;
  CFRef<CFStringRef> displayName(CreateDisplayName(key));
  PPDXSpecialOption* option =
      new PPDXSpecialOption(key, displayName.get(), noFlags.Words(), value, nullptr, 0, false);
  SetupControl(nullptr, option, false);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseCustomPageSize(PPDStream& line, const char*) {
  static const char kKeyword[] = "*CustomPrintSize";
  PPDXControl* control = FindAnyControl(kKeyword);
  if (control == nullptr) {
    FlagList noFlags;
    control = new PPDXCustomPageSizeControl(kKeyword, noFlags.Words());
    SetupControl(FindAndCreateParent("FPPaperSource"), control, false);
  }
  // A control of another kind under that keyword has no limits to take.
  PPDXCustomPageSizeControl* size = dynamic_cast<PPDXCustomPageSizeControl*>(control);
  bool width = false;
  bool height = false;
  char field[kTokenSize];
  for (int i = 0; i < 4; ++i) {
    NextToken(line, field, kKeywordDelimiters, true);
    width = width || Is(field, "Width");
    height = height || Is(field, "Height");
  }
  if (size == nullptr || !(width || height)) return nullptr;
  if (!NextToken(line, field, kKeywordDelimiters, true)) return nullptr;
  float minimum = float(std::atof(field));
  if (width)
    size->SetMinWidth(minimum);
  else
    size->SetMinHeight(minimum);
  if (!NextToken(line, field, kKeywordDelimiters, true)) return nullptr;
  float maximum = float(std::atof(field));
  if (width)
    size->SetMaxWidth(maximum);
  else
    size->SetMaxHeight(maximum);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseShortcut(PPDStream& line) {
  char keyword[kTokenSize];
  if (!NextToken(line, keyword, kRestOfLine, true) || keyword[0] == '\0') return nullptr;
  if (!PPDXControl::ValidKeyword(keyword)) return MakeError(kPPDXErrBadShortcut, keyword, false);
  mShortcutKeywords.PushBack(new CString(keyword));
  return nullptr;
}

// A shortcut may name a control of any kind, whatever its display state; the
// list's walks show only the popups.
void ZPXPPD::ResolveShortcuts() {
  PointerList controls;
  for (const CString* keyword : PointerListOf<const CString>(mShortcutKeywords)) {
    PPDXControl* control = FindAnyControl(*keyword);
    if (control == nullptr)
      AddError(MakeError(kPPDXErrBadShortcut, *keyword, false));
    else
      controls.PushBack(control);
  }
  mShortcuts.reset(new PPDXShortcuts(controls));
}

PPDXErrorObj* ZPXPPD::ParseUIConstraint(PPDStream& line, bool requires) {
  const std::string_view key1 = NextOperand(line);
  const std::string_view field = NextOperand(line);
  if (key1.empty() || field.empty()) return nullptr;
  std::string_view option1;
  std::string_view key2 = field;
  if (field[0] != '*') {
    option1 = field;
    key2 = NextOperand(line);
    if (key2.empty())
      return MakeError(kPPDXErrConstraintWithoutSecondKey, std::string(key1).c_str(), false);
  }
  mConstraints->Add(key1, option1, key2, NextOperand(line), requires);
  return nullptr;
}
