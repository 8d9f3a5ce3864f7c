#pragma once
// Choices kept off the command line, where every local user reads them: the
// KEY=VALUE lines of a file (--secrets; blank lines and lines beginning with
// "#" aside) and answers typed on the terminal without echo (--ask), which
// follow the -o choices; and a print server job's options (--job-options,
// the filter's), KEY=VALUE records each ended by a NUL byte, so that a value
// may hold any other byte. Each file must be the user's own regular file,
// not a link, that group and others can neither read nor write, of at most
// kMaximumFileSize bytes. No message repeats a line, a record or an answer.

#include <string>
#include <utility>
#include <vector>

#include "PrintArguments.h"
#include "PrintFailure.h"

class SecretInput {
 public:
  using Choice = std::pair<std::string, std::string>;

  static constexpr size_t kMaximumFileSize = 64 * 1024;

  // Adds the secrets file's choices, then the answers, to the -o choices,
  // and the job options file's to the job's options. A file refused, a line
  // or record that is not KEY=VALUE or no terminal to ask on is
  // kExitBadInput.
  static PrintFailure Gather(PrintArguments& arguments);

 private:
  // The file's choices, the file held to the rules above and its entries
  // ended by `end`; `option` names the switch that gave it and `name` the
  // file in messages ("--secrets", "the secrets file").
  static PrintFailure ReadFile(const std::string& path, const std::string& option,
                               const std::string& name, char end, std::vector<Choice>& choices);
  // The choices of a text of lines or of records, each ended by `end`
  // (blank ones and those beginning with "#" aside).
  static PrintFailure ParseEntries(const std::string& name, const std::string& text, char end,
                                   std::vector<Choice>& choices);
  static PrintFailure Ask(const std::vector<std::string>& keys, std::vector<Choice>& choices);
};
