#pragma once
// A data stream over a growable platform data object that the stream owns.

#include "cf/CoreFoundation.h"
#include "foundation/DataStream.h"

class CFDataStream : public DataStream {
 public:
  // An empty stream to write to; invalid (last error memFullErr) when no data
  // object can be made.
  CFDataStream();
  // A stream that reads a copy of data; valid only when data holds bytes.
  explicit CFDataStream(CFDataRef data);
  ~CFDataStream() override;
  CFDataStream(const CFDataStream&) = delete;
  CFDataStream& operator=(const CFDataStream&) = delete;

  bool out(const void* bytes, unsigned long count) override;
  // Never reads past the bytes held: a request beyond them copies what there is
  // and fails with eofErr.
  bool in(void* bytes, unsigned long count, unsigned long* countRead, short* error) override;

  // The bytes held, owned by the stream.
  CFDataRef GetData() const { return mData; }

 private:
  CFMutableDataRef mData;
};
