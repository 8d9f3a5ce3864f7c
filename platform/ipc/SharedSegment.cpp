#include "ipc/SharedSegment.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <unistd.h>

namespace {

const void* const kAttachFailed = reinterpret_cast<const void*>(-1);

int NewPrivateSegment(size_t size) { return shmget(IPC_PRIVATE, size, IPC_CREAT | 0600); }

}  // namespace

int SharedSegmentCreate(size_t size) {
  const int id = NewPrivateSegment(size);
  if (id != 0) return id;
  // The first segment of an IPC namespace is number 0, which the shared area
  // reads as "none": another is made while this one still holds the number,
  // and this one is removed here (SharedSegmentRemove leaves 0 alone, as a
  // field's "none", which may be no segment of ours).
  const int other = NewPrivateSegment(size);
  shmctl(id, IPC_RMID, nullptr);
  return other;
}

void* SharedSegmentAttachAndMark(int id) {
  if (id <= 0) return nullptr;
  void* address = shmat(id, nullptr, 0);
  if (address == kAttachFailed) return nullptr;
  SharedSegmentRemove(id);
  return address;
}

const void* SharedSegmentAttachOwnReadOnly(int id, size_t& size) {
  struct shmid_ds status;
  if (id <= 0 || shmctl(id, IPC_STAT, &status) != 0 || status.shm_perm.cuid != geteuid())
    return nullptr;
  const void* address = shmat(id, nullptr, SHM_RDONLY);
  if (address == kAttachFailed) return nullptr;
  size = status.shm_segsz;
  return address;
}

void SharedSegmentDetach(const void* address) {
  if (address != nullptr) shmdt(address);
}

void SharedSegmentRemove(int id) {
  if (id > 0) shmctl(id, IPC_RMID, nullptr);
}
