#include "constraints/UIConstraints.h"

#include <algorithm>
#include <iterator>

namespace {

const char kWildcard[] = "";

}  // namespace

UIConstraints::~UIConstraints() {
  // The engine points at the members below, so it goes first.
  mEngine.reset();
}

void UIConstraints::Add(const char* key1, const char* option1, const char* key2,
                        const char* option2, bool requirement) {
  const DeclaredLine line{
      std::int32_t(mStrings.Insert(key1)), std::int32_t(mStrings.Insert(option1)),
      std::int32_t(mStrings.Insert(key2)), std::int32_t(mStrings.Insert(option2)), requirement};
  const long wildcard = mStrings.Find(kWildcard);
  Add(line, line.option1 == wildcard || line.option2 == wildcard);
}

// The wildcard is the empty text: no search for its id is needed.
void UIConstraints::Add(std::string_view key1, std::string_view option1, std::string_view key2,
                        std::string_view option2, bool requirement) {
  const DeclaredLine line{std::int32_t(Intern(key1)), std::int32_t(Intern(option1)),
                          std::int32_t(Intern(key2)), std::int32_t(Intern(option2)), requirement};
  Add(line, option1.empty() || option2.empty());
}

void UIConstraints::Add(const DeclaredLine& line, bool wildcard) {
  // A repeated line changes no answer; kept once, it costs nothing in any list.
  if (Repeats(line)) return;
  if (wildcard) {
    mSpecial.push_back(
        SpecialConstraint{line.key1, line.option1, line.key2, line.option2, line.requirement});
    return;
  }
  ConstraintForest& forest = line.requirement ? mRequires : mConstraints;
  forest.insert(line.key1, line.option1, line.key2, line.option2, kExclusionConstraint);
}

size_t UIConstraints::HashOf(const DeclaredLine& line) {
  size_t hash = line.requirement ? 1 : 0;
  for (std::int32_t id : {line.key1, line.option1, line.key2, line.option2})
    hash = (hash ^ static_cast<size_t>(id)) * 0x9E3779B97F4A7C15ull;
  // The table picks slots by the low bits: fold the well-mixed high ones in.
  return hash ^ (hash >> 32);
}

bool UIConstraints::Repeats(const DeclaredLine& line) {
  if (mDeclaredIds.Count() != mDeclared.size()) FileDeclaredLines();
  const size_t hash = HashOf(line);
  const size_t slot =
      mDeclaredIds.SlotOf(hash, [this, &line](long id) { return mDeclared[size_t(id)] == line; });
  if (mDeclaredIds.At(slot) != -1) return true;
  mDeclaredIds.Put(slot, long(mDeclared.size()), hash);
  mDeclared.push_back(line);
  return false;
}

void UIConstraints::FileDeclaredLines() {
  mDeclaredIds.Clear(mDeclared.size());
  for (size_t id = 0; id < mDeclared.size(); ++id) {
    const size_t hash = HashOf(mDeclared[id]);
    mDeclaredIds.Put(mDeclaredIds.SlotOf(hash, [](long) { return false; }), long(id), hash);
  }
}

void UIConstraints::KVSInsert(const char* key, const char* option) {
  const long keyId = Intern(key);
  KVSInsert(keyId, Intern(option));
}

void UIConstraints::KVSInsert(long key, long option) { mOptions.insert(key, option); }

void UIConstraints::UpdateKVCache(const char* key, const char* option) {
  long keyId = mStrings.Insert(key);
  UpdateKVCache(keyId, mStrings.Insert(option));
}

void UIConstraints::UpdateKVCache(long key, long option) { mCurrent.Insert(key, option); }

long UIConstraints::Intern(std::string_view text) {
  if (!mBuildingIds) mBuildingIds = std::make_unique<ShortTextIds>(mStrings);
  return mBuildingIds->Insert(text);
}

void UIConstraints::Resolve() {
  mBuildingIds.reset();
  // Lines come after this only from a caller that adds to a finished set: the
  // table is filed again then.
  mDeclaredIds.Clear(0);
  ExpandWildcardLines();
  mConstraints.Settle();
  mRequires.Settle();
}

void UIConstraints::ExpandWildcardLines() {
  long wildcard = mStrings.Find(kWildcard);
  if (wildcard == -1) return;
  for (const SpecialConstraint& line : mSpecial) {
    ConstraintForest& forest = line.requirement ? mRequires : mConstraints;
    if (line.option1 != wildcard) {
      Resolve(line.key1, line.option1, line.key2, RegisteredOptions(line.key2), forest);
    } else if (line.option2 != wildcard) {
      Resolve(line.key1, RegisteredOptions(line.key1), line.key2, line.option2, forest);
    } else {
      Resolve(line.key1, RegisteredOptions(line.key1), line.key2, RegisteredOptions(line.key2),
              forest);
    }
  }
  mSpecial.clear();
}

void UIConstraints::Resolve(long key1, long option1, long key2, const std::vector<long>& options2,
                            ConstraintForest& forest) {
  for (long option2 : WildcardTargets(options2)) {
    forest.insert(key1, option1, key2, option2, kExclusionConstraint);
  }
}

void UIConstraints::Resolve(long key1, const std::vector<long>& options1, long key2, long option2,
                            ConstraintForest& forest) {
  for (long option1 : WildcardTargets(options1)) {
    forest.insert(key1, option1, key2, option2, kExclusionConstraint);
  }
}

void UIConstraints::Resolve(long key1, const std::vector<long>& options1, long key2,
                            const std::vector<long>& options2, ConstraintForest& forest) {
  std::vector<long> targets2 = WildcardTargets(options2);
  for (long option1 : WildcardTargets(options1)) {
    for (long option2 : targets2) {
      forest.insert(key1, option1, key2, option2, kExclusionConstraint);
    }
  }
}

std::vector<long> UIConstraints::WildcardTargets(const std::vector<long>& options) {
  long none = mStrings.Insert("None");
  long no = mStrings.Insert("False");
  std::vector<long> targets;
  std::copy_if(options.begin(), options.end(), std::back_inserter(targets),
               [none, no](long option) { return option != none && option != no; });
  return targets;
}

const std::vector<long>& UIConstraints::RegisteredOptions(long key) const {
  static const std::vector<long> kNone;
  const std::vector<long>* options = mOptions.GetItems(key);
  return options == nullptr ? kNone : *options;
}

ConstraintsEngine& UIConstraints::Engine() {
  if (!mEngine) {
    mEngine = std::make_unique<ConstraintsEngine>(&mCurrent, &mConstraints, &mOptions, nullptr);
  }
  return *mEngine;
}

bool UIConstraints::ValidateDelta(KVCache delta) { return Engine().Test(&delta).conflicts.empty(); }

bool UIConstraints::IsKVConstrained(long key, long option) {
  KVCache delta;
  delta.Insert(key, option);
  return !ValidateDelta(delta);
}

bool UIConstraints::IsKVConstrained(const char* key, const char* option) {
  return IsKVConstrained(mStrings.Find(key), mStrings.Find(option));
}

std::pair<const char*, const char*> UIConstraints::FindConflict(const char* key,
                                                                const char* option) {
  const KVCache::KV other = Engine().FirstConflict(mStrings.Find(key), mStrings.Find(option));
  if (other.first < 0) return {nullptr, nullptr};
  return {mStrings.Find(other.first), mStrings.Find(other.second)};
}
