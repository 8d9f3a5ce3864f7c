#include "PPDX/PPDObjects/PPDXProperties.h"

#include "PPDX/PPDObjects/ElementWalk.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "PPDX/PPDObjects/SettingsListReader.h"
#include "carbon/MacErrors.h"
#include "foundation/SettingsKeys.h"

PPDXProperties::PPDXProperties() = default;

PPDXProperties::PPDXProperties(Settings& settings) {
  const long count = SettingsListReader(settings).Count(kPropertyPageList);
  for (long index = kPropertyPageList.firstIndex; index < kPropertyPageList.firstIndex + count;
       ++index)
    Add(new PPDXProperty(settings, index));
}

PPDXProperties::~PPDXProperties() = default;

void PPDXProperties::Add(PPDXProperty* property) {
  if (property != nullptr) mProperties.PushBack(property);
}

PPDXProperty* PPDXProperties::First() {
  return WalkFirst<PPDXProperty>(mProperties, mCursor, WalkFilter::kNone);
}

PPDXProperty* PPDXProperties::Next() {
  return WalkNext<PPDXProperty>(mProperties, mCursor, WalkFilter::kNone);
}

PPDXProperty* PPDXProperties::Find(const char* keyword, const bool& exact) {
  return WalkFind<PPDXProperty>(mProperties, mCursor, WalkFilter::kNone, keyword, exact);
}

short PPDXProperties::Save(Settings& settings) {
  short error = SettingsEntryWriter(settings, kPropertyPageList.countIndex)
                    .Number<SInt32>(kPropertyPageList.countKey, SInt32(mProperties.Size()))
                    .Error();
  long index = kPropertyPageList.firstIndex;
  for (PPDXProperty* property = First(); property != nullptr && error == noErr; property = Next())
    error = property->Save(settings, index++);
  return error;
}
