#pragma once
// The rows of a list view control and what the program's callbacks say of
// them. Rows are shown top level first, each open container's rows right
// below it; among siblings in the compare callback's order on the sort
// property when both are set, else in the order they were added. Closing a
// container removes its rows, as the platform's list view does.

#include <string>
#include <vector>

#include "toolkit/DataBrowser.h"

struct OpaqueDataBrowserItemDataRef {
  std::string text;  // UTF-8
  Boolean boolean = false;
};

class ListView {
 public:
  explicit ListView(ControlRef owner) : mOwner(owner) {}

  void SetCallbacks(const DataBrowserCallbacks& callbacks) { mCallbacks = callbacks; }
  OSStatus Add(DataBrowserItemID container, ItemCount count, const DataBrowserItemID* items);
  OSStatus Remove(DataBrowserItemID container, ItemCount count, const DataBrowserItemID* items);
  // Display order; `state` 0 or kDataBrowserItemAnyState: every row.
  std::vector<DataBrowserItemID> Rows(DataBrowserItemID container, bool recurse,
                                      DataBrowserItemState state) const;
  OSStatus Select(ItemCount count, const DataBrowserItemID* items, DataBrowserSetOption operation);
  // False for an item that is no closed container.
  bool Open(DataBrowserItemID item);
  bool Close(DataBrowserItemID item);
  bool DoubleClick(DataBrowserItemID item);
  void SortBy(DataBrowserPropertyID property) { mSortProperty = property; }
  void SetOrder(DataBrowserSortOrder order) { mOrder = order; }
  bool Has(DataBrowserItemID item) const { return Find(item) != nullptr; }
  // What the item-data callback gives for the row's property.
  OpaqueDataBrowserItemDataRef Data(DataBrowserItemID item, DataBrowserPropertyID property) const;
  DataBrowserItemState State(DataBrowserItemID item) const;
  // What the item-data callback says of the row's container property.
  bool IsContainer(DataBrowserItemID item) const;

  DataBrowserTableViewColumnID mDisclosureColumn = 0;
  bool mExpandableRows = false;

 private:
  struct Row {
    DataBrowserItemID id;
    DataBrowserItemID container;
    bool selected;
    bool open;
  };
  const Row* Find(DataBrowserItemID item) const;
  Row* Find(DataBrowserItemID item);
  std::vector<DataBrowserItemID> Children(DataBrowserItemID container) const;
  void Collect(DataBrowserItemID container, bool recurse, DataBrowserItemState state,
               std::vector<DataBrowserItemID>* out) const;
  void RemoveRow(DataBrowserItemID item);
  void Notify(DataBrowserItemID item, DataBrowserItemNotification message) const;

  ControlRef mOwner;
  DataBrowserCallbacks mCallbacks = {};
  std::vector<Row> mRows;  // in the order added
  DataBrowserPropertyID mSortProperty = kDataBrowserItemNoProperty;
  DataBrowserSortOrder mOrder = kDataBrowserOrderIncreasing;
};
