#include "comm/ZPXMelvanePrinterPList.h"

#include <cstring>

#include "cf/CFNumber.h"

namespace {

constexpr const char* kPreferencesPath = "/Library/Preferences/ZPX.MelvanePrinterV2.plist";
// Made, in this order, when the first Save finds no preferences folder.
constexpr const char* kPreferencesFolders[] = {"/Library/", "/Library/Preferences/"};

// Positions within a record.
constexpr CFIndex kAddressOffset = 1;
constexpr CFIndex kFlagOffset = 2;
constexpr CFIndex kMarkerOffset = 3;
constexpr CFIndex kFirstBlobOffset = 4;

// A blob header's line count has at most this many digits; more is damage.
constexpr CFIndex kMaximumCountDigits = 9;

CFStringRef EndText() { return CFSTR("----- Data End -----"); }
CFStringRef CurrentMarker() { return CFSTR("2"); }

CFBooleanRef BooleanOf(Boolean value) { return value ? kCFBooleanTrue : kCFBooleanFalse; }

bool SameText(CFStringRef first, CFStringRef second, CFStringCompareFlags options) {
  return first != nullptr && second != nullptr &&
         CFStringCompare(first, second, options) == kCFCompareEqualTo;
}

// The slot's text up to its NUL (or its whole size when it has none), as a
// platform string; null when it is not UTF-8.
CFStringRef CreateLine(const char* slot) {
  size_t length = strnlen(slot, ZPXMelvanePrinterPList::kBlobLineSize);
  return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(slot),
                                 CFIndex(length), kCFStringEncodingUTF8, false);
}

bool IsDigitRun(CFStringRef text) {
  CFIndex length = CFStringGetLength(text);
  if (length == 0 || length > kMaximumCountDigits) return false;
  for (CFIndex i = 0; i < length; ++i) {
    UniChar unit = CFStringGetCharacterAtIndex(text, i);
    if (unit < '0' || unit > '9') return false;
  }
  return true;
}

}  // namespace

ZPXMelvanePrinterPList::ZPXMelvanePrinterPList()
    : PropertyListFile(kPreferencesPath, false, kCFPropertyListMutableContainers) {
  CFPropertyListRef list = GetPropertyList();
  if (list != nullptr && CFGetTypeID(list) == CFArrayGetTypeID())
    mArray.reset(CFArrayCreateMutableCopy(kCFAllocatorDefault, 0, static_cast<CFArrayRef>(list)));
  else
    mArray.reset(CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
  mValid = static_cast<bool>(mArray);
}

ZPXMelvanePrinterPList::~ZPXMelvanePrinterPList() = default;

Boolean ZPXMelvanePrinterPList::Save() {
  if (!mArray) return false;
  Boolean saved = PropertyListFile::Save(mArray.get());
  // The platform keeps a preferences folder in every home folder; this one may not.
  if (!saved && GetLastError() == kCFURLResourceNotFoundError && CreatePreferencesFolders())
    saved = PropertyListFile::Save(mArray.get());
  if (saved) mDirty = false;
  return saved;
}

bool ZPXMelvanePrinterPList::CreatePreferencesFolders() const {
  CFRef<CFDataRef> nothing(CFDataCreate(kCFAllocatorDefault, nullptr, 0));
  for (const char* folder : kPreferencesFolders) {
    CFRef<CFURLRef> url(CreateURLBelowHome(folder, true));
    if (!url) return false;
    SInt32 error = 0;
    // An existing folder answers an error too; the second Save tells.
    CFURLWriteDataAndPropertiesToResource(url.get(), nothing.get(), nullptr, &error);
  }
  return true;
}

CFStringRef ZPXMelvanePrinterPList::StringAt(CFIndex index) const {
  CFTypeRef value = CFArrayGetValueAtIndex(mArray.get(), index);
  if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID()) return nullptr;
  return static_cast<CFStringRef>(value);
}

bool ZPXMelvanePrinterPList::IsBooleanAt(CFIndex index) const {
  CFTypeRef value = CFArrayGetValueAtIndex(mArray.get(), index);
  return value != nullptr && CFGetTypeID(value) == CFBooleanGetTypeID();
}

bool ZPXMelvanePrinterPList::HasRecordHead(CFIndex record) const {
  return StringAt(record + kAddressOffset) != nullptr && IsBooleanAt(record + kFlagOffset) &&
         StringAt(record + kMarkerOffset) != nullptr;
}

// Every element is looked at, as records have no wrapper. An address equal to
// the name is followed by the flag, a boolean, so it never passes for a name;
// nor does any other string that lacks a whole record head after it.
CFIndex ZPXMelvanePrinterPList::Exists(CFStringRef name, bool& found) const {
  found = false;
  if (!mArray || name == nullptr) return kCFNotFound;
  for (CFIndex i = 0; i < Count(); ++i) {
    if (SameText(StringAt(i), name, kCFCompareCaseInsensitive) && HasRecordHead(i)) {
      found = true;
      return i;
    }
  }
  return kCFNotFound;
}

CFIndex ZPXMelvanePrinterPList::RecordOf(CFStringRef name) const {
  bool found = false;
  CFIndex record = Exists(name, found);
  return found ? record : kCFNotFound;
}

CFStringRef ZPXMelvanePrinterPList::Find(CFStringRef name) const {
  CFIndex record = RecordOf(name);
  return record == kCFNotFound ? CFSTR("") : StringAt(record + kAddressOffset);
}

Boolean ZPXMelvanePrinterPList::getIPEnabled(CFStringRef name) const {
  CFIndex record = RecordOf(name);
  if (record == kCFNotFound) return false;
  return CFBooleanGetValue(
      static_cast<CFBooleanRef>(CFArrayGetValueAtIndex(mArray.get(), record + kFlagOffset)));
}

void ZPXMelvanePrinterPList::setIPEnabled(CFStringRef name, Boolean on) {
  CFIndex record = RecordOf(name);
  if (record == kCFNotFound) return;
  CFArraySetValueAtIndex(mArray.get(), record + kFlagOffset, BooleanOf(on));
  mDirty = true;
}

Boolean ZPXMelvanePrinterPList::Add(CFStringRef name, CFStringRef address, Boolean twoWayOn) {
  if (!mArray || name == nullptr || address == nullptr) return false;
  CFRef<CFStringRef> nameCopy(CFStringCreateCopy(kCFAllocatorDefault, name));
  CFRef<CFStringRef> addressCopy(CFStringCreateCopy(kCFAllocatorDefault, address));
  if (!nameCopy || !addressCopy) return false;
  CFIndex record = RecordOf(name);
  if (record == kCFNotFound) {
    for (CFTypeRef element :
         {CFTypeRef(nameCopy.get()), CFTypeRef(addressCopy.get()), CFTypeRef(BooleanOf(twoWayOn)),
          CFTypeRef(CurrentMarker()), CFTypeRef(EndText())})
      CFArrayAppendValue(mArray.get(), element);
  } else {
    CFArraySetValueAtIndex(mArray.get(), record + kAddressOffset, addressCopy.get());
    CFArraySetValueAtIndex(mArray.get(), record + kFlagOffset, BooleanOf(twoWayOn));
    ConvertToCurrentFormat(record);
  }
  mDirty = true;
  return true;
}

ZPXMelvanePrinterPList::RecordFormat ZPXMelvanePrinterPList::FormatOf(CFIndex record) const {
  CFStringRef marker = StringAt(record + kMarkerOffset);
  if (SameText(marker, CurrentMarker(), 0)) return RecordFormat::kFormat2;
  if (SameText(marker, CFSTR("1"), 0)) return RecordFormat::kFormat1;
  if (SameText(marker, CFSTR("0"), 0)) return RecordFormat::kFormat0;
  return RecordFormat::kUnknown;
}

bool ZPXMelvanePrinterPList::ConvertToCurrentFormat(CFIndex record) {
  switch (FormatOf(record)) {
    case RecordFormat::kFormat2:
      return true;
    case RecordFormat::kFormat1:
      ConvertFromFormat1(record);
      return true;
    case RecordFormat::kFormat0:
      ReplaceAfterMarkerWithEnd(record);
      return true;
    case RecordFormat::kUnknown:
      break;
  }
  return false;
}

// Format "1" keeps a line count after the marker and that many lines; they go.
// A count beyond the array's end takes only what is there.
void ZPXMelvanePrinterPList::ConvertFromFormat1(CFIndex record) {
  CFIndex countAt = record + kFirstBlobOffset;
  CFStringRef countText = StringAt(countAt);
  CFIndex lines = countText != nullptr ? CFStringGetIntValue(countText) : 0;
  CFIndex available = Count() - countAt - 1;
  if (lines < 0 || available < 0) lines = 0;
  if (lines > available) lines = available;
  RemoveRange(countAt, lines + 1);
  ReplaceAfterMarkerWithEnd(record);
}

// The marker becomes current and the element after it the end text (appended
// when the array ends there).
void ZPXMelvanePrinterPList::ReplaceAfterMarkerWithEnd(CFIndex record) {
  CFArraySetValueAtIndex(mArray.get(), record + kMarkerOffset, CurrentMarker());
  CFArraySetValueAtIndex(mArray.get(), record + kFirstBlobOffset, EndText());
}

void ZPXMelvanePrinterPList::RemoveRange(CFIndex from, CFIndex count) {
  for (CFIndex i = 0; i < count; ++i) CFArrayRemoveValueAtIndex(mArray.get(), from);
}

CFIndex ZPXMelvanePrinterPList::EndOf(CFIndex record) const {
  for (CFIndex i = record + kFirstBlobOffset; i < Count(); ++i)
    if (SameText(StringAt(i), EndText(), 0)) return i;
  return Count();
}

// "<blob>:<count>" with a count of lines that all lie before the end; -1 for
// anything else, which leaves the rest of the record unreadable.
CFIndex ZPXMelvanePrinterPList::AnnouncedLines(CFIndex header, CFIndex end) const {
  CFStringRef text = StringAt(header);
  if (text == nullptr) return -1;
  CFRange colon = CFStringFind(text, CFSTR(":"), 0);
  if (colon.location == kCFNotFound) return -1;
  CFIndex countStart = colon.location + 1;
  CFRef<CFStringRef> count(CFStringCreateWithSubstring(
      kCFAllocatorDefault, text, CFRangeMake(countStart, CFStringGetLength(text) - countStart)));
  if (!count || !IsDigitRun(count.get())) return -1;
  CFIndex lines = CFStringGetIntValue(count.get());
  return lines <= end - header - 1 ? lines : -1;
}

// The walk goes from header to header, over each blob's lines, so that a line
// that happens to begin like a header is never taken for one.
CFIndex ZPXMelvanePrinterPList::FindBlobHeader(CFIndex record, int blobNumber,
                                               CFIndex& lineCount) const {
  CFRef<CFStringRef> prefix(
      CFStringCreateWithFormat(kCFAllocatorDefault, nullptr, CFSTR("%d:"), blobNumber));
  CFIndex end = EndOf(record);
  for (CFIndex header = record + kFirstBlobOffset; header < end;) {
    CFIndex lines = AnnouncedLines(header, end);
    if (lines < 0) break;
    CFStringRef text = StringAt(header);
    if (CFStringFindWithOptions(text, prefix.get(), CFRangeMake(0, CFStringGetLength(text)),
                                kCFCompareCaseInsensitive | kCFCompareAnchored, nullptr)) {
      lineCount = lines;
      return header;
    }
    header += lines + 1;
  }
  return kCFNotFound;
}

Boolean ZPXMelvanePrinterPList::AddDataBlob(CFStringRef name, int lineCount, int blobNumber,
                                            const char (*lines)[kBlobLineSize]) {
  CFIndex record = RecordOf(name);
  if (record == kCFNotFound) return true;
  if (!ConvertToCurrentFormat(record)) return false;
  CFRef<CFMutableArrayRef> converted(
      CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks));
  for (int i = 0; lines != nullptr && i < lineCount; ++i) {
    CFRef<CFStringRef> line(CreateLine(lines[i]));
    if (line) CFArrayAppendValue(converted.get(), line.get());
  }
  CFIndex oldLines = 0;
  CFIndex oldHeader = FindBlobHeader(record, blobNumber, oldLines);
  if (oldHeader != kCFNotFound) RemoveRange(oldHeader, oldLines + 1);
  // The header counts the lines actually kept, so that it never claims the
  // elements after the blob.
  CFIndex keptLines = CFArrayGetCount(converted.get());
  CFRef<CFStringRef> header(CFStringCreateWithFormat(kCFAllocatorDefault, nullptr, CFSTR("%d:%d"),
                                                     blobNumber, int(keptLines)));
  CFIndex at = record + kFirstBlobOffset;
  CFArrayInsertValueAtIndex(mArray.get(), at, header.get());
  for (CFIndex i = 0; i < keptLines; ++i)
    CFArrayInsertValueAtIndex(mArray.get(), at + 1 + i, CFArrayGetValueAtIndex(converted.get(), i));
  mDirty = true;
  return true;
}

Boolean ZPXMelvanePrinterPList::GetDataBlob(CFStringRef name, int blobNumber,
                                            CFMutableArrayRef out) const {
  CFIndex record = RecordOf(name);
  if (out == nullptr || record == kCFNotFound || FormatOf(record) != RecordFormat::kFormat2)
    return false;
  CFIndex lines = 0;
  CFIndex header = FindBlobHeader(record, blobNumber, lines);
  if (header == kCFNotFound) return false;
  for (CFIndex i = header + 1; i <= header + lines; ++i)
    if (CFStringRef line = StringAt(i)) CFArrayAppendValue(out, line);
  return true;
}
