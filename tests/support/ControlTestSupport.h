#pragma once
// Building blocks of the option-model tests: owned codes and flag lists as the
// parser hands them over, popup choices, a store carried through its flattened
// form, and a control's PostScript as text.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "carbon/MacMemory.h"
#include "foundation/CString.h"
#include "foundation/Settings.h"

// A malloc'd copy, as controls adopt their code; null for null.
inline unsigned char* Code(const char* text) {
  return text ? reinterpret_cast<unsigned char*>(strdup(text)) : nullptr;
}

inline PointerList FlagList(const std::vector<const char*>& words) {
  PointerList flags;
  for (const char* word : words) flags.PushBack(new CString(word));
  return flags;
}

struct Choice {
  const char* keyword;
  const char* name;  // may be null
  const char* code;  // may be null
};

inline PointerList Items(const std::vector<Choice>& choices) {
  PointerList items;
  for (const Choice& choice : choices) {
    auto* item = new _PopupItem;
    item->keyword = new CString(choice.keyword);
    if (choice.name != nullptr)
      item->name = CFStringCreateWithCString(nullptr, choice.name, kCFStringEncodingUTF8);
    item->psData = Code(choice.code);
    item->psLength = choice.code ? long(strlen(choice.code)) : 0;
    items.PushBack(item);
  }
  return items;
}

// The store rebuilt from its flattened block.
inline std::unique_ptr<Settings> Unflattened(Settings& settings) {
  char** flattened = nullptr;
  EXPECT_EQ(0, settings.GetSettingsHandle(&flattened));
  auto copy = std::make_unique<Settings>(flattened);
  DisposeHandle(flattened);
  return copy;
}

// The control's PostScript, checking that the size query and the fill agree.
inline std::string Emitted(PPDXControl& control) {
  std::vector<unsigned char> out(size_t(control.PostScript(nullptr)) + 1, 0xEE);
  EXPECT_EQ(long(out.size()) - 1, control.PostScript(out.data()));
  EXPECT_EQ(0xEE, out.back()) << "wrote past its size";
  return std::string(out.begin(), out.end() - 1);
}
