#include "foundation/DataStream.h"

DataStream::DataStream() : mBytesHeld(0), mPosition(0), mIsValid(false), mLastError(0) {}

DataStream::~DataStream() = default;

bool DataStream::dataExists() const { return mBytesHeld != 0; }

bool DataStream::valid() const { return mIsValid; }

unsigned long DataStream::dataSize() const { return mBytesHeld; }
