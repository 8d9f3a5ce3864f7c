#include "PPDX/PPDObjects/PPDXProperties.h"

#include "PPDX/PPDObjects/ElementWalk.h"
#include "PPDX/PPDObjects/PPDXProperty.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "PPDX/PPDObjects/SettingsListReader.h"
#include "carbon/MacErrors.h"

namespace {

constexpr unsigned long kCountKey = 3000;
constexpr long kCountIndex = 3002;
constexpr long kFirstIndex = 3001;

}  // namespace

PPDXProperties::PPDXProperties() = default;

PPDXProperties::PPDXProperties(Settings& settings) {
  const long count = SettingsListReader(settings).Count(kCountKey, kCountIndex);
  for (long index = kFirstIndex; index < kFirstIndex + count; ++index)
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
  short error = SettingsEntryWriter(settings, kCountIndex)
                    .Number<SInt32>(kCountKey, SInt32(mProperties.Size()))
                    .Error();
  long index = kFirstIndex;
  for (PPDXProperty* property = First(); property != nullptr && error == noErr; property = Next())
    error = property->Save(settings, index++);
  return error;
}
