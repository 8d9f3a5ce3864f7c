// The Customize dialog: the option tree on the left, the user's shortcut
// list on the right, Add, Remove, Move up and down, OK and Cancel.

#include <algorithm>
#include <cstring>
#include <vector>

#include "carbon/MacMemory.h"
#include "output/PDEData.h"
#include "toolkit/Controls.h"
#include "ui/PPDTree.h"
#include "ui/UI_Panel.h"

namespace {

constexpr OSType kListSignatures[] = {FourCC("SLST"), FourCC("CLST")};
constexpr OSType kButtonSignature = FourCC("BUTN");

OSType ListSignature(SInt32 number) {
  return number == UI_Panel::kOptionList ? kListSignatures[0] : kListSignatures[1];
}

ControlRef WindowControl(WindowRef window, OSType signature, SInt32 number) {
  const ControlID id = {signature, number};
  ControlRef control = nullptr;
  if (window != nullptr) GetControlByID(window, &id, &control);
  return control;
}

// The list's rows in display order; only the selected ones when asked.
std::vector<DataBrowserItemID> RowsOf(ControlRef list, bool selectedOnly) {
  std::vector<DataBrowserItemID> rows;
  if (list == nullptr) return rows;
  Handle items = NewHandle(0);
  if (items == nullptr) return rows;
  if (GetDataBrowserItems(list, kDataBrowserNoItem, true,
                          selectedOnly ? kDataBrowserItemIsSelected : kDataBrowserItemAnyState,
                          items) == noErr) {
    const size_t count = size_t(GetHandleSize(items)) / sizeof(DataBrowserItemID);
    rows.resize(count);
    if (count > 0) std::memcpy(rows.data(), *items, count * sizeof(DataBrowserItemID));
  }
  DisposeHandle(items);
  return rows;
}

bool Contains(const std::vector<DataBrowserItemID>& rows, DataBrowserItemID item) {
  return std::find(rows.begin(), rows.end(), item) != rows.end();
}

}  // namespace

ControlRef UI_Panel::CustomizeList(SInt32 number) const {
  return WindowControl(mCustomize, ListSignature(number), number);
}

void UI_Panel::OpenCustomize() {
  if (mCustomize == nullptr) {
    if (mNib == nullptr || CreateWindowFromNib(mNib, CFSTR("PDECustomize"), &mCustomize) != noErr) {
      mCustomize = nullptr;
      return;
    }
    const EventTypeSpec commands[] = {{kEventClassCommand, kEventCommandProcess}};
    InstallEventHandler(GetWindowEventTarget(mCustomize), NewEventHandlerUPP(EventHandler),
                        std::size(commands), commands, this, &mCustomizeHandler);
    RepositionWindow(mCustomize, mDialog, kWindowCenterOnParentWindow);
  }
  MyInitializeDataBrowserControl(mCustomize);
  ShowWindow(mCustomize);
}

void UI_Panel::CloseCustomize() {
  if (mCustomize == nullptr) return;
  if (mCustomizeHandler != nullptr) RemoveEventHandler(std::exchange(mCustomizeHandler, nullptr));
  DisposeWindow(std::exchange(mCustomize, nullptr));
}

// Groups (closed) in the option list, the shortcuts' items in the other.
void UI_Panel::MyInitializeDataBrowserControl(WindowRef window) {
  const PPDTree& tree = PPDTree::Shared();
  DataBrowserCallbacks callbacks;
  callbacks.version = kDataBrowserLatestCallbacks;
  InitDataBrowserCallbacks(&callbacks);
  callbacks.u.v1.itemDataCallback = NewDataBrowserItemDataUPP(MyDataBrowserItemDataCallback);
  callbacks.u.v1.itemNotificationCallback = NewDataBrowserItemNotificationUPP(MyItemNotification);
  ControlRef options = WindowControl(window, kListSignatures[0], kOptionList);
  ControlRef shortcuts = WindowControl(window, kListSignatures[1], kShortcutList);
  if (options == nullptr || shortcuts == nullptr) return;
  for (ControlRef list : {options, shortcuts}) {
    SetDataBrowserCallbacks(list, &callbacks);
    RemoveDataBrowserItems(list, kDataBrowserNoItem, 0, nullptr, kDataBrowserItemNoProperty);
  }
  SetDataBrowserListViewDisclosureColumn(options, kOptionColumn, false);
  std::vector<DataBrowserItemID> groups;
  for (size_t g = 0; g < tree.GroupCount(); ++g) groups.push_back(PPDTree::GroupId(g));
  AddDataBrowserItems(options, kDataBrowserNoItem, groups.size(), groups.data(),
                      kDataBrowserItemNoProperty);
  for (size_t i = 0; i < tree.ShortcutCount(); ++i)
    UpdateDataBrowserControl(window, tree.ShortcutAt(i).itemId, false);
}

// One item into the shortcut list (not twice, not past the list's room, only
// items the tree has) or out of it.
void UI_Panel::UpdateDataBrowserControl(WindowRef window, DataBrowserItemID item, bool remove) {
  ControlRef shortcuts = WindowControl(window, kListSignatures[1], kShortcutList);
  if (shortcuts == nullptr) return;
  const std::vector<DataBrowserItemID> rows = RowsOf(shortcuts, false);
  if (remove) {
    if (Contains(rows, item))
      RemoveDataBrowserItems(shortcuts, kDataBrowserNoItem, 1, &item, kDataBrowserItemNoProperty);
    return;
  }
  if (PPDTree::Shared().ItemOf(item) == nullptr || Contains(rows, item) ||
      rows.size() >= PPDTree::kMaxShortcuts)
    return;
  AddDataBrowserItems(shortcuts, kDataBrowserNoItem, 1, &item, kDataBrowserItemNoProperty);
}

void UI_Panel::AddShortCut() {
  for (DataBrowserItemID selected : RowsOf(CustomizeList(kOptionList), true)) {
    const std::vector<UInt32> items = PPDTree::IsGroupId(selected)
                                          ? PPDTree::Shared().ItemIdsOf(selected)
                                          : std::vector<UInt32>{selected};
    for (UInt32 item : items) UpdateDataBrowserControl(mCustomize, item, false);
  }
}

void UI_Panel::RemoveShortCut() {
  for (DataBrowserItemID selected : RowsOf(CustomizeList(kShortcutList), true))
    UpdateDataBrowserControl(mCustomize, selected, true);
}

void UI_Panel::MoveShortcutUp() { MoveShortcut(-1); }
void UI_Panel::MoveShortcutDown() { MoveShortcut(1); }

// Swaps the selected shortcut with its neighbour; nothing past either end.
void UI_Panel::MoveShortcut(int step) {
  ControlRef shortcuts = CustomizeList(kShortcutList);
  DataBrowserItemID first = kDataBrowserNoItem;
  DataBrowserItemID last = kDataBrowserNoItem;
  if (shortcuts == nullptr || GetDataBrowserSelectionAnchor(shortcuts, &first, &last) != noErr ||
      first == kDataBrowserNoItem)
    return;
  std::vector<DataBrowserItemID> rows = RowsOf(shortcuts, false);
  const auto at = std::find(rows.begin(), rows.end(), first);
  const long index = long(at - rows.begin());
  const long target = index + step;
  if (at == rows.end() || target < 0 || target >= long(rows.size())) return;
  std::swap(rows[size_t(index)], rows[size_t(target)]);
  RemoveDataBrowserItems(shortcuts, kDataBrowserNoItem, 0, nullptr, kDataBrowserItemNoProperty);
  AddDataBrowserItems(shortcuts, kDataBrowserNoItem, rows.size(), rows.data(),
                      kDataBrowserItemNoProperty);
  SetDataBrowserSelectedItems(shortcuts, 1, &first, kDataBrowserItemsAssign);
}

// The new list keeps the order the user sees.
void UI_Panel::CustomizeDialogOnOK() {
  PPDTree& tree = PPDTree::Shared();
  const std::vector<DataBrowserItemID> rows = RowsOf(CustomizeList(kShortcutList), false);
  if (mCustomize == nullptr) return;
  tree.ClearShortcuts();
  for (DataBrowserItemID id : rows)
    if (const PPDTree::Item* item = tree.ItemOf(id))
      tree.AddShortcut(item->keyword.c_str(), item->name.get(), id);
  sScrollOffset = 0;
  if (ControlRef scroll = DialogControl(kScrollSignature, kScrollBar))
    SetControl32BitValue(scroll, 0);
  mData->SetPPDShortcuts(tree.ShortcutKeywords());
  CloseCustomize();
  CreateBasicPanel();
}

// A selection in one list enables that list's button and clears the other.
void UI_Panel::SelectIn(SInt32 list) {
  const SInt32 other = list == kOptionList ? kShortcutList : kOptionList;
  ControlRef ownButton =
      WindowControl(mCustomize, kButtonSignature, list == kOptionList ? kAddButton : kRemoveButton);
  ControlRef otherButton =
      WindowControl(mCustomize, kButtonSignature, list == kOptionList ? kRemoveButton : kAddButton);
  if (ownButton != nullptr) EnableControl(ownButton);
  if (otherButton != nullptr) DisableControl(otherButton);
  if (ControlRef otherList = CustomizeList(other))
    SetDataBrowserSelectedItems(otherList, 0, nullptr, kDataBrowserItemsAssign);
}

void UI_Panel::MyItemNotification(ControlRef browser, DataBrowserItemID item,
                                  DataBrowserItemNotification message) {
  UI_Panel* panel = sLivePanel;
  ControlID id = {0, 0};
  if (panel == nullptr || panel->mCustomize == nullptr || GetControlID(browser, &id) != noErr)
    return;
  if (message == kDataBrowserContainerOpened && id.id == kOptionList) {
    const std::vector<UInt32> items = PPDTree::Shared().ItemIdsOf(item);
    AddDataBrowserItems(browser, item, items.size(), items.data(), kDataBrowserItemNoProperty);
  } else if (message == kDataBrowserItemSelected) {
    panel->SelectIn(id.id);
  }
}

OSStatus UI_Panel::MyDataBrowserItemDataCallback(ControlRef, DataBrowserItemID item,
                                                 DataBrowserPropertyID property,
                                                 DataBrowserItemDataRef itemData,
                                                 Boolean setValue) {
  if (setValue) return noErr;
  if (property == kDataBrowserItemIsContainerProperty)
    return SetDataBrowserItemDataBooleanValue(itemData, PPDTree::IsGroupId(item));
  if (property == kOptionColumn || property == kShortcutColumn) {
    CFStringRef name = PPDTree::Shared().NameOf(item);
    return SetDataBrowserItemDataText(itemData, name != nullptr ? name : CFSTR(""));
  }
  return noErr;
}
