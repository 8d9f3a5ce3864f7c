#include "toolkit/ListView.h"

#include <algorithm>

const ListView::Row* ListView::Find(DataBrowserItemID item) const {
  auto found =
      std::find_if(mRows.begin(), mRows.end(), [&](const Row& row) { return row.id == item; });
  return found == mRows.end() ? nullptr : &*found;
}

ListView::Row* ListView::Find(DataBrowserItemID item) {
  return const_cast<Row*>(static_cast<const ListView*>(this)->Find(item));
}

void ListView::Notify(DataBrowserItemID item, DataBrowserItemNotification message) const {
  if (mCallbacks.u.v1.itemNotificationCallback)
    mCallbacks.u.v1.itemNotificationCallback(mOwner, item, message);
}

OpaqueDataBrowserItemDataRef ListView::Data(DataBrowserItemID item,
                                            DataBrowserPropertyID property) const {
  OpaqueDataBrowserItemDataRef data;
  if (mCallbacks.u.v1.itemDataCallback)
    mCallbacks.u.v1.itemDataCallback(mOwner, item, property, &data, false);
  return data;
}

bool ListView::IsContainer(DataBrowserItemID item) const {
  return Data(item, kDataBrowserItemIsContainerProperty).boolean;
}

DataBrowserItemState ListView::State(DataBrowserItemID item) const {
  const Row* row = Find(item);
  if (!row) return kDataBrowserItemNoState;
  DataBrowserItemState state = kDataBrowserItemNoState;
  if (row->selected) state |= kDataBrowserItemIsSelected;
  if (row->open) state |= kDataBrowserContainerIsOpen;
  return state;
}

OSStatus ListView::Add(DataBrowserItemID container, ItemCount count,
                       const DataBrowserItemID* items) {
  if (count > 0 && !items) return paramErr;
  if (container != kDataBrowserNoItem && !Find(container)) return errDataBrowserItemNotFound;
  for (ItemCount i = 0; i < count; ++i)
    if (items[i] == kDataBrowserNoItem || Find(items[i])) return paramErr;
  for (ItemCount i = 0; i < count; ++i) mRows.push_back({items[i], container, false, false});
  for (ItemCount i = 0; i < count; ++i) Notify(items[i], kDataBrowserItemAdded);
  return noErr;
}

void ListView::RemoveRow(DataBrowserItemID item) {
  for (DataBrowserItemID child : Children(item)) RemoveRow(child);
  mRows.erase(
      std::remove_if(mRows.begin(), mRows.end(), [&](const Row& row) { return row.id == item; }),
      mRows.end());
  Notify(item, kDataBrowserItemRemoved);
}

OSStatus ListView::Remove(DataBrowserItemID container, ItemCount count,
                          const DataBrowserItemID* items) {
  if (count > 0 && !items) return paramErr;
  std::vector<DataBrowserItemID> going =
      count == 0 ? Children(container) : std::vector<DataBrowserItemID>(items, items + count);
  for (DataBrowserItemID item : going)
    if (!Find(item)) return errDataBrowserItemNotFound;
  for (DataBrowserItemID item : going)
    if (Find(item)) RemoveRow(item);
  return noErr;
}

std::vector<DataBrowserItemID> ListView::Children(DataBrowserItemID container) const {
  std::vector<DataBrowserItemID> children;
  for (const Row& row : mRows)
    if (row.container == container) children.push_back(row.id);
  DataBrowserItemCompareUPP compare = mCallbacks.u.v1.itemCompareCallback;
  if (!compare || mSortProperty == kDataBrowserItemNoProperty) return children;
  bool increasing = mOrder == kDataBrowserOrderIncreasing;
  std::stable_sort(children.begin(), children.end(), [&](DataBrowserItemID a, DataBrowserItemID b) {
    return increasing ? compare(mOwner, a, b, mSortProperty) != 0
                      : compare(mOwner, b, a, mSortProperty) != 0;
  });
  return children;
}

void ListView::Collect(DataBrowserItemID container, bool recurse, DataBrowserItemState state,
                       std::vector<DataBrowserItemID>* out) const {
  bool everyRow = state == kDataBrowserItemNoState || state == kDataBrowserItemAnyState;
  for (DataBrowserItemID item : Children(container)) {
    if (everyRow || (State(item) & state) == state) out->push_back(item);
    if (recurse && Find(item)->open) Collect(item, recurse, state, out);
  }
}

std::vector<DataBrowserItemID> ListView::Rows(DataBrowserItemID container, bool recurse,
                                              DataBrowserItemState state) const {
  std::vector<DataBrowserItemID> rows;
  Collect(container, recurse, state, &rows);
  return rows;
}

OSStatus ListView::Select(ItemCount count, const DataBrowserItemID* items,
                          DataBrowserSetOption operation) {
  if (count > 0 && !items) return paramErr;
  std::vector<DataBrowserItemID> named(items, items + count);
  auto isNamed = [&](DataBrowserItemID id) {
    return std::find(named.begin(), named.end(), id) != named.end();
  };
  std::vector<std::pair<DataBrowserItemID, bool>> changes;
  for (Row& row : mRows) {
    bool selected = row.selected;
    switch (operation) {
      case kDataBrowserItemsAdd:
        selected = selected || isNamed(row.id);
        break;
      case kDataBrowserItemsAssign:
        selected = isNamed(row.id);
        break;
      case kDataBrowserItemsToggle:
        selected = selected != isNamed(row.id);
        break;
      case kDataBrowserItemsRemove:
        selected = selected && !isNamed(row.id);
        break;
      default:
        return paramErr;
    }
    if (selected != row.selected) changes.emplace_back(row.id, selected);
    row.selected = selected;
  }
  for (const auto& [id, selected] : changes)
    Notify(id, selected ? kDataBrowserItemSelected : kDataBrowserItemDeselected);
  if (!changes.empty()) Notify(kDataBrowserNoItem, kDataBrowserSelectionSetChanged);
  return noErr;
}

bool ListView::Open(DataBrowserItemID item) {
  Row* row = Find(item);
  if (!row || row->open || !IsContainer(item)) return false;
  row->open = true;
  Notify(item, kDataBrowserContainerOpened);  // the program adds the rows inside now
  return true;
}

bool ListView::Close(DataBrowserItemID item) {
  Row* row = Find(item);
  if (!row || !row->open) return false;
  Notify(item, kDataBrowserContainerClosing);
  for (DataBrowserItemID child : Children(item)) RemoveRow(child);
  if (Row* still = Find(item)) still->open = false;
  Notify(item, kDataBrowserContainerClosed);
  return true;
}

bool ListView::DoubleClick(DataBrowserItemID item) {
  if (!Find(item)) return false;
  Notify(item, kDataBrowserItemDoubleClicked);
  return true;
}
