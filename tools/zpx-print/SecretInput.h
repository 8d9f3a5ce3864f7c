#pragma once
// Choices kept off the command line, where every local user reads them: the
// KEY=VALUE lines of a file (--secrets; blank lines and lines beginning with
// "#" aside) that must be the user's own regular file, not a link, that group
// and others can neither read nor write, of at most kMaximumFileSize bytes;
// and answers typed on the terminal without echo (--ask). They follow the -o
// choices. No message repeats a line or an answer.

#include <string>
#include <utility>
#include <vector>

#include "PrintArguments.h"
#include "PrintFailure.h"

class SecretInput {
 public:
  using Choice = std::pair<std::string, std::string>;

  static constexpr size_t kMaximumFileSize = 64 * 1024;

  // Adds the file's choices, then the answers, to the -o choices. A file
  // refused, a line that is not KEY=VALUE or no terminal to ask on is
  // kExitBadInput.
  static PrintFailure Gather(PrintArguments& arguments);

 private:
  static PrintFailure ReadFile(const std::string& path, std::vector<Choice>& choices);
  static PrintFailure ParseLines(const std::string& path, const std::string& text,
                                 std::vector<Choice>& choices);
  static PrintFailure Ask(const std::vector<std::string>& keys, std::vector<Choice>& choices);
};
