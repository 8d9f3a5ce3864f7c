#pragma once
// The list view (data browser): rows are item IDs the program adds; what they
// show comes from its item-data callback, their order from its compare
// callback, and what happens to them (selection, containers opening) goes to
// its notification callback. Open containers show their rows below them.

#include "carbon/MacMemory.h"
#include "cf/CFString.h"
#include "toolkit/CarbonEvents.h"

typedef UInt32 DataBrowserItemID;
typedef UInt32 DataBrowserPropertyID;
typedef UInt32 DataBrowserItemState;
typedef UInt32 DataBrowserItemNotification;
typedef UInt32 DataBrowserSetOption;
typedef UInt32 DataBrowserTableViewColumnID;
typedef UInt16 DataBrowserSortOrder;
typedef struct OpaqueDataBrowserItemDataRef* DataBrowserItemDataRef;

enum : DataBrowserItemID { kDataBrowserNoItem = 0 };
enum : DataBrowserPropertyID {
  kDataBrowserItemNoProperty = 0,
  kDataBrowserItemIsContainerProperty = FourCC("ctnr"),
};
enum : DataBrowserItemState {
  kDataBrowserItemNoState = 0,
  kDataBrowserItemIsSelected = 1 << 0,
  kDataBrowserContainerIsOpen = 1 << 1,
  kDataBrowserItemAnyState = 0xFFFFFFFF,
};
enum : DataBrowserItemNotification {
  kDataBrowserItemAdded = 1,
  kDataBrowserItemRemoved = 2,
  kDataBrowserItemSelected = 5,
  kDataBrowserItemDeselected = 6,
  kDataBrowserItemDoubleClicked = 7,
  kDataBrowserContainerOpened = 8,
  kDataBrowserContainerClosing = 9,
  kDataBrowserContainerClosed = 10,
  kDataBrowserSelectionSetChanged = 14,
};
enum : DataBrowserSetOption {
  kDataBrowserItemsAdd = 0,
  kDataBrowserItemsAssign = 1,
  kDataBrowserItemsToggle = 2,
  kDataBrowserItemsRemove = 3,
};
enum : DataBrowserSortOrder { kDataBrowserOrderIncreasing = 1, kDataBrowserOrderDecreasing = 2 };
enum : UInt32 { kDataBrowserLatestCallbacks = 0 };

typedef OSStatus (*DataBrowserItemDataProcPtr)(ControlRef browser, DataBrowserItemID item,
                                               DataBrowserPropertyID property,
                                               DataBrowserItemDataRef itemData, Boolean setValue);
typedef DataBrowserItemDataProcPtr DataBrowserItemDataUPP;
typedef Boolean (*DataBrowserItemCompareProcPtr)(ControlRef browser, DataBrowserItemID itemOne,
                                                 DataBrowserItemID itemTwo,
                                                 DataBrowserPropertyID sortProperty);
typedef DataBrowserItemCompareProcPtr DataBrowserItemCompareUPP;
typedef void (*DataBrowserItemNotificationProcPtr)(ControlRef browser, DataBrowserItemID item,
                                                   DataBrowserItemNotification message);
typedef DataBrowserItemNotificationProcPtr DataBrowserItemNotificationUPP;

struct DataBrowserCallbacks {
  UInt32 version;
  union {
    struct {
      DataBrowserItemDataUPP itemDataCallback;
      DataBrowserItemCompareUPP itemCompareCallback;
      DataBrowserItemNotificationUPP itemNotificationCallback;
    } v1;
  } u;
};

DataBrowserItemDataUPP NewDataBrowserItemDataUPP(DataBrowserItemDataProcPtr proc);
DataBrowserItemCompareUPP NewDataBrowserItemCompareUPP(DataBrowserItemCompareProcPtr proc);
DataBrowserItemNotificationUPP NewDataBrowserItemNotificationUPP(
    DataBrowserItemNotificationProcPtr proc);

// Clears the callbacks of a structure whose version is set.
OSStatus InitDataBrowserCallbacks(DataBrowserCallbacks* callbacks);
OSStatus SetDataBrowserCallbacks(ControlRef browser, const DataBrowserCallbacks* callbacks);
// Rows below `container` (kDataBrowserNoItem: the top level); an ID already
// present is refused.
OSStatus AddDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                             const DataBrowserItemID* items, DataBrowserPropertyID preSortProperty);
// No items (0, null): every row below `container`.
OSStatus RemoveDataBrowserItems(ControlRef browser, DataBrowserItemID container, ItemCount numItems,
                                const DataBrowserItemID* items,
                                DataBrowserPropertyID preSortProperty);
// The IDs of the rows in display order, into the handle.
OSStatus GetDataBrowserItems(ControlRef browser, DataBrowserItemID container, Boolean recurse,
                             DataBrowserItemState state, Handle items);
OSStatus GetDataBrowserItemCount(ControlRef browser, DataBrowserItemID container, Boolean recurse,
                                 DataBrowserItemState state, ItemCount* numItems);
// The first and last selected rows in display order (none: kDataBrowserNoItem).
OSStatus GetDataBrowserSelectionAnchor(ControlRef browser, DataBrowserItemID* first,
                                       DataBrowserItemID* last);
OSStatus SetDataBrowserSelectedItems(ControlRef browser, ItemCount numItems,
                                     const DataBrowserItemID* items,
                                     DataBrowserSetOption operation);
OSStatus SetDataBrowserSortProperty(ControlRef browser, DataBrowserPropertyID property);
OSStatus SetDataBrowserSortOrder(ControlRef browser, DataBrowserSortOrder order);
OSStatus SetDataBrowserListViewDisclosureColumn(ControlRef browser,
                                                DataBrowserTableViewColumnID column,
                                                Boolean expandableRows);
// For the item-data callback: what the row shows in the asked property.
OSStatus SetDataBrowserItemDataText(DataBrowserItemDataRef itemData, CFStringRef text);
OSStatus SetDataBrowserItemDataBooleanValue(DataBrowserItemDataRef itemData, Boolean value);
