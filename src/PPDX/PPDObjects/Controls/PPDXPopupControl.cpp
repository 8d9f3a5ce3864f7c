#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "PPDX/PPDObjects/SettingsEntryReader.h"
#include "PPDX/PPDObjects/SettingsEntryWriter.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/MacErrors.h"
#include "foundation/CString.h"
#include "foundation/DocumentStorage.h"
#include "foundation/PointerListOf.h"
#include "foundation/Settings.h"
#include "foundation/SettingsKeys.h"
#include "foundation/SettingsStrings.h"

namespace {

constexpr unsigned long kPickManyKey = FourCC("PCMS");
constexpr unsigned long kDefaultKey = FourCC("PCDK");
constexpr unsigned long kCountKey = FourCC("PCIC");
constexpr unsigned long kItemKeywordKey = FourCC("PCIK");
constexpr unsigned long kItemNameKey = FourCC("PCFN");
constexpr unsigned long kItemTextNameKey = FourCC("PCIN");
constexpr unsigned long kItemCodeKey = FourCC("PCIP");
constexpr unsigned long kItemSelectedKey = FourCC("PCIS");

using Items = PointerListOf<_PopupItem>;
using ConstItems = PointerListOf<const _PopupItem>;

bool HasKeyword(const _PopupItem* item, const char* keyword) {
  return item->keyword != nullptr && keyword != nullptr && *item->keyword == keyword;
}

// A choice read without an option keyword was saved with an empty one; it comes
// back as the parser made it, with an empty keyword rather than none.
bool HasEmptyEntry(SettingsEntryReader& reader, unsigned long key) {
  long size = -1;
  return reader.Size(key, size) == noErr && size == 0;
}

const char* KeywordOf(const _PopupItem* item) {
  return item->keyword != nullptr ? static_cast<const char*>(*item->keyword) : nullptr;
}

}  // namespace

_PopupItem::~_PopupItem() {
  if (mStored) {
    DocumentStorage::Destroy(keyword);
    DocumentStorage::Release(psData, size_t(psLength > 0 ? psLength : 0));
    name.Release();
  } else {
    delete keyword;
    std::free(psData);
  }
  delete[] nameText;
}

_PopupItem* _PopupItem::MakeIn(DocumentStorage& storage) {
  _PopupItem* item = storage.Make<_PopupItem>();
  item->mStored = true;
  return item;
}

void std::default_delete<_PopupItem>::operator()(_PopupItem* item) const {
  if (item == nullptr || !item->mStored)
    delete item;
  else
    DocumentStorage::Destroy(item);
}

_PopupItem* NewStoredItem(DocumentStorage& storage, const char* keyword, const void* code,
                          unsigned long length) {
  _PopupItem* item = _PopupItem::MakeIn(storage);
  item->keyword = storage.Make<CString>(keyword, storage);
  item->psData = static_cast<unsigned char*>(storage.Copy(code, length));
  item->psLength = item->psData != nullptr ? long(length) : 0;
  return item;
}

const char* _PopupItem::displayName() {
  if (name == nullptr) return nullptr;
  if (nameText == nullptr) {
    const CFIndex capacity =
        CFStringGetMaximumSizeForEncoding(CFStringGetLength(name), CFStringGetSystemEncoding()) + 1;
    nameText = new char[size_t(capacity)];
    // A name the system encoding cannot hold reads as the converter's error text,
    // as every other display name does, never as an empty one.
    TextConverter::CFStringToCstring(name, nameText, capacity);
  }
  return nameText;
}

PPDXPopupControl::PPDXPopupControl() { SetType(CNTL_POPUP); }

PPDXPopupControl::PPDXPopupControl(const char* keyword, CFStringRef displayName, PointerList& flags,
                                   bool visible, bool pickMany, bool installable,
                                   PointerList& items, CString* defaultKeyword,
                                   UIConstraints* constraints)
    : PPDXControl(keyword, displayName, flags, nullptr, 0, visible, constraints),
      mPickMany(pickMany),
      mInstallable(installable),
      mDefaultKeyword(defaultKeyword) {
  mItems.Splice(items);
  SetType(CNTL_POPUP);
  if (mDefaultKeyword) SetKeywordSelect(*mDefaultKeyword, true);
}

PPDXPopupControl::PPDXPopupControl(Settings& settings, long index, UIConstraints* constraints,
                                   DocumentStorage* storage)
    : PPDXControl(settings, index, constraints, storage) {
  SetType(CNTL_POPUP);
  if (storage != nullptr) mItems.PlaceNodesIn(*storage);
  SettingsEntryReader reader(settings, index);
  SInt32 pickMany = 0;
  if (reader.Number(kPickManyKey, pickMany)) mPickMany = pickMany != 0;
  mDefaultKeyword.reset(reader.Text(kDefaultKey));
  const char* toSelect = GetDefaultKeyword();
  SInt32 count = 0;
  reader.Number(kCountKey, count);
  long itemIndex = 0;
  // An item's entries are read in the order Save wrote them: its selected flag,
  // written last, tells whether it was saved at all.
  for (long i = 0; i < count && ItemIndex(index, i, itemIndex); ++i) {
    std::unique_ptr<_PopupItem> item(RestoreItem(settings, itemIndex, storage));
    if (!IsSavedItem(settings, itemIndex, item->selected)) break;
    if (item->selected) toSelect = KeywordOf(item.get());
    mItems.PushBack(item.release());
  }
  if (toSelect != nullptr) SetKeywordSelect(toSelect, true);
}

PPDXPopupControl::~PPDXPopupControl() { DeleteItems(); }

// Save writes the selected flag of every item: the count of a blob that anyone may
// have written is believed only as far as the items it names are there. A flag
// that is no 4-byte number leaves the item unselected.
// Read once: an index the store cannot address holds nothing, so a refusal
// then means a flag of another size.
bool PPDXPopupControl::IsSavedItem(Settings& settings, long itemIndex, bool& selected) {
  selected = false;
  if (itemIndex < INT32_MIN || itemIndex > INT32_MAX) return false;
  SInt32 flag = 0;
  const short error =
      SettingsEntryReader(settings, itemIndex).Fixed(kItemSelectedKey, &flag, sizeof flag);
  if (error != noErr && error != paramErr) return false;
  selected = error == noErr && flag != 0;
  return true;
}

_PopupItem* PPDXPopupControl::RestoreItem(Settings& settings, long itemIndex,
                                          DocumentStorage* storage) {
  auto* item = storage != nullptr ? _PopupItem::MakeIn(*storage) : new _PopupItem;
  SettingsEntryReader reader(settings, itemIndex);
  item->keyword = reader.Text(kItemKeywordKey, storage);
  if (item->keyword == nullptr && HasEmptyEntry(reader, kItemKeywordKey))
    item->keyword = storage != nullptr ? storage->Make<CString>("", *storage) : new CString("");
  RestoreName(reader, *item, storage);
  reader.Bytes(kItemCodeKey, item->psData, item->psLength, storage);
  return item;
}

// A name saved as a platform string waits in `storage` until it is read; one
// that would not decode gives way to the name saved as text.
void PPDXPopupControl::RestoreName(SettingsEntryReader& reader, _PopupItem& item,
                                   DocumentStorage* storage) {
  if (storage != nullptr) {
    const void* external = nullptr;
    long length = 0;
    if (reader.View(kItemNameKey, external, length) && ExternalFormDecodes(length)) {
      item.name.KeepExternal(*storage, external, size_t(length));
      return;
    }
  }
  item.name = reader.PlatformText(kItemNameKey);
  if (item.name != nullptr) return;
  std::unique_ptr<CString> text(reader.Text(kItemTextNameKey));
  if (text) item.name = CFStringCreateWithCString(nullptr, *text, CFStringGetSystemEncoding());
}

bool PPDXPopupControl::ItemIndex(long index, long item, long& itemIndex) {
  if (index < 0 || index > INT32_MAX || item < 0) return false;
  if (item < kPopupItemsInPlace) {
    itemIndex = index * kPopupItemsInPlace + item;
    return true;
  }
  const long overflow = item - kPopupItemsInPlace;
  if (index >= kPopupOverflowControls || overflow >= kPopupOverflowItems) return false;
  itemIndex = -(index * kPopupOverflowItems + overflow) - 1;
  return true;
}

_PopupItem* PPDXPopupControl::Current() const { return Items::At(mCurrent); }

void PPDXPopupControl::DeleteItems() {
  Items(mItems).DeleteAll();
  mItemCursor = PointerListItr();
  mCurrent = PointerListItr();
}

_PopupItem* PPDXPopupControl::FirstItem() {
  mItemCursor = mItems.Begin();
  return Items::At(mItemCursor);
}

_PopupItem* PPDXPopupControl::NextItem() {
  if (mItemCursor == mItems.End()) return nullptr;
  return Items::At(++mItemCursor);
}

void PPDXPopupControl::AppendPopupItem(_PopupItem* item) { mItems.PushBack(item); }

long PPDXPopupControl::GetValue() const {
  long position = 1;
  for (ConstPointerListItr item = mItems.Begin(); item != mItems.End(); ++item, ++position)
    if (ConstItems::At(item)->selected) return position;
  return 0;
}

void PPDXPopupControl::SetValue(long position) {
  if (mItems.Empty()) return;
  long at = 1;
  for (PointerListItr item = mItems.Begin(); item != mItems.End(); ++item, ++at) {
    Items::At(item)->selected = at == position;
    if (at == position) mCurrent = item;
  }
  if (Current() != nullptr) UpdateKVCache(Keyword(), KeywordOf(Current()));
}

long PPDXPopupControl::DefaultValue() const {
  if (!mDefaultKeyword) return 0;
  long position = 1;
  for (ConstPointerListItr item = mItems.Begin(); item != mItems.End(); ++item, ++position)
    if (HasKeyword(ConstItems::At(item), *mDefaultKeyword)) return position;
  return 0;
}

const char* PPDXPopupControl::GetDefaultKeyword() const {
  return mDefaultKeyword ? static_cast<const char*>(*mDefaultKeyword) : nullptr;
}

bool PPDXPopupControl::SetKeywordSelect(const char* keyword, bool select) {
  if (keyword == nullptr || mItems.Empty()) return false;
  bool found = false;
  for (PointerListItr position = mItems.Begin(); position != mItems.End(); ++position) {
    _PopupItem* item = Items::At(position);
    if (HasKeyword(item, keyword)) {
      item->selected = select;
      mCurrent = position;
      found = true;
      if (mPickMany) break;
    } else if (!mPickMany) {
      item->selected = false;
    }
  }
  UpdateKVCache(Keyword(), keyword);
  return found;
}

bool PPDXPopupControl::IsKeywordSelected(const char* keyword) const {
  for (const _PopupItem* item : ConstItems(mItems))
    if (item->selected && HasKeyword(item, keyword)) return true;
  return false;
}

long PPDXPopupControl::GetKeywordPSData(const char* keyword, unsigned char* out) {
  if (keyword == nullptr) return 0;
  for (_PopupItem* item : Items(mItems)) {
    if (!HasKeyword(item, keyword)) continue;
    if (item->psLength < 0) item->psLength = 0;
    if (Keyword() == nullptr) return 0;
    return GeneratePSOutputData(out, item->psData, item->psLength, keyword, true);
  }
  return 0;
}

const char* PPDXPopupControl::GetKeywordLocalName(const char* keyword) {
  _PopupItem* last = nullptr;
  for (_PopupItem* item : Items(mItems))
    if (HasKeyword(item, keyword)) last = item;
  return last != nullptr ? last->displayName() : nullptr;
}

CFStringRef PPDXPopupControl::GetKeywordCFLocalName(const char* keyword) const {
  CFStringRef name = nullptr;
  for (const _PopupItem* item : ConstItems(mItems))
    if (HasKeyword(item, keyword)) name = item->name;
  return name;
}

bool PPDXPopupControl::Rebuild(const char* displayName, PointerList& items,
                               CString* defaultKeyword) {
  if (Current() == nullptr) return false;
  const CString remembered(KeywordOf(Current()));
  const char* userName = UserName();
  if (displayName != nullptr && (userName == nullptr || std::strcmp(displayName, userName) != 0)) {
    CFStringRef name = CFStringCreateWithCString(nullptr, displayName, CFStringGetSystemEncoding());
    if (name != nullptr) {
      AdoptDisplayName(name);
      UserName();
    }
  }
  DeleteItems();
  mItems.Splice(items);
  mDefaultKeyword.reset(defaultKeyword);
  if (mDefaultKeyword) SetKeywordSelect(*mDefaultKeyword, true);
  SetKeywordSelect(remembered, true);
  return true;
}

void PPDXPopupControl::ResetToDefaultValue() { SetValue(DefaultValue()); }

long PPDXPopupControl::PostScript(unsigned char* out) {
  if (Current() == nullptr || Current()->keyword == nullptr) return 0;
  return GetKeywordPSData(KeywordOf(Current()), out);
}

short PPDXPopupControl::Restore(Settings& settings, long index) {
  const char* toSelect = nullptr;
  long position = 0;
  for (PointerListItr item = mItems.Begin(); item != mItems.End(); ++item, ++position) {
    long itemIndex = 0;
    if (!ItemIndex(index, position, itemIndex)) return paramErr;
    SettingsEntryReader reader(settings, itemIndex);
    long size = 0;
    short error = reader.Size(kItemSelectedKey, size);
    if (error != noErr) return error;
    if (size != sizeof(SInt32)) continue;
    SInt32 selected = 0;
    error = reader.Fixed(kItemSelectedKey, &selected, size);
    if (error != noErr) return error;
    Items::At(item)->selected = selected != 0;
    if (selected != 0) toSelect = KeywordOf(Items::At(item));
  }
  if (toSelect != nullptr) SetKeywordSelect(toSelect, true);
  return noErr;
}

CFStringRef PPDXPopupControl::CopyCurrentControlValueString() {
  if (Current() == nullptr || Current()->keyword == nullptr) return nullptr;
  return CFStringCreateWithCString(nullptr, *Current()->keyword, kCFStringEncodingASCII);
}

void PPDXPopupControl::SetCurrentControlWithCFString(CFStringRef value) {
  const CString keyword(value);
  long position = 1;
  for (PointerListItr item = mItems.Begin(); item != mItems.End(); ++item, ++position) {
    if (HasKeyword(Items::At(item), keyword)) {
      SetValue(position);
      return;
    }
  }
}

short PPDXPopupControl::Save(Settings& settings, long index) {
  short error = PPDXControl::Save(settings, index);
  if (error != noErr) return error;
  SettingsEntryWriter writer(settings, index);
  writer.Bytes(kMarker, "P", 1)
      .Number<SInt32>(kPickManyKey, mPickMany ? 1 : 0)
      .Text(kDefaultKey, GetDefaultKeyword());
  if (!mItems.Empty()) {
    writer.Number<SInt32>(kCountKey, SInt32(mItems.Size()));
    SaveItems(writer, index);
  }
  return writer.Error();
}

void PPDXPopupControl::SaveItems(SettingsEntryWriter& writer, long index) {
  long position = 0;
  for (PointerListItr item = mItems.Begin(); item != mItems.End() && writer.Error() == noErr;
       ++item, ++position) {
    long itemIndex = 0;
    if (!ItemIndex(index, position, itemIndex)) {
      writer.Fail(paramErr);
      return;
    }
    const _PopupItem* choice = Items::At(item);
    writer.At(itemIndex).Text(kItemKeywordKey, KeywordOf(choice));
    writer.PlatformText(kItemNameKey, choice->name);
    if (choice->psData != nullptr && choice->psLength > 0)
      writer.Bytes(kItemCodeKey, choice->psData, choice->psLength);
    writer.Number<SInt32>(kItemSelectedKey, choice->selected ? 1 : 0);
  }
}
