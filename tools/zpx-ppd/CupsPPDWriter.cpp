#include "CupsPPDWriter.h"

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "foundation/CString.h"
#include "host/ProgramVersion.h"

namespace zpxtool {
namespace {

// The options a user sets, as the dialog shows them, while it lives.
class ShownOptions {
 public:
  ShownOptions() : mSaved(ZPXPPD::Options()) { ZPXPPD::Options(DISPLAY_ATTACHED_VISIBLE); }
  ~ShownOptions() { ZPXPPD::Options(mSaved); }

 private:
  _DISPLAY_OPTIONS_ mSaved;
};

// Shown with every group around it: the options of hidden pages stay hidden.
bool IsShown(PPDXElement* element) {
  for (; element != nullptr; element = element->GetParent())
    if (!element->IsVisible()) return false;
  return true;
}

bool IsOneOf(const std::string& keyword, std::initializer_list<const char*> keywords) {
  for (const char* one : keywords)
    if (keyword == one) return true;
  return false;
}

}  // namespace

CupsPPDWriter::CupsPPDWriter(ZPXPPD& document, std::ostream& out, const std::string& source)
    : mDocument(document),
      mOut(out),
      mSource(source),
      mText(document.LanguageEncoding()),
      mBlocks(out, mText) {
  CollectOptions();
}

void CupsPPDWriter::CollectOptions() {
  ShownOptions shown;
  PPDXControls* controls = mDocument.GetControls();
  CNTL_TYPE type;
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    if (control->Keyword() == nullptr || !IsShown(control) ||
        !(type == CNTL_POPUP || type == CNTL_BOOLEAN || type == CNTL_RANGE ||
          type == CNTL_FLOATRANGE || type == CNTL_JOBNOTE))
      continue;
    mUserOptions.emplace(control->Keyword(), control);
    std::vector<std::string> choices;
    if (auto* popup = dynamic_cast<PPDXPopupControl*>(control)) {
      for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem())
        if (item->keyword != nullptr) choices.push_back(static_cast<const char*>(*item->keyword));
    } else if (type == CNTL_BOOLEAN) {
      choices = {"True", "False"};
    } else {
      continue;
    }
    mChoiceOptions.emplace_back(control->Keyword(), choices);
  }
}

PPDXControl* CupsPPDWriter::UserOption(const std::string& key) const {
  auto found = mUserOptions.find(key);
  return found != mUserOptions.end() ? found->second : nullptr;
}

bool CupsPPDWriter::Write(std::istream& maker) {
  MakerEntryReader reader(maker);
  MakerEntry entry;
  while (reader.Next(entry)) Entry(entry, reader);
  Pending();
  CupsConstraints(mDocument, mChoiceOptions).Write(mOut);
  return !reader.TooLong();
}

void CupsPPDWriter::Header(const MakerEntry& entry) {
  mOut << entry.text;
  if (!entry.text.empty() && entry.text.back() != '\n') mOut << "\n";
  mOut << "*% made by " << kTool << " " << ProgramVersion::Text() << " from " << Printable(mSource.c_str())
       << "\n"
       << kFilterLine << "\n";
}

bool CupsPPDWriter::IsPendingEntry(const MakerEntry& entry) const {
  // A job note's default or code template follows its line.
  const std::string key = mPending->Keyword() + 1;
  return entry.keyword == "*%Default" + key || entry.keyword == "*%" + key;
}

void CupsPPDWriter::Pending() {
  if (mPending == nullptr) return;
  PPDXControl* control = mPending;
  mPending = nullptr;
  mPendingTakesNext = false;
  const bool grouped = OpenGroup(*control);
  if (auto* range = dynamic_cast<PPDXRangeControl*>(control)) mBlocks.Range(*range);
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(control)) mBlocks.FloatRange(*range);
  if (auto* note = dynamic_cast<PPDXJobNote*>(control)) mBlocks.Note(*note);
  if (grouped) CloseGroup(*control);
}

PPDXElement* CupsPPDWriter::Group(PPDXControl& control) {
  return UserChoice::IsInstallable(control) ? nullptr : control.GetParent();
}

bool CupsPPDWriter::OpenGroup(PPDXControl& control) {
  if (mInMakerGroup) return false;
  PPDXElement* group = Group(control);
  if (group != nullptr)
    mOut << "*OpenGroup: " << group->Keyword() << "/" << mText.Of(group->CFStringUserName());
  else
    mOut << "*OpenGroup: " << UserChoice::kInstallableGroup << "/"
         << mText.OfUTF8("Installable Options");
  mOut << "\n";
  return true;
}

void CupsPPDWriter::CloseGroup(PPDXControl& control) {
  PPDXElement* group = Group(control);
  mOut << "*CloseGroup: " << (group != nullptr ? group->Keyword() : UserChoice::kInstallableGroup)
       << "\n";
}

void CupsPPDWriter::Block(PPDXControl& control, MakerEntryReader& reader) {
  const std::string key = control.Keyword();
  const std::string defaultKeyword = "*Default" + key.substr(1);
  std::string kept;
  MakerEntry entry;
  while (reader.Next(entry) && !(entry.keyword == "*CloseUI" && entry.option == key)) {
    if (entry.keyword != key && entry.keyword != defaultKeyword) kept += entry.text;
  }
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) mBlocks.Popup(*popup, kept);
  if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(&control)) mBlocks.Boolean(*boolean, kept);
  if (mGrouped == &control) CloseGroup(control);
  if (mGrouped == &control) mGrouped = nullptr;
}

bool CupsPPDWriter::IsChoiceOption(const PPDXControl* control) {
  return control != nullptr && (control->Type() == CNTL_POPUP || control->Type() == CNTL_BOOLEAN);
}

void CupsPPDWriter::Entry(const MakerEntry& entry, MakerEntryReader& reader) {
  if (mPending == nullptr) return TakeEntry(entry, reader);
  // The extension reads the line after a job note's with the note: the note's
  // default or code template, and whatever line follows an announced note.
  const bool takenWithNote = mPendingTakesNext || IsPendingEntry(entry);
  if (takenWithNote) TakeEntry(entry, reader);
  Pending();
  if (!takenWithNote) TakeEntry(entry, reader);
}

void CupsPPDWriter::TakeEntry(const MakerEntry& entry, MakerEntryReader& reader) {
  const bool swallowed = mNextSwallowed;
  mNextSwallowed = false;
  const std::string& keyword = entry.keyword;
  if (keyword == "*PPD-Adobe") return Header(entry);
  if (IsOneOf(keyword, {"*cupsFilter", "*cupsFilter2", "*UIConstraints", "*%ZPXUIConstraints",
                        "*%ZPXUIRequires"}))
    return;
  if (keyword == "*OpenGroup") mInMakerGroup = true;
  if (keyword == "*CloseGroup") mInMakerGroup = false;
  PPDXControl* control = UserOption(entry.option);
  if (keyword == "*%ZPXFlags" && IsChoiceOption(control) && OpenGroup(*control)) mGrouped = control;
  if (keyword == "*OpenUI" && IsChoiceOption(control)) return Block(*control, reader);
  mOut << entry.text;
  if (control != nullptr &&
      IsOneOf(keyword, {"*%ZPXRange", "*%ZPXUnitRange", "*%ZPXFloatRange", "*%ZPXJobNote"})) {
    mPending = control;
    mPendingTakesNext = keyword == "*%ZPXJobNote" && mAnnounced == entry.option;
  }
  // An announced note takes the next line, whatever it is, so that a line it
  // takes announces nothing.
  if (keyword == "*%ZPXJobNote") mNextSwallowed = mAnnounced == entry.option;
  if (keyword == "*%ZPXFlags") mAnnounced = swallowed ? "" : entry.option;
}

}  // namespace zpxtool
