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
  // A control made from the words takes them with the list's nodes.
  PointerList& Words() { return mWords; }

 private:
  PointerList mWords;
};
