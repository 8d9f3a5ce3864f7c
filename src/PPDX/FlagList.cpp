#include "PPDX/FlagList.h"

#include "PPDX/ZPXPPD.h"
#include "foundation/CString.h"
#include "foundation/PPDStream.h"
#include "foundation/PointerListOf.h"

FlagList::~FlagList() { PointerListOf<CString>(mWords).DeleteAll(); }

void FlagList::ReadFrom(PPDStream& line) {
  char word[PPDStream::kMaxLine + 1];
  while (ZPXPPD::NextFlagWord(line, word)) mWords.PushBack(new CString(word));
}
