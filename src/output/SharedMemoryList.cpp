#include "output/SharedMemoryList.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "cf/CFText.h"
#include "ipc/SharedSegment.h"
#include "output/WideText.h"

namespace {

constexpr long kNumberLimit = 1000000000;

// Leading "-" and digits; false when there are no digits. Saturates, so a
// hostile text of many digits stays a (clamped) number.
bool ParseDecimal(const std::string& text, long& number) {
  size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  const bool negative = i == 1;
  const size_t firstDigit = i;
  number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    number = std::min(kNumberLimit, number * 10 + (text[i] - '0'));
  if (negative) number = -number;
  return i > firstDigit;
}

wchar_t* NewWide(const std::wstring& text) {
  wchar_t* copy = new wchar_t[text.size() + 1];
  std::copy(text.begin(), text.end(), copy);
  copy[text.size()] = 0;
  return copy;
}

std::wstring WideFromField(const char* bytes, size_t size) {
  return WideFromUTF8Replacing(bytes, strnlen(bytes, size));
}

// The entry's text as UTF-8 cut on a character boundary so that it and its
// NUL fit in `fieldSize` bytes.
std::string FieldText(const wchar_t* text, size_t fieldSize) {
  std::string utf8 = UTF8FromWideReplacing(text != nullptr ? text : L"");
  utf8.resize(UTF8BoundaryCut(utf8, fieldSize - 1));
  return utf8;
}

// The pairs of an overflow area this user made, within the segment's real
// size; a count past the segment stops at its end.
bool ReadOverflowPairs(int id, size_t count, SDMPairs& pairs) {
  size_t size = 0;
  const char* address = static_cast<const char*>(SharedSegmentAttachOwnReadOnly(id, size));
  if (address == nullptr) return false;
  size_t at = 0;
  for (size_t read = 0; read < count && at < size; ++read) {
    const size_t keyLength = strnlen(address + at, size - at);
    const size_t valueAt = std::min(size, at + keyLength + 1);
    const size_t valueLength = strnlen(address + valueAt, size - valueAt);
    pairs.push_back({WideFromUTF8Replacing(address + at, keyLength),
                     WideFromUTF8Replacing(address + valueAt, valueLength)});
    at = valueAt + valueLength + 1;
  }
  SharedSegmentDetach(address);
  return true;
}

}  // namespace

SharedMemoryList::SharedMemoryList(char* area) : mArea(area) {}

SharedMemoryList::~SharedMemoryList() { SharedSegmentDetach(mOverflowAddress); }

void SharedMemoryList::Clear() {
  memset(mArea, 0, kAreaSize);
  WriteStatus(kStatusDone);
  WriteChangedFlag(false);
}

std::string SharedMemoryList::ReadField(size_t offset, size_t size) const {
  return std::string(mArea + offset, strnlen(mArea + offset, size));
}

long SharedMemoryList::ReadNumber(size_t offset, size_t size) const {
  long number = 0;
  ParseDecimal(ReadField(offset, size), number);
  return number;
}

void SharedMemoryList::WriteText(size_t offset, size_t size, const std::string& text) {
  const size_t length = UTF8BoundaryCut(text, size - 1);
  memcpy(mArea + offset, text.data(), length);
  mArea[offset + length] = 0;
}

void SharedMemoryList::WriteNumber(size_t offset, size_t size, long number) {
  WriteText(offset, size, std::to_string(number));
}

bool SharedMemoryList::ReadStatus(int& status) const {
  long number = 0;
  const bool found = ParseDecimal(ReadField(kStatusOffset, kStatusReadSize), number);
  status = static_cast<int>(number);
  return found;
}

void SharedMemoryList::WriteStatus(int status) {
  // Written as the application writes it: "4096" runs into the flag fields.
  const std::string text = std::to_string(status);
  WriteText(kStatusOffset, kStatusReadSize, text);
}

void SharedMemoryList::WriteChangedFlag(bool changed) {
  WriteText(kChangedOffset, kFlagSize, changed ? "1" : "0");
}

void SharedMemoryList::WriteAddress(const char* address) {
  WriteText(kAddressFlagOffset, kFlagSize, "1");
  WriteText(kAddressOffset, kAddressSize, address);
}

void SharedMemoryList::WriteNoAddress() { WriteText(kAddressFlagOffset, kFlagSize, "0"); }

void SharedMemoryList::WritePPDPath(const char* path) {
  WriteText(kPPDPathOffset, kPPDPathSize, path);
}

void SharedMemoryList::AppendInstallableIndex(int index) {
  const std::string field = ReadField(kInstallableOffset, kInstallableSize);
  const std::string item = std::to_string(index) + ",";
  if (field.size() + item.size() < kInstallableSize)
    WriteText(kInstallableOffset, kInstallableSize, field + item);
}

void SharedMemoryList::ClearInstallableIndexes() {
  memset(mArea + kInstallableOffset, 0, kInstallableSize);
}

void SharedMemoryList::WriteWatermark(size_t slot, const std::string& definition) {
  if (slot >= kWatermarkSlots) return;
  WriteNumber(kWatermarkIndexOffset + slot * kWatermarkIndexSize, kWatermarkIndexSize, long(slot));
  WriteText(kWatermarkDefinitionOffset + slot * kWatermarkDefinitionSize, kWatermarkDefinitionSize,
            definition);
}

void SharedMemoryList::WriteWatermarkCount(size_t count) {
  WriteNumber(kWatermarkCountOffset, kWatermarkCountSize,
              long(std::min<size_t>(count, kWatermarkSlots)));
}

size_t SharedMemoryList::ReadWatermarkCount() const {
  return size_t(
      std::clamp<long>(ReadNumber(kWatermarkCountOffset, kWatermarkCountSize), 0, kWatermarkSlots));
}

std::string SharedMemoryList::ReadWatermarkDefinition(size_t slot) const {
  if (slot >= kWatermarkSlots) return "";
  return ReadField(kWatermarkDefinitionOffset + slot * kWatermarkDefinitionSize,
                   kWatermarkDefinitionSize);
}

void SharedMemoryList::RemoveOverflowArea() {
  SharedSegmentDetach(mOverflowAddress);
  SharedSegmentRemove(mOverflowId);
  mOverflowAddress = nullptr;
  mOverflowId = -1;
  WriteNumber(kOverflowCountOffset, kOverflowCountSize, 0);
  WriteNumber(kOverflowIdOffset, kOverflowIdSize, 0);
}

bool SharedMemoryList::Create_SharedMemoryList_From_SDMList(const SDMKeyValueList& list) {
  RemoveOverflowArea();
  const size_t count = size_t(std::max<int32_t>(list.mCount, 0));
  const size_t tableCount = std::min<size_t>(count, kTableEntries);
  WriteNumber(kCountOffset, kCountSize, long(tableCount));
  WriteEntries(list, tableCount);
  if (count <= kTableEntries || WriteOverflow(list, kTableEntries)) return true;
  fputs("ZPXND3ToJP::Memory Allocation failure\n", stderr);
  return false;
}

void SharedMemoryList::WriteEntries(const SDMKeyValueList& list, size_t tableCount) {
  for (size_t i = 0; i < tableCount; ++i) {
    WriteText(kKeysOffset + i * kKeySize, kKeySize, FieldText(list.mEntries[i].mKey, kKeySize));
    WriteText(kValuesOffset + i * kValueSize, kValueSize,
              FieldText(list.mEntries[i].mValue, kValueSize));
  }
}

bool SharedMemoryList::WriteOverflow(const SDMKeyValueList& list, size_t first) {
  std::string packed;
  for (size_t i = first; i < size_t(list.mCount); ++i) {
    // The NULs travel: each text ends with its own.
    packed += FieldText(list.mEntries[i].mKey, kKeySize) + '\0';
    packed += FieldText(list.mEntries[i].mValue, kValueSize) + '\0';
  }
  const int id = SharedSegmentCreate(packed.size());
  // Kept attached until the next exchange: the application attaches the
  // marked segment by identifier meanwhile.
  void* address = SharedSegmentAttachAndMark(id);
  if (address == nullptr) {
    SharedSegmentRemove(id);
    return false;
  }
  memcpy(address, packed.data(), packed.size());
  mOverflowId = id;
  mOverflowAddress = address;
  WriteNumber(kOverflowCountOffset, kOverflowCountSize, long(size_t(list.mCount) - first));
  WriteNumber(kOverflowIdOffset, kOverflowIdSize, id);
  return true;
}

SDMKeyValueList* SharedMemoryList::Create_SDMList_From_SharedMemoryList() const {
  const size_t tableCount =
      size_t(std::clamp<long>(ReadNumber(kCountOffset, kCountSize), 0, kTableEntries));
  SDMPairs pairs;
  for (size_t i = 0; i < tableCount; ++i)
    pairs.push_back({WideFromField(mArea + kKeysOffset + i * kKeySize, kKeySize),
                     WideFromField(mArea + kValuesOffset + i * kValueSize, kValueSize)});
  const long overflowCount = ReadNumber(kOverflowCountOffset, kOverflowCountSize);
  const long overflowId = ReadNumber(kOverflowIdOffset, kOverflowIdSize);
  if (overflowCount > 0 && overflowId != 0) {
    if (!ReadOverflowPairs(int(overflowId), size_t(overflowCount), pairs)) {
      fputs("ZPXND3ToJP::Could not get Shared Memory access\n\n", stderr);
      return nullptr;
    }
  }
  return NewSDMList(pairs);
}

void SharedMemoryList::FreeSDMList(SDMKeyValueList* list) {
  if (list == nullptr) return;
  for (int32_t i = 0; i < list->mCount; ++i) {
    delete[] list->mEntries[i].mKey;
    delete[] list->mEntries[i].mValue;
  }
  delete[] list->mEntries;
  delete list;
}

SDMKeyValueList* SharedMemoryList::NewSDMList(const SDMPairs& pairs) {
  SDMKeyValueList* list = new SDMKeyValueList;
  list->mCount = static_cast<int32_t>(pairs.size());
  list->mEntries = new SDMKeyValue[pairs.size()];
  for (size_t i = 0; i < pairs.size(); ++i)
    list->mEntries[i] = {NewWide(pairs[i].first), NewWide(pairs[i].second)};
  return list;
}

SDMPairs SharedMemoryList::PairsOf(const SDMKeyValueList& list) {
  SDMPairs pairs;
  for (int32_t i = 0; i < list.mCount; ++i)
    pairs.push_back({list.mEntries[i].mKey, list.mEntries[i].mValue});
  return pairs;
}
