#pragma once
// The selections that one option excludes, in declaration order.

#include <memory>
#include <memory_resource>
#include <utility>
#include <vector>

// Kind of a declared constraint; every declaration is of the one kind and it is not kept.
enum ConstraintType { kExclusionConstraint = 0 };

class ItemConstraintList {
 public:
  using KV = std::pair<long, long>;

  explicit ItemConstraintList(long owner = -1) : mOption(owner) {}
  // The pairs come from `pool`, which must outlive the list. Copies of the list
  // take theirs from the heap, so a copy handed out lives on its own.
  ItemConstraintList(long owner, std::pmr::memory_resource* pool)
      : mOption(owner), mExcluded(pool) {}
  ItemConstraintList(const ItemConstraintList&) = default;
  ItemConstraintList& operator=(const ItemConstraintList&) = default;
  ItemConstraintList(ItemConstraintList&&) = default;
  ItemConstraintList& operator=(ItemConstraintList&&) = default;
  virtual ~ItemConstraintList() = default;

  void insert(long key, long value, ConstraintType type);
  void insert(const KV& excluded);

  // A new copy of the pair at the index (the caller owns it), or null outside the list.
  std::unique_ptr<KV> operator[](long index) const;
  long size() const { return static_cast<long>(mExcluded.size()); }
  const std::pmr::vector<KV>& pairs() const { return mExcluded; }

  // + makes a new list and leaves both operands as they were; appending a list to
  // itself doubles it.
  ItemConstraintList& operator+=(const ItemConstraintList& other);
  ItemConstraintList operator+(const ItemConstraintList& other) const;

  long mOption;  // the option that owns the list

 private:
  std::pmr::vector<KV> mExcluded;
};
