#pragma once
// Mailbox lists as the controller reads them: runs of consecutive numbers are
// written as their first and last number joined by "-".

// Rewrites a comma-separated list of integers in place, in the given order: each run
// in which every number is one more than the one before becomes "first-last"
// ("1,2,3,5,7,8" becomes "1-3,5,7-8"). Empty pieces are skipped; a piece counts as
// the integer it begins with (blanks, sign and leading zeros absorbed; 0 without
// digits). The result is never longer than the list, whatever its length; a list
// without numbers becomes empty. Null is left alone.
void CompressCommaSeparatedListOfInts(char* list);
