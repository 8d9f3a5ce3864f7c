#include "print/TicketTable.h"

#include <cstdint>
#include <utility>

namespace {

// Handles stay positive 32-bit numbers: sessions keep them as signed integers.
constexpr UInt32 kLastHandle = 0x7FFFFFFF;

}  // namespace

TicketTable& TicketTable::Shared() {
  static TicketTable* table = new TicketTable;  // outlives every static holder
  return *table;
}

UInt32 TicketTable::Add(std::unique_ptr<PrintTicket> ticket) {
  if (!ticket || mLastHandle == kLastHandle) return 0;
  UInt32 handle = ++mLastHandle;
  mEntries[handle].ticket = std::move(ticket);
  return handle;
}

PrintTicket* TicketTable::Find(UInt32 handle) const {
  auto entry = mEntries.find(handle);
  return entry == mEntries.end() ? nullptr : entry->second.ticket.get();
}

bool TicketTable::Retain(UInt32 handle) {
  auto entry = mEntries.find(handle);
  if (entry == mEntries.end()) return false;
  ++entry->second.holds;
  return true;
}

bool TicketTable::Release(UInt32 handle) {
  auto entry = mEntries.find(handle);
  if (entry == mEntries.end()) return false;
  if (--entry->second.holds > 0) return true;
  // The ticket releases the tickets it contains, which changes the table:
  // take it out before it goes.
  std::unique_ptr<PrintTicket> gone = std::move(entry->second.ticket);
  mEntries.erase(entry);
  gone.reset();
  return true;
}

PMTicketRef TicketTable::ReferenceOf(UInt32 handle) {
  return reinterpret_cast<PMTicketRef>(static_cast<uintptr_t>(handle));
}

UInt32 TicketTable::HandleOf(PMTicketRef ticket) {
  uintptr_t value = reinterpret_cast<uintptr_t>(ticket);
  return value <= kLastHandle ? static_cast<UInt32>(value) : 0;
}
