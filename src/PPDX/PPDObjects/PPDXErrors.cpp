#include "PPDX/PPDObjects/PPDXErrors.h"

#include "PPDX/PPDObjects/PPDXErrorObj.h"
#include "foundation/PointerListOf.h"

namespace {

using ErrorList = PointerListOf<PPDXErrorObj>;

}  // namespace

PPDXErrors::PPDXErrors() : mCursor(mErrors.End()) {}

PPDXErrors::~PPDXErrors() = default;

void PPDXErrors::Add(PPDXErrorObj* error) { mErrors.PushBack(error); }

PPDXErrorObj* PPDXErrors::First() {
  if (Empty()) return nullptr;
  mCursor = mErrors.Begin();
  return ErrorList::At(mCursor);
}

PPDXErrorObj* PPDXErrors::Next() {
  if (Empty()) return nullptr;
  // The end is the tail sentinel, whose data is null; stepping past it would
  // leave the list.
  if (mCursor != mErrors.End()) ++mCursor;
  return ErrorList::At(mCursor);
}
