#include "PPDX/PPDObjects/PPDXErrors.h"

#include "PPDX/PPDObjects/PPDXErrorObj.h"

namespace {

PPDXErrorObj* ErrorAt(const PointerListItr& position) {
  return static_cast<PPDXErrorObj*>(const_cast<void*>(*position));
}

}  // namespace

PPDXErrors::PPDXErrors() : mCursor(mErrors.End()) {}

PPDXErrors::~PPDXErrors() = default;

void PPDXErrors::Add(PPDXErrorObj* error) { mErrors.PushBack(error); }

PPDXErrorObj* PPDXErrors::First() {
  if (Empty()) return nullptr;
  mCursor = mErrors.Begin();
  return ErrorAt(mCursor);
}

PPDXErrorObj* PPDXErrors::Next() {
  if (Empty()) return nullptr;
  // The end is the tail sentinel, whose data is null; stepping past it would
  // leave the list.
  if (mCursor != mErrors.End()) ++mCursor;
  return ErrorAt(mCursor);
}
