#pragma once
// A whole buffer written to a descriptor.

#include <cstddef>

// Writes the `length` bytes again after a signal and after a short write.
// False on the first failure, errno saying why (EIO when the descriptor took
// nothing); `written`, when given, counts the bytes that were written.
bool WriteAll(int descriptor, const void* bytes, size_t length, size_t* written = nullptr);
