#include "foundation/CountArray.h"

CountArray::CountArray() : mTotal(0), mOrphans(0), mHidden(0), mHiddenOrphans(0) {}

void CountArray::Add(bool orphan, bool isHidden) {
  ++mTotal;
  if (orphan) ++mOrphans;
  if (isHidden) ++mHidden;
  if (orphan && isHidden) ++mHiddenOrphans;
}

unsigned long CountArray::Count(unsigned long displayOptions) const {
  switch (displayOptions) {
    case 0:
      // A hidden orphan is both, and leaves the count once only.
      return mTotal - mOrphans - (mHidden - mHiddenOrphans);
    case kIncludeOrphans:
      return mTotal - mHidden;
    case kIncludeHidden:
      return mTotal - mOrphans;
    case kIncludeOrphans | kIncludeHidden:
      return mTotal;
    default:
      return 0;
  }
}
