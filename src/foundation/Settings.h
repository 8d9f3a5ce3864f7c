#pragma once
// The typed store through which the option model saves and rebuilds itself:
// entries addressed by a 32-bit key and a 32-bit index, each holding raw bytes
// and 32 attribute bits, flattened into one byte block that travels in the print
// settings ticket.
//
// Every operation returns its result and keeps it as the last error: 0 on
// success, one of the codes below, or the platform call's own result
// (collectionItemNotFoundErr, -5751, for a missing entry).

#include "carbon/Collections.h"

class DataStream;

enum : short {
  kSettingsStreamErr = 201,      // Save or Read without a valid stream
  kSettingsNoStoreErr = 1000,    // no store
  kSettingsFixLengthErr = 1000,  // a byte-order fix on a length other than 2, 4 or 70
  kSettingsEmptyErr = 1001,      // First or Next over an empty store
  kSettingsPastEndErr = 1002,    // Next past the last entry
};

class Settings {
 public:
  Settings();
  // Fills a new store from a flattened block; a null block gives paramErr.
  explicit Settings(char** flattened);
  // Takes ownership of the collection and clears the caller's pointer.
  explicit Settings(OpaqueCollection*& collection);
  Settings(const Settings& other);
  Settings& operator=(const Settings& other);
  virtual ~Settings();

  // Adds an entry, or replaces the bytes of an existing one in place.
  short Add(unsigned long const& key, long const& index, const void* data, long size);

  // With data null, size receives the entry's length. Otherwise size is the
  // capacity of data on the way in: an entry that does not fit is not copied
  // (paramErr) and size receives its length; one that fits is copied whole and
  // size receives its length.
  // With fix set, the length must be 2, 4 or 70 (a number or a file location)
  // and the value is brought into this machine's byte order when the store was
  // written in the other one.
  short Get(unsigned long const& key, long const& index, void* data, long& size, bool fix);

  // The entry's bytes where the store keeps them, without a copy, and their
  // length: valid until the store next changes. An entry read right after the
  // one stored before it is found without a keyed search.
  short View(unsigned long const& key, long const& index, const void*& data, long& size);

  // Replaces the bytes of an existing entry.
  short Set(unsigned long const& key, long const& index, const void* data, long size);
  short Remove(unsigned long const& key, long const& index);

  // Sets (set true) or clears the attribute bits of mask.
  short SetAttribute(unsigned long const& key, long const& index, unsigned long mask, bool set);
  short Lock(unsigned long const& key, long const& index);
  short Unlock(unsigned long const& key, long const& index);

  // Walk the entries in the order they were added.
  short First(unsigned long& key, long& index, long& size, unsigned long& attributes);
  short Next(unsigned long& key, long& index, long& size, unsigned long& attributes);

  long Count() const;
  bool Empty() const { return Count() == 0; }
  bool Valid() const { return mIsValid; }
  short LastError() const { return mLastError; }

  // A new memory block holding the flattened store; the caller disposes it.
  short GetSettingsHandle(char*** flattened);

  // Writes the flattened store with one out call.
  short Save(DataStream* stream);
  // Reads size bytes (0: the stream's dataSize()) with one in call and adds the
  // flattened entries they hold.
  short Read(DataStream* stream, unsigned long size);

 private:
  short Result(short error);
  // Result of a call that changed the entries.
  short Changed(short error);
  // 0, kSettingsNoStoreErr or paramErr (key or index beyond 32 bits).
  short Locate(unsigned long key, long index, CollectionTag& tag, SInt32& id) const;
  short ReadPosition(unsigned long& key, long& index, long& size, unsigned long& attributes);
  short FixByteOrder(void* data, long length);
  // Asked for every number read back, so known once per content.
  bool WrittenInOtherByteOrder();
  bool CountReadsReversed() const;

  short mLastError;
  bool mIsValid;
  Collection mStore;
  long mPosition;
  enum class ByteOrder : char { kUnknown, kSame, kOther };
  ByteOrder mByteOrder = ByteOrder::kUnknown;
};
