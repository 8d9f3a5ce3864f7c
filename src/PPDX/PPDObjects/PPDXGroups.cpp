#include "PPDX/PPDObjects/PPDXGroups.h"

#include "PPDX/PPDObjects/ElementWalk.h"
#include "PPDX/PPDObjects/PPDXRollDown.h"
#include "PPDX/PPDObjects/PPDXScrollPane.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "PPDX/PPDObjects/SettingsListReader.h"
#include "carbon/MacErrors.h"
#include "foundation/SettingsKeys.h"

namespace {

enum GroupMarker { kGroupMarker, kRollDownMarker, kScrollPaneMarker, kMarkerCount };
constexpr unsigned long kMarkers[kMarkerCount] = {PPDXGroup::kMarker, PPDXRollDown::kMarker,
                                                  PPDXScrollPane::kMarker};

PPDXGroup* NewGroup(int marker, Settings& settings, long index) {
  switch (marker) {
    case kGroupMarker:
      return new PPDXGroup(settings, index);
    case kRollDownMarker:
      return new PPDXRollDown(settings, index);
    case kScrollPaneMarker:
      return new PPDXScrollPane(settings, index);
    default:
      return nullptr;
  }
}

}  // namespace

PPDXGroups::PPDXGroups() = default;

PPDXGroups::PPDXGroups(Settings& settings) {
  SettingsListReader list(settings);
  const long count = list.Count(kGroupList);
  for (long index = kGroupList.firstIndex; index < kGroupList.firstIndex + count; ++index)
    Add(NewGroup(list.Marker(index, kMarkers, kMarkerCount), settings, index));
}

PPDXGroups::~PPDXGroups() = default;

void PPDXGroups::Add(PPDXGroup* group) {
  if (group == nullptr) return;
  mGroups.PushBack(group);
  if (group->Keyword() != nullptr) mFirstByKeyword.emplace(group->Keyword(), group);
}

PPDXGroup* PPDXGroups::First() {
  return WalkFirst<PPDXGroup>(mGroups, mCursor, WalkFilter::kDisplayable);
}

PPDXGroup* PPDXGroups::Next() {
  return WalkNext<PPDXGroup>(mGroups, mCursor, WalkFilter::kDisplayable);
}

PPDXGroup* PPDXGroups::Find(const char* keyword, const bool& exact) {
  if (exact && keyword != nullptr) {
    auto found = mFirstByKeyword.find(keyword);
    return found != mFirstByKeyword.end() ? found->second : nullptr;
  }
  PointerListItr position;
  return WalkFind<PPDXGroup>(mGroups, position, WalkFilter::kNone, keyword, exact);
}

unsigned long PPDXGroups::Count() {
  unsigned long count = 0;
  PointerListItr position;
  for (PPDXGroup* group = WalkFirst<PPDXGroup>(mGroups, position, WalkFilter::kDisplayable);
       group != nullptr; group = WalkNext<PPDXGroup>(mGroups, position, WalkFilter::kDisplayable))
    ++count;
  return count;
}

bool PPDXGroups::Empty() const {
  switch (PPDXDisplayOptions::Options()) {
    case DISPLAY_ATTACHED_VISIBLE:
    case DISPLAY_VISIBLE:
    case DISPLAY_ATTACHED:
    case DISPLAY_ALL:
      return mGroups.Empty();
    default:
      return true;
  }
}

short PPDXGroups::Save(Settings& settings) {
  short error = SettingsEntryWriter(settings, kGroupList.countIndex)
                    .Number<SInt32>(kGroupList.countKey, SInt32(mGroups.Size()))
                    .Error();
  long index = kGroupList.firstIndex;
  for (PPDXGroup* group = First(); group != nullptr && error == noErr; group = Next())
    error = group->Save(settings, index++);
  return error;
}
