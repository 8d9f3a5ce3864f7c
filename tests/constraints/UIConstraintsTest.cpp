#include "constraints/UIConstraints.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using Pairs = std::pmr::vector<KVCache::KV>;

class UIConstraintsTest : public ::testing::Test {
 protected:
  void RegisterOptions(const char* key, std::vector<const char*> options) {
    for (const char* option : options) constraints.KVSInsert(key, option);
  }
  long Id(const char* text) { return constraints.GetConstraintStrings()->Find(text); }
  Pairs ListOf(ConstraintForest* forest, const char* key, const char* option) {
    std::unique_ptr<ItemConstraintList> list = forest->GetConstraintList(Id(key), Id(option));
    return list ? list->pairs() : Pairs{};
  }

  // "KEY OPTION" of the other side of the option's first conflict, "" without one.
  std::string Conflict(const char* key, const char* option) {
    const auto [otherKey, otherOption] = constraints.FindConflict(key, option);
    return otherKey != nullptr ? std::string(otherKey) + " " + otherOption : "";
  }

  UIConstraints constraints;
};

TEST_F(UIConstraintsTest, ConstraintsHoldInTheDeclaredDirectionOnly) {
  RegisterOptions("*A", {"a1", "a2"});
  RegisterOptions("*B", {"b1", "b2"});
  constraints.Add("*A", "a1", "*B", "b1", false);
  constraints.Add("*A", "a2", "*B", "b2", true);
  constraints.Resolve();
  constraints.UpdateKVCache("*A", "a2");
  constraints.UpdateKVCache("*B", "b1");

  EXPECT_TRUE(constraints.IsKVConstrained("*A", "a1"));
  EXPECT_FALSE(constraints.IsKVConstrained("*B", "b1"));
  EXPECT_TRUE(constraints.IsKVConstrained("*A", "never interned"));
  EXPECT_FALSE(constraints.IsKVConstrained("*Z", "a1"));

  constraints.UpdateKVCache("*B", "b2");
  EXPECT_FALSE(constraints.IsKVConstrained("*A", "a1"));
  EXPECT_FALSE(constraints.IsKVConstrained("*A", "never interned"));
  // Requirements are kept apart and never make a choice constrained.
  EXPECT_FALSE(constraints.IsKVConstrained("*A", "a2"));
  EXPECT_EQ(ListOf(constraints.GetRequiresForest(), "*A", "a2"), (Pairs{{Id("*B"), Id("b2")}}));
}

// Of the constraints that forbid a choice, the one declared first names the
// other side; a wildcard's pairs come after the lines declared in full.
TEST_F(UIConstraintsTest, TheConflictIsTheFirstDeclaredConstraintThatHolds) {
  RegisterOptions("*A", {"a1", "a2"});
  RegisterOptions("*B", {"b1", "b2"});
  RegisterOptions("*C", {"c1", "c2"});
  constraints.Add("*A", "a1", "*C", "", false);
  constraints.Add("*A", "a1", "*B", "b1", false);
  constraints.Add("*A", "a1", "*C", "c2", false);
  constraints.Add("*A", "a2", "*B", "b2", true);
  constraints.Resolve();
  constraints.UpdateKVCache("*A", "a2");
  constraints.UpdateKVCache("*B", "b2");
  constraints.UpdateKVCache("*C", "c2");

  EXPECT_EQ(Conflict("*A", "a1"), "*C c2");
  constraints.UpdateKVCache("*B", "b1");
  EXPECT_EQ(Conflict("*A", "a1"), "*B b1");
  EXPECT_EQ(Conflict("*A", "never interned"), "*B b1");
  constraints.UpdateKVCache("*B", "b2");
  constraints.UpdateKVCache("*C", "c1");
  EXPECT_EQ(Conflict("*A", "a1"), "*C c1");
  // Requirements forbid nothing, nor does a choice that no line excludes.
  EXPECT_EQ(Conflict("*A", "a2"), "");
  EXPECT_EQ(Conflict("*B", "b1"), "");
  EXPECT_EQ(Conflict("*Z", "z"), "");
  EXPECT_EQ(Conflict("*A", "a1") != "", constraints.IsKVConstrained("*A", "a1"));
}

TEST_F(UIConstraintsTest, WildcardsExpandOverRegisteredOptions) {
  RegisterOptions("*A", {"None", "a1", "a2"});
  RegisterOptions("*B", {"b1", "False", "b2", "b1"});
  constraints.Add("*A", "", "*B", "b1", false);
  constraints.Add("*A", "a1", "*B", "", false);
  constraints.Add("*B", "", "*A", "", false);
  constraints.Add("*C", "", "*A", "a1", false);
  constraints.Add("*A", "a2", "*C", "", false);
  constraints.Add("*A", "", "*B", "b2", true);
  ConstraintForest* forest = constraints.GetConstraintForest();
  EXPECT_EQ(forest->GetConstraintList(Id("*A"), -1), nullptr);
  constraints.Resolve();

  long a1 = Id("a1"), a2 = Id("a2"), b1 = Id("b1"), b2 = Id("b2");
  long keyA = Id("*A"), keyB = Id("*B");
  EXPECT_EQ(ListOf(forest, "*A", "a1"), (Pairs{{keyB, b1}, {keyB, b1}, {keyB, b2}, {keyB, b1}}));
  EXPECT_EQ(ListOf(forest, "*A", "a2"), (Pairs{{keyB, b1}}));
  EXPECT_EQ(ListOf(forest, "*A", "None"), Pairs{});
  EXPECT_EQ(ListOf(forest, "*B", "b1"), (Pairs{{keyA, a1}, {keyA, a2}, {keyA, a1}, {keyA, a2}}));
  EXPECT_EQ(ListOf(forest, "*B", "b2"), (Pairs{{keyA, a1}, {keyA, a2}}));
  EXPECT_EQ(ListOf(forest, "*B", "False"), Pairs{});
  EXPECT_EQ(forest->GetConstraintList(Id("*C"), -1), nullptr);
  EXPECT_EQ(ListOf(constraints.GetRequiresForest(), "*A", "a2"), (Pairs{{keyB, b2}}));
}

// A constraint line's words given where they lie: an empty option is the
// wildcard, as the empty text is.
TEST_F(UIConstraintsTest, WordsOfALineAreAddedAsTheirTexts) {
  RegisterOptions("*A", {"a1", "a2"});
  RegisterOptions("*B", {"b1", "b2"});
  const std::string_view line = "*A a1 *B b2 *B";
  constraints.Add(line.substr(0, 2), line.substr(3, 2), line.substr(6, 2), line.substr(9, 2),
                  false);
  constraints.Add(line.substr(12, 2), std::string_view(), line.substr(0, 2), line.substr(3, 2),
                  false);
  constraints.Add("*B", "", "*A", "a1", false);
  constraints.Resolve();
  long keyA = Id("*A"), keyB = Id("*B");
  EXPECT_EQ(ListOf(constraints.GetConstraintForest(), "*A", "a1"), (Pairs{{keyB, Id("b2")}}));
  EXPECT_EQ(ListOf(constraints.GetConstraintForest(), "*B", "b1"), (Pairs{{keyA, Id("a1")}}));
  EXPECT_EQ(constraints.DeclaredLines().size(), 2u);
}

// Lines that share their texts in another order are lines of their own, however
// many the set holds.
TEST_F(UIConstraintsTest, ThousandsOfLinesDeclaredTwiceAreKeptOnceInOrder) {
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 3000; ++i) {
      const std::string a = "o" + std::to_string(i);
      const std::string b = "o" + std::to_string(i + 1);
      constraints.Add("*A", a.c_str(), "*B", b.c_str(), false);
      constraints.Add("*A", b.c_str(), "*B", a.c_str(), false);
    }
  }
  constraints.Add("*B", "o1", "*A", "o2", false);
  constraints.Add("*A", "o1", "*B", "o2", true);
  const auto& lines = constraints.DeclaredLines();
  ASSERT_EQ(lines.size(), 6002u);
  EXPECT_EQ(lines[4001].option1, Id("o2001"));
  EXPECT_EQ(lines[4001].option2, Id("o2000"));
  EXPECT_EQ(lines[6000].key1, Id("*B"));
  EXPECT_TRUE(lines[6001].requirement);
}

// Resolving lets go of what finds repeated lines; a line added later is still
// checked against every line declared before.
TEST_F(UIConstraintsTest, LinesAddedAfterResolvingAreStillKeptOnce) {
  for (int i = 0; i < 100; ++i)
    constraints.Add("*A", ("o" + std::to_string(i)).c_str(), "*B", "b", false);
  constraints.Resolve();
  constraints.Add("*A", "o42", "*B", "b", false);
  constraints.Add("*A", "o100", "*B", "b", false);
  constraints.Add("*A", "o100", "*B", "b", false);
  const auto& lines = constraints.DeclaredLines();
  ASSERT_EQ(lines.size(), 101u);
  EXPECT_EQ(lines[100].option1, Id("o100"));
}

TEST_F(UIConstraintsTest, RepeatedLinesAreKeptOnceWithTheSameAnswers) {
  RegisterOptions("*A", {"a1", "a2"});
  RegisterOptions("*B", {"b1", "b2"});
  for (int copy = 0; copy < 1000; ++copy) {
    constraints.Add("*A", "a1", "*B", "b1", false);
    constraints.Add("*A", "", "*B", "b2", false);
    constraints.Add("*A", "a2", "*B", "b1", true);
  }
  // The same pair as a requirement is a line of its own.
  constraints.Add("*A", "a1", "*B", "b1", true);
  constraints.Resolve();

  EXPECT_EQ(constraints.DeclaredLines().size(), 4u);
  long b1 = Id("b1"), b2 = Id("b2"), keyB = Id("*B");
  ConstraintForest* forest = constraints.GetConstraintForest();
  EXPECT_EQ(ListOf(forest, "*A", "a1"), (Pairs{{keyB, b1}, {keyB, b2}}));
  EXPECT_EQ(ListOf(forest, "*A", "a2"), (Pairs{{keyB, b2}}));
  EXPECT_EQ(ListOf(constraints.GetRequiresForest(), "*A", "a1"), (Pairs{{keyB, b1}}));
  EXPECT_EQ(ListOf(constraints.GetRequiresForest(), "*A", "a2"), (Pairs{{keyB, b1}}));

  constraints.UpdateKVCache("*B", "b1");
  EXPECT_TRUE(constraints.IsKVConstrained("*A", "a1"));
  EXPECT_FALSE(constraints.IsKVConstrained("*A", "a2"));
  constraints.UpdateKVCache("*B", "b2");
  EXPECT_TRUE(constraints.IsKVConstrained("*A", "a1"));
  EXPECT_TRUE(constraints.IsKVConstrained("*A", "a2"));
}

}  // namespace
