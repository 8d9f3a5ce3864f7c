#pragma once
// The choices of a run, checked on a model of the PPD as the dialog would see
// them. The remembered values come first, each held to the PPD of this run: a
// value for an option the PPD no longer has, for one a user does not set
// (installable options come from the PPD or the queue), that the option does
// not take, that does not decrypt or that the constraints now forbid is
// forgotten with a line naming it; secret notes (Password or Encrypt flags)
// are never taken from them. A job's own options follow (in the print
// server's forms, ServerOptionValue), then the -o choices:
// each option must exist, be one a user sets (not an installable or special
// option), take the value (and read it back), and no choice may be one the
// constraints forbid under the final selections; the job's options naming no
// option a user sets are ignored. A file destination needs its path. No
// message repeats a note's text. A refusal names both sides of the constraint
// it breaks, and says when the other side was remembered from an earlier run
// (--forget drops it); an installable option given here is named with the
// queue's command that sets it.

#include <string>
#include <utility>
#include <vector>

#include "PrintFailure.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"

class PPDXControl;
class ZPXPPD;

class OptionChoices {
 public:
  using Choice = std::pair<std::string, std::string>;

  // `queue` names the print server's queue in the messages; "" for a PPD file.
  explicit OptionChoices(const std::string& queue = "") : mQueue(queue) {}

  // A choice the PPD refuses is kExitBadInput.
  PrintFailure Check(const std::string& ppdPath, CFDictionaryRef remembered,
                     const std::vector<Choice>& jobOptions, const std::vector<Choice>& choices);

  // After a successful Check, every option's value.
  CFDictionaryRef Values() const { return mValues.get(); }
  // One line for each remembered value forgotten, in the order of the keys.
  const std::vector<std::string>& Forgotten() const { return mForgotten; }
  // The keys of Values() never kept for another run: the secret notes' and
  // the installable options'.
  const std::vector<std::string>& NeverRemembered() const { return mNeverRemembered; }

 private:
  // The controls whose remembered values were taken.
  std::vector<PPDXControl*> Restore(ZPXPPD& document, CFDictionaryRef remembered);
  // The control whose remembered value was taken, or null.
  PPDXControl* RestoreValue(ZPXPPD& document, const std::string& key, CFTypeRef value);
  // The option a user sets under the choice's key, or null with `failure`
  // saying why not.
  PPDXControl* UserOption(ZPXPPD& document, const Choice& choice, PrintFailure& failure) const;
  void ListNeverRemembered(ZPXPPD& document);

  std::string mQueue;
  CFRef<CFDictionaryRef> mValues;
  std::vector<std::string> mForgotten;
  std::vector<std::string> mNeverRemembered;
};
