#pragma once
// Reads the entries of one model object back from a settings store. Entries come
// from a blob that may have been written by anyone: every size is checked before a
// byte is copied, and a number is taken only from an entry of exactly its size.

#include "cf/CoreFoundation.h"

class CString;
class DocumentStorage;
class Settings;

class SettingsEntryReader {
 public:
  SettingsEntryReader(Settings& settings, long index);

  SettingsEntryReader(const SettingsEntryReader&) = delete;
  SettingsEntryReader& operator=(const SettingsEntryReader&) = delete;

  SettingsEntryReader& At(long index);

  // The entry's size, or the store's error (a missing entry included).
  short Size(unsigned long key, long& size);
  // Reads an entry of exactly `size` bytes in this machine's byte order; an entry
  // of another size gives paramErr and leaves `data` alone.
  short Fixed(unsigned long key, void* data, long size);

  // True, with the value, when the entry holds exactly a T.
  template <typename T>
  bool Number(unsigned long key, T& value) {
    T read;
    if (Fixed(key, &read, sizeof read) != 0) return false;
    value = read;
    return true;
  }

  // For an entry that may hold a T: the size query's error (a missing entry
  // included); 0, with `value` untouched, for an entry of another size; otherwise
  // the read's code.
  template <typename T>
  short Optional(unsigned long key, T& value) {
    long size = 0;
    const short error = Size(key, size);
    if (error != 0 || size != long(sizeof(T))) return error;
    return Fixed(key, &value, size);
  }

  // A new malloc'd copy of a non-empty entry (the caller frees it), or one in
  // `storage` when given, and its length; false, with both untouched, when the
  // entry is missing, empty or unreadable.
  bool Bytes(unsigned long key, unsigned char*& bytes, long& length,
             DocumentStorage* storage = nullptr);
  // The bytes of a non-empty entry where the store keeps them, valid until the
  // store next changes; false as for Bytes, with both untouched.
  bool View(unsigned long key, const void*& bytes, long& length);
  // A new string of the entry's bytes, null as for Bytes; the caller deletes it.
  // Placed, with its text, in `storage` when given (DocumentStorage::Destroy).
  CString* Text(unsigned long key, DocumentStorage* storage = nullptr);
  // A new string from an entry in external form, or null; the caller releases it.
  CFStringRef PlatformText(unsigned long key);

 private:
  // Numbers and file locations: read in one look-up.
  static constexpr long kSmallEntry = 72;

  Settings& mSettings;
  long mIndex;
};
