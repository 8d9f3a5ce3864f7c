#pragma once
// Relocatable memory blocks ("handles") of the platform's memory manager.
// A handle points at a master pointer; the block's size is kept beside it.

#include "carbon/MacTypes.h"

Handle NewHandle(Size byteCount);
Handle TempNewHandle(Size byteCount, OSErr* resultCode);
void DisposeHandle(Handle h);
void TempDisposeHandle(Handle h, OSErr* resultCode);
Size GetHandleSize(Handle h);
void SetHandleSize(Handle h, Size newSize);
OSErr MemError();

Ptr NewPtrClear(Size byteCount);
void DisposePtr(Ptr p);
