#pragma once
// An option with a list of choices (pick one or pick many): the choices in PPD
// order with their codes, which of them are selected, the PPD default, and the
// current choice, whose framed code is the control's PostScript.

#include <memory>

#include "PPDX/PPDObjects/Controls/ChoiceName.h"
#include "PPDX/PPDObjects/PPDXControl.h"

class CString;
class DocumentStorage;
class SettingsEntryReader;
class SettingsEntryWriter;

// One choice. Every field is owned; the parser fills them in. A choice placed
// in a document's storage (the parser's and a rebuild's) holds its keyword and
// code there too, and a rebuilt one the saved bytes of its name; one made with
// a plain new holds heap blocks. Either is deleted alike, by a unique_ptr or
// std::default_delete (never by a plain delete), which gives a stored choice
// back to its storage.
struct _PopupItem {
  _PopupItem() = default;

  _PopupItem(const _PopupItem&) = delete;
  _PopupItem& operator=(const _PopupItem&) = delete;

  // An empty choice in `storage`.
  static _PopupItem* MakeIn(DocumentStorage& storage);

  // The display name in the system encoding, converted on first request; null
  // without a display name.
  const char* displayName();

  CString* keyword = nullptr;
  ChoiceName name;
  unsigned char* psData = nullptr;  // malloc'd, not NUL-terminated
  long psLength = 0;                // a negative length counts as none
  char* nameText = nullptr;
  bool selected = false;

 private:
  friend struct std::default_delete<_PopupItem>;
  friend class DocumentStorage;

  ~_PopupItem();

  bool mStored = false;  // made by MakeIn
};

template <>
struct std::default_delete<_PopupItem> {
  void operator()(_PopupItem* item) const;
};

// A choice in `storage` with a copy of the keyword and code (none for length 0).
_PopupItem* NewStoredItem(DocumentStorage& storage, const char* keyword, const void* code,
                          unsigned long length);

class PPDXPopupControl : public PPDXControl {
 public:
  // The key of the one-byte entry by which a rebuild knows this kind.
  static constexpr unsigned long kMarker = FourCC("PopC");

  PPDXPopupControl();
  // Adopts the items that `items` lists, taking the list's nodes (it is left
  // empty), and the default keyword, and selects the default.
  PPDXPopupControl(const char* keyword, CFStringRef displayName, PointerList& flags, bool visible,
                   bool pickMany, bool installable, PointerList& items, CString* defaultKeyword,
                   UIConstraints* constraints);
  // With `storage`, the restored choices and flag words are placed there (see
  // NewStoredItem).
  PPDXPopupControl(Settings& settings, long index, UIConstraints* constraints,
                   DocumentStorage* storage = nullptr);
  ~PPDXPopupControl() override;

  long ItemCount() const { return long(mItems.Size()); }
  // One cursor; null at the end.
  _PopupItem* FirstItem();
  _PopupItem* NextItem();
  void AppendPopupItem(_PopupItem* item);

  // Positions count from 1; 0 means none.
  long GetValue() const;
  // Selects the item at `position` and unselects every other; a position outside
  // the list unselects all and keeps the current item.
  void SetValue(long position);
  long DefaultValue() const;
  const char* GetDefaultKeyword() const;

  // Selects or unselects the items of that keyword (only the first in a pick-many
  // popup); a single-choice popup unselects every other item. Reports the keyword
  // to the constraint set whether found or not; returns whether it was found.
  bool SetKeywordSelect(const char* keyword, bool select);
  bool IsKeywordSelected(const char* keyword) const;
  // The framed snippet of that choice, written into `out` when not null; its size.
  long GetKeywordPSData(const char* keyword, unsigned char* out);
  // The display name of the last choice of that keyword; valid while the choice is.
  const char* GetKeywordLocalName(const char* keyword);
  CFStringRef GetKeywordCFLocalName(const char* keyword) const;
  bool CanSelectMultipleItems() const { return mPickMany; }
  bool IsInstallableOption() override { return mInstallable; }

  // Swaps in a new list of choices, taking the list's nodes as the constructor
  // does, and keeps the current choice where the new list has it. Needs a current
  // choice: false, and nothing changed, without one.
  bool Rebuild(const char* displayName, PointerList& items, CString* defaultKeyword);

  void ResetToDefaultValue() override;
  long PostScript(unsigned char* out) override;
  // Takes the selections of the existing items back from the store.
  short Restore(Settings& settings, long index) override;
  CFStringRef CopyCurrentControlValueString() override;
  void SetCurrentControlWithCFString(CFStringRef value) override;

  short Save(Settings& settings, long index);

  // The store index of an item's entries (kPopupItemsInPlace and the ranges
  // after it): the later items take a negative range of their own that no
  // other entry uses, so that a long list never overwrites the next control's
  // items. False when the item has no place (a negative index, or beyond the
  // overflow range).
  static bool ItemIndex(long index, long item, long& itemIndex);

 private:
  _PopupItem* Current() const;
  void DeleteItems();
  static bool IsSavedItem(Settings& settings, long itemIndex, bool& selected);
  static _PopupItem* RestoreItem(Settings& settings, long itemIndex, DocumentStorage* storage);
  static void RestoreName(SettingsEntryReader& reader, _PopupItem& item, DocumentStorage* storage);
  void SaveItems(SettingsEntryWriter& writer, long index);

  bool mPickMany = false;
  bool mInstallable = false;
  std::unique_ptr<CString> mDefaultKeyword;
  PointerList mItems;
  PointerListItr mItemCursor;
  PointerListItr mCurrent;
};
