#pragma once
// The flag words of a control block while it is parsed. The strings belong to
// the list until a control takes them; whatever is left is ended with it.
// Given a document's storage, the words and their nodes live there.

#include "foundation/PointerList.h"

class DocumentStorage;
class PPDStream;

class FlagList {
 public:
  FlagList() = default;
  // `storage` outlives the words and whatever control takes them.
  explicit FlagList(DocumentStorage& storage);
  ~FlagList();

  FlagList(const FlagList&) = delete;
  FlagList& operator=(const FlagList&) = delete;

  // Appends every flag word that the rest of the line gives.
  void ReadFrom(PPDStream& line);
  // A control made from the words takes them with the list's nodes, and ends
  // them where the nodes live.
  PointerList& Words() { return mWords; }

 private:
  PointerList mWords;
};
