#pragma once
// Where a saved document keeps each of its parts in its Settings store: the
// keys and indexes on which a writer and the reader that rebuilds from its
// entries must agree. Saved blobs outlive the program that wrote them, so none
// of these numbers may change. Each object's own entries are keyed by the
// four-character codes of its class, at the index that its list gives it.

#include "carbon/MacTypes.h"

// The header: the layout version, the location of the PPD file, then the
// header texts, all under one key.
constexpr unsigned long kHeaderKey = 1000;
constexpr long kLayoutVersionIndex = kHeaderKey + 1;
constexpr long kFileLocationIndex = kHeaderKey + 2;
constexpr long kFirstHeaderTextIndex = kHeaderKey + 3;
// The value under kLayoutVersionIndex.
constexpr SInt32 kLayoutVersion = 1024;

// The header texts of a document, in the order of their indexes.
enum HeaderField {
  kFormatVersion,
  kFileVersion,
  kPCFileName,
  kLanguageVersion,
  kLanguageEncoding,
  kModelName,
  kHeaderFieldCount
};

constexpr long HeaderTextIndex(HeaderField field) { return kFirstHeaderTextIndex + field; }

// The versions of the maker's extensions.
constexpr unsigned long kMakerKey = 2000;
constexpr long kMakerFileVersionIndex = kMakerKey + 1;
constexpr long kMakerVersionIndex = kMakerKey + 2;

// A saved list: its length, a 4-byte number, under `countKey` at `countIndex`,
// then its objects one index each from `firstIndex` on.
struct SavedListKeys {
  unsigned long countKey;
  long countIndex;
  long firstIndex;
};

// The lists of the layout and of the controls take their base as the key of
// their count.
constexpr SavedListKeys ModelListKeys(unsigned long base) {
  return {base, long(base) + 2, long(base) + 1};
}
constexpr SavedListKeys kPropertyPageList = ModelListKeys(3000);
constexpr SavedListKeys kGroupList = ModelListKeys(4000);
constexpr SavedListKeys kControlList = ModelListKeys(5000);

// The shortcuts keep their count and their keywords under one key.
constexpr unsigned long kShortcutKey = FourCC("StCt");
constexpr long kShortcutBase = 6000;
constexpr SavedListKeys kShortcutList = {kShortcutKey, kShortcutBase, kShortcutBase + 1};

// The entries of a popup's items: item i of the control at index n is at
// n × kPopupItemsInPlace + i for the first kPopupItemsInPlace items; later
// items take a negative range of their own, kPopupOverflowItems for each of
// the first kPopupOverflowControls controls.
constexpr long kPopupItemsInPlace = 100;
constexpr long kPopupOverflowControls = 1L << 15;
constexpr long kPopupOverflowItems = 1L << 16;

// Every declared constraint line, packed into one entry.
constexpr unsigned long kConstraintsKey = 7000;
constexpr long kConstraintsIndex = 1;
