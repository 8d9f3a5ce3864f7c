#include "SecretInput.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TerminalPrompt.h"

namespace {

constexpr mode_t kOpenToOthers = S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH;

bool IsPrivateFile(const struct stat& status) {
  return S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
         (status.st_mode & kOpenToOthers) == 0;
}

// At most `limit` + 1 bytes, so that a longer file shows as one.
bool ReadBounded(int fd, size_t limit, std::string& text) {
  text.assign(limit + 1, '\0');
  size_t filled = 0;
  ssize_t length = 0;
  while (filled < text.size() && ((length = read(fd, &text[filled], text.size() - filled)) > 0 ||
                                  (length == -1 && errno == EINTR)))
    if (length > 0) filled += size_t(length);
  text.resize(filled);
  return length != -1;
}

}  // namespace

PrintFailure SecretInput::Gather(PrintArguments& arguments) {
  std::vector<Choice> secrets;
  PrintFailure failure;
  if (!arguments.mSecretsFile.empty())
    failure = ReadFile(arguments.mSecretsFile, "--secrets", "the secrets file", '\n', secrets);
  if (!failure.Failed() && !arguments.mAskedKeys.empty())
    failure = Ask(arguments.mAskedKeys, secrets);
  if (!failure.Failed() && !arguments.mJobOptionsFile.empty())
    failure = ReadFile(arguments.mJobOptionsFile, "--job-options", "the job options file", '\0',
                       arguments.mJobOptions);
  if (failure.Failed()) return failure;
  arguments.mOptions.insert(arguments.mOptions.end(), secrets.begin(), secrets.end());
  return PrintFailure::None();
}

PrintFailure SecretInput::ReadFile(const std::string& path, const std::string& option,
                                   const std::string& name, char end,
                                   std::vector<Choice>& choices) {
  const std::string refused = option +
                              " needs a regular file of yours, not a link, that group and "
                              "others cannot read or write (chmod 600): " +
                              path;
  // Not blocking: a pipe in its place must not hold the run up before it is refused.
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd == -1)
    return PrintFailure::BadInput(errno == ELOOP ? refused : "cannot open " + name + " " + path);
  struct stat status;
  std::string text;
  PrintFailure failure;
  if (fstat(fd, &status) != 0 || !IsPrivateFile(status))
    failure = PrintFailure::BadInput(refused);
  else if (!ReadBounded(fd, kMaximumFileSize, text))
    failure = PrintFailure::BadInput("cannot read " + name + " " + path);
  else if (text.size() > kMaximumFileSize)
    failure = PrintFailure::BadInput(name + " " + path + " is larger than " +
                                     std::to_string(kMaximumFileSize) + " bytes");
  close(fd);
  return failure.Failed() ? failure : ParseEntries(name + " " + path, text, end, choices);
}

PrintFailure SecretInput::ParseEntries(const std::string& name, const std::string& text, char end,
                                       std::vector<Choice>& choices) {
  size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    size_t stop = text.find(end, start);
    if (stop == std::string::npos) stop = text.size();
    const std::string entry = text.substr(start, stop - start);
    start = stop + 1;
    const size_t first = entry.find_first_not_of(" \t");
    if (first == std::string::npos || entry[first] == '#') continue;
    Choice choice;
    if (entry.find('\0') != std::string::npos || !PrintArguments::ParseChoice(entry, choice))
      return PrintFailure::BadInput(name + ": " + (end == '\n' ? "line " : "record ") +
                                    std::to_string(number) + " is not KEY=VALUE");
    choices.push_back(choice);
  }
  return PrintFailure::None();
}

PrintFailure SecretInput::Ask(const std::vector<std::string>& keys, std::vector<Choice>& choices) {
  TerminalPrompt prompt;
  if (!prompt.IsOpen())
    return PrintFailure::BadInput("--ask needs a terminal to ask on, and there is none");
  for (const std::string& key : keys) {
    Choice choice{key, ""};
    PrintFailure failure = prompt.Ask(key + " (not shown): ", choice.second);
    if (failure.Failed()) return PrintFailure::BadInput("--ask " + key + ": " + failure.mMessage);
    choices.push_back(choice);
  }
  return PrintFailure::None();
}
