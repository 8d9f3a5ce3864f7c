#include "PPDX/FlagList.h"

#include "PPDX/ZPXPPD.h"
#include "foundation/CString.h"
#include "foundation/PPDStream.h"

FlagList::~FlagList() {
  for (PointerListItr word = mWords.Begin(); word != mWords.End(); ++word)
    delete static_cast<const CString*>(*word);
}

void FlagList::ReadFrom(PPDStream& line) {
  char word[PPDStream::kMaxLine + 1];
  while (ZPXPPD::NextFlagWord(line, word)) mWords.PushBack(new CString(word));
}
