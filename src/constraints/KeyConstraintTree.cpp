#include "constraints/KeyConstraintTree.h"

#include <algorithm>
#include <iterator>

namespace {

bool Selects(long selector, long id) { return selector == -1 || selector == id; }

bool PairMatches(const KeyConstraintTree::KV& kv, long key, long option) {
  return kv.first == key && Selects(option, kv.second);
}

}  // namespace

KeyConstraintTree::~KeyConstraintTree() = default;

// Merges the queued pairs into the flat lists in one pass.
void KeyConstraintTree::Settle() {
  if (mPending.empty()) return;
  // Stable, so that each option's pairs keep their declaration order.
  std::stable_sort(mPending.begin(), mPending.end(),
                   [](const Pending& a, const Pending& b) { return a.option < b.option; });
  const Pending* first = mPending.data();
  const Pending* const last = first + mPending.size();
  std::vector<long> options;
  std::vector<uint32_t> ends;
  std::vector<bool> disabled;
  std::vector<KV> pairs;
  options.reserve(mOptions.size() + size_t(last - first));
  pairs.reserve(mPairs.size() + size_t(last - first));
  size_t list = 0;
  while (list < mOptions.size() || first != last) {
    const bool fromLists =
        first == last || (list < mOptions.size() && mOptions[list] <= first->option);
    const long option = fromLists ? mOptions[list] : first->option;
    bool off = false;
    if (fromLists && mOptions[list] == option) {
      off = mDisabled[list];
      pairs.insert(pairs.end(), mPairs.begin() + long(Begin(list)),
                   mPairs.begin() + long(mEnds[list]));
      ++list;
    }
    for (; first != last && first->option == option; ++first) {
      if (!off) pairs.push_back(first->excluded);
    }
    options.push_back(option);
    ends.push_back(uint32_t(pairs.size()));
    disabled.push_back(off);
  }
  options.shrink_to_fit();
  pairs.shrink_to_fit();
  mOptions.swap(options);
  mEnds.swap(ends);
  mDisabled.swap(disabled);
  mPairs.swap(pairs);
  std::vector<Pending>().swap(mPending);
}

std::unique_ptr<ItemConstraintList> KeyConstraintTree::GetItemConstraintList(long option) const {
  auto list = std::make_unique<ItemConstraintList>(option);
  size_t first = 0;
  size_t last = mOptions.size();
  if (option != -1) {
    first = size_t(std::lower_bound(mOptions.begin(), mOptions.end(), option) - mOptions.begin());
    last = first < mOptions.size() && mOptions[first] == option ? first + 1 : first;
  }
  if (first == last) return list;
  for (size_t at = Begin(first); at < mEnds[last - 1]; ++at) list->insert(mPairs[at]);
  return list;
}

std::vector<KeyConstraintTree::List> KeyConstraintTree::Lists() const {
  std::vector<List> lists;
  for (size_t list = 0; list < mOptions.size(); ++list) {
    lists.push_back(List{
        mOptions[list], mDisabled[list],
        std::vector<KV>(mPairs.begin() + long(Begin(list)), mPairs.begin() + long(mEnds[list]))});
  }
  return lists;
}

void KeyConstraintTree::Assign(const std::vector<List>& lists) {
  mOptions.clear();
  mEnds.clear();
  mDisabled.clear();
  mPairs.clear();
  for (const List& list : lists) {
    mOptions.push_back(list.option);
    mPairs.insert(mPairs.end(), list.pairs.begin(), list.pairs.end());
    mEnds.push_back(uint32_t(mPairs.size()));
    mDisabled.push_back(list.disabled);
  }
}

// An option without a list gets one, disabled whole, in its place.
KeyConstraintTree::List& KeyConstraintTree::ListOf(std::vector<List>& lists, long option) {
  auto found = std::lower_bound(lists.begin(), lists.end(), option,
                                [](const List& list, long id) { return list.option < id; });
  if (found == lists.end() || found->option != option)
    found = lists.insert(found, List{option, true, {}});
  return *found;
}

std::set<KeyConstraintTree::KV> KeyConstraintTree::DisableConstraints(long option1, long key2,
                                                                      long option2) {
  std::set<KV> removed;
  std::vector<List> lists = Lists();
  for (List& list : lists) {
    if (!Selects(option1, list.option)) continue;
    Save(list.option, list.disabled ? nullptr : &list.pairs);
    if (list.disabled) continue;
    if (key2 < 0) {
      removed.insert(list.pairs.begin(), list.pairs.end());
      list.pairs.clear();
      list.disabled = true;
    } else {
      list.pairs.erase(
          std::remove_if(list.pairs.begin(), list.pairs.end(),
                         [key2, option2](const KV& kv) { return PairMatches(kv, key2, option2); }),
          list.pairs.end());
    }
  }
  Assign(lists);
  return removed;
}

std::set<KeyConstraintTree::KV> KeyConstraintTree::EnableConstraints(long option1, long key2,
                                                                     long option2) {
  std::set<KV> restored;
  std::vector<List> lists = Lists();
  for (const auto& [option, saved] : mSaved) {
    if (!Selects(option1, option)) continue;
    List& list = ListOf(lists, option);
    if (key2 < 0) {
      list.pairs.assign(saved->pairs().begin(), saved->pairs().end());
      restored.insert(saved->pairs().begin(), saved->pairs().end());
    } else {
      list.pairs = Restore(list.disabled ? nullptr : &list.pairs, *saved, key2, option2);
    }
    list.disabled = false;
  }
  Assign(lists);
  return restored;
}

// Merges into the saved copy instead of replacing it: a second disabling of the same
// option would otherwise overwrite the pairs the first one removed, and they could never
// be enabled again.
void KeyConstraintTree::Save(long option, const std::vector<KV>* active) {
  std::unique_ptr<ItemConstraintList>& saved = mSaved[option];
  if (!saved) saved = std::make_unique<ItemConstraintList>(option);
  if (!active) return;
  std::map<KV, long> alreadySaved;
  for (const KV& kv : saved->pairs()) ++alreadySaved[kv];
  for (const KV& kv : *active) {
    long& count = alreadySaved[kv];
    if (count > 0) {
      --count;
    } else {
      saved->insert(kv);
    }
  }
}

std::vector<KeyConstraintTree::KV> KeyConstraintTree::Restore(const std::vector<KV>* active,
                                                              const ItemConstraintList& saved,
                                                              long key2, long option2) {
  std::vector<KV> own;
  if (active) own = *active;
  std::vector<KV> back;
  for (const KV& kv : saved.pairs()) {
    if (PairMatches(kv, key2, option2)) back.push_back(kv);
  }
  std::sort(own.begin(), own.end());
  std::sort(back.begin(), back.end());
  std::vector<KV> merged;
  std::set_union(own.begin(), own.end(), back.begin(), back.end(), std::back_inserter(merged));
  return merged;
}
