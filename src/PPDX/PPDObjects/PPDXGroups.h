#pragma once
// The groups, roll-downs and scroll panes of a document (or the roll-downs of one
// pane), in the order they were added. The list borrows them.

#include <string_view>
#include <unordered_map>

#include "foundation/PointerList.h"

class PPDXGroup;
class Settings;

class PPDXGroups {
 public:
  PPDXGroups();
  // Rebuilds the saved groups, each of the class its marker names; the caller owns
  // them (the document deletes every group).
  explicit PPDXGroups(Settings& settings);
  virtual ~PPDXGroups();

  PPDXGroups(const PPDXGroups&) = delete;
  PPDXGroups& operator=(const PPDXGroups&) = delete;

  void Add(PPDXGroup* group);

  // The groups the document's display option lets through, one cursor for both.
  PPDXGroup* First();
  PPDXGroup* Next();

  // Every group, hidden or not, from the start (the first one added, of several with
  // the keyword); the cursor is left alone, so the document can look parents up while
  // it walks.
  PPDXGroup* Find(const char* keyword, const bool& exact);

  // The groups First and Next would visit under the current display option.
  unsigned long Count();
  // Under an unknown display option nothing counts as shown.
  bool Empty() const;

  // The count, then each group, as kGroupList places them.
  short Save(Settings& settings);

 private:
  PointerList mGroups;
  PointerListItr mCursor;
  // The parser looks a group up by its exact keyword for every control it places, and
  // a large document has hundreds of groups. The keys view the groups' own keywords,
  // which never change.
  std::unordered_map<std::string_view, PPDXGroup*> mFirstByKeyword;
};
