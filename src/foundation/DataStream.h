#pragma once
// A byte channel that a settings store is written to and read back from. The
// concrete channel decides where the bytes live; the bookkeeping is common.

class DataStream {
 public:
  virtual ~DataStream();

  // Appends count bytes; true on success.
  virtual bool out(const void* data, unsigned long count) = 0;

  // Copies count bytes from the read position into data and advances it. Reports
  // the number copied and an error code; true when all count bytes were copied.
  virtual bool in(void* data, unsigned long count, unsigned long* countRead, short* error) = 0;

  virtual bool dataExists() const;
  virtual bool valid() const;
  // Bytes held, whatever has been read already.
  virtual unsigned long dataSize() const;

  short LastError() const { return mLastError; }

 protected:
  DataStream();

  unsigned long mBytesHeld;
  unsigned long mPosition;
  bool mIsValid;
  short mLastError;
};
