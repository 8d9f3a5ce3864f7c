#pragma once
// The keywords of a collection's elements, in the order that walking it with
// its flat first/next functions gives them.

#include <string>
#include <vector>

template <class Collection, class Element>
std::vector<std::string> WalkedKeywords(Collection& collection, Element* (*first)(Collection*),
                                        Element* (*next)(Collection*)) {
  std::vector<std::string> keywords;
  for (Element* element = first(&collection); element != nullptr; element = next(&collection))
    keywords.push_back(element->Keyword());
  return keywords;
}
