#include "CupsConstraints.h"

#include <algorithm>
#include <set>
#include <tuple>

#include "PPDX/ZPXPPD.h"

namespace zpxtool {

CupsConstraints::CupsConstraints(ZPXPPD& document, const ChoiceOptions& options)
    : mConstraints(*document.GetUIConstraints()), mOptions(options) {
  CStringSoup& soup = *mConstraints.GetConstraintStrings();
  for (const auto& [key, choices] : mOptions) {
    std::unordered_set<long>& ids = mChoicesByKey[soup.Find(key.c_str())];
    for (const std::string& choice : choices) ids.insert(soup.Find(choice.c_str()));
  }
  mChoicesByKey.erase(-1);
  mWildcard = soup.Find("");
}

std::string CupsConstraints::Text(long id) const {
  const char* text = mConstraints.GetConstraintStrings()->Find(id);
  return text != nullptr ? text : "";
}

std::string CupsConstraints::Side(long key, long option) const {
  return option == mWildcard ? Text(key) : Text(key) + " " + Text(option);
}

bool CupsConstraints::IsChoice(long key, long option) const {
  auto found = mChoicesByKey.find(key);
  return found != mChoicesByKey.end() && found->second.count(option) != 0;
}

std::string CupsConstraints::Unwritable(const UIConstraints::DeclaredLine& line) const {
  if (line.requirement) return "a requirement, which the extension does not enforce";
  if (line.key1 == line.key2) return "both sides name the same option (the filter judges it)";
  for (const auto& [key, option] :
       {std::pair(line.key1, line.option1), std::pair(line.key2, line.option2)}) {
    if (mChoicesByKey.count(key) == 0)
      return Text(key) + " is no option with choices here (the filter judges it)";
    if (option != mWildcard && !IsChoice(key, option))
      return Text(key) + " has no choice " + Text(option) + " (the filter judges it)";
  }
  return "";
}

void CupsConstraints::WriteDeclared(std::ostream& out) const {
  out << "*% The constraints as the extension reads them\n";
  for (const UIConstraints::DeclaredLine& line : mConstraints.DeclaredLines()) {
    out << (line.requirement ? "*%ZPXUIRequires: " : "*%ZPXUIConstraints: ")
        << Side(line.key1, line.option1) << " " << Side(line.key2, line.option2) << "\n";
  }
}

void CupsConstraints::WritePairs(std::ostream& out) const {
  CStringSoup& soup = *mConstraints.GetConstraintStrings();
  ConstraintForest& forest = *mConstraints.GetConstraintForest();
  // Each pair once, whichever way it was declared.
  std::set<std::tuple<long, long, long, long>> written;
  for (const auto& [key, choices] : mOptions) {
    const long keyId = soup.Find(key.c_str());
    for (const std::string& choice : choices) {
      const long choiceId = soup.Find(choice.c_str());
      std::unique_ptr<ItemConstraintList> list = forest.GetConstraintList(keyId, choiceId);
      if (!list) continue;
      for (const auto& [otherKey, otherOption] : list->pairs()) {
        if (otherKey == keyId || !IsChoice(otherKey, otherOption)) continue;
        const std::pair<long, long> first(keyId, choiceId);
        const std::pair<long, long> second(otherKey, otherOption);
        const auto [low, high] = std::minmax(first, second);
        if (!written.emplace(low.first, low.second, high.first, high.second).second) continue;
        out << "*UIConstraints: " << key << " " << choice << " " << Text(otherKey) << " "
            << Text(otherOption) << "\n";
      }
    }
  }
}

void CupsConstraints::WriteUnwritten(std::ostream& out) const {
  bool heading = false;
  for (const UIConstraints::DeclaredLine& line : mConstraints.DeclaredLines()) {
    const std::string reason = Unwritable(line);
    if (reason.empty()) continue;
    if (!heading) out << kUnwrittenHeading << "\n";
    heading = true;
    out << "*%   " << Side(line.key1, line.option1) << " " << Side(line.key2, line.option2) << ": "
        << reason << "\n";
  }
}

void CupsConstraints::Write(std::ostream& out) const {
  WriteDeclared(out);
  WritePairs(out);
  WriteUnwritten(out);
}

}  // namespace zpxtool
