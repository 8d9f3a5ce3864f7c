// Costs of the platform calls that the PPD parser and the ticket code make
// most often: converting texts, looking keys up, reading property lists.

#include <benchmark/benchmark.h>

#include <string>

#include "cf/CoreFoundation.h"

namespace {

void StringFromUTF8AndBack(benchmark::State& state) {
  const char* text = "*OpenUI *ZPXMediaType/Media Type: PickOne \xC3\xA9t\xC3\xA9";
  char buffer[256];
  for (auto _ : state) {
    CFStringRef string = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
    benchmark::DoNotOptimize(
        CFStringGetCString(string, buffer, sizeof buffer, kCFStringEncodingUTF8));
    CFRelease(string);
  }
}
BENCHMARK(StringFromUTF8AndBack);

void StringFromMacRoman(benchmark::State& state) {
  const char* text =
      "Papier gl\x8E"
      "nz\x8E ohne Beschichtung";
  for (auto _ : state) {
    CFStringRef string = CFStringCreateWithCString(nullptr, text, kCFStringEncodingMacRoman);
    CFRelease(string);
  }
}
BENCHMARK(StringFromMacRoman);

void DictionaryLookup(benchmark::State& state) {
  CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (long i = 0; i < state.range(0); ++i) {
    CFStringRef key = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("ZPXOption%ld"), i);
    CFDictionarySetValue(dictionary, key, kCFBooleanTrue);
    CFRelease(key);
  }
  CFStringRef probe =
      CFStringCreateWithFormat(nullptr, nullptr, CFSTR("ZPXOption%ld"), state.range(0) / 2);
  for (auto _ : state) benchmark::DoNotOptimize(CFDictionaryGetValue(dictionary, probe));
  CFRelease(probe);
  CFRelease(dictionary);
}
BENCHMARK(DictionaryLookup)->Arg(10)->Arg(1000)->Arg(100000);

void PropertyListXMLRoundTrip(benchmark::State& state) {
  CFMutableDictionaryRef root = CFDictionaryCreateMutable(
      nullptr, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
  for (int i = 0; i < 100; ++i) {
    CFStringRef key = CFStringCreateWithFormat(nullptr, nullptr, CFSTR("Block%d"), i);
    CFNumberRef value = CFNumberCreate(nullptr, kCFNumberIntType, &i);
    CFDictionarySetValue(root, key, value);
    CFRelease(key);
    CFRelease(value);
  }
  for (auto _ : state) {
    CFDataRef xml = CFPropertyListCreateXMLData(nullptr, root);
    CFPropertyListRef back = CFPropertyListCreateFromXMLData(nullptr, xml, 0, nullptr);
    CFRelease(back);
    CFRelease(xml);
  }
  CFRelease(root);
}
BENCHMARK(PropertyListXMLRoundTrip);

}  // namespace
