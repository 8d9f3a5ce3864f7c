#pragma once
// A document's constraint set: the declared exclusions between option choices, the
// options of every key, and the option currently selected for each key.

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "constraints/CStringSoup.h"
#include "constraints/ConstraintForest.h"
#include "constraints/ConstraintsEngine.h"
#include "constraints/IdTable.h"
#include "constraints/KVCache.h"
#include "constraints/KeyForest.h"
#include "constraints/ShortTextIds.h"

class UIConstraints {
 public:
  // A declared line with a wildcard option, held until every option is registered.
  struct SpecialConstraint {
    long key1;
    long option1;
    long key2;
    long option2;
    bool requirement;  // declared as a requirement rather than an exclusion

    bool operator==(const SpecialConstraint& other) const {
      return key1 == other.key1 && option1 == other.option1 && key2 == other.key2 &&
             option2 == other.option2 && requirement == other.requirement;
    }
  };

  // A line as the set keeps it for saving, half the size of the one above: tens
  // of thousands are kept for the document's life, and an interned text's id
  // is its place among the document's texts, far below 2^31.
  struct DeclaredLine {
    std::int32_t key1;
    std::int32_t option1;
    std::int32_t key2;
    std::int32_t option2;
    bool requirement;

    bool operator==(const DeclaredLine& other) const {
      return key1 == other.key1 && option1 == other.option1 && key2 == other.key2 &&
             option2 == other.option2 && requirement == other.requirement;
    }
  };

  UIConstraints() = default;
  UIConstraints(const UIConstraints&) = delete;
  UIConstraints& operator=(const UIConstraints&) = delete;
  virtual ~UIConstraints();

  // While option1 of key1 is chosen, option2 of key2 must not be selected; an empty
  // option stands for every option of its key.
  void Add(const char* key1, const char* option1, const char* key2, const char* option2,
           bool requirement);
  // The same for the words of a constraint line, where the line lies; an empty
  // option is the wildcard.
  void Add(std::string_view key1, std::string_view option1, std::string_view key2,
           std::string_view option2, bool requirement);
  // The same for a line of texts interned in GetConstraintStrings(); wildcard
  // when either option is the empty text. A line declared before is skipped.
  void Add(const DeclaredLine& line, bool wildcard);
  void KVSInsert(const char* key, const char* option);
  void KVSInsert(long key, long option);
  // The text's id in GetConstraintStrings(), interned first when it is new.
  // While the set is being built (until Resolve) the short texts that a
  // document repeats by the thousand are known without the soup's search.
  long Intern(std::string_view text);
  // The same for a terminated text; -1 for a null one.
  long Intern(const char* text) { return text != nullptr ? Intern(std::string_view(text)) : -1; }
  void UpdateKVCache(const char* key, const char* option);
  void UpdateKVCache(long key, long option);

  // Expands the wildcard lines; called once every option has been registered.
  void Resolve();
  void Resolve(long key1, long option1, long key2, const std::vector<long>& options2,
               ConstraintForest& forest);
  void Resolve(long key1, const std::vector<long>& options1, long key2, long option2,
               ConstraintForest& forest);
  void Resolve(long key1, const std::vector<long>& options1, long key2,
               const std::vector<long>& options2, ConstraintForest& forest);

  // True when applying the delta to the current selections creates no conflict.
  bool ValidateDelta(KVCache delta);
  // True when selecting the option would conflict with the current selections; option
  // -1 tests every option of the key.
  bool IsKVConstrained(long key, long option);
  // Texts never interned are not constrained as keys and stand for every option as
  // options.
  bool IsKVConstrained(const char* key, const char* option);
  // The selected key and option of the first declared constraint that forbids
  // the option under the current selections, as interned texts that live as
  // long as the set; two nulls when none does. Texts as in IsKVConstrained.
  std::pair<const char*, const char*> FindConflict(const char* key, const char* option);

  // Every line Add was given, in order, each once, wildcards unexpanded: what a
  // document keeps of its constraints when it saves itself.
  const std::deque<DeclaredLine>& DeclaredLines() const { return mDeclared; }

  ConstraintForest* GetConstraintForest() { return &mConstraints; }
  ConstraintForest* GetRequiresForest() { return &mRequires; }
  CStringSoup* GetConstraintStrings() { return &mStrings; }

 private:
  static constexpr size_t kExpectedLines = 1024;

  ConstraintsEngine& Engine();

  void ExpandWildcardLines();
  static size_t HashOf(const DeclaredLine& line);
  // True when the line was declared before; otherwise it is declared now.
  bool Repeats(const DeclaredLine& line);
  // Files every declared line in mDeclaredIds.
  void FileDeclaredLines();
  // Registered options that a wildcard reaches: never "None" or "False".
  std::vector<long> WildcardTargets(const std::vector<long>& options);
  const std::vector<long>& RegisteredOptions(long key) const;

  ConstraintForest mConstraints;
  ConstraintForest mRequires;
  CStringSoup mStrings;
  // Made by the first Intern, let go by Resolve.
  std::unique_ptr<ShortTextIds> mBuildingIds;
  std::unique_ptr<ConstraintsEngine> mEngine;
  KVCache mCurrent;
  KeyForest mOptions;
  std::vector<SpecialConstraint> mSpecial;
  // Held in blocks: a large document declares tens of thousands of lines, and
  // one growing array would copy them all at every doubling, into memory fresh
  // from the system each time.
  std::deque<DeclaredLine> mDeclared;
  // The same lines by their place in mDeclared, to find a repeated one at once
  // without a block per line; emptied when the set is resolved.
  IdTable mDeclaredIds{kExpectedLines};
};
