#include "PPDX/FlagList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "foundation/CString.h"
#include "foundation/DocumentStorage.h"
#include "foundation/PPDStream.h"
#include "foundation/PointerListOf.h"

namespace {

void Read(FlagList& flags, const char* words) {
  PPDStream line(words, long(std::strlen(words)));
  flags.ReadFrom(line);
}

std::unique_ptr<PPDXControl> ControlTaking(FlagList& flags) {
  return std::make_unique<PPDXCustomPageSizeControl>("*CustomPageSize", flags.Words());
}

// Words read for a document live in its storage and go to the control as they
// are; words read without one stay on the heap, and both kinds read alike.
TEST(FlagListTest, WordsLiveInTheStorageGivenAndGoToTheControl) {
  DocumentStorage storage;
  FlagList stored(storage);
  Read(stored, "Setup|Dynamic");
  const std::size_t storedBytes = storage.ChunkBytes();
  EXPECT_GT(storedBytes, 0u);
  std::unique_ptr<PPDXControl> control = ControlTaking(stored);
  EXPECT_TRUE(stored.Words().Empty());
  EXPECT_EQ(control->ControlFlagCount(), 2);
  EXPECT_TRUE(control->IsSetup() && control->IsDynamic() && !control->IsSpooler());

  FlagList onHeap;
  Read(onHeap, "Spooler|Command");
  std::unique_ptr<PPDXControl> heapControl = ControlTaking(onHeap);
  EXPECT_STREQ(heapControl->FirstControlFlag(), "Spooler");
  EXPECT_STREQ(heapControl->NextControlFlag(), "Command");
  EXPECT_EQ(storage.ChunkBytes(), storedBytes);
}

#if defined(__SANITIZE_ADDRESS__)
// A stored word ends with the control that took it, or with the list when no
// control did: reading it afterwards is reported though its storage lives on.
TEST(FlagListTest, StoredWordsEndWithTheirOwner) {
  DocumentStorage storage;
  EXPECT_DEATH(
      {
        const volatile char* word;
        {
          FlagList flags(storage);
          Read(flags, "Setup");
          word = ControlTaking(flags)->FirstControlFlag();
        }
        (void)word[0];
      },
      "use-after-poison");
  EXPECT_DEATH(
      {
        const volatile char* word;
        {
          FlagList flags(storage);
          Read(flags, "Spooler");
          word = *PointerListOf<const CString>(flags.Words()).Front();
        }
        (void)word[0];
      },
      "use-after-poison");
}
#endif

}  // namespace
