#include <gtest/gtest.h>
#include <plist/plist.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "support/PlatformString.h"

namespace {

CFNumberRef makeNumber64(SInt64 value) {
  return CFNumberCreate(nullptr, kCFNumberSInt64Type, &value);
}

// A settings tree as the system stores it: nested dictionaries and arrays of
// every supported type.
CFDictionaryRef makeTree() {
  CFMutableDictionaryRef root = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFMutableDictionaryRef inner = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFMutableArrayRef list = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  CFNumberRef negative = makeNumber64(-7);
  double realValue = 2.5;
  CFNumberRef real = CFNumberCreate(nullptr, kCFNumberDoubleType, &realValue);
  const UInt8 bytes[] = {0, 1, 0xFE, 0xFF};
  CFDataRef data = CFDataCreate(nullptr, bytes, sizeof bytes);
  CFStringRef text = CFStringCreateWithCString(nullptr, "Caf\xC3\xA9 <&>", kCFStringEncodingUTF8);
  CFArrayAppendValue(list, negative);
  CFArrayAppendValue(list, real);
  CFArrayAppendValue(list, kCFBooleanFalse);
  CFDictionarySetValue(inner, CFSTR("Data"), data);
  CFDictionarySetValue(inner, CFSTR("List"), list);
  CFDictionarySetValue(root, CFSTR("Inner"), inner);
  CFDictionarySetValue(root, CFSTR("Name"), text);
  CFDictionarySetValue(root, CFSTR("Enabled"), kCFBooleanTrue);
  for (CFTypeRef each : {CFTypeRef(inner), CFTypeRef(list), CFTypeRef(negative), CFTypeRef(real),
                         CFTypeRef(data), CFTypeRef(text)})
    CFRelease(each);
  return root;
}

CFPropertyListRef read(const std::string& bytes, CFOptionFlags options, CFStringRef* error) {
  CFRef<CFDataRef> data(CreateData(bytes));
  return CFPropertyListCreateFromXMLData(nullptr, data.get(), options, error);
}

std::string xmlOf(CFPropertyListRef tree) {
  CFRef<CFDataRef> data(CFPropertyListCreateXMLData(nullptr, tree));
  return DataText(data.get());
}

void appendBigEndian(std::string& bytes, uint64_t value, int size) {
  for (int i = size - 1; i >= 0; --i) bytes += static_cast<char>(value >> (8 * i));
}

// A binary list of the given objects (object 0 at the top) whose references
// are four bytes wide.
std::string binaryList(const std::vector<std::string>& objects) {
  std::string bytes = "bplist00";
  std::vector<uint64_t> offsets;
  for (const std::string& object : objects) {
    offsets.push_back(bytes.size());
    bytes += object;
  }
  uint64_t tableOffset = bytes.size();
  for (uint64_t offset : offsets) appendBigEndian(bytes, offset, 4);
  bytes += std::string(6, '\0');
  bytes += '\4';
  bytes += '\4';
  appendBigEndian(bytes, objects.size(), 8);
  appendBigEndian(bytes, 0, 8);
  appendBigEndian(bytes, tableOffset, 8);
  return bytes;
}

// A binary list of `levels` arrays, each holding the next `width` times.
std::string nestedBinary(uint32_t levels, int width) {
  std::vector<std::string> objects;
  for (uint32_t i = 0; i + 1 < levels; ++i) {
    std::string array(1, static_cast<char>(0xA0 | width));
    for (int k = 0; k < width; ++k) appendBigEndian(array, i + 1, 4);
    objects.push_back(array);
  }
  objects.push_back(std::string(1, static_cast<char>(0xA0)));
  return binaryList(objects);
}

}  // namespace

TEST(CFPropertyList, XMLRoundTripKeepsEveryType) {
  CFDictionaryRef tree = makeTree();
  std::string xml = xmlOf(tree);
  EXPECT_NE(xml.find("<integer>-7</integer>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("Caf\xC3\xA9 &lt;&amp;&gt;"), std::string::npos) << xml;
  // Keys are written in order.
  EXPECT_LT(xml.find("<key>Enabled</key>"), xml.find("<key>Inner</key>"));
  EXPECT_LT(xml.find("<key>Inner</key>"), xml.find("<key>Name</key>"));

  CFStringRef error = CFSTR("not touched");
  CFPropertyListRef back = read(xml, kCFPropertyListImmutable, &error);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(error, nullptr);
  EXPECT_TRUE(CFEqual(back, tree));
  // Immutable containers ignore changes.
  CFDictionarySetValue(const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(back)),
                       CFSTR("Extra"), kCFBooleanTrue);
  EXPECT_EQ(CFDictionaryGetCount(static_cast<CFDictionaryRef>(back)), 3);
  CFRelease(back);

  CFPropertyListRef mutableBack = read(xml, kCFPropertyListMutableContainers, nullptr);
  CFMutableDictionaryRef root =
      const_cast<CFMutableDictionaryRef>(static_cast<CFDictionaryRef>(mutableBack));
  auto inner = static_cast<CFDictionaryRef>(CFDictionaryGetValue(root, CFSTR("Inner")));
  auto list = static_cast<CFArrayRef>(CFDictionaryGetValue(inner, CFSTR("List")));
  CFArrayAppendValue(const_cast<CFMutableArrayRef>(list), kCFBooleanTrue);
  EXPECT_EQ(CFArrayGetCount(list), 4);
  CFDictionarySetValue(root, CFSTR("Extra"), kCFBooleanTrue);
  EXPECT_EQ(CFDictionaryGetCount(root), 4);
  // Leaves stay immutable unless asked for.
  auto name =
      static_cast<CFMutableStringRef>(const_cast<void*>(CFDictionaryGetValue(root, CFSTR("Name"))));
  CFStringAppend(name, CFSTR("!"));
  EXPECT_EQ(CFStringGetLength(name), 8);
  CFRelease(mutableBack);

  CFPropertyListRef leaves = read(xml, kCFPropertyListMutableContainersAndLeaves, nullptr);
  name = static_cast<CFMutableStringRef>(
      const_cast<void*>(CFDictionaryGetValue(static_cast<CFDictionaryRef>(leaves), CFSTR("Name"))));
  CFStringAppend(name, CFSTR("!"));
  EXPECT_EQ(CFStringGetLength(name), 9);
  CFRelease(leaves);
  CFRelease(tree);
}

TEST(CFPropertyList, ReadsTheBinaryForm) {
  plist_t root = plist_new_dict();
  plist_t array = plist_new_array();
  plist_array_append_item(array, plist_new_string("PPD"));
  plist_array_append_item(array, plist_new_uint(4096));
  plist_dict_set_item(root, "Files", array);
  plist_dict_set_item(root, "Flag", plist_new_bool(1));
  plist_dict_set_item(root, "Blob", plist_new_data("\x01\x02", 2));
  plist_dict_set_item(root, "Scale", plist_new_real(0.75));
  char* binary = nullptr;
  uint32_t length = 0;
  plist_to_bin(root, &binary, &length);
  plist_free(root);
  std::string bytes(binary, length);
  plist_to_bin_free(binary);

  auto tree = static_cast<CFDictionaryRef>(read(bytes, kCFPropertyListImmutable, nullptr));
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(CFDictionaryGetCount(tree), 4);
  auto files = static_cast<CFArrayRef>(CFDictionaryGetValue(tree, CFSTR("Files")));
  EXPECT_TRUE(CFEqual(CFArrayGetValueAtIndex(files, 0), CFSTR("PPD")));
  SInt32 size = 0;
  CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(files, 1)), kCFNumberSInt32Type,
                   &size);
  EXPECT_EQ(size, 4096);
  EXPECT_EQ(CFDictionaryGetValue(tree, CFSTR("Flag")), kCFBooleanTrue);
  EXPECT_EQ(CFDataGetLength(static_cast<CFDataRef>(CFDictionaryGetValue(tree, CFSTR("Blob")))), 2);
  double scale = 0;
  CFNumberGetValue(static_cast<CFNumberRef>(CFDictionaryGetValue(tree, CFSTR("Scale"))),
                   kCFNumberDoubleType, &scale);
  EXPECT_EQ(scale, 0.75);
  CFRelease(tree);
}

TEST(CFPropertyList, UntrustedInputIsRefusedWithoutHarm) {
  CFStringRef error = nullptr;
  const std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">";
  for (const std::string& bad :
       {std::string(), std::string("not a list"), header + "<dict><key>a</key>",
        header + "<array><integer>1</integer></dict></plist>", std::string("bplist00\xD1\x01", 10),
        nestedBinary(3, 1).substr(0, 30)}) {
    EXPECT_EQ(read(bad, kCFPropertyListImmutable, &error), nullptr) << bad;
    ASSERT_NE(error, nullptr);
    EXPECT_GT(CFStringGetLength(error), 0);
    CFRelease(error);
    error = nullptr;
  }

  // Nesting that would exhaust the parser's stack.
  std::string deep = header;
  for (int i = 0; i < 100000; ++i) deep += "<array>";
  EXPECT_EQ(read(deep, kCFPropertyListImmutable, nullptr), nullptr);
  EXPECT_EQ(read(nestedBinary(100000, 1), kCFPropertyListImmutable, nullptr), nullptr);
  // A dictionary key holding a NUL character, which the parser cannot take.
  std::string dictionary("\xD1", 1);
  appendBigEndian(dictionary, 1, 4);
  appendBigEndian(dictionary, 2, 4);
  EXPECT_EQ(read(binaryList({dictionary,
                             std::string("\x53"
                                         "a\0b",
                                         4),
                             "\x09"}),
                 kCFPropertyListImmutable, nullptr),
            nullptr);
  CFPropertyListRef plainKey = read(binaryList({dictionary,
                                                std::string("\x53"
                                                            "a-b",
                                                            4),
                                                "\x09"}),
                                    kCFPropertyListImmutable, nullptr);
  ASSERT_NE(plainKey, nullptr);
  EXPECT_EQ(CFDictionaryGetValue(static_cast<CFDictionaryRef>(plainKey), CFSTR("a-b")),
            kCFBooleanTrue);
  CFRelease(plainKey);
  // Sixty levels that each refer twice to the next would expand to 2^60 objects.
  EXPECT_EQ(read(nestedBinary(60, 2), kCFPropertyListImmutable, nullptr), nullptr);
  // Within the bounds the same shapes are read.
  CFPropertyListRef shallow = read(nestedBinary(10, 2), kCFPropertyListImmutable, nullptr);
  ASSERT_NE(shallow, nullptr);
  EXPECT_EQ(CFArrayGetCount(static_cast<CFArrayRef>(shallow)), 2);
  CFRelease(shallow);
  std::string nested = header;
  for (int i = 0; i < 200; ++i) nested += "<array>";
  for (int i = 0; i < 200; ++i) nested += "</array>";
  CFPropertyListRef accepted = read(nested + "</plist>", kCFPropertyListImmutable, nullptr);
  EXPECT_NE(accepted, nullptr);
  if (accepted) CFRelease(accepted);

  // A tree holding something that is not a property-list type is not written.
  CFURLRef url = CFURLCreateWithFileSystemPath(nullptr, CFSTR("/tmp/"), kCFURLPOSIXPathStyle, true);
  CFMutableArrayRef withURL = CFArrayCreateMutable(nullptr, 0, &kCFTypeArrayCallBacks);
  CFArrayAppendValue(withURL, url);
  EXPECT_EQ(CFPropertyListCreateXMLData(nullptr, withURL), nullptr);
  CFRelease(withURL);
  CFRelease(url);
}

TEST(CFPropertyList, TextHoldingNulIsNotWrittenCutShort) {
  // The binary form's UTF-16 texts carry one; XML would end the text there.
  auto text = static_cast<CFStringRef>(
      read(binaryList({std::string("\x63\0a\0\0\0b", 7)}), kCFPropertyListImmutable, nullptr));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(CFStringGetLength(text), 3);
  EXPECT_EQ(CFPropertyListCreateXMLData(nullptr, text), nullptr);

  CFMutableDictionaryRef keyed = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  CFDictionarySetValue(keyed, CFSTR("a"), kCFBooleanTrue);
  CFDataRef written = CFPropertyListCreateXMLData(nullptr, keyed);
  EXPECT_NE(written, nullptr);
  if (written) CFRelease(written);
  CFDictionarySetValue(keyed, text, kCFBooleanFalse);
  EXPECT_EQ(CFPropertyListCreateXMLData(nullptr, keyed), nullptr);
  CFRelease(keyed);
  CFRelease(text);
}
