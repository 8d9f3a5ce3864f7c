#pragma once
// One ticket of the print system: its type, its items in the order they were
// first set, and the tickets it contains (held by handle).

#include <cstddef>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "print/PMErrors.h"

class PrintTicket {
 public:
  struct Item {
    CFRef<CFStringRef> key;
    CFRef<CFTypeRef> value;
    CFRef<CFStringRef> creator;
    bool locked = false;
  };

  // Takes its own copy of the type.
  explicit PrintTicket(CFStringRef type);
  // Gives up the holds on the contained tickets.
  ~PrintTicket();
  PrintTicket(const PrintTicket&) = delete;
  PrintTicket& operator=(const PrintTicket&) = delete;

  CFStringRef Type() const { return mType.get(); }
  const std::vector<Item>& Items() const { return mItems; }
  // Null when the ticket has no item of that key.
  const Item* Find(CFStringRef key) const;
  OSStatus Set(CFStringRef creator, CFStringRef key, CFTypeRef value, bool locked);
  OSStatus Remove(CFStringRef key);

  // Handles of the contained tickets, in order; 0 for none.
  const std::vector<UInt32>& Contained() const { return mContained; }
  UInt32 ContainedTicket(CFStringRef type, UInt32 index) const;
  // Adopts the caller's hold on `handle` (of a ticket of `type`) as the
  // index-th of its type; false when the index would leave a gap.
  bool SetContainedTicket(CFStringRef type, UInt32 index, UInt32 handle);

 private:
  Item* FindItem(CFStringRef key);
  // Position in mContained of the index-th ticket of the type, or its size.
  size_t ContainedPosition(CFStringRef type, UInt32 index, UInt32* sameTypeCount) const;

  CFRef<CFStringRef> mType;
  std::vector<Item> mItems;
  std::vector<UInt32> mContained;
};
