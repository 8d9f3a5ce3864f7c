#pragma once
// A printer's tickets kept between runs in
// <config folder>/zpx-print/<printer name, percent-encoded>.plist (0600),
// replaced by a rename so that a reader never sees half a file.

#include <string>

#include "print/PMPrintSession.h"

class TicketMemory {
 public:
  explicit TicketMemory(const std::string& printerName);

  // "" without a config folder: nothing is remembered.
  const std::string& Path() const { return mPath; }
  void Forget() const;
  // Puts the remembered tickets into the session. A file that cannot be read
  // changes nothing and gives a warning; none gives "".
  std::string Load(PMPrintSession session) const;
  bool Save(PMPrintSession session) const;

  static std::string PercentEncoded(const std::string& name);

 private:
  std::string mPath;
};
