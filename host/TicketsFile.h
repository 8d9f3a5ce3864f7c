#pragma once
// A session's tickets kept in a file between runs, so that a host remembers a
// printer's choices. The file is an XML property list:
//   { "PMPrintSettingsTicket": T, "PMPrinterInfoTicket": T, "PMPageFormatTicket": T }
//   T = { "Type": string, "Items": [ { "Key": string, "Value": any,
//         "Creator": string, "Locked": boolean } ... ], "Tickets": [ T ... ] }
// Reading it is reading untrusted input: every length, count and depth is
// bounded, and a file that breaks the form changes nothing in the session.

#include "print/PMPrintSession.h"

class TicketsFile {
 public:
  static constexpr long kMaximumFileSize = 8L << 20;
  static constexpr long kMaximumItems = 100000;
  // Tickets inside tickets, counting the session's own as the first level.
  static constexpr int kMaximumDepth = 4;

  // Writes the file (replacing it; a symbolic link in its place is refused).
  // kPMInvalidPrintSession, memFullErr when the tickets hold a value that a
  // property list cannot carry, or the file's write error (ioErr, permErr).
  static OSStatus Save(PMPrintSession session, const char* path);
  // Replaces the session's tickets by the file's. fnfErr for a missing file,
  // kPMXMLParseError for one that is too large or no property list,
  // kPMInvalidTicket for a ticket of the wrong form, kPMInvalidItem for an
  // item of the wrong form.
  static OSStatus Load(PMPrintSession session, const char* path);
};
