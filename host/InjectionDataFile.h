#pragma once
// The file in which a dialog extension hands its PostScript blocks to the
// print system: an XML property list, one array of alternating injection site
// numbers and data objects. The file comes from another program: it must be a
// regular file of this user that others cannot write, opened without following
// a link, and no larger than kMaximumSize.

#include <string>

#include "host/JobInjections.h"

class InjectionDataFile {
 public:
  static constexpr long kMaximumSize = 64L << 20;

  enum Result {
    kRead,
    kCannotOpen,  // missing, a link, or unreadable
    kNotOwnFile,  // not a regular file, another user's or writable by others
    kTooLarge,
    kMalformed,  // no property list, no array, odd length, wrong entry types
    kUnknownSite,
  };

  // Appends the entries to `injections`; on failure `injections` is unchanged.
  static Result Read(const std::string& path, JobInjections& injections);
  // A line of text that says what went wrong.
  static const char* Describe(Result result);
};
