#pragma once
// The 119,050-byte area the pane shares with the job-properties application,
// and the pane's own list of settings that travels through it. The other
// process may write anything into the area, so every read stays inside its
// field: a text ends at its first NUL or at the field's end, and every count
// is clamped to what its table (or the overflow segment) can hold.
//
// Needs no toolkit: the layout builds and is tested without a user interface.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct SDMKeyValue {
  wchar_t* mKey;
  wchar_t* mValue;
};

struct SDMKeyValueList {
  SDMKeyValue* mEntries;
  int32_t mCount;
};

// Keys and values as plain texts, for building and reading lists.
using SDMPairs = std::vector<std::pair<std::wstring, std::wstring>>;

class SharedMemoryList {
 public:
  enum : size_t {
    kAreaSize = 119050,
    kTableEntries = 200,
    kKeySize = 64,
    kValueSize = 512,
    kWatermarkSlots = 20,
    kWatermarkDefinitionSize = 128,
  };
  // Status texts the two sides exchange.
  static constexpr int kStatusDone = 0;
  static constexpr int kStatusWorking = -1;
  static constexpr int kStatusInvalidAddress = 4096;

  // `area` is kAreaSize attached bytes; the object does not own them.
  explicit SharedMemoryList(char* area);
  // Removes the overflow area this pane made, if any.
  ~SharedMemoryList();
  SharedMemoryList(const SharedMemoryList&) = delete;
  SharedMemoryList& operator=(const SharedMemoryList&) = delete;

  // Zero bytes everywhere, status "0", changed flag "0".
  void Clear();

  // The list into the tables and, past 200 entries, into a new overflow area
  // (0600, marked for removal while the pane keeps it attached). An overflow
  // area from an earlier exchange is removed first. False when the overflow
  // area could not be made; its entries are then dropped.
  bool Create_SharedMemoryList_From_SDMList(const SDMKeyValueList& list);
  // The tables and the overflow area as a new list; null when the area names
  // an overflow area that cannot be read (another user's, or gone).
  SDMKeyValueList* Create_SDMList_From_SharedMemoryList() const;
  static void FreeSDMList(SDMKeyValueList* list);
  static SDMKeyValueList* NewSDMList(const SDMPairs& pairs);
  static SDMPairs PairsOf(const SDMKeyValueList& list);

  // Drops the overflow area this pane made and writes overflow count "0".
  void RemoveOverflowArea();

  // The status as the decimal text within the three flag fields; false when
  // there is no number there.
  bool ReadStatus(int& status) const;
  void WriteStatus(int status);
  void WriteChangedFlag(bool changed);
  void WriteAddress(const char* address);  // flag "1" and the address text
  void WriteNoAddress();                   // flag "0"
  void WritePPDPath(const char* path);

  // The index followed by "," when the whole item still fits.
  void AppendInstallableIndex(int index);
  void ClearInstallableIndexes();

  // Slot `slot` (0 to 19) gets its index text and the definition, cut to fit.
  void WriteWatermark(size_t slot, const std::string& definition);
  void WriteWatermarkCount(size_t count);  // at most 20
  size_t ReadWatermarkCount() const;       // 0 to 20
  std::string ReadWatermarkDefinition(size_t slot) const;

  // Raw field reads, for the tests and the companion.
  std::string ReadField(size_t offset, size_t size) const;
  long ReadNumber(size_t offset, size_t size) const;

  // Field offsets.
  enum : size_t {
    kKeysOffset = 0,
    kValuesOffset = 12800,
    kCountOffset = 115200,
    kCountSize = 5,
    kWatermarkIndexOffset = 115205,
    kWatermarkIndexSize = 3,
    kWatermarkDefinitionOffset = 115265,
    kWatermarkCountOffset = 117825,
    kWatermarkCountSize = 3,
    kStatusOffset = 117828,
    kStatusSize = 2,
    kStatusReadSize = 6,  // a long status runs into the two flags after it
    kChangedOffset = 117830,
    kFlagSize = 2,
    kAddressFlagOffset = 117832,
    kPPDPathOffset = 117834,
    kPPDPathSize = 512,
    kAddressOffset = 118346,
    kAddressSize = 128,
    kInstallableOffset = 118474,
    kInstallableSize = 64,
    kOverflowCountOffset = 118538,
    kOverflowCountSize = 5,
    kOverflowIdOffset = 118543,
    kOverflowIdSize = 507,
  };

 private:
  void WriteText(size_t offset, size_t size, const std::string& text);
  void WriteNumber(size_t offset, size_t size, long number);
  void WriteEntries(const SDMKeyValueList& list, size_t tableCount);
  bool WriteOverflow(const SDMKeyValueList& list, size_t first);

  char* mArea;
  int mOverflowId = -1;  // the overflow area this pane made, while it lives
  void* mOverflowAddress = nullptr;
};
