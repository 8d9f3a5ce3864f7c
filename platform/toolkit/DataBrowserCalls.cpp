// The list-view calls over the process's toolkit model.

#include <cstring>

#include "cf/CFStringObject.h"
#include "toolkit/ToolkitModel.h"
#include "toolkit/ToolkitWindow.h"

namespace {

ListView* ListOf(ControlRef browser) {
  return ToolkitModel::Shared().IsLive(browser) ? browser->mList.get() : nullptr;
}

}  // namespace

DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr proc) { return proc; }
DataBrowserItemCompareUPP NewDataBrowserItemCompareUPP(DataBrowserItemCompareProcPtr proc) {
  return proc;
}
DataBrowserItemNotificationUPP NewDataBrowserItemNotificationUPP(
    DataBrowserItemNotificationProcPtr proc) {
  return proc;
}

OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks) {
  if (!callbacks || callbacks->version != kDataBrowserLatestCallbacks) return paramErr;
  std::memset(&callbacks->u, 0, sizeof callbacks->u);
  return noErr;
}

OSStatus SetDataBrowserCallbacks(ControlRef browser, const DataBrowserCallbacks* callbacks) {
  ListView* list = ListOf(browser);
  if (!list || !callbacks || callbacks->version != kDataBrowserLatestCallbacks) return paramErr;
  list->SetCallbacks(*callbacks);
  return noErr;
}

OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                             const DataBrowserItemID* items, DataBrowserPropertyID) {
  ListView* list = ListOf(browser);
  return list ? list->Add(container, numItems, items) : OSStatus(paramErr);
}

OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                                const DataBrowserItemID* items, DataBrowserPropertyID) {
  ListView* list = ListOf(browser);
  return list ? list->Remove(container, numItems, items) : OSStatus(paramErr);
}

OSStatus GetDataBrowserItems(ControlRef browser, DataBrowserItemID container, Boolean recurse,
                             DataBrowserItemState state, Handle items) {
  ListView* list = ListOf(browser);
  if (!list || !items) return paramErr;
  std::vector<DataBrowserItemID> rows = list->Rows(container, recurse, state);
  Size bytes = Size(rows.size() * sizeof(DataBrowserItemID));
  SetHandleSize(items, bytes);
  if (MemError() != noErr) return memFullErr;
  if (bytes > 0) std::memcpy(*items, rows.data(), size_t(bytes));
  return noErr;
}

OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container, Boolean recurse,
                                 DataBrowserItemState state, ItemCount* numItems) {
  ListView* list = ListOf(browser);
  if (!list || !numItems) return paramErr;
  *numItems = ItemCount(list->Rows(container, recurse, state).size());
  return noErr;
}

OSStatus GetDataBrowserSelectionAnchor(ControlRef browser, DataBrowserItemID* first,
                                       DataBrowserItemID* last) {
  ListView* list = ListOf(browser);
  if (!list || !first || !last) return paramErr;
  std::vector<DataBrowserItemID> selected =
      list->Rows(kDataBrowserNoItem, true, kDataBrowserItemIsSelected);
  *first = selected.empty() ? kDataBrowserNoItem : selected.front();
  *last = selected.empty() ? kDataBrowserNoItem : selected.back();
  return noErr;
}

OSStatus SetDataBrowserSelectedItems(ControlRef browser, ItemCount numItems,
                                     const DataBrowserItemID* items,
                                     DataBrowserSetOption operation) {
  ListView* list = ListOf(browser);
  return list ? list->Select(numItems, items, operation) : OSStatus(paramErr);
}

OSStatus SetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID property) {
  ListView* list = ListOf(browser);
  if (!list) return paramErr;
  list->SortBy(property);
  return noErr;
}

OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order) {
  ListView* list = ListOf(browser);
  if (!list || (order != kDataBrowserOrderIncreasing && order != kDataBrowserOrderDecreasing))
    return paramErr;
  list->SetOrder(order);
  return noErr;
}

OSStatus SetDataBrowserListViewDisclosureColumn(ControlRef browser,
                                                DataBrowserTableViewColumnID column,
                                                Boolean expandableRows) {
  ListView* list = ListOf(browser);
  if (!list) return paramErr;
  list->mDisclosureColumn = column;
  list->mExpandableRows = expandableRows;
  return noErr;
}

OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef text) {
  if (!itemData || !text) return paramErr;
  itemData->text = __CFString::utf8Of(text);
  return noErr;
}

OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean value) {
  if (!itemData) return paramErr;
  itemData->boolean = value;
  return noErr;
}
