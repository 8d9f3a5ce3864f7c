#include "foundation/CountArray.h"

CountArray::CountArray() : total(0), orphans(0), hidden(0), hiddenOrphans(0) {}

void CountArray::Add(bool orphan, bool isHidden) {
  ++total;
  if (orphan) ++orphans;
  if (isHidden) ++hidden;
  if (orphan && isHidden) ++hiddenOrphans;
}

unsigned long CountArray::Count(unsigned long displayOptions) const {
  switch (displayOptions) {
    case 0:
      // A hidden orphan is both, and leaves the count once only.
      return total - orphans - (hidden - hiddenOrphans);
    case kIncludeOrphans:
      return total - hidden;
    case kIncludeHidden:
      return total - orphans;
    case kIncludeOrphans | kIncludeHidden:
      return total;
    default:
      return 0;
  }
}
