// The print server's answer on a queue's PPD against the extension's on the
// maker's: for every pair of choices of two options, libcups finds a conflict
// exactly where the extension forbids the two together (one of them while the
// other is chosen, as its check of a job's final choices does), but for the
// constraints the queue's PPD lists as not written.

#include <gtest/gtest.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/ppd.h>
#pragma GCC diagnostic pop

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PPDX/PPDObjects/PPDXControl.h"
#include "PPDX/ZPXPPD.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "constraints/UIConstraints.h"
#include "support/CupsQueuePPD.h"
#include "support/GeneratedPPD.h"
#include "support/ParsedDocument.h"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace {

using Choice = std::pair<std::string, std::string>;  // key with "*", choice

struct PPDClose {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

// The options of the queue's PPD that are pop-ups or Booleans of the model,
// with their choices as libcups reads them.
std::vector<Choice> ChoicesOfModelOptions(ppd_file_t& ppd, ZPXPPD& document) {
  std::vector<Choice> choices;
  for (ppd_option_t* option = ppdFirstOption(&ppd); option != nullptr;
       option = ppdNextOption(&ppd)) {
    const std::string key = std::string("*") + option->keyword;
    CFRef<CFStringRef> keyText(CreateText(key));
    PPDXControl* control = document.GetPPDXControlForKey(keyText.get());
    if (control == nullptr || (control->Type() != CNTL_POPUP && control->Type() != CNTL_BOOLEAN))
      continue;
    for (int i = 0; i < option->num_choices; ++i)
      choices.emplace_back(key, option->choices[i].choice);
  }
  return choices;
}

// The choices on the sides of the constraints the queue's PPD lists as not
// written: pairs with one of them may disagree.
std::set<Choice> UnwrittenSides(const std::string& ppd) {
  std::set<Choice> sides;
  std::istringstream lines(ppd.substr(ppd.find("*% Constraints not written")));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.compare(0, 5, "*%   ") != 0) continue;
    std::istringstream words(line.substr(0, line.find(':')));
    std::string word, key;
    words >> word;  // "*%"
    while (words >> word) {
      if (word[0] == '*')
        key = word;
      else
        sides.emplace(key, word);
    }
  }
  return sides;
}

// The extension's answer for the pair alone: every other option without a
// choice, so that nothing else the constraints name is chosen.
class IsolatedPairs {
 public:
  IsolatedPairs(ZPXPPD& document, const std::vector<Choice>& choices)
      : mDocument(document), mConstraints(*document.GetUIConstraints()) {
    for (const Choice& choice : choices) Unset(choice.first);
  }

  bool Forbidden(const Choice& first, const Choice& second) {
    return OneWay(first, second) || OneWay(second, first);
  }

 private:
  long Id(const std::string& text) {
    return mConstraints.GetConstraintStrings()->Find(text.c_str());
  }
  void Unset(const std::string& key) { mConstraints.UpdateKVCache(Id(key), -1); }

  bool OneWay(const Choice& tested, const Choice& chosen) {
    mConstraints.UpdateKVCache(Id(chosen.first), Id(chosen.second));
    const bool forbidden = mDocument.IsKVConstrained(tested.first.c_str(), tested.second.c_str());
    Unset(chosen.first);
    return forbidden;
  }

  ZPXPPD& mDocument;
  UIConstraints& mConstraints;
};

struct Counts {
  long pairs = 0;
  long conflicting = 0;
  long exempt = 0;
  long disagreeing = 0;
};

void Report(const char* name, const Counts& counts) {
  std::printf(
      "%s: %ld pairs of choices, %ld conflicting in both, %ld beside unwritten constraints, %ld "
      "disagreeing\n",
      name, counts.pairs, counts.conflicting, counts.exempt, counts.disagreeing);
}

// libcups's constraint table as unordered pairs of choices.
std::set<std::pair<Choice, Choice>> ServerPairs(ppd_file_t& ppd) {
  std::set<std::pair<Choice, Choice>> pairs;
  for (int i = 0; i < ppd.num_consts; ++i) {
    const ppd_const_t& line = ppd.consts[i];
    Choice first{std::string("*") + line.option1, line.choice1};
    Choice second{std::string("*") + line.option2, line.choice2};
    pairs.insert(std::minmax(first, second));
  }
  return pairs;
}

class Comparison {
 public:
  explicit Comparison(const std::string& maker)
      : mQueue("'" + maker + "'"), mDocument(ParseFile(maker)) {
    mPPD.reset(ppdOpenFile(mQueue.Path().c_str()));
  }

  bool Ready() const { return mQueue.Status() == 0 && mDocument && mPPD; }

  // Every ordered pair asked of both: libcups with only the second choice
  // marked (it reports every conflict among the marked choices, whichever
  // option it is asked about).
  Counts EveryPair() {
    const std::vector<Choice> choices = ChoicesOfModelOptions(*mPPD, *mDocument);
    const std::set<Choice> exempt = UnwrittenSides(mQueue.Text());
    IsolatedPairs extension(*mDocument, choices);
    Counts counts;
    for (const Choice& second : choices) {
      std::unique_ptr<ppd_file_t, PPDClose> marked(ppdOpenFile(mQueue.Path().c_str()));
      ppdMarkOption(marked.get(), second.first.c_str() + 1, second.second.c_str());
      for (const Choice& first : choices) {
        if (first.first == second.first) continue;
        Tally(counts, first, second, ServerConflict(*marked, first, second),
              extension.Forbidden(first, second), exempt);
      }
    }
    return counts;
  }

  // Each pair libcups reads in the queue's PPD against the extension, and each
  // pair the extension's constraint lists name against libcups: the pairs in
  // neither are free in both.
  Counts ConstraintTables() {
    const std::vector<Choice> choices = ChoicesOfModelOptions(*mPPD, *mDocument);
    const std::set<Choice> exempt = UnwrittenSides(mQueue.Text());
    const std::set<std::pair<Choice, Choice>> server = ServerPairs(*mPPD);
    std::set<std::pair<Choice, Choice>> extensionPairs = ExtensionPairs(choices);
    IsolatedPairs extension(*mDocument, choices);
    Counts counts;
    for (const auto& pair : server) {
      Tally(counts, pair.first, pair.second, true, extension.Forbidden(pair.first, pair.second),
            exempt);
    }
    for (const auto& pair : extensionPairs) {
      if (server.count(pair) == 0) Tally(counts, pair.first, pair.second, false, true, exempt);
    }
    // Every pair of choices of two options, each once: the ones in neither
    // table are free in both.
    std::map<std::string, long> perOption;
    for (const Choice& choice : choices) ++perOption[choice.first];
    long squares = 0;
    for (const auto& [key, count] : perOption) squares += count * count;
    counts.pairs = (long(choices.size()) * long(choices.size()) - squares) / 2;
    return counts;
  }

 private:
  // The pairs of choices of two options that the extension's constraint
  // lists name.
  std::set<std::pair<Choice, Choice>> ExtensionPairs(const std::vector<Choice>& choices) {
    UIConstraints& constraints = *mDocument->GetUIConstraints();
    CStringSoup& soup = *constraints.GetConstraintStrings();
    const std::set<Choice> known(choices.begin(), choices.end());
    std::set<std::pair<Choice, Choice>> pairs;
    for (const Choice& choice : choices) {
      std::unique_ptr<ItemConstraintList> list =
          constraints.GetConstraintForest()->GetConstraintList(soup.Find(choice.first.c_str()),
                                                               soup.Find(choice.second.c_str()));
      if (!list) continue;
      for (const auto& [key, option] : list->pairs()) {
        Choice other{soup.Find(key), soup.Find(option)};
        if (other.first != choice.first && known.count(other) != 0)
          pairs.insert(std::minmax(choice, other));
      }
    }
    return pairs;
  }

  static bool ServerConflict(ppd_file_t& ppd, const Choice& first, const Choice& second) {
    cups_option_t* options = nullptr;
    const int count =
        cupsGetConflicts(&ppd, first.first.c_str() + 1, first.second.c_str(), &options);
    bool found = false;
    for (int i = 0; i < count; ++i)
      found = found || (second.first == std::string("*") + options[i].name &&
                        second.second == options[i].value);
    cupsFreeOptions(count, options);
    return found;
  }

  static void Tally(Counts& counts, const Choice& first, const Choice& second, bool server,
                    bool extension, const std::set<Choice>& exempt) {
    ++counts.pairs;
    if (server == extension) {
      counts.conflicting += server;
      return;
    }
    if (exempt.count(first) != 0 || exempt.count(second) != 0) {
      ++counts.exempt;
      return;
    }
    ++counts.disagreeing;
    ADD_FAILURE() << first.first << " " << first.second << " with " << second.first << " "
                  << second.second << ": libcups " << (server ? "conflict" : "none")
                  << ", extension " << (extension ? "forbidden" : "allowed");
  }

  CupsQueuePPD mQueue;
  std::unique_ptr<ZPXPPD> mDocument;
  std::unique_ptr<ppd_file_t, PPDClose> mPPD;
};

}  // namespace

TEST(ZpxPpdCupsConstraintsTest, TheSamplesEveryPairOfChoicesAgrees) {
  Comparison sample(ZPX_BUNDLE "/samples/ZPX-Sample.ppd");
  ASSERT_TRUE(sample.Ready());
  const Counts every = sample.EveryPair();
  Report("sample, every ordered pair", every);
  EXPECT_EQ(every.disagreeing, 0);
  EXPECT_GT(every.conflicting, 0);
  const Counts tables = sample.ConstraintTables();
  Report("sample, constraint tables", tables);
  EXPECT_EQ(tables.disagreeing, 0);
  EXPECT_EQ(tables.conflicting * 2, every.conflicting);
}

TEST(ZpxPpdCupsConstraintsTest, TheGeneratedPPDsConstraintTablesAgree) {
  generatedppd::Files files;
  Comparison generated(files.Path(2));
  ASSERT_TRUE(generated.Ready());
  const Counts counts = generated.ConstraintTables();
  Report("large generated PPD, constraint tables", counts);
  EXPECT_EQ(counts.disagreeing, 0);
  EXPECT_GT(counts.conflicting, 15000);
}
