#include "foundation/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "carbon/MacErrors.h"
#include "carbon/MacMemory.h"
#include "foundation/CFDataStream.h"

namespace {

const unsigned long kPages = 3000;
const long kPageCount = 3002;
const unsigned long kKeyword = FourCC("KyWd");

template <typename T>
T Reversed(T value) {
  auto* bytes = reinterpret_cast<unsigned char*>(&value);
  std::reverse(bytes, bytes + sizeof(T));
  return value;
}

// Reads a number the way restore code does: its size, then its value.
template <typename T>
short ReadNumber(Settings& settings, unsigned long key, long index, T& value) {
  long size = 0;
  short error = settings.Get(key, index, nullptr, size, false);
  if (error != noErr) return error;
  return settings.Get(key, index, &value, size, true);
}

}  // namespace

TEST(Settings, ReportsItsErrorCodes) {
  Settings settings;
  unsigned long key = 9, attributes = 9;
  long index = 9, size = 9;
  EXPECT_EQ(kSettingsEmptyErr, settings.First(key, index, size, attributes));
  EXPECT_EQ(0u, key + attributes + index + size);
  EXPECT_EQ(collectionItemNotFoundErr, settings.Get(kKeyword, 1, nullptr, size, false));
  EXPECT_EQ(0xE989, static_cast<unsigned short>(settings.LastError()));
  EXPECT_EQ(collectionItemNotFoundErr, settings.Set(kKeyword, 1, "x", 1));
  EXPECT_EQ(paramErr, settings.Add(0x100000000ul, 1, "x", 1));  // no aliasing of key 1

  OpaqueCollection* none = nullptr;
  Settings storeless(none);
  EXPECT_EQ(kSettingsNoStoreErr, storeless.Add(kKeyword, 1, "x", 1));
  EXPECT_EQ(kSettingsNoStoreErr, storeless.Next(key, index, size, attributes));
  char** flattened = nullptr;
  EXPECT_EQ(kSettingsNoStoreErr, storeless.GetSettingsHandle(&flattened));
  EXPECT_EQ(paramErr, Settings(static_cast<char**>(nullptr)).LastError());
}

TEST(Settings, WalksEntriesInOrderWithTheirAttributes) {
  Settings settings;
  ASSERT_EQ(noErr, settings.Add(kKeyword, 5001, "Duplex", 6));
  ASSERT_EQ(noErr, settings.Add(FourCC("PopC"), 5001, "P", 1));
  ASSERT_EQ(noErr, settings.Add(kKeyword, 5002, "", 0));
  ASSERT_EQ(noErr, settings.Lock(FourCC("PopC"), 5001));
  ASSERT_EQ(noErr, settings.SetAttribute(FourCC("PopC"), 5001, 0x11, true));
  ASSERT_EQ(noErr, settings.SetAttribute(FourCC("PopC"), 5001, 0x01, false));
  ASSERT_EQ(noErr, settings.Set(kKeyword, 5001, "Duplexer", 8));

  unsigned long key = 0, attributes = 0;
  long index = 0, size = 0;
  ASSERT_EQ(noErr, settings.First(key, index, size, attributes));
  EXPECT_EQ(kKeyword, key);
  EXPECT_EQ(8, size);
  ASSERT_EQ(noErr, settings.Next(key, index, size, attributes));
  EXPECT_EQ(FourCC("PopC"), key);
  EXPECT_EQ(0x80000010ul, attributes);
  ASSERT_EQ(noErr, settings.Unlock(FourCC("PopC"), 5001));
  ASSERT_EQ(noErr, settings.Next(key, index, size, attributes));
  EXPECT_EQ(5002, index);
  EXPECT_EQ(kSettingsPastEndErr, settings.Next(key, index, size, attributes));
  EXPECT_EQ(0u, key);

  Settings copy(settings), assigned;
  assigned = settings;
  ASSERT_EQ(noErr, settings.Remove(kKeyword, 5001));
  ASSERT_EQ(noErr, settings.First(key, index, size, attributes));
  EXPECT_EQ(0x10ul, attributes);
  EXPECT_EQ(2, settings.Count());
  EXPECT_EQ(3, copy.Count());
  EXPECT_EQ(3, assigned.Count());
}

// An entry longer than the caller's buffer is refused, never copied past it.
TEST(Settings, GetNeverWritesPastTheCallersBufferAndFixesOnlyNumbers) {
  Settings settings;
  ASSERT_EQ(noErr, settings.Add(kKeyword, 1, "twelve bytes", 12));
  unsigned char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  long size = 4;
  EXPECT_EQ(paramErr, settings.Get(kKeyword, 1, buffer, size, false));
  EXPECT_EQ(12, size);
  EXPECT_EQ(8, std::count(buffer, buffer + 8, '#'));
  char text[12];
  EXPECT_EQ(kSettingsFixLengthErr, settings.Get(kKeyword, 1, text, size, true));
  EXPECT_EQ(0, std::memcmp(text, "twelve bytes", 12));
}

// Blobs built by hand as a machine of the other byte order writes them: the page
// count and every number byte-reversed, the name of a file location as it is.
TEST(Settings, GetWithFixReadsNumbersWrittenInTheOtherByteOrder) {
  for (SInt32 pages : {2, 200}) {  // 200 reversed is negative as a signed number
    Settings writer;
    const SInt32 foreignPages = Reversed(pages), foreignLong = Reversed(SInt32(0x01020304));
    const SInt16 foreignShort = Reversed(SInt16(-2));
    const unsigned char foreignLocation[70] = {0x12, 0x34, 0x00, 0x00, 0x01,
                                               0x02, 3,    'a',  'b',  'c'};
    ASSERT_EQ(noErr, writer.Add(kPages, kPageCount, &foreignPages, 4));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 1, &foreignLong, 4));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 2, &foreignShort, 2));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 3, foreignLocation, 70));
    char** flattened = nullptr;
    ASSERT_EQ(noErr, writer.GetSettingsHandle(&flattened));
    Settings reader(flattened);
    DisposeHandle(flattened);

    SInt32 number = 0;
    ASSERT_EQ(noErr, ReadNumber(reader, kPages, kPageCount, number));
    EXPECT_EQ(pages, number);
    ASSERT_EQ(noErr, ReadNumber(reader, kKeyword, 1, number));
    EXPECT_EQ(0x01020304, number);
    SInt16 shortNumber = 0;
    ASSERT_EQ(noErr, ReadNumber(reader, kKeyword, 2, shortNumber));
    EXPECT_EQ(-2, shortNumber);
    unsigned char location[70];
    ASSERT_EQ(noErr, ReadNumber(reader, kKeyword, 3, location));
    SInt16 volume;
    SInt32 directory;
    std::memcpy(&volume, location, 2);
    std::memcpy(&directory, location + 2, 4);
    EXPECT_EQ(0x1234, volume);
    EXPECT_EQ(0x0102, directory);
    EXPECT_EQ(0, std::memcmp(location + 6, "\3abc", 4));
  }
}

TEST(Settings, GetWithFixLeavesNumbersOfThisByteOrderAlone) {
  Settings settings;
  SInt32 pages = 10000, value = 0x01020304;
  ASSERT_EQ(noErr, settings.Add(kPages, kPageCount, &pages, 4));
  ASSERT_EQ(noErr, settings.Add(kKeyword, 1, &value, 4));
  ASSERT_EQ(noErr, ReadNumber(settings, kKeyword, 1, pages));
  EXPECT_EQ(value, pages);
}

// What View points at must be what Get copies: the entry added last, or, in a
// store read from two blocks that both hold it, the later block's bytes.
TEST(Settings, ViewReadsEachEntryWhereItLiesAsGetWouldCopyIt) {
  Settings first;
  ASSERT_EQ(noErr, first.Add(kKeyword, 1, "old", 3));
  ASSERT_EQ(noErr, first.Add(kKeyword, 2, "kept", 4));
  ASSERT_EQ(noErr, first.Add(kKeyword, 3, "", 0));
  Settings second;
  ASSERT_EQ(noErr, second.Add(kKeyword, 1, "newer", 5));
  CFDataStream firstBlock, secondBlock;
  ASSERT_EQ(noErr, first.Save(&firstBlock));
  ASSERT_EQ(noErr, second.Save(&secondBlock));
  Settings store;
  CFDataStream firstReader(firstBlock.GetData()), secondReader(secondBlock.GetData());
  ASSERT_EQ(noErr, store.Read(&firstReader, 0));
  ASSERT_EQ(noErr, store.Read(&secondReader, 0));

  auto viewed = [&store](long index) {
    const void* data = nullptr;
    long size = -1;
    if (store.View(kKeyword, index, data, size) != noErr) return std::string("<none>");
    return std::string(static_cast<const char*>(data), std::size_t(size));
  };
  EXPECT_EQ("newer", viewed(1));
  EXPECT_EQ("kept", viewed(2));
  EXPECT_EQ("", viewed(3));
  EXPECT_EQ("<none>", viewed(4));
  EXPECT_EQ(collectionItemNotFoundErr, store.LastError());
  ASSERT_EQ(noErr, store.Add(kKeyword, 2, "changed", 7));
  EXPECT_EQ("changed", viewed(2));
  EXPECT_EQ(noErr, store.LastError());
  const void* data = nullptr;
  long size = 0;
  EXPECT_EQ(paramErr, store.View(kKeyword, long(INT32_MAX) + 1, data, size));
}

TEST(Settings, SavesToAndReadsFromADataStream) {
  Settings original;
  ASSERT_EQ(noErr, original.Add(kKeyword, 5001, "Duplex", 6));
  CFDataStream written;
  ASSERT_EQ(noErr, original.Save(&written));

  Settings restored;
  ASSERT_EQ(noErr, restored.Add(kKeyword, 1, "mine", 4));
  CFDataStream reader(written.GetData());
  ASSERT_EQ(noErr, restored.Read(&reader, 0));
  EXPECT_EQ(2, restored.Count());
  CFDataStream nothingWritten;
  EXPECT_EQ(noErr, restored.Read(&nothingWritten, 0));

  // A size beyond the stream, a cut block, a stream over no bytes.
  CFDataStream again(written.GetData());
  EXPECT_EQ(eofErr, restored.Read(&again, written.dataSize() + 1));
  EXPECT_EQ(paramErr, restored.Read(&again, written.dataSize() - 1));
  EXPECT_EQ(2, restored.Count());
  CFDataStream overNothing(nullptr);
  EXPECT_EQ(kSettingsStreamErr, restored.Save(&overNothing));
  EXPECT_EQ(kSettingsStreamErr, restored.Read(nullptr, 0));
}
