#pragma once
// The flag words of a control block while it is parsed. The strings belong to
// the list until a control takes them; whatever is left is deleted with it.

#include "foundation/PointerList.h"

class PPDStream;

class FlagList {
 public:
  FlagList() = default;
  ~FlagList();

  FlagList(const FlagList&) = delete;
  FlagList& operator=(const FlagList&) = delete;

  // Appends every flag word that the rest of the line gives.
  void ReadFrom(PPDStream& line);
  PointerList& Words() { return mWords; }
  // A control was made from the words and owns them now.
  void HandOver() { mWords.MakeEmpty(); }

 private:
  PointerList mWords;
};
