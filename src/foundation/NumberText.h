#pragma once
// Checks of numbers typed as text, shared by the job-note output and the
// panel's fields.

// False exactly when some run of consecutive digits in the text is longer
// than maximumDigits; any other character ends a run. A null text has none.
bool validateRangeValues(const char* text, int maximumDigits);
