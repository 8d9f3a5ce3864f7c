#include "print/PrintTicket.h"

#include "print/TicketTable.h"

PrintTicket::PrintTicket(CFStringRef type) : mType(CFStringCreateCopy(kCFAllocatorDefault, type)) {}

PrintTicket::~PrintTicket() {
  for (UInt32 handle : mContained) TicketTable::Shared().Release(handle);
}

PrintTicket::Item* PrintTicket::FindItem(CFStringRef key) {
  for (Item& item : mItems)
    if (CFEqual(item.key.get(), key)) return &item;
  return nullptr;
}

const PrintTicket::Item* PrintTicket::Find(CFStringRef key) const {
  return const_cast<PrintTicket*>(this)->FindItem(key);
}

OSStatus PrintTicket::Set(CFStringRef creator, CFStringRef key, CFTypeRef value, bool locked) {
  Item* item = FindItem(key);
  if (item != nullptr && item->locked && !CFEqual(item->creator.get(), creator))
    return kPMItemIsLocked;
  if (item == nullptr) {
    mItems.emplace_back();
    item = &mItems.back();
    item->key.reset(CFStringCreateCopy(kCFAllocatorDefault, key));
  }
  item->value = CFRef<CFTypeRef>::Retain(value);
  item->creator.reset(CFStringCreateCopy(kCFAllocatorDefault, creator));
  item->locked = locked;
  return kPMNoError;
}

OSStatus PrintTicket::Remove(CFStringRef key) {
  for (auto item = mItems.begin(); item != mItems.end(); ++item) {
    if (!CFEqual(item->key.get(), key)) continue;
    if (item->locked) return kPMItemIsLocked;
    mItems.erase(item);
    return kPMNoError;
  }
  return kPMKeyNotFound;
}

size_t PrintTicket::ContainedPosition(CFStringRef type, UInt32 index, UInt32* sameTypeCount) const {
  UInt32 seen = 0;
  for (size_t position = 0; position < mContained.size(); ++position) {
    PrintTicket* contained = TicketTable::Shared().Find(mContained[position]);
    if (contained == nullptr || !CFEqual(contained->Type(), type)) continue;
    if (seen++ == index) return position;
  }
  *sameTypeCount = seen;
  return mContained.size();
}

UInt32 PrintTicket::ContainedTicket(CFStringRef type, UInt32 index) const {
  UInt32 count = 0;
  size_t position = ContainedPosition(type, index, &count);
  return position < mContained.size() ? mContained[position] : 0;
}

bool PrintTicket::SetContainedTicket(CFStringRef type, UInt32 index, UInt32 handle) {
  UInt32 count = 0;
  size_t position = ContainedPosition(type, index, &count);
  if (position < mContained.size()) {
    UInt32 replaced = mContained[position];
    mContained[position] = handle;
    TicketTable::Shared().Release(replaced);
    return true;
  }
  if (index != count) return false;
  mContained.push_back(handle);
  return true;
}
