#include "cf/CFDictionary.h"

#include <unordered_map>
#include <vector>

#include "cf/CFObject.h"
#include "cf/CFString.h"
#include "cf/CFTypeCallBacks.h"

namespace {

const void* copyStringKey(CFAllocatorRef allocator, const void* key) {
  if (CFGetTypeID(key) == CFStringGetTypeID())
    return CFStringCreateCopy(allocator, static_cast<CFStringRef>(key));
  return CFRetain(key);
}

}  // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks = {0,
                                                                CFTypeRetainCallBack,
                                                                CFTypeReleaseCallBack,
                                                                CFCopyDescription,
                                                                CFTypeEqualCallBack,
                                                                CFTypeHashCallBack};
const CFDictionaryKeyCallBacks kCFCopyStringDictionaryKeyCallBacks = {0,
                                                                      copyStringKey,
                                                                      CFTypeReleaseCallBack,
                                                                      CFCopyDescription,
                                                                      CFTypeEqualCallBack,
                                                                      CFTypeHashCallBack};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks = {
    0, CFTypeRetainCallBack, CFTypeReleaseCallBack, CFCopyDescription, CFTypeEqualCallBack};

namespace {

struct KeyHash {
  CFDictionaryHashCallBack hash;
  size_t operator()(const void* key) const {
    return hash ? hash(key) : std::hash<const void*>()(key);
  }
};

struct KeyEqual {
  CFDictionaryEqualCallBack equal;
  bool operator()(const void* first, const void* second) const {
    return first == second || (equal && equal(first, second));
  }
};

typedef std::unordered_map<const void*, const void*, KeyHash, KeyEqual> Table;

}  // namespace

struct __CFDictionary : CFObject {
  __CFDictionary(const CFDictionaryKeyCallBacks* keyCallBacks,
                 const CFDictionaryValueCallBacks* valueCallBacks, bool isMutable)
      : CFObject(kCFObjectTypeDictionary),
        keyCallBacks(keyCallBacks ? *keyCallBacks : CFDictionaryKeyCallBacks{}),
        valueCallBacks(valueCallBacks ? *valueCallBacks : CFDictionaryValueCallBacks{}),
        isMutable(isMutable),
        table(0, KeyHash{this->keyCallBacks.hash}, KeyEqual{this->keyCallBacks.equal}) {}
  ~__CFDictionary() override { clear(); }

  const void* retainKey(const void* key) const {
    return keyCallBacks.retain ? keyCallBacks.retain(nullptr, key) : key;
  }
  const void* retainValue(const void* value) const {
    return valueCallBacks.retain ? valueCallBacks.retain(nullptr, value) : value;
  }
  void releaseEntry(const void* key, const void* value) const {
    if (keyCallBacks.release) keyCallBacks.release(nullptr, key);
    if (valueCallBacks.release) valueCallBacks.release(nullptr, value);
  }
  bool sameValue(const void* first, const void* second) const {
    return first == second || (valueCallBacks.equal && valueCallBacks.equal(first, second));
  }
  void insert(const void* key, const void* value) {
    table.emplace(retainKey(key), retainValue(value));
  }
  void replace(Table::iterator entry, const void* value) {
    const void* old = entry->second;
    entry->second = retainValue(value);
    if (valueCallBacks.release) valueCallBacks.release(nullptr, old);
  }
  void clear() {
    Table old(0, table.hash_function(), table.key_eq());
    old.swap(table);
    for (const auto& entry : old) releaseEntry(entry.first, entry.second);
  }

  bool equals(const CFObject& other) const override {
    const __CFDictionary& dictionary = static_cast<const __CFDictionary&>(other);
    if (table.size() != dictionary.table.size()) return false;
    for (const auto& entry : table) {
      auto found = dictionary.table.find(entry.first);
      if (found == dictionary.table.end() || !sameValue(entry.second, found->second)) return false;
    }
    return true;
  }
  CFHashCode hash() const override { return table.size(); }
  std::u16string description() const override {
    std::u16string text = u"{";
    for (const auto& entry : table) {
      text += CFDescribeValue(entry.first, keyCallBacks.copyDescription) + u" = " +
              CFDescribeValue(entry.second, valueCallBacks.copyDescription) + u"; ";
    }
    return text + u"}";
  }

  const CFDictionaryKeyCallBacks keyCallBacks;
  const CFDictionaryValueCallBacks valueCallBacks;
  const bool isMutable;
  Table table;
};

namespace {

__CFDictionary* copyDictionary(CFDictionaryRef dictionary, bool isMutable) {
  if (!dictionary)
    return new __CFDictionary(&kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks,
                              isMutable);
  __CFDictionary* copy =
      new __CFDictionary(&dictionary->keyCallBacks, &dictionary->valueCallBacks, isMutable);
  for (const auto& entry : dictionary->table) copy->insert(entry.first, entry.second);
  return copy;
}

bool isChangeable(CFMutableDictionaryRef dictionary) { return dictionary && dictionary->isMutable; }

}  // namespace

CFTypeID CFDictionaryGetTypeID() { return kCFObjectTypeDictionary; }

CFDictionaryRef CFDictionaryCreateCopy(CFAllocatorRef, CFDictionaryRef dictionary) {
  return copyDictionary(dictionary, false);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks) {
  return new __CFDictionary(keyCallBacks, valueCallBacks, true);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary) {
  return dictionary ? static_cast<CFIndex>(dictionary->table.size()) : 0;
}

Boolean CFDictionaryGetValueIfPresent(CFDictionaryRef dictionary, const void* key,
                                      const void** value) {
  if (!dictionary) return false;
  auto found = dictionary->table.find(key);
  if (found == dictionary->table.end()) return false;
  if (value) *value = found->second;
  return true;
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key) {
  const void* value = nullptr;
  CFDictionaryGetValueIfPresent(dictionary, key, &value);
  return value;
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys,
                                  const void** values) {
  if (!dictionary) return;
  size_t i = 0;
  for (const auto& entry : dictionary->table) {
    if (keys) keys[i] = entry.first;
    if (values) values[i] = entry.second;
    ++i;
  }
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value) {
  if (!isChangeable(dictionary)) return;
  auto found = dictionary->table.find(key);
  if (found == dictionary->table.end())
    dictionary->insert(key, value);
  else
    dictionary->replace(found, value);
}
