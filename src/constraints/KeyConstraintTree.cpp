#include "constraints/KeyConstraintTree.h"

#include <algorithm>
#include <iterator>

namespace {

bool Selects(long selector, long id) { return selector == -1 || selector == id; }

bool PairMatches(const KeyConstraintTree::KV& kv, long key, long option) {
  return kv.first == key && Selects(option, kv.second);
}

// Below this many, an insertion sort, which needs no buffer: most keys queue
// a few pairs each.
constexpr size_t kFewPending = 32;

// Sorts by `before`, keeping the order of equal elements.
template <class T, class Before>
void SortKeepingOrder(std::vector<T>& elements, Before before) {
  if (elements.size() > kFewPending) {
    std::stable_sort(elements.begin(), elements.end(), before);
    return;
  }
  for (size_t next = 1; next < elements.size(); ++next) {
    T moving = elements[next];
    size_t at = next;
    for (; at > 0 && before(moving, elements[at - 1]); --at) elements[at] = elements[at - 1];
    elements[at] = moving;
  }
}

}  // namespace

KeyConstraintTree::~KeyConstraintTree() = default;

// Merges the queued pairs into the flat lists in one pass.
void KeyConstraintTree::Settle() {
  if (mPending.empty()) return;
  // Stable, so that each option's pairs keep their declaration order.
  SortKeepingOrder(mPending,
                   [](const Pending& a, const Pending& b) { return a.option < b.option; });
  const Pending* first = mPending.data();
  const Pending* const last = first + mPending.size();
  size_t options = 1;
  for (const Pending* at = first + 1; at != last; ++at) options += at[-1].option != at->option;
  // Room for all, so that a first filing takes one block each.
  std::vector<Head> heads;
  std::vector<KV> pairs;
  heads.reserve(mHeads.size() + options);
  pairs.reserve(mPairs.size() + mPending.size());
  size_t list = 0;
  while (list < mHeads.size() || first != last) {
    const bool fromLists =
        first == last || (list < mHeads.size() && mHeads[list].option <= first->option);
    const long option = fromLists ? mHeads[list].option : first->option;
    bool off = false;
    if (fromLists && mHeads[list].option == option) {
      off = mHeads[list].disabled;
      pairs.insert(pairs.end(), mPairs.begin() + long(Begin(list)),
                   mPairs.begin() + long(mHeads[list].end));
      ++list;
    }
    for (; first != last && first->option == option; ++first) {
      if (!off) pairs.push_back(first->excluded);
    }
    heads.push_back(Head{option, uint32_t(pairs.size()), off});
  }
  heads.shrink_to_fit();
  pairs.shrink_to_fit();
  mHeads.swap(heads);
  mPairs.swap(pairs);
  std::vector<Pending>().swap(mPending);
}

std::unique_ptr<ItemConstraintList> KeyConstraintTree::GetItemConstraintList(long option) const {
  auto list = std::make_unique<ItemConstraintList>(option);
  size_t first = 0;
  size_t last = mHeads.size();
  if (option != -1) {
    first = size_t(std::lower_bound(mHeads.begin(), mHeads.end(), option,
                                    [](const Head& head, long id) { return head.option < id; }) -
                   mHeads.begin());
    last = first < mHeads.size() && mHeads[first].option == option ? first + 1 : first;
  }
  if (first == last) return list;
  for (size_t at = Begin(first); at < mHeads[last - 1].end; ++at) list->insert(mPairs[at]);
  return list;
}

std::vector<KeyConstraintTree::List> KeyConstraintTree::Lists() const {
  std::vector<List> lists;
  for (size_t list = 0; list < mHeads.size(); ++list) {
    lists.push_back(List{mHeads[list].option, mHeads[list].disabled,
                         std::vector<KV>(mPairs.begin() + long(Begin(list)),
                                         mPairs.begin() + long(mHeads[list].end))});
  }
  return lists;
}

void KeyConstraintTree::Assign(const std::vector<List>& lists) {
  mHeads.clear();
  mPairs.clear();
  for (const List& list : lists) {
    mPairs.insert(mPairs.end(), list.pairs.begin(), list.pairs.end());
    mHeads.push_back(Head{list.option, uint32_t(mPairs.size()), list.disabled});
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
