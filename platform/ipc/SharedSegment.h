#pragma once
// System V shared memory the way the system uses it: segments of this user
// only (0600), never numbered 0 (which the shared area uses for "none"), and
// marked for removal once attached so that none outlives a crash. Linux still
// lets the other process attach a marked segment by its identifier while one
// attachment lives.

#include <cstddef>

// A new private segment of `size` bytes, never number 0 (a segment that got
// it is removed at once); -1 when none can be made.
int SharedSegmentCreate(size_t size);
// Attaches the segment for reading and writing and marks it for removal;
// null on failure.
void* SharedSegmentAttachAndMark(int id);
// Attaches, read-only, a segment that this user made, and gives its real
// size; null for another user's segment or one that is gone.
const void* SharedSegmentAttachOwnReadOnly(int id, size_t& size);
void SharedSegmentDetach(const void* address);
// Marks the segment for removal; 0 ("none") and -1 are left alone.
void SharedSegmentRemove(int id);
