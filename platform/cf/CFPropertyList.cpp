#include "cf/CFPropertyList.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "cf/CFPropertyListInputCheck.h"
#include "cf/CFStringObject.h"

namespace {

// Larger input is refused before parsing.
constexpr CFIndex kMaximumInputSize = CFIndex(64) << 20;

// ---- writing

plist_t toNode(CFPropertyListRef value, int depth);

// The list's texts end at a NUL character, so a text holding one would be written
// cut short (and two keys could become one): such a tree is not written.
bool utf8WithoutNul(CFStringRef text, std::string& utf8) {
  utf8 = __CFString::utf8Of(text);
  return utf8.find('\0') == std::string::npos;
}

plist_t stringNode(CFStringRef text) {
  std::string utf8;
  return utf8WithoutNul(text, utf8) ? plist_new_string(utf8.c_str()) : nullptr;
}

plist_t arrayNode(CFArrayRef array, int depth) {
  plist_t node = plist_new_array();
  for (CFIndex i = 0; i < CFArrayGetCount(array); ++i) {
    plist_t item = toNode(CFArrayGetValueAtIndex(array, i), depth + 1);
    if (!item) {
      plist_free(node);
      return nullptr;
    }
    plist_array_append_item(node, item);
  }
  return node;
}

plist_t dictionaryNode(CFDictionaryRef dictionary, int depth) {
  CFIndex count = CFDictionaryGetCount(dictionary);
  std::vector<const void*> keys(static_cast<size_t>(count));
  std::vector<const void*> values(static_cast<size_t>(count));
  CFDictionaryGetKeysAndValues(dictionary, keys.data(), values.data());
  std::vector<std::pair<std::string, const void*>> entries;
  for (CFIndex i = 0; i < count; ++i) {
    std::string key;
    if (CFGetTypeID(keys[i]) != CFStringGetTypeID() ||
        !utf8WithoutNul(static_cast<CFStringRef>(keys[i]), key))
      return nullptr;
    entries.emplace_back(std::move(key), values[i]);
  }
  std::sort(entries.begin(), entries.end());
  plist_t node = plist_new_dict();
  for (const auto& entry : entries) {
    plist_t item = toNode(entry.second, depth + 1);
    if (!item) {
      plist_free(node);
      return nullptr;
    }
    plist_dict_set_item(node, entry.first.c_str(), item);
  }
  return node;
}

plist_t numberNode(CFNumberRef number) {
  if (CFNumberIsFloatType(number)) {
    double value = 0;
    CFNumberGetValue(number, kCFNumberFloat64Type, &value);
    return plist_new_real(value);
  }
  SInt64 value = 0;
  CFNumberGetValue(number, kCFNumberSInt64Type, &value);
  // The list stores integers as 64 bits and writes them signed.
  return plist_new_uint(static_cast<uint64_t>(value));
}

plist_t toNode(CFPropertyListRef value, int depth) {
  if (!value || depth > CFPropertyListInputCheck::kMaximumDepth) return nullptr;
  CFTypeID type = CFGetTypeID(value);
  if (type == CFStringGetTypeID()) return stringNode(static_cast<CFStringRef>(value));
  if (type == CFBooleanGetTypeID())
    return plist_new_bool(CFBooleanGetValue(static_cast<CFBooleanRef>(value)));
  if (type == CFNumberGetTypeID()) return numberNode(static_cast<CFNumberRef>(value));
  if (type == CFDataGetTypeID()) {
    CFDataRef data = static_cast<CFDataRef>(value);
    return plist_new_data(reinterpret_cast<const char*>(CFDataGetBytePtr(data)),
                          static_cast<uint64_t>(CFDataGetLength(data)));
  }
  if (type == CFArrayGetTypeID()) return arrayNode(static_cast<CFArrayRef>(value), depth);
  if (type == CFDictionaryGetTypeID())
    return dictionaryNode(static_cast<CFDictionaryRef>(value), depth);
  return nullptr;
}

// ---- reading

class TreeReader {
 public:
  explicit TreeReader(CFOptionFlags mutability) : mutability_(mutability) {}

  // A new object for the node; NULL when a node has no platform type.
  CFPropertyListRef read(plist_t node, int depth) const {
    if (depth > CFPropertyListInputCheck::kMaximumDepth) return nullptr;
    switch (plist_get_node_type(node)) {
      case PLIST_BOOLEAN:
        return booleanOf(node);
      case PLIST_UINT:
        return integerOf(node);
      case PLIST_REAL:
        return realOf(node);
      case PLIST_STRING:
        return stringOf(node);
      case PLIST_DATA:
        return dataOf(node);
      case PLIST_ARRAY:
        return arrayOf(node, depth);
      case PLIST_DICT:
        return dictionaryOf(node, depth);
      default:
        return nullptr;
    }
  }

 private:
  bool mutableContainers() const { return mutability_ != kCFPropertyListImmutable; }
  bool mutableLeaves() const { return mutability_ == kCFPropertyListMutableContainersAndLeaves; }

  static CFPropertyListRef booleanOf(plist_t node) {
    uint8_t value = 0;
    plist_get_bool_val(node, &value);
    return CFRetain(value ? kCFBooleanTrue : kCFBooleanFalse);
  }

  static CFPropertyListRef integerOf(plist_t node) {
    uint64_t bits = 0;
    plist_get_uint_val(node, &bits);
    SInt64 value = static_cast<SInt64>(bits);
    return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
  }

  static CFPropertyListRef realOf(plist_t node) {
    double value = 0;
    plist_get_real_val(node, &value);
    return CFNumberCreate(nullptr, kCFNumberFloat64Type, &value);
  }

  // The binary form's 8-bit strings are not always UTF-8; those are read as ISO Latin 1.
  CFPropertyListRef stringOf(plist_t node) const {
    uint64_t length = 0;
    const char* bytes = plist_get_string_ptr(node, &length);
    std::u16string text = __CFString::textFromUTF8(bytes, static_cast<size_t>(length));
    if (mutableLeaves()) return __CFString::createMutable(std::move(text));
    return __CFString::create(std::move(text));
  }

  CFPropertyListRef dataOf(plist_t node) const {
    uint64_t length = 0;
    const UInt8* bytes = reinterpret_cast<const UInt8*>(plist_get_data_ptr(node, &length));
    if (!mutableLeaves()) return CFDataCreate(nullptr, bytes, static_cast<CFIndex>(length));
    CFMutableDataRef data = CFDataCreateMutable(nullptr, 0);
    CFDataAppendBytes(data, bytes, static_cast<CFIndex>(length));
    return data;
  }

  CFPropertyListRef arrayOf(plist_t node, int depth) const {
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
    uint32_t count = plist_array_get_size(node);
    for (uint32_t i = 0; i < count; ++i) {
      plist_t itemNode = plist_array_get_item(node, i);
      if (plist_get_node_type(itemNode) == PLIST_DATE) continue;
      CFPropertyListRef item = read(itemNode, depth + 1);
      if (!item) {
        CFRelease(array);
        return nullptr;
      }
      CFArrayAppendValue(array, item);
      CFRelease(item);
    }
    return finish(array);
  }

  CFPropertyListRef dictionaryOf(plist_t node, int depth) const {
    CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
        nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    plist_dict_iter iterator = nullptr;
    plist_dict_new_iter(node, &iterator);
    bool ok = true;
    while (ok) {
      char* key = nullptr;
      plist_t valueNode = nullptr;
      plist_dict_next_item(node, iterator, &key, &valueNode);
      if (!key) break;
      if (plist_get_node_type(valueNode) != PLIST_DATE)
        ok = addEntry(dictionary, key, valueNode, depth);
      std::free(key);
    }
    std::free(iterator);
    if (!ok) {
      CFRelease(dictionary);
      return nullptr;
    }
    return finish(dictionary);
  }

  bool addEntry(CFMutableDictionaryRef dictionary, const char* key, plist_t valueNode,
                int depth) const {
    CFPropertyListRef value = read(valueNode, depth + 1);
    if (!value) return false;
    CFStringRef keyText = __CFString::createFromUTF8(key);
    CFDictionarySetValue(dictionary, keyText, value);
    CFRelease(keyText);
    CFRelease(value);
    return true;
  }

  // Containers are built mutable; an immutable tree gets immutable copies.
  CFPropertyListRef finish(CFMutableArrayRef array) const {
    if (mutableContainers()) return array;
    CFArrayRef copy = CFArrayCreateCopy(nullptr, array);
    CFRelease(array);
    return copy;
  }
  CFPropertyListRef finish(CFMutableDictionaryRef dictionary) const {
    if (mutableContainers()) return dictionary;
    CFDictionaryRef copy = CFDictionaryCreateCopy(nullptr, dictionary);
    CFRelease(dictionary);
    return copy;
  }

  CFOptionFlags mutability_;
};

CFPropertyListRef fail(CFStringRef* errorString, const char* message) {
  if (errorString)
    *errorString = CFStringCreateWithCString(nullptr, message, kCFStringEncodingUTF8);
  return nullptr;
}

}  // namespace

CFDataRef CFPropertyListCreateXMLData(CFAllocatorRef allocator, CFPropertyListRef propertyList) {
  plist_t root = toNode(propertyList, 0);
  if (!root) return nullptr;
  char* xml = nullptr;
  uint32_t length = 0;
  plist_to_xml(root, &xml, &length);
  plist_free(root);
  if (!xml) return nullptr;
  CFDataRef data = CFDataCreate(allocator, reinterpret_cast<const UInt8*>(xml), length);
  plist_to_xml_free(xml);
  return data;
}

CFPropertyListRef CFPropertyListCreateFromXMLData(CFAllocatorRef, CFDataRef xmlData,
                                                  CFOptionFlags mutabilityOption,
                                                  CFStringRef* errorString) {
  if (errorString) *errorString = nullptr;
  CFIndex length = CFDataGetLength(xmlData);
  const UInt8* bytes = CFDataGetBytePtr(xmlData);
  if (length <= 0) return fail(errorString, "Property list is empty");
  if (length > kMaximumInputSize) return fail(errorString, "Property list is too large");
  size_t size = static_cast<size_t>(length);
  bool binary = CFPropertyListInputCheck::isBinary(bytes, size);
  bool acceptable = binary ? CFPropertyListInputCheck::isAcceptableBinary(bytes, size)
                           : CFPropertyListInputCheck::isAcceptableXML(bytes, size);
  if (!acceptable) return fail(errorString, "Property list is malformed or nested too deeply");
  plist_t root = nullptr;
  plist_from_memory(reinterpret_cast<const char*>(bytes), static_cast<uint32_t>(size), &root);
  if (!root) return fail(errorString, "Property list could not be parsed");
  CFPropertyListRef result = TreeReader(mutabilityOption).read(root, 0);
  plist_free(root);
  return result ? result : fail(errorString, "Property list holds an unsupported value");
}
