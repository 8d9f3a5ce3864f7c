#pragma once
// Counts controls by whether they belong to a group and whether they are
// visible, so that the number shown under any display filter is known without
// walking the controls again.

class CountArray {
 public:
  // The display-filter bits: orphans (controls in no group) and hidden ones.
  enum : unsigned long { kIncludeOrphans = 1, kIncludeHidden = 2 };

  CountArray();

  void Add(bool orphan, bool isHidden);
  // The number of controls the filter lets through; 0 for an unknown filter.
  unsigned long Count(unsigned long displayOptions) const;

 private:
  unsigned long mTotal;
  unsigned long mOrphans;
  unsigned long mHidden;
  unsigned long mHiddenOrphans;
};
