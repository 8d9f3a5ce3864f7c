#include "toolkit/ToolkitWindow.h"

#include "toolkit/ToolkitModel.h"

OpaqueWindowPtr::~OpaqueWindowPtr() {
  // The root goes first, while the index it unregisters from still exists.
  mRoot.reset();
}

ControlRef OpaqueWindowPtr::MakeRoot() {
  Rect local = {0, 0, short(mBounds.bottom - mBounds.top), short(mBounds.right - mBounds.left)};
  mRoot = std::make_unique<OpaqueControlRef>(kControlKindUserPane, this, local);
  return mRoot.get();
}

void OpaqueWindowPtr::Index(ControlRef control) {
  if (control->mID.signature == 0 && control->mID.id == 0) return;
  mIndex.emplace(Key(control->mID), control);  // the first of equal IDs answers
}

void OpaqueWindowPtr::Unindex(ControlRef control) {
  auto found = mIndex.find(Key(control->mID));
  if (found == mIndex.end() || found->second != control) return;
  mIndex.erase(found);
  if (ControlRef twin = FindInTree(mRoot.get(), control->mID, control))
    mIndex.emplace(Key(twin->mID), twin);
}

ControlRef OpaqueWindowPtr::Find(const ControlID& id) const {
  auto found = mIndex.find(Key(id));
  return found == mIndex.end() ? nullptr : found->second;
}

ControlRef OpaqueWindowPtr::FindInTree(ControlRef from, const ControlID& id,
                                       ControlRef except) const {
  if (!from) return nullptr;
  if (from != except && from->mID.signature == id.signature && from->mID.id == id.id) return from;
  for (ControlRef child : from->mChildren)
    if (ControlRef found = FindInTree(child, id, except)) return found;
  return nullptr;
}

namespace {

ControlRef FindButton(ControlRef from, KeyEquivalent key) {
  if (!from || !from->IsShown()) return nullptr;
  if (from->mKind == kControlKindPushButton && from->mKeyEquivalent == key) return from;
  for (ControlRef child : from->mChildren)
    if (ControlRef found = FindButton(child, key)) return found;
  return nullptr;
}

}  // namespace

ControlRef OpaqueWindowPtr::ButtonFor(KeyEquivalent key) const {
  return FindButton(mRoot.get(), key);
}
