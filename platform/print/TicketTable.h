#pragma once
// The process's table of tickets. A ticket reference is the handle of a table
// entry: handles are never given out twice, so a reference kept after its
// ticket went finds nothing instead of another ticket.

#include <memory>
#include <unordered_map>

#include "print/PMTicket.h"
#include "print/PrintTicket.h"

class TicketTable {
 public:
  static TicketTable& Shared();

  // Enters the ticket with one hold; 0 when no handle is left.
  UInt32 Add(std::unique_ptr<PrintTicket> ticket);
  // Null for a handle that names no live ticket.
  PrintTicket* Find(UInt32 handle) const;
  bool Retain(UInt32 handle);
  // Drops one hold; the ticket goes with the last one.
  bool Release(UInt32 handle);
  size_t Count() const { return mEntries.size(); }

  static PMTicketRef ReferenceOf(UInt32 handle);
  // 0 for a reference that cannot be a handle.
  static UInt32 HandleOf(PMTicketRef ticket);

 private:
  struct Entry {
    std::unique_ptr<PrintTicket> ticket;
    long holds = 1;
  };

  std::unordered_map<UInt32, Entry> mEntries;
  UInt32 mLastHandle = 0;
};
