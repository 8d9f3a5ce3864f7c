// Saving and rebuilding a large document: a document of thousands of controls
// writes hundreds of thousands of entries, and every phase must stay linear.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "carbon/MacMemory.h"
#include "carbon/MacTypes.h"
#include "foundation/Settings.h"

namespace {

const unsigned long kKeys[] = {FourCC("KyWd"), FourCC("PCIS"), FourCC("Cntl"), FourCC("PopC")};
constexpr long kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

// Entry k: one of four keys at an index of the popup-item kind, holding a number
// or a short text, like the entries the option model writes.
unsigned long KeyOf(long k) { return kKeys[k % kKeyCount]; }
long IndexOf(long k) { return 5001 * 100 + k / kKeyCount; }

void Fill(Settings& settings, long count) {
  char text[16];
  for (long k = 0; k < count; ++k) {
    if (k % 2 == 0) {
      SInt32 value = SInt32(k);
      settings.Add(KeyOf(k), IndexOf(k), &value, sizeof value);
    } else {
      int length = std::snprintf(text, sizeof text, "Option%ld", k);
      settings.Add(KeyOf(k), IndexOf(k), text, length);
    }
  }
}

void Report(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}

void BM_Add(benchmark::State& state) {
  for (auto _ : state) {
    Settings settings;
    Fill(settings, state.range(0));
    benchmark::DoNotOptimize(settings.Count());
  }
  Report(state);
}

void BM_Flatten(benchmark::State& state) {
  Settings settings;
  Fill(settings, state.range(0));
  for (auto _ : state) {
    char** flattened = nullptr;
    settings.GetSettingsHandle(&flattened);
    benchmark::DoNotOptimize(flattened);
    DisposeHandle(flattened);
  }
  Report(state);
}

void BM_Unflatten(benchmark::State& state) {
  Settings settings;
  Fill(settings, state.range(0));
  char** flattened = nullptr;
  settings.GetSettingsHandle(&flattened);
  for (auto _ : state) {
    Settings restored(flattened);
    benchmark::DoNotOptimize(restored.Count());
  }
  DisposeHandle(flattened);
  Report(state);
}

// Reads every entry back as restore code does: its size, then its bytes.
void BM_ReadBack(benchmark::State& state) {
  Settings settings;
  Fill(settings, state.range(0));
  char buffer[16];
  for (auto _ : state) {
    for (long k = 0; k < state.range(0); ++k) {
      long size = 0;
      settings.Get(KeyOf(k), IndexOf(k), nullptr, size, false);
      settings.Get(KeyOf(k), IndexOf(k), buffer, size, k % 2 == 0);
      benchmark::DoNotOptimize(buffer);
    }
  }
  Report(state);
}

// Walks every entry in order, after one removal has left a hole.
void BM_Walk(benchmark::State& state) {
  Settings settings;
  Fill(settings, state.range(0));
  settings.Remove(KeyOf(1), IndexOf(1));
  for (auto _ : state) {
    unsigned long key, attributes;
    long index, size;
    for (short error = settings.First(key, index, size, attributes); error == 0;
         error = settings.Next(key, index, size, attributes))
      benchmark::DoNotOptimize(key);
  }
  Report(state);
}

#define ZPX_SETTINGS_BENCH(name)      \
  BENCHMARK(name)                     \
      ->Arg(100000)                   \
      ->Arg(200000)                   \
      ->Arg(400000)                   \
      ->Unit(benchmark::kMillisecond) \
      ->Complexity()

ZPX_SETTINGS_BENCH(BM_Add);
ZPX_SETTINGS_BENCH(BM_Flatten);
ZPX_SETTINGS_BENCH(BM_Unflatten);
ZPX_SETTINGS_BENCH(BM_ReadBack);
ZPX_SETTINGS_BENCH(BM_Walk);

}  // namespace
