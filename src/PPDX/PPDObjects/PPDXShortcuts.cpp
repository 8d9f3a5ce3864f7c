#include "PPDX/PPDObjects/PPDXShortcuts.h"

#include <memory>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/ElementWalk.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "PPDX/PPDObjects/SettingsListReader.h"
#include "carbon/MacErrors.h"
#include "foundation/CString.h"
#include "foundation/SettingsKeys.h"

namespace {

// A shortcut that is no popup, or whose control could not be found again, is
// counted but saves no keyword; a rebuilt list takes at most this many of them.
constexpr long kMostShortcutsWithoutKeyword = 4096;

// The saved keyword's control among the displayable ones; null when it names none.
PPDXControl* FindControl(PPDXControls& controls, const CString* keyword) {
  if (keyword == nullptr) return nullptr;
  CNTL_TYPE type = CNTL_NONE;
  return controls.Find(*keyword, type, true);
}

}  // namespace

PPDXShortcuts::PPDXShortcuts(PointerList& controls) : mControls(controls) {}

PPDXShortcuts::PPDXShortcuts(Settings& settings, PPDXControls* controls) {
  if (controls == nullptr) return;
  const long count =
      SettingsListReader(settings).Count(kShortcutList, kMostShortcutsWithoutKeyword);
  SettingsEntryReader reader(settings, kShortcutList.firstIndex);
  long index = kShortcutList.firstIndex;
  for (long i = 0; i < count; ++i) {
    // Only shortcuts with a keyword were saved, one after the other: the index
    // moves on only past an entry that was there, an empty one included, so that
    // one empty entry does not hide every shortcut after it.
    long size = 0;
    std::unique_ptr<CString> keyword(reader.At(index).Text(kShortcutKey));
    if (reader.Size(kShortcutKey, size) == noErr) ++index;
    mControls.PushBack(FindControl(*controls, keyword.get()));
  }
}

PPDXShortcuts::~PPDXShortcuts() = default;

PPDXPopupControl* PPDXShortcuts::First() {
  return PopupFrom(WalkFirst<PPDXControl>(mControls, mCursor, WalkFilter::kNone));
}

PPDXPopupControl* PPDXShortcuts::Next() {
  return PopupFrom(WalkNext<PPDXControl>(mControls, mCursor, WalkFilter::kNone));
}

PPDXPopupControl* PPDXShortcuts::PopupFrom(PPDXControl* control) {
  for (; control != nullptr; control = WalkNext<PPDXControl>(mControls, mCursor, WalkFilter::kNone))
    if (PPDXPopupControl* popup = dynamic_cast<PPDXPopupControl*>(control)) return popup;
  return nullptr;
}

PPDXPopupControl* PPDXShortcuts::Find(const char* keyword, const bool& exact) {
  if (keyword == nullptr) return nullptr;
  for (PPDXPopupControl* popup = First(); popup != nullptr; popup = Next())
    if (KeywordMatches(popup->Keyword(), keyword, exact)) return popup;
  return nullptr;
}

PPDXPopupControl* PPDXShortcuts::InputSlot() { return Find("*InputSlot", true); }

PPDXPopupControl* PPDXShortcuts::Duplex() { return Find("*ZPDuplex", true); }

PPDXPopupControl* PPDXShortcuts::PageSize() { return Find("*PageSize", true); }

PPDXPopupControl* PPDXShortcuts::Orientation() { return Find("*ZP_PAPER_ORIENTATION", true); }

PPDXPopupControl* PPDXShortcuts::MediaSource() {
  return Find("Need media source keyword... stay tuned", true);
}

PPDXPopupControl* PPDXShortcuts::Tintora() {
  return Find("Need Tintora keyword... stay tuned", true);
}

short PPDXShortcuts::Save(Settings& settings) {
  SettingsEntryWriter writer(settings, kShortcutList.countIndex);
  writer.Number<SInt32>(kShortcutKey, SInt32(mControls.Size()));
  long index = kShortcutList.firstIndex;
  for (PPDXPopupControl* popup = First(); popup != nullptr && writer.Error() == noErr;
       popup = Next())
    if (popup->Keyword() != nullptr) writer.At(index++).Text(kShortcutKey, popup->Keyword());
  return writer.Error();
}
