#include "foundation/Settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

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

// Reads a number the way restore code does: size first, then the value.
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
  EXPECT_EQ(collectionItemNotFoundErr, settings.Remove(kKeyword, 1));
  EXPECT_EQ(collectionItemNotFoundErr, settings.Lock(kKeyword, 1));
  EXPECT_EQ(paramErr, settings.Add(0x100000000ul, 1, "x", 1));
  EXPECT_TRUE(settings.Empty());

  ASSERT_EQ(noErr, settings.Add(kKeyword, 5001, "Duplex", 6));
  EXPECT_EQ(noErr, settings.LastError());
  long twelve = 0;
  ASSERT_EQ(noErr, settings.Get(kKeyword, 5001, nullptr, twelve, false));
  EXPECT_EQ(kSettingsFixLengthErr, settings.Get(kKeyword, 5001, nullptr, twelve, true));

  OpaqueCollection* none = nullptr;
  Settings empty(none);
  EXPECT_FALSE(empty.Valid());
  EXPECT_EQ(0, empty.Count());
  EXPECT_TRUE(empty.Empty());
  EXPECT_EQ(kSettingsNoStoreErr, empty.Add(kKeyword, 1, "x", 1));
  EXPECT_EQ(kSettingsNoStoreErr, empty.Next(key, index, size, attributes));
  char** flattened = reinterpret_cast<char**>(1);
  EXPECT_EQ(kSettingsNoStoreErr, empty.GetSettingsHandle(&flattened));
  EXPECT_EQ(nullptr, flattened);

  Settings fromNothing(static_cast<char**>(nullptr));
  EXPECT_EQ(paramErr, fromNothing.LastError());
  EXPECT_EQ(kSettingsStreamErr, settings.Save(nullptr));
  EXPECT_EQ(kSettingsStreamErr, settings.Read(nullptr, 0));
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
  EXPECT_EQ(5001, index);
  EXPECT_EQ(0x80000010ul, attributes);
  ASSERT_EQ(noErr, settings.Unlock(FourCC("PopC"), 5001));
  ASSERT_EQ(noErr, settings.Next(key, index, size, attributes));
  EXPECT_EQ(5002, index);
  EXPECT_EQ(0, size);
  EXPECT_EQ(kSettingsPastEndErr, settings.Next(key, index, size, attributes));
  EXPECT_EQ(0u, key);

  ASSERT_EQ(noErr, settings.Remove(kKeyword, 5001));
  ASSERT_EQ(noErr, settings.First(key, index, size, attributes));
  EXPECT_EQ(FourCC("PopC"), key);
  EXPECT_EQ(0x10ul, attributes);
  EXPECT_EQ(2, settings.Count());
}

// An entry longer than the caller's buffer is refused, never copied past it.
TEST(Settings, GetNeverWritesPastTheCallersBuffer) {
  Settings settings;
  ASSERT_EQ(noErr, settings.Add(kKeyword, 1, "twelve bytes", 12));
  unsigned char buffer[8];
  std::memset(buffer, '#', sizeof buffer);
  long size = 4;
  EXPECT_EQ(paramErr, settings.Get(kKeyword, 1, buffer, size, false));
  EXPECT_EQ(12, size);
  EXPECT_EQ(8, std::count(buffer, buffer + 8, '#'));
  size = 12;
  char text[12];
  ASSERT_EQ(noErr, settings.Get(kKeyword, 1, text, size, false));
  EXPECT_EQ(0, std::memcmp(text, "twelve bytes", 12));
}

TEST(Settings, CopiesAreDeepAndFlattenedStoresComeBack) {
  Settings original;
  SInt32 pages = 2;
  ASSERT_EQ(noErr, original.Add(kPages, kPageCount, &pages, 4));
  Settings copy(original);
  Settings assigned;
  assigned = original;
  pages = 3;
  ASSERT_EQ(noErr, original.Set(kPages, kPageCount, &pages, 4));
  SInt32 read = 0;
  ASSERT_EQ(noErr, ReadNumber(copy, kPages, kPageCount, read));
  EXPECT_EQ(2, read);
  ASSERT_EQ(noErr, ReadNumber(assigned, kPages, kPageCount, read));
  EXPECT_EQ(2, read);

  char** flattened = nullptr;
  ASSERT_EQ(noErr, original.GetSettingsHandle(&flattened));
  Settings restored(flattened);
  DisposeHandle(flattened);
  EXPECT_EQ(noErr, restored.LastError());
  ASSERT_EQ(noErr, ReadNumber(restored, kPages, kPageCount, read));
  EXPECT_EQ(3, read);
}

// A blob written on a machine of the other byte order: the page count and
// every number are byte-reversed, texts are not.
TEST(Settings, GetWithFixReadsNumbersWrittenInTheOtherByteOrder) {
  for (SInt32 pages : {2, 200}) {  // 200 reversed is negative as a signed number
    Settings writer;
    const SInt32 foreignPages = Reversed(pages);
    const SInt32 foreignLong = Reversed(SInt32(0x01020304));
    const SInt16 foreignShort = Reversed(SInt16(-2));
    unsigned char spec[70] = {0x12, 0x34, 0x00, 0x00, 0x01, 0x02, 3, 'a', 'b', 'c'};
    ASSERT_EQ(noErr, writer.Add(kPages, kPageCount, &foreignPages, 4));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 1, &foreignLong, 4));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 2, &foreignShort, 2));
    ASSERT_EQ(noErr, writer.Add(kKeyword, 3, spec, 70));
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

    long size = 4;
    ASSERT_EQ(noErr, reader.Get(kKeyword, 1, &number, size, false));
    EXPECT_EQ(foreignLong, number);
  }
}

TEST(Settings, GetWithFixLeavesNumbersOfThisByteOrderAlone) {
  Settings settings;
  SInt32 pages = 10000, value = 0x01020304, read = 0;
  ASSERT_EQ(noErr, settings.Add(kPages, kPageCount, &pages, 4));
  ASSERT_EQ(noErr, settings.Add(kKeyword, 1, &value, 4));
  ASSERT_EQ(noErr, ReadNumber(settings, kKeyword, 1, read));
  EXPECT_EQ(value, read);
}

TEST(Settings, SavesToAndReadsFromADataStream) {
  Settings original;
  SInt32 pages = 2;
  ASSERT_EQ(noErr, original.Add(kPages, kPageCount, &pages, 4));
  ASSERT_EQ(noErr, original.Add(kKeyword, 5001, "Duplex", 6));
  CFDataStream written;
  ASSERT_EQ(noErr, original.Save(&written));

  Settings restored;
  ASSERT_EQ(noErr, restored.Add(kKeyword, 1, "mine", 4));
  CFDataStream reader(written.GetData());
  ASSERT_EQ(noErr, restored.Read(&reader, 0));
  EXPECT_EQ(3, restored.Count());
  SInt32 read = 0;
  ASSERT_EQ(noErr, ReadNumber(restored, kPages, kPageCount, read));
  EXPECT_EQ(2, read);

  CFDataStream nothingWritten;
  EXPECT_EQ(noErr, restored.Read(&nothingWritten, 0));
  EXPECT_EQ(3, restored.Count());

  // A size beyond the stream, a cut block, a stream over no bytes.
  CFDataStream again(written.GetData());
  EXPECT_EQ(eofErr, restored.Read(&again, written.dataSize() + 1));
  EXPECT_EQ(paramErr, restored.Read(&again, written.dataSize() - 1));
  EXPECT_EQ(3, restored.Count());
  CFMutableDataRef empty = CFDataCreateMutable(kCFAllocatorDefault, 0);
  CFDataStream overEmpty(empty);
  CFRelease(empty);
  EXPECT_EQ(kSettingsStreamErr, restored.Save(&overEmpty));
  EXPECT_EQ(kSettingsStreamErr, restored.Read(&overEmpty, 0));
}
