#pragma once
// Writes the entries of one model object into a settings store, in order, and
// stops at the first failure: every later write is skipped, so the object's save
// returns the first non-zero code and adds nothing after it.

#include "cf/CoreFoundation.h"

class Settings;

class SettingsEntryWriter {
 public:
  SettingsEntryWriter(Settings& settings, long index);

  SettingsEntryWriter(const SettingsEntryWriter&) = delete;
  SettingsEntryWriter& operator=(const SettingsEntryWriter&) = delete;

  // Later entries go to another index (the items of a list).
  SettingsEntryWriter& At(long index);

  SettingsEntryWriter& Bytes(unsigned long key, const void* data, long size);
  // The text's bytes without terminator; nothing for a null text.
  SettingsEntryWriter& Text(unsigned long key, const char* text);
  // The string's external form; nothing for a null string.
  SettingsEntryWriter& PlatformText(unsigned long key, CFStringRef text);

  template <typename T>
  SettingsEntryWriter& Number(unsigned long key, T value) {
    return Bytes(key, &value, sizeof value);
  }

  // Fails the save with a code of the caller's (an entry that has no place).
  void Fail(short error);
  short Error() const { return mError; }

 private:
  Settings& mSettings;
  long mIndex;
  short mError;
};
