#include "security/SpecialOptionValue.h"

#include <cstring>

#include "PPDX/PPDObjects/Controls/PPDXSpecialOption.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"

const char* SpecialOptionValue(ZPXPPD* document, const char* keyword) {
  if (document == nullptr || document->GetControls() == nullptr) return nullptr;
  PPDXSpecialOption* option = document->GetControls()->FindSpecialOption(keyword, true);
  return option != nullptr ? static_cast<const char*>(*option->GetValue()) : nullptr;
}

bool SpecialOptionIs(ZPXPPD* document, const char* keyword, const char* value) {
  const char* found = SpecialOptionValue(document, keyword);
  return found != nullptr && std::strcmp(found, value) == 0;
}
