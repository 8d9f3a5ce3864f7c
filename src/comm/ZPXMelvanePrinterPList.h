#pragma once
// The per-user printer preferences store: for each printer (by the name the
// print system gives it) the address used for two-way communication, whether
// two-way communication is on, and numbered blobs of text lines.
//
// The file is one flat array in which records follow each other:
//   name, address, two-way flag (boolean), format marker "2",
//   blobs ("<blob>:<line count>" then that many lines), "----- Data End -----".
// Markers "0" and "1" are older formats that Add (and AddDataBlob) convert.
// The file comes from disk and may have been written by anything: a record or
// blob that does not have this shape is passed over, never read beyond.

#include <cstddef>

#include "cf/CFRef.h"
#include "comm/PropertyListFile.h"

class ZPXMelvanePrinterPList : public PropertyListFile {
 public:
  // The bytes of one line slot handed to AddDataBlob: NUL-terminated UTF-8.
  static constexpr size_t kBlobLineSize = 1024;

  // Reads the file; a missing or unreadable one gives an empty store.
  ZPXMelvanePrinterPList();
  ~ZPXMelvanePrinterPList() override;

  // Writes the whole store, making the preferences folder when it is missing.
  Boolean Save();

  // The position of the printer's record (names compare ignoring case), or
  // kCFNotFound with `found` false.
  CFIndex Exists(CFStringRef name, bool& found) const;
  // The stored address (owned by the store), or the empty string.
  CFStringRef Find(CFStringRef name) const;
  // Makes or updates the printer's record; false only when the name or the
  // address cannot be copied.
  Boolean Add(CFStringRef name, CFStringRef address, Boolean twoWayOn);
  void setIPEnabled(CFStringRef name, Boolean on);
  Boolean getIPEnabled(CFStringRef name) const;
  // Replaces blob `blobNumber` of the printer with the lines (slots that are
  // not UTF-8 are left out). True, changing nothing, when the printer has no
  // record; false when its record has a format this store does not know.
  Boolean AddDataBlob(CFStringRef name, int lineCount, int blobNumber,
                      const char (*lines)[kBlobLineSize]);
  // Appends the blob's lines to `out`; false when the printer, the blob or a
  // current-format record is missing.
  Boolean GetDataBlob(CFStringRef name, int blobNumber, CFMutableArrayRef out) const;

  bool IsDirty() const { return mDirty; }
  // The working array itself, for those who show or check the whole store.
  CFArrayRef GetArray() const { return mArray.get(); }

 private:
  enum class RecordFormat { kFormat0, kFormat1, kFormat2, kUnknown };

  CFIndex Count() const { return CFArrayGetCount(mArray.get()); }
  // The string at `index`, or null when there is none or it is no string.
  CFStringRef StringAt(CFIndex index) const;
  bool IsBooleanAt(CFIndex index) const;
  bool HasRecordHead(CFIndex record) const;
  CFIndex RecordOf(CFStringRef name) const;
  RecordFormat FormatOf(CFIndex record) const;
  // Brings an older record to the current format; false for an unknown one.
  bool ConvertToCurrentFormat(CFIndex record);
  void ConvertFromFormat1(CFIndex record);
  void ReplaceAfterMarkerWithEnd(CFIndex record);
  // The position of the record's end text, or the array's end when it has none.
  CFIndex EndOf(CFIndex record) const;
  // The first header of the blob in the record and the lines it announces;
  // kCFNotFound when there is none before the end or a damaged header.
  CFIndex FindBlobHeader(CFIndex record, int blobNumber, CFIndex& lineCount) const;
  CFIndex AnnouncedLines(CFIndex header, CFIndex end) const;
  void RemoveRange(CFIndex from, CFIndex count);
  bool CreatePreferencesFolders() const;

  CFRef<CFMutableArrayRef> mArray;
  bool mDirty = false;
};
