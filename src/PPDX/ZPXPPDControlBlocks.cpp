// The control blocks that *%ZPXFlags announces: the block's group, its
// *OpenUI line and the option lines of popups and Booleans.

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "PPDX/FlagList.h"
#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/PPDXErrors.h"
#include "PPDX/PPDObjects/PPDXGroups.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "PPDX/ZPXPPDParse.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "cf/CFRef.h"
#include "constraints/UIConstraints.h"
#include "foundation/CString.h"
#include "foundation/PointerListOf.h"

using namespace zpxppd;

namespace {

bool Is(const char* text, const char* word) { return std::strcmp(text, word) == 0; }

bool BeginsWith(const char* text, const char* prefix) {
  return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool OpensUI(const char* keyword) {
  return Is(keyword, "*OpenUI") || Is(keyword, "*ZPOpenUI") || Is(keyword, "*BeginUI");
}

// Every line of an option block is asked this first: its first bytes rule out
// most lines without a comparison.
bool ClosesUI(const char* field) {
  if (field[0] != '*') return false;
  switch (field[1]) {
    case 'C':
      return Is(field, "*CloseUI") || Is(field, "*CloseUIZPX");
    case 'Z':
      return field[2] == 'P' && field[3] == 'C' && Is(field, "*ZPCloseUI");
    case 'E':
      return Is(field, "*EndUI");
    default:
      return false;
  }
}

// "*Default" or a keyword that begins with it.
bool BeginsWithDefault(const char* field) {
  return field[0] == '*' && field[1] == 'D' && BeginsWith(field, "*Default");
}

}  // namespace

namespace zpxppd {

// The choices and the default of a popup block; what no control took is
// deleted with the block.
class PopupBlock : public OptionBlockReader {
 public:
  explicit PopupBlock(PPDX& document) : mDocument(document) {
    mItems.PlaceNodesIn(document.Storage());
  }
  ~PopupBlock() override { PointerListOf<_PopupItem>(mItems).DeleteAll(); }

  void Default(const char* value) override {
    if (mDefaults++ == 0) mDefault.reset(new CString(value));
  }
  bool DefaultLineNamesControl() const override { return true; }

  // A line without an option keyword is still a choice, with an empty keyword,
  // so that the choices keep their places.
  void Option(const char* option, const char* translation, const char* postScript,
              unsigned long length) override {
    _PopupItem* item =
        NewStoredItem(mDocument.Storage(), option != nullptr ? option : "", postScript, length);
    if (translation != nullptr)
      item->name.KeepTranslation(mDocument.Storage(), translation, mDocument,
                                 mDocument.DisplayNameConverter().SourceEncoding());
    mItems.PushBack(item);
  }

  int DefaultCount() const { return mDefaults; }
  PointerList& Items() { return mItems; }

  // The default, or the first choice when the default names none (null
  // without choices); the caller owns it.
  CString* TakeDefault() {
    if (mDefault && !NamesItem(*mDefault)) mDefault.reset(FirstKeywordCopy());
    return mDefault.release();
  }

  void HandOver() { mItems.MakeEmpty(); }

 private:
  bool NamesItem(const CString& keyword) const {
    for (const _PopupItem* item : PointerListOf<const _PopupItem>(mItems)) {
      if (*item->keyword == keyword) return true;
    }
    return false;
  }

  CString* FirstKeywordCopy() const {
    if (mItems.Empty()) return nullptr;
    return new CString(*PointerListOf<const _PopupItem>(mItems).Front()->keyword);
  }

  PPDX& mDocument;
  PointerList mItems;
  std::unique_ptr<CString> mDefault;
  int mDefaults = 0;
};

// The two sides of a Boolean block.
class BooleanBlock : public OptionBlockReader {
 public:
  struct Side {
    ~Side() { std::free(postScript); }
    std::unique_ptr<CString> text;
    unsigned char* postScript = nullptr;
    long length = 0;
  };

  void Default(const char* value) override {
    mHasDefault = true;
    if (Is(value, "True")) mDefault = true;
  }
  bool DefaultLineNamesControl() const override { return false; }

  void Option(const char* option, const char* translation, const char* postScript,
              unsigned long length) override {
    bool isTrue = option != nullptr && Is(option, "True");
    if (!isTrue && (option == nullptr || !Is(option, "False"))) {
      mBadOption = true;
      return;
    }
    Side& side = isTrue ? mTrue : mFalse;
    if (translation != nullptr) side.text.reset(new CString(translation));
    if (length == 0) return;
    std::free(side.postScript);
    side.postScript = CopyPostScript(postScript, length);
    side.length = side.postScript != nullptr ? long(length) : 0;
  }

  bool HasDefault() const { return mHasDefault; }
  bool DefaultValue() const { return mDefault; }
  bool BadOption() const { return mBadOption; }
  Side& True() { return mTrue; }
  Side& False() { return mFalse; }

  // A control took the texts and the PostScript.
  void HandOver() {
    for (Side* side : {&mTrue, &mFalse}) {
      side->text.release();
      side->postScript = nullptr;
    }
  }

 private:
  Side mTrue;
  Side mFalse;
  bool mHasDefault = false;
  bool mDefault = false;
  bool mBadOption = false;
};

}  // namespace zpxppd

PPDXErrorObj* ZPXPPD::ParseControl(PPDStream& line) {
  char key[kTokenSize];
  if (!NextToken(line, key, kKeywordDelimiters, true))
    return MakeError(kPPDXErrBadFlagsLine, key, false);
  // The block that the duplicate announces is then read by the line loop,
  // where it has no effect.
  if (FindAnyControl(key) != nullptr) return MakeError(kPPDXErrDuplicateName, key, false);
  FlagList flags(Storage());
  flags.ReadFrom(line);
  char scratch[kTokenSize];
  PPDStream::Line text;
  if (!FetchLine(text, scratch)) return nullptr;
  PPDStream next(text);
  char keyword[kTokenSize];
  if (!NextToken(next, keyword, kKeywordDelimiters, true))
    return MakeError(kPPDXErrBadFlagsLine, key, false);
  if (Is(keyword, "*%ZPXGroup")) return ParseGroup(next, key, flags);
  if (OpensUI(keyword)) return ParseOpenUI(next, key, flags, nullptr);
  if (Is(keyword, "*OpenUIZPX")) return ParseOpenUIZPX(key);
  return MakeError(kPPDXErrBadFlagsLine, key, false);
}

PPDXErrorObj* ZPXPPD::ParseGroup(PPDStream& line, const char* key, FlagList& flags) {
  char keyword[kTokenSize];
  if (!NextToken(line, keyword, kKeywordDelimiters, true))
    return MakeError(kPPDXErrBadGroupLine, keyword, false);
  if (!Is(keyword, key)) return nullptr;
  char name[kTokenSize];
  if (!NextToken(line, name, kOptionDelimiters, true)) return nullptr;
  PPDXGroup* group = mGroups->Find(name, true);
  if (group == nullptr) group = FindAndCreateParent(name);
  char scratch[kTokenSize];
  PPDStream::Line text;
  if (!FetchLine(text, scratch)) return nullptr;
  PPDStream next(text);
  if (!NextToken(next, keyword, kKeywordDelimiters, true)) return nullptr;
  if (Is(keyword, "*%ZPXJobNote"))
    return ParseJobNote(next, key, flags, dynamic_cast<PPDXRollDown*>(group));
  if (Is(keyword, "*%ZPXRange") || Is(keyword, "*%ZPXUnitRange"))
    return ParseRange(next, key, flags, group, false);
  if (Is(keyword, "*%ZPXFloatRange")) return ParseRange(next, key, flags, group, true);
  if (OpensUI(keyword)) return ParseOpenUI(next, key, flags, group);
  if (Is(keyword, "*OpenUIZPX")) return ParseOpenUIZPX(key);
  return MakeError(kPPDXErrBadGroupLine, key, false);
}

PPDXErrorObj* ZPXPPD::ParseOpenUI(PPDStream& line, const char* key, FlagList& flags,
                                  PPDXGroup* group) {
  char option[kTokenSize];
  if (!NextToken(line, option, kOptionDelimiters, true))
    return MakeError(kPPDXErrOpenUIWithoutKeyword, key, false);
  char translation[kTokenSize];
  bool translated = NextToken(line, translation, kTranslationDelimiters, false);
  char type[kTokenSize];
  bool typed = NextToken(line, type, kTypeDelimiters, true);
  if (!typed || !(Is(type, "Boolean") || Is(type, "PickOne") || Is(type, "PickMany")))
    return MakeError(kPPDXErrBadOpenUIType, key, false);
  CFRef<CFStringRef> displayName(CreateDisplayName(translated ? translation : nullptr));
  return Is(type, "Boolean")
             ? ParseBooleanControl(key, displayName.get(), flags, group)
             : ParsePopupControl(key, displayName.get(), flags, group, Is(type, "PickMany"));
}

PPDXErrorObj* ZPXPPD::ParseOpenUIZPX(const char* key) {
  AddError(MakeError(kPPDXErrOpenUIZPXSkipped, key, false));
  char scratch[kTokenSize];
  PPDStream::Line text;
  while (FetchLine(text, scratch)) {
    PPDStream line(text);
    char keyword[kTokenSize];
    if (NextToken(line, keyword, kKeywordDelimiters, true) && Is(keyword, "*CloseUIZPX"))
      return nullptr;
  }
  return MakeError(kPPDXErrOpenUIZPXNotClosed, key, true);
}

bool ZPXPPD::ReadOptionBlock(const char* key, OptionBlockReader& block) {
  char scratch[kTokenSize];
  PPDStream::Line text;
  while (FetchLine(text, scratch)) {
    PPDStream line(text);
    if (ExamineBlockLine(line, key, block)) return true;
  }
  return false;
}

// True when the line closes the block.
bool ZPXPPD::ExamineBlockLine(PPDStream& line, const char* key, OptionBlockReader& block) {
  char field[kTokenSize];
  char value[kTokenSize];
  while (NextToken(line, field, kTranslationDelimiters, true)) {
    if (ClosesUI(field)) return true;
    const bool defaultLine = BeginsWithDefault(field);
    if (defaultLine && Is(field, "*Default") && block.DefaultLineNamesControl()) {
      if (!NextToken(line, value, kOptionDelimiters, true) || !Is(value, key)) continue;
      if (NextToken(line, value, kFlagDelimiters, true) && value[0] != '\0') block.Default(value);
      return false;
    }
    if (defaultLine) {
      if (NextToken(line, value, kOptionDelimiters, true) && value[0] != '\0') block.Default(value);
      return false;
    }
    if (BeginsWith(field, key)) {
      ReadOptionLine(field, line, block);
      return false;
    }
  }
  return false;
}

void ZPXPPD::ReadOptionLine(const char* field, PPDStream& line, OptionBlockReader& block) {
  PPDStream parts(field, long(std::strlen(field)));
  char mainKeyword[kTokenSize];
  char option[kTokenSize];
  char translation[kTokenSize];
  NextToken(parts, mainKeyword, kKeywordDelimiters, true);
  bool named = NextToken(parts, option, kOptionDelimiters, true) && option[0] != '\0';
  bool translated = NextToken(parts, translation, kTranslationDelimiters, false);
  char postScript[kPostScriptCapacity];
  unsigned long length = GetPostscriptString(line, postScript, kPostScriptCapacity);
  block.Option(named ? option : nullptr, translated ? translation : nullptr, postScript, length);
}

PPDXErrorObj* ZPXPPD::ParsePopupControl(const char* key, CFStringRef translation, FlagList& flags,
                                        PPDXGroup* group, bool pickMany) {
  PopupBlock block(*this);
  if (!ReadOptionBlock(key, block) || block.DefaultCount() > 1)
    return MakeError(kPPDXErrBadOptionBlock, key, true);
  if (block.DefaultCount() == 0) AddError(MakeError(kPPDXErrNoDefault, key, false));
  if (group == nullptr && !ParseOrphans())
    return MakeError(kPPDXErrOptionOutsideGroups, key, false);
  CString* defaultKeyword = block.TakeDefault();
  bool installable = group != nullptr && *group == UserChoice::kMakerInstallableGroup;
  PPDXPopupControl* control = new (std::nothrow)
      PPDXPopupControl(key, translation, flags.Words(), true, pickMany, installable, block.Items(),
                       defaultKeyword, mConstraints.get());
  if (control == nullptr) {
    delete defaultKeyword;
    return MakeError(kPPDXErrOutOfMemory, key, false);
  }
  block.HandOver();
  SetupControl(group, control, true);
  for (_PopupItem* item = control->FirstItem(); item != nullptr; item = control->NextItem())
    mConstraints->KVSInsert(key, *item->keyword);
  return nullptr;
}

PPDXErrorObj* ZPXPPD::ParseBooleanControl(const char* key, CFStringRef translation, FlagList& flags,
                                          PPDXGroup* group) {
  BooleanBlock block;
  PPDXErrorObj* error = ReadOptionBlock(key, block)
                            ? MakeBooleanControl(key, translation, flags, group, block)
                            : nullptr;
  if (!block.BadOption()) return error;
  // The bad option line is left out and the rest of the block kept; the
  // error comes after the block's own.
  if (error != nullptr) AddError(error);
  return MakeError(kPPDXErrBooleanNotTrueOrFalse, key, false);
}

PPDXErrorObj* ZPXPPD::MakeBooleanControl(const char* key, CFStringRef translation, FlagList& flags,
                                         PPDXGroup* group, BooleanBlock& block) {
  if (!block.HasDefault()) AddError(MakeError(kPPDXErrNoDefault, key, false));
  if (group == nullptr && !ParseOrphans())
    return MakeError(kPPDXErrOptionOutsideGroups, key, false);
  BooleanBlock::Side& on = block.True();
  BooleanBlock::Side& off = block.False();
  PPDXBooleanControl* control = new (std::nothrow) PPDXBooleanControl(
      key, translation, flags.Words(), true, on.text.get(), on.postScript, on.length,
      off.text.get(), off.postScript, off.length, block.DefaultValue(), mConstraints.get());
  if (control == nullptr) return MakeError(kPPDXErrOutOfMemory, key, true);
  block.HandOver();
  SetupControl(group, control, true);
  mConstraints->KVSInsert(key, "True");
  mConstraints->KVSInsert(key, "False");
  return nullptr;
}
