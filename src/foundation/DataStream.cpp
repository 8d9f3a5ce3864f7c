#include "foundation/DataStream.h"

DataStream::DataStream() : bytesHeld(0), position(0), isValid(false), lastError(0) {}

DataStream::~DataStream() = default;

bool DataStream::dataExists() const { return bytesHeld != 0; }

bool DataStream::valid() const { return isValid; }

unsigned long DataStream::dataSize() const { return bytesHeld; }
