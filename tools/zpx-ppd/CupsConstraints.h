#pragma once
// A document's constraints in a print server's PPD: every line the extension
// reads, as it was declared ("*%ZPXUIConstraints", "*%ZPXUIRequires", which the
// print server takes for comments), then each pair of choices the extension
// forbids together as one "*UIConstraints" line (wildcards expanded as the
// extension expands them), which the print server reads both ways, as the
// extension's check of a job's final choices does. A line that cannot be such
// pairs is listed in a comment with the reason: the filter still refuses what
// it forbids.

#include <ostream>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "constraints/UIConstraints.h"

class ZPXPPD;

namespace zpxtool {

class CupsConstraints {
 public:
  // The options written with choices, in the order written, and their choices.
  using ChoiceOptions = std::vector<std::pair<std::string, std::vector<std::string>>>;

  static constexpr const char* kUnwrittenHeading = "*% Constraints not written as *UIConstraints:";

  CupsConstraints(ZPXPPD& document, const ChoiceOptions& options);

  void Write(std::ostream& out) const;

 private:
  // Why the line makes no pair of written choices; "" when it does.
  std::string Unwritable(const UIConstraints::DeclaredLine& line) const;
  std::string Side(long key, long option) const;
  std::string Text(long id) const;
  // By the ids the constraint set gives the texts.
  bool IsChoice(long key, long option) const;
  void WriteDeclared(std::ostream& out) const;
  void WritePairs(std::ostream& out) const;
  void WriteUnwritten(std::ostream& out) const;

  UIConstraints& mConstraints;
  const ChoiceOptions& mOptions;
  std::unordered_map<long, std::unordered_set<long>> mChoicesByKey;
  long mWildcard;
};

}  // namespace zpxtool
