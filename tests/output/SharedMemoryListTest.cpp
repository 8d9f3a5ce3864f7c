// The area shared with the job-properties application, written by the pane and
// read back after the other process may have written anything into it.
#include <gtest/gtest.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "output/SharedMemoryList.h"

namespace {

using WidePairs = SDMPairs;

WidePairs Numbered(size_t count) {
  WidePairs pairs;
  for (size_t i = 0; i < count; ++i)
    pairs.push_back({L"Key" + std::to_wstring(i), L"Value " + std::to_wstring(i * 7)});
  return pairs;
}

WidePairs ReadBack(const SharedMemoryList& shared) {
  SDMKeyValueList* list = shared.Create_SDMList_From_SharedMemoryList();
  if (list == nullptr) return WidePairs();
  const WidePairs pairs = SharedMemoryList::PairsOf(*list);
  SharedMemoryList::FreeSDMList(list);
  return pairs;
}

void Write(SharedMemoryList& shared, const WidePairs& pairs) {
  SDMKeyValueList* list = SharedMemoryList::NewSDMList(pairs);
  EXPECT_TRUE(shared.Create_SharedMemoryList_From_SDMList(*list));
  SharedMemoryList::FreeSDMList(list);
}

bool SegmentExists(int id) {
  struct shmid_ds status;
  return shmctl(id, IPC_STAT, &status) == 0;
}

void Put(std::vector<char>& area, size_t offset, const std::string& text) {
  memcpy(area.data() + offset, text.c_str(), text.size() + 1);
}

// A segment holding `packed`, made by the given user.
int SegmentOf(const std::string& packed, uid_t owner) {
  int channel[2];
  if (pipe(channel) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    if (setresuid(owner, owner, owner) != 0) _exit(1);
    const int id = shmget(IPC_PRIVATE, packed.size(), IPC_CREAT | 0644);
    char* address = static_cast<char*>(shmat(id, nullptr, 0));
    memcpy(address, packed.data(), packed.size());
    shmdt(address);
    _exit(write(channel[1], &id, sizeof id) == sizeof id ? 0 : 1);
  }
  close(channel[1]);
  int id = -1;
  if (read(channel[0], &id, sizeof id) != sizeof id) id = -1;
  close(channel[0]);
  waitpid(child, nullptr, 0);
  return id;
}

}  // namespace

TEST(SharedMemoryListTest, TwoHundredFiftySettingsUseTheOverflowAreaUntilALaterExchange) {
  std::vector<char> area(SharedMemoryList::kAreaSize);
  SharedMemoryList shared(area.data());
  shared.Clear();
  const WidePairs many = Numbered(250);
  Write(shared, many);

  EXPECT_EQ("200", shared.ReadField(SharedMemoryList::kCountOffset, SharedMemoryList::kCountSize));
  EXPECT_EQ("50", shared.ReadField(SharedMemoryList::kOverflowCountOffset,
                                   SharedMemoryList::kOverflowCountSize));
  EXPECT_EQ("Key199",
            shared.ReadField(199 * SharedMemoryList::kKeySize, SharedMemoryList::kKeySize));
  const int overflowId = int(
      shared.ReadNumber(SharedMemoryList::kOverflowIdOffset, SharedMemoryList::kOverflowIdSize));
  ASSERT_GT(overflowId, 0);
  struct shmid_ds status;
  ASSERT_EQ(0, shmctl(overflowId, IPC_STAT, &status));
  EXPECT_EQ(0600u, status.shm_perm.mode & 0777);
  EXPECT_TRUE(status.shm_perm.mode & SHM_DEST) << "marked for removal while attached";
  const WidePairs back = ReadBack(shared);
  ASSERT_EQ(many.size(), back.size());
  EXPECT_EQ(many, back);

  const WidePairs few = Numbered(10);
  Write(shared, few);
  EXPECT_EQ("10", shared.ReadField(SharedMemoryList::kCountOffset, SharedMemoryList::kCountSize));
  EXPECT_EQ("0", shared.ReadField(SharedMemoryList::kOverflowCountOffset,
                                  SharedMemoryList::kOverflowCountSize));
  EXPECT_EQ("0", shared.ReadField(SharedMemoryList::kOverflowIdOffset,
                                  SharedMemoryList::kOverflowIdSize));
  EXPECT_FALSE(SegmentExists(overflowId));
  EXPECT_EQ(few, ReadBack(shared));

  Write(shared, many);
  const int second = int(
      shared.ReadNumber(SharedMemoryList::kOverflowIdOffset, SharedMemoryList::kOverflowIdSize));
  shared.RemoveOverflowArea();
  EXPECT_FALSE(SegmentExists(second));
}

TEST(SharedMemoryListTest, TextIsUTF8CutOnCharacterBoundariesWhateverTheLocale) {
  std::vector<char> area(SharedMemoryList::kAreaSize);
  SharedMemoryList shared(area.data());
  shared.Clear();
  const std::wstring longKey(40, L'\u00FC');     // 80 bytes: cut to 31 characters
  const std::wstring longValue(300, L'\u00E9');  // 600 bytes: cut to 255 characters
  Write(shared, {{longKey, longValue},
                 {L"Caf\u00E9", L"\u20AC \U0001F600"},
                 {L"Bad", std::wstring(1, wchar_t(0xD800))}});

  EXPECT_EQ(62u, shared.ReadField(0, SharedMemoryList::kKeySize).size());
  EXPECT_EQ(510u,
            shared.ReadField(SharedMemoryList::kValuesOffset, SharedMemoryList::kValueSize).size());
  EXPECT_EQ("Caf\xC3\xA9",
            shared.ReadField(SharedMemoryList::kKeySize, SharedMemoryList::kKeySize));
  const WidePairs back = ReadBack(shared);
  ASSERT_EQ(3u, back.size());
  EXPECT_EQ(std::wstring(31, L'\u00FC'), back[0].first);
  EXPECT_EQ(std::wstring(255, L'\u00E9'), back[0].second);
  EXPECT_EQ(L"\u20AC \U0001F600", back[1].second);
  EXPECT_EQ(std::wstring(1, wchar_t(0xFFFD)), back[2].second);

  // Bytes the other process wrote that are not UTF-8.
  Put(area, SharedMemoryList::kValuesOffset,
      "a\xFF"
      "b\xC3");
  EXPECT_EQ(L"a\uFFFDb\uFFFD", ReadBack(shared)[0].second);
}

TEST(SharedMemoryListTest, HostileAreasReadWithinTheirFields) {
  std::vector<char> area(SharedMemoryList::kAreaSize, 'A');  // no NUL anywhere
  SharedMemoryList shared(area.data());
  struct Count {
    const char* mText;
    size_t mEntries;
  };
  for (const Count& count : {Count{"999", 200}, Count{"-5", 0}, Count{"abc", 0}, Count{"12", 12}}) {
    std::vector<char> hostile(SharedMemoryList::kAreaSize, 'A');
    Put(hostile, SharedMemoryList::kCountOffset, count.mText);
    Put(hostile, SharedMemoryList::kOverflowCountOffset, "0");
    SharedMemoryList reader(hostile.data());
    const WidePairs back = ReadBack(reader);
    ASSERT_EQ(count.mEntries, back.size()) << count.mText;
    if (!back.empty()) {
      EXPECT_EQ(std::wstring(SharedMemoryList::kKeySize, L'A'), back[0].first);
      EXPECT_EQ(std::wstring(SharedMemoryList::kValueSize, L'A'), back.back().second);
    }
  }
  Put(area, SharedMemoryList::kWatermarkCountOffset, "99");
  EXPECT_EQ(20u, shared.ReadWatermarkCount());
  EXPECT_EQ(std::string(SharedMemoryList::kWatermarkDefinitionSize, 'A'),
            shared.ReadWatermarkDefinition(19));
  EXPECT_EQ("", shared.ReadWatermarkDefinition(20));

  // An overflow count past its segment stops at the segment's end, even when
  // the last text has no NUL.
  area.assign(SharedMemoryList::kAreaSize, 0);
  Put(area, SharedMemoryList::kCountOffset, "0");
  const std::string packed("k1\0v1\0k2\0v2\0k3", 14);
  const int own = SegmentOf(packed, geteuid());
  ASSERT_GE(own, 0);
  Put(area, SharedMemoryList::kOverflowIdOffset, std::to_string(own));
  Put(area, SharedMemoryList::kOverflowCountOffset, "9999");
  const WidePairs expected = {{L"k1", L"v1"}, {L"k2", L"v2"}, {L"k3", L""}};
  EXPECT_EQ(expected, ReadBack(shared));
  shmctl(own, IPC_RMID, nullptr);

  // A segment of another user, or one that is gone, hands back no list.
  const int foreign = SegmentOf(packed, 65534);
  ASSERT_GE(foreign, 0);
  Put(area, SharedMemoryList::kOverflowIdOffset, std::to_string(foreign));
  EXPECT_EQ(nullptr, shared.Create_SDMList_From_SharedMemoryList());
  shmctl(foreign, IPC_RMID, nullptr);
  EXPECT_EQ(nullptr, shared.Create_SDMList_From_SharedMemoryList());
}

TEST(SharedMemoryListTest, StatusFlagsWatermarksAndInstallableIndexes) {
  std::vector<char> area(SharedMemoryList::kAreaSize, 'x');
  SharedMemoryList shared(area.data());
  shared.Clear();
  int status = 7;
  ASSERT_TRUE(shared.ReadStatus(status));
  EXPECT_EQ(0, status);
  EXPECT_EQ("0", shared.ReadField(SharedMemoryList::kChangedOffset, SharedMemoryList::kFlagSize));
  EXPECT_EQ(0, area[SharedMemoryList::kAreaSize - 1]);

  shared.WriteStatus(SharedMemoryList::kStatusWorking);
  ASSERT_TRUE(shared.ReadStatus(status));
  EXPECT_EQ(-1, status);
  Put(area, SharedMemoryList::kStatusOffset, "4096");  // as the application writes it
  ASSERT_TRUE(shared.ReadStatus(status));
  EXPECT_EQ(4096, status);
  memcpy(area.data() + SharedMemoryList::kStatusOffset, "409612345", 9);
  ASSERT_TRUE(shared.ReadStatus(status));
  EXPECT_EQ(409612, status) << "read within the six bytes only";
  Put(area, SharedMemoryList::kStatusOffset, "ok");
  EXPECT_FALSE(shared.ReadStatus(status));

  shared.WriteAddress("printer.example");
  EXPECT_EQ("1",
            shared.ReadField(SharedMemoryList::kAddressFlagOffset, SharedMemoryList::kFlagSize));
  EXPECT_EQ("printer.example",
            shared.ReadField(SharedMemoryList::kAddressOffset, SharedMemoryList::kAddressSize));
  shared.WriteNoAddress();
  EXPECT_EQ("0",
            shared.ReadField(SharedMemoryList::kAddressFlagOffset, SharedMemoryList::kFlagSize));
  shared.WritePPDPath(std::string(600, 'p').c_str());
  EXPECT_EQ(
      511u,
      shared.ReadField(SharedMemoryList::kPPDPathOffset, SharedMemoryList::kPPDPathSize).size());

  shared.WriteWatermark(3, std::string(200, 'w'));
  EXPECT_EQ("3", shared.ReadField(SharedMemoryList::kWatermarkIndexOffset + 9, 3));
  EXPECT_EQ(127u, shared.ReadWatermarkDefinition(3).size());
  shared.WriteWatermark(20, "beyond the slots");
  EXPECT_EQ(0, area[SharedMemoryList::kWatermarkCountOffset]);
  shared.WriteWatermarkCount(21);
  EXPECT_EQ("20", shared.ReadField(SharedMemoryList::kWatermarkCountOffset,
                                   SharedMemoryList::kWatermarkCountSize));

  // Only whole "index," items: a cut number would name another entry.
  for (int index = 100; index < 130; ++index) shared.AppendInstallableIndex(index);
  const std::string indexes =
      shared.ReadField(SharedMemoryList::kInstallableOffset, SharedMemoryList::kInstallableSize);
  EXPECT_EQ(60u, indexes.size());
  EXPECT_EQ("100,101,", indexes.substr(0, 8));
  EXPECT_EQ("114,", indexes.substr(56));
  shared.ClearInstallableIndexes();
  shared.AppendInstallableIndex(5);
  EXPECT_EQ("5,", shared.ReadField(SharedMemoryList::kInstallableOffset,
                                   SharedMemoryList::kInstallableSize));
}
