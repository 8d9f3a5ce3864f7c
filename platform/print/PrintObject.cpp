#include "print/PrintObject.h"

#include <unordered_set>

namespace {

std::unordered_set<const void*>& LiveObjects() {
  static auto* objects = new std::unordered_set<const void*>;  // outlives static holders
  return *objects;
}

}  // namespace

PrintObject::PrintObject() { LiveObjects().insert(this); }

PrintObject::~PrintObject() { LiveObjects().erase(this); }

PrintObject* PrintObject::Live(const void* object) {
  if (object == nullptr || LiveObjects().count(object) == 0) return nullptr;
  return static_cast<PrintObject*>(const_cast<void*>(object));
}

void PrintObject::Release() {
  if (--mHolds == 0) delete this;
}
