#pragma once
// The constraint lists of one key's options, with the copies that disabling keeps.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "constraints/ItemConstraintList.h"

class KeyConstraintTree {
 public:
  using KV = std::pair<long, long>;

  explicit KeyConstraintTree(long owner) : mKey(owner) {}
  KeyConstraintTree(const KeyConstraintTree&) = delete;
  KeyConstraintTree& operator=(const KeyConstraintTree&) = delete;
  virtual ~KeyConstraintTree();

  // Queues a pair for the option; Settle files it. An option whose whole list
  // was disabled takes no new pair until it is enabled.
  void insert(long option, const KV& excluded) { mPending.push_back(Pending{option, excluded}); }
  // Files the queued pairs into the lists, each option's in declaration order;
  // every other operation expects it done.
  void Settle();
  // A new list (the caller owns it) of the option's pairs, or of every option's when
  // the option is -1, options ascending.
  std::unique_ptr<ItemConstraintList> GetItemConstraintList(long option) const;

  // For option1 (-1: every option), removes the pairs of key2 with option2 (-1: any),
  // or the whole list when key2 is negative; returns the pairs of removed whole lists.
  std::set<KV> DisableConstraints(long option1, long key2, long option2);
  // Brings back what DisableConstraints removed, with the same selectors; returns the
  // pairs of restored whole lists.
  std::set<KV> EnableConstraints(long option1, long key2, long option2);

  long mKey;  // the key that owns the tree

 private:
  struct Pending {
    long option;
    KV excluded;
  };

  // One option's list, taken apart while disabling or enabling changes it.
  struct List {
    long option;
    bool disabled;  // disabled whole: it takes no pair
    std::vector<KV> pairs;
  };

  // Where an option's pairs lie in mPairs: they end at `end` and begin where
  // the previous option's end.
  struct Head {
    long option;
    uint32_t end;
    bool disabled;  // disabled whole: it takes no pair
  };

  size_t Begin(size_t list) const { return list == 0 ? 0 : mHeads[list - 1].end; }
  std::vector<List> Lists() const;
  void Assign(const std::vector<List>& lists);
  static List& ListOf(std::vector<List>& lists, long option);
  void Save(long option, const std::vector<KV>* active);
  static std::vector<KV> Restore(const std::vector<KV>* active, const ItemConstraintList& saved,
                                 long key2, long option2);

  // A declared document has a list for most of its options, and the dialog asks for
  // one at every menu item: the lists are kept flat, every option's pairs one after
  // the other in mPairs, options ascending, instead of a block per list; the
  // options with where their pairs end take one block more.
  std::vector<Head> mHeads;
  std::vector<KV> mPairs;
  std::map<long, std::unique_ptr<ItemConstraintList>> mSaved;
  // A document declares its pairs before it asks anything: they wait here in
  // arrival order and are filed in one pass.
  std::vector<Pending> mPending;
};
