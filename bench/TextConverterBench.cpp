// Cost of turning PPD translations into platform strings: the parser does this for
// every option, group and page name of a document.
#include <benchmark/benchmark.h>

#include <string>

#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/TextCommon.h"
#include "cf/CoreFoundation.h"

namespace {

const char kLatinText[] = "Qualit\xE9 d'impression <E9>lev<E9>e, recto verso";
const char kJapaneseText[] = "\x88\xF3\x8D\xFC<95 69 8E BF>\x82\xA0\x82\xA2";

void DecodeHexSubstrings(benchmark::State& state) {
  char buffer[sizeof kLatinText];
  for (auto _ : state) benchmark::DoNotOptimize(TextConverter::DehexBufferFill(kLatinText, buffer));
}
BENCHMARK(DecodeHexSubstrings);

void Translate(benchmark::State& state, unsigned long encoding, const char* text) {
  unsigned long source = encoding;
  TextConverter converter(source, kCFStringEncodingUTF8);
  for (auto _ : state) {
    CFStringRef string = converter.ConvertToCFString(text, 0);
    benchmark::DoNotOptimize(string);
    CFRelease(string);
  }
}
BENCHMARK_CAPTURE(Translate, ISOLatin1, kTextEncodingISOLatin1, kLatinText);
BENCHMARK_CAPTURE(Translate, ShiftJIS, kTextEncodingShiftJIS, kJapaneseText);

}  // namespace
