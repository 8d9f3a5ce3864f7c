// Cost of the question the dialog asks for every menu item: is this option constrained
// under the current selections? Models grow in keys while each option's constraint list
// keeps its average length, so a flat time per query shows that a query does not pay for
// the size of the model.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "constraints/UIConstraints.h"

namespace {

constexpr long kOptionsPerKey = 10;
constexpr long kLinesPerKey = 50;
constexpr long kWildcardEvery = 5;  // one line in five names a whole key

std::string KeyText(long key) { return "*Key" + std::to_string(key); }

// Option 0 of every key is "None", which wildcards leave out.
std::string OptionText(long option) {
  return option == 0 ? std::string("None") : "Option" + std::to_string(option);
}

struct Model {
  UIConstraints constraints;
  std::vector<std::pair<long, long>> queries;  // every (key, option) of the model
  std::vector<std::pair<std::string, std::string>> texts;
};

void Declare(Model& model, long keys) {
  std::mt19937 random(20261206);
  std::uniform_int_distribution<long> anyKey(0, keys - 1);
  std::uniform_int_distribution<long> anyOption(0, kOptionsPerKey - 1);
  for (long line = 0; line < keys * kLinesPerKey; ++line) {
    long key1 = anyKey(random);
    long key2 = (key1 + 1 + anyKey(random) % (keys - 1)) % keys;
    std::string option1 = OptionText(anyOption(random));
    std::string option2 = OptionText(anyOption(random));
    if (line % kWildcardEvery == 0) {
      long side = (line / kWildcardEvery) % 3;
      if (side != 1) option1.clear();
      if (side != 0) option2.clear();
    }
    model.constraints.Add(KeyText(key1).c_str(), option1.c_str(), KeyText(key2).c_str(),
                          option2.c_str(), false);
  }
}

std::unique_ptr<Model> Build(long keys) {
  auto model = std::make_unique<Model>();
  UIConstraints& constraints = model->constraints;
  for (long key = 0; key < keys; ++key) {
    for (long option = 0; option < kOptionsPerKey; ++option) {
      constraints.KVSInsert(KeyText(key).c_str(), OptionText(option).c_str());
    }
  }
  Declare(*model, keys);
  constraints.Resolve();
  CStringSoup* strings = constraints.GetConstraintStrings();
  for (long key = 0; key < keys; ++key) {
    constraints.UpdateKVCache(KeyText(key).c_str(), OptionText((key * 7) % kOptionsPerKey).c_str());
    for (long option = 0; option < kOptionsPerKey; ++option) {
      model->texts.emplace_back(KeyText(key), OptionText(option));
      model->queries.emplace_back(strings->Find(KeyText(key).c_str()),
                                  strings->Find(OptionText(option).c_str()));
    }
  }
  return model;
}

Model& ModelOf(long keys) {
  static std::map<long, std::unique_ptr<Model>> models;
  std::unique_ptr<Model>& model = models[keys];
  if (!model) model = Build(keys);
  return *model;
}

void ReportSweep(benchmark::State& state, const Model& model, long constrained) {
  long queries = static_cast<long>(model.queries.size());
  state.counters["queries"] = static_cast<double>(queries);
  state.counters["constrained"] = static_cast<double>(constrained);
  state.counters["per_query"] =
      benchmark::Counter(static_cast<double>(queries) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SweepByIds(benchmark::State& state) {
  Model& model = ModelOf(state.range(0));
  long constrained = 0;
  for (auto _ : state) {
    constrained = 0;
    for (const auto& [key, option] : model.queries) {
      constrained += model.constraints.IsKVConstrained(key, option);
    }
    benchmark::DoNotOptimize(constrained);
  }
  ReportSweep(state, model, constrained);
}

void BM_SweepByTexts(benchmark::State& state) {
  Model& model = ModelOf(state.range(0));
  long constrained = 0;
  for (auto _ : state) {
    constrained = 0;
    for (const auto& [key, option] : model.texts) {
      constrained += model.constraints.IsKVConstrained(key.c_str(), option.c_str());
    }
    benchmark::DoNotOptimize(constrained);
  }
  ReportSweep(state, model, constrained);
}

// One option whose list grows while the model stays the same: the time should follow
// the list's length.
void BM_QueryByListLength(benchmark::State& state) {
  const long keys = 1000;
  Model& model = ModelOf(keys);
  UIConstraints& constraints = model.constraints;
  std::string key = "*Long" + std::to_string(state.range(0));
  bool declared = constraints.GetConstraintStrings()->Find(key.c_str()) != -1;
  for (long i = 0; !declared && i < state.range(0); ++i) {
    constraints.Add(key.c_str(), "Long", KeyText(i % keys).c_str(),
                    OptionText(1 + (i / keys) % (kOptionsPerKey - 1)).c_str(), false);
  }
  long keyId = constraints.GetConstraintStrings()->Find(key.c_str());
  long optionId = constraints.GetConstraintStrings()->Find("Long");
  for (auto _ : state) benchmark::DoNotOptimize(constraints.IsKVConstrained(keyId, optionId));
  state.counters["list_length"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(BM_SweepByIds)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SweepByTexts)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QueryByListLength)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);
