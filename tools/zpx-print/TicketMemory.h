#pragma once
// A printer's tickets kept between runs in
// <config folder>/zpx-print/<printer name, percent-encoded>.plist (0600),
// replaced by a rename so that a reader never sees half a file. What the
// next run must not find there (PINs and passwords, installable options) is
// taken out of the option values first.

#include <string>
#include <vector>

#include "cf/CFRef.h"
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
  // The keys of the option values under `valuesKey` in the print settings
  // ticket that Save leaves out.
  void LeaveOut(CFStringRef valuesKey, const std::vector<std::string>& keys);
  // False, with nothing written, when the values cannot be left out.
  bool Save(PMPrintSession session) const;

  static std::string PercentEncoded(const std::string& name);

 private:
  bool RemoveLeftOut(PMPrintSession session) const;

  std::string mPath;
  CFRef<CFStringRef> mValuesKey;
  std::vector<std::string> mLeftOut;
};
