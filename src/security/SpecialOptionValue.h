#pragma once
// The fixed settings of the controller that steer the job-note output, read
// from the document's special options by keyword.

class ZPXPPD;

// The value of the special option with exactly that keyword; null without a
// document or such an option.
const char* SpecialOptionValue(ZPXPPD* document, const char* keyword);
// Whether that special option exists and its value is exactly `value`.
bool SpecialOptionIs(ZPXPPD* document, const char* keyword, const char* value);
