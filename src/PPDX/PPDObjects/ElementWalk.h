#pragma once
// Walks over the borrowed-pointer lists of the option model. Each list holds
// pointers of one element class; a cursor-based walk may skip what the document's
// display option hides, and a keyword search matches whole keywords or parts.

#include <cstring>

#include "PPDX/PPDXDisplayOptions.h"
#include "foundation/PointerList.h"
#include "foundation/PointerListOf.h"

// Exact: the whole keyword, case-sensitively. Otherwise the keyword only has to
// contain `keyword` ("Duplex" finds "*ZPDuplex"). An element without a keyword
// matches nothing.
inline bool KeywordMatches(const char* candidate, const char* keyword, bool exact) {
  if (candidate == nullptr || keyword == nullptr) return false;
  return exact ? std::strcmp(candidate, keyword) == 0 : std::strstr(candidate, keyword) != nullptr;
}

enum class WalkFilter { kNone, kDisplayable };

// From where the cursor stands, the first non-null element that passes the
// filter; the cursor stays on it, or on the list's end when there is none.
template <class T>
T* SettleOn(PointerList& list, PointerListItr& cursor, WalkFilter filter) {
  for (; cursor != list.End(); ++cursor) {
    T* element = PointerListOf<T>::At(cursor);
    if (element == nullptr) continue;
    if (filter == WalkFilter::kNone || element->OkayToDisplay(PPDXDisplayOptions::Options()))
      return element;
  }
  return nullptr;
}

template <class T>
T* WalkFirst(PointerList& list, PointerListItr& cursor, WalkFilter filter) {
  cursor = list.Begin();
  return SettleOn<T>(list, cursor, filter);
}

// A cursor that was never started, or that reached the end, stays there.
template <class T>
T* WalkNext(PointerList& list, PointerListItr& cursor, WalkFilter filter) {
  if (cursor == PointerListItr() || cursor == list.End()) return nullptr;
  ++cursor;
  return SettleOn<T>(list, cursor, filter);
}

// The first element the walk reaches whose keyword matches; the cursor stays on it.
template <class T>
T* WalkFind(PointerList& list, PointerListItr& cursor, WalkFilter filter, const char* keyword,
            bool exact) {
  if (keyword == nullptr) return nullptr;
  for (T* element = WalkFirst<T>(list, cursor, filter); element != nullptr;
       element = WalkNext<T>(list, cursor, filter))
    if (KeywordMatches(element->Keyword(), keyword, exact)) return element;
  return nullptr;
}
