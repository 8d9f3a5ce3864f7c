#include "PPDX/FlagList.h"

#include "PPDX/ZPXPPD.h"
#include "foundation/CString.h"
#include "foundation/DocumentStorage.h"
#include "foundation/PPDStream.h"
#include "foundation/PointerListOf.h"

FlagList::FlagList(DocumentStorage& storage) { mWords.PlaceNodesIn(storage); }

FlagList::~FlagList() { PointerListOf<CString>(mWords).EndAll(); }

void FlagList::ReadFrom(PPDStream& line) {
  char word[PPDStream::kMaxLine + 1];
  DocumentStorage* storage = mWords.NodeStorage();
  while (ZPXPPD::NextFlagWord(line, word))
    mWords.PushBack(storage != nullptr ? storage->Make<CString>(word, *storage)
                                       : new CString(word));
}
