#include "carbon/MacMemory.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "carbon/MacErrors.h"

namespace {

// The master pointer must be the first member: a Handle points at it.
struct HandleBlock {
  Ptr master;
  Size size;
};

OSErr gMemError = noErr;

HandleBlock* BlockOf(Handle h) { return reinterpret_cast<HandleBlock*>(h); }

Handle Allocate(Size byteCount, bool clear) {
  if (byteCount < 0) {
    gMemError = paramErr;
    return nullptr;
  }
  auto* block = static_cast<HandleBlock*>(std::malloc(sizeof(HandleBlock)));
  // A zero-byte block still gets storage so that the master pointer is valid.
  Ptr data = static_cast<Ptr>(clear ? std::calloc(byteCount ? byteCount : 1, 1)
                                    : std::malloc(byteCount ? byteCount : 1));
  if (block == nullptr || data == nullptr) {
    std::free(block);
    std::free(data);
    gMemError = memFullErr;
    return nullptr;
  }
  block->master = data;
  block->size = byteCount;
  gMemError = noErr;
  return &block->master;
}

}  // namespace

Handle NewHandle(Size byteCount) { return Allocate(byteCount, false); }

Handle NewHandleClear(Size byteCount) { return Allocate(byteCount, true); }

Handle TempNewHandle(Size byteCount, OSErr* resultCode) {
  Handle h = Allocate(byteCount, false);
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

void HLock(Handle) { gMemError = noErr; }

void HUnlock(Handle) { gMemError = noErr; }

OSErr MemError() { return gMemError; }

Ptr NewPtr(Size byteCount) {
  gMemError = byteCount < 0 ? paramErr : noErr;
  Ptr p = byteCount < 0 ? nullptr : static_cast<Ptr>(std::malloc(byteCount ? byteCount : 1));
  if (byteCount >= 0 && p == nullptr) gMemError = memFullErr;
  return p;
}

Ptr NewPtrClear(Size byteCount) {
  gMemError = byteCount < 0 ? paramErr : noErr;
  Ptr p = byteCount < 0 ? nullptr : static_cast<Ptr>(std::calloc(byteCount ? byteCount : 1, 1));
  if (byteCount >= 0 && p == nullptr) gMemError = memFullErr;
  return p;
}

void DisposePtr(Ptr p) {
  gMemError = noErr;
  std::free(p);
}
