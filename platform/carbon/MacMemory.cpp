#include "carbon/MacMemory.h"

#include <cstdlib>

#include "carbon/MacErrors.h"

namespace {

// The master pointer must be the first member: a Handle points at it.
struct HandleBlock {
  Ptr master;
  Size size;
};

OSErr gMemError = noErr;

HandleBlock* BlockOf(Handle h) { return reinterpret_cast<HandleBlock*>(h); }

// A zero-byte block still gets storage so that its pointer is valid.
Ptr AllocatePtr(Size byteCount, bool clear) {
  if (byteCount < 0) {
    gMemError = paramErr;
    return nullptr;
  }
  Size bytes = byteCount ? byteCount : 1;
  Ptr p = static_cast<Ptr>(clear ? std::calloc(bytes, 1) : std::malloc(bytes));
  gMemError = p == nullptr ? OSErr(memFullErr) : OSErr(noErr);
  return p;
}

Handle AllocateHandle(Size byteCount) {
  Ptr data = AllocatePtr(byteCount, false);
  if (data == nullptr) return nullptr;
  auto* block = static_cast<HandleBlock*>(std::malloc(sizeof(HandleBlock)));
  if (block == nullptr) {
    std::free(data);
    gMemError = memFullErr;
    return nullptr;
  }
  block->master = data;
  block->size = byteCount;
  return &block->master;
}

}  // namespace

Handle NewHandle(Size byteCount) { return AllocateHandle(byteCount); }

Handle TempNewHandle(Size byteCount, OSErr* resultCode) {
  Handle h = AllocateHandle(byteCount);
  if (resultCode != nullptr) *resultCode = gMemError;
  return h;
}

void DisposeHandle(Handle h) {
  gMemError = noErr;
  if (h == nullptr) return;
  std::free(BlockOf(h)->master);
  std::free(BlockOf(h));
}

void TempDisposeHandle(Handle h, OSErr* resultCode) {
  DisposeHandle(h);
  if (resultCode != nullptr) *resultCode = gMemError;
}

Size GetHandleSize(Handle h) {
  if (h == nullptr) {
    gMemError = nilHandleErr;
    return 0;
  }
  gMemError = noErr;
  return BlockOf(h)->size;
}

void SetHandleSize(Handle h, Size newSize) {
  if (h == nullptr) {
    gMemError = nilHandleErr;
    return;
  }
  if (newSize < 0) {
    gMemError = paramErr;
    return;
  }
  Ptr grown = static_cast<Ptr>(std::realloc(BlockOf(h)->master, newSize ? newSize : 1));
  if (grown == nullptr) {
    gMemError = memFullErr;
    return;
  }
  BlockOf(h)->master = grown;
  BlockOf(h)->size = newSize;
  gMemError = noErr;
}

OSErr MemError() { return gMemError; }

Ptr NewPtrClear(Size byteCount) { return AllocatePtr(byteCount, true); }

void DisposePtr(Ptr p) {
  gMemError = noErr;
  std::free(p);
}
