#include "constraints/UIConstraints.h"

#include <algorithm>
#include <iterator>

namespace {

const char kWildcard[] = "";

}  // namespace

UIConstraints::~UIConstraints() {
  // The engine points at the members below, so it goes first.
  m_engine.reset();
}

void UIConstraints::Add(const char* key1, const char* option1, const char* key2,
                        const char* option2, bool requirement) {
  long keyId1 = m_strings.Insert(key1);
  long optionId1 = m_strings.Insert(option1);
  long keyId2 = m_strings.Insert(key2);
  long optionId2 = m_strings.Insert(option2);
  m_declared.push_back(SpecialConstraint{keyId1, optionId1, keyId2, optionId2, requirement});
  long wildcard = m_strings.Find(kWildcard);
  if (optionId1 == wildcard || optionId2 == wildcard) {
    m_special.push_back(SpecialConstraint{keyId1, optionId1, keyId2, optionId2, requirement});
    return;
  }
  ConstraintForest& forest = requirement ? m_requires : m_constraints;
  forest.insert(keyId1, optionId1, keyId2, optionId2, kExclusionConstraint);
}

void UIConstraints::KVSInsert(const char* key, const char* option) {
  long keyId = m_strings.Insert(key);
  KVSInsert(keyId, m_strings.Insert(option));
}

void UIConstraints::KVSInsert(long key, long option) { m_options.insert(key, option); }

void UIConstraints::UpdateKVCache(const char* key, const char* option) {
  long keyId = m_strings.Insert(key);
  UpdateKVCache(keyId, m_strings.Insert(option));
}

void UIConstraints::UpdateKVCache(long key, long option) { m_current.Insert(key, option); }

void UIConstraints::Resolve() {
  long wildcard = m_strings.Find(kWildcard);
  if (wildcard == -1) return;
  for (const SpecialConstraint& line : m_special) {
    ConstraintForest& forest = line.requirement ? m_requires : m_constraints;
    if (line.option1 != wildcard) {
      Resolve(line.key1, line.option1, line.key2, RegisteredOptions(line.key2), forest);
    } else if (line.option2 != wildcard) {
      Resolve(line.key1, RegisteredOptions(line.key1), line.key2, line.option2, forest);
    } else {
      Resolve(line.key1, RegisteredOptions(line.key1), line.key2,
              RegisteredOptions(line.key2), forest);
    }
  }
  m_special.clear();
}

void UIConstraints::Resolve(long key1, long option1, long key2,
                            const std::vector<long>& options2, ConstraintForest& forest) {
  for (long option2 : WildcardTargets(options2)) {
    forest.insert(key1, option1, key2, option2, kExclusionConstraint);
  }
}

void UIConstraints::Resolve(long key1, const std::vector<long>& options1, long key2,
                            long option2, ConstraintForest& forest) {
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
  long none = m_strings.Insert("None");
  long no = m_strings.Insert("False");
  std::vector<long> targets;
  std::copy_if(options.begin(), options.end(), std::back_inserter(targets),
               [none, no](long option) { return option != none && option != no; });
  return targets;
}

const std::vector<long>& UIConstraints::RegisteredOptions(long key) const {
  static const std::vector<long> kNone;
  const std::vector<long>* options = m_options.GetItems(key);
  return options == nullptr ? kNone : *options;
}

bool UIConstraints::ValidateDelta(KVCache delta) {
  if (!m_engine) {
    m_engine =
        std::make_unique<ConstraintsEngine>(&m_current, &m_constraints, &m_options, nullptr);
  }
  return m_engine->Test(&delta).conflicts.empty();
}

bool UIConstraints::IsKVConstrained(long key, long option) {
  KVCache delta;
  delta.Insert(key, option);
  return !ValidateDelta(delta);
}

bool UIConstraints::IsKVConstrained(const char* key, const char* option) {
  return IsKVConstrained(m_strings.Find(key), m_strings.Find(option));
}
