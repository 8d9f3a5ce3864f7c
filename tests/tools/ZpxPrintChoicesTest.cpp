// zpx-print's choices: secrets (PINs and passwords) serve only the job they
// are given for and come from a private file or the terminal without echo, a
// print server job's options from a private file of records;
// no message repeats a note's text; remembered values are held to the PPD of
// each run; a file destination needs its path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <string>
#include <utility>

#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "support/CommandRun.h"
#include "support/FileText.h"
#include "support/ParsedDocument.h"
#include "support/PrintHome.h"
#include "support/PrintJobFiles.h"
#include "support/ShellStart.h"
#include "support/ToolRun.h"

namespace {

const std::string kSample = "--ppd '" + kSamplePPD + "' ";
// The sample's notes flagged Password or Encrypt.
const char* const kSecretKeys[] = {"*ZPSecurePIN", "*ZPAccount", "*DeptPassword", "*ZPUserAuthPwd",
                                   "*ZPUserPassword"};

// The note's text sealed as the option values keep it.
std::string SealedValue(const std::string& key, const std::string& text) {
  std::unique_ptr<ZPXPPD> document = ParseFile(kSamplePPD);
  CFStringRef keyText = CreateText(key);
  auto* note = dynamic_cast<PPDXJobNote*>(document->GetPPDXControlForKey(keyText));
  CFRelease(keyText);
  if (note == nullptr || !note->SetNotes(text.c_str())) return "<no note " + key + ">";
  return Value(*document, key);
}

// The job's feature line of the option, "" without one.
std::string FeatureLine(const std::string& job, const std::string& key) {
  std::smatch found;
  return std::regex_search(job, found, std::regex("%%BeginFeature: \\" + key + " [^\n]*"))
             ? found.str()
             : "";
}

// The PIN 4321's feature line when -o gives it.
std::string GivenPinLine(const PrintHome& home) {
  return FeatureLine(home.Run(kSample + "--forget -o ZPSecurePIN=4321").output, "*ZPSecurePIN");
}

// The remembered value of the key made `value`, as a tickets file holds it.
void Remember(const PrintHome& home, const std::string& key, const std::string& value) {
  const std::string entry = "<key>\\" + key + "</key>\\s*<string>[^<]*</string>";
  std::string text = std::regex_replace(FileText(home.TicketsFile()), std::regex(entry), "");
  // Ahead of the first option's value.
  text.insert(text.find("<key>*"), "<key>" + key + "</key><string>" + value + "</string>");
  home.Write("config/zpx-print/ZPX-Sample.plist", text);
}

std::string PrivateFile(const PrintHome& home, const std::string& name, const std::string& text) {
  const std::string path = home.Write(name, text);
  chmod(path.c_str(), 0600);
  return path;
}

bool EchoIsOn(int terminal) {
  struct termios settings;
  return tcgetattr(terminal, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}

// zpx-print in a session of its own whose controlling terminal is a new
// pseudo-terminal; the test holds both ends.
class TerminalPrint {
 public:
  TerminalPrint(const PrintHome& home, const std::string& arguments) {
    mMaster = posix_openpt(O_RDWR | O_NOCTTY);
    if (mMaster == -1 || grantpt(mMaster) != 0 || unlockpt(mMaster) != 0) return;
    const std::string terminal = ptsname(mMaster);
    mSlave = open(terminal.c_str(), O_RDWR | O_NOCTTY);
    // Opened in the new session, the terminal becomes its controlling one.
    ShellStreams streams;
    streams.Open(STDIN_FILENO, terminal, O_RDWR).Null(STDOUT_FILENO);
    mChild = StartShellCommand("exec env " + home.Command(arguments), streams, POSIX_SPAWN_SETSID);
  }
  ~TerminalPrint() {
    if (mChild > 0) {
      kill(mChild, SIGKILL);
      waitpid(mChild, nullptr, 0);
    }
    if (mSlave != -1) close(mSlave);
    if (mMaster != -1) close(mMaster);
  }

  // What the terminal shows, read until it shows `part` or for ten seconds.
  bool ShowsWithin(const std::string& part) {
    for (int waits = 0; !Has(mShown, part) && waits < 100; ++waits) ReadShown(100);
    return Has(mShown, part);
  }
  void Type(const std::string& keys) {
    EXPECT_EQ(write(mMaster, keys.data(), keys.size()), ssize_t(keys.size()));
  }
  // The status waitpid gives.
  int Wait() {
    int status = -1;
    waitpid(mChild, &status, 0);
    mChild = -1;
    while (ReadShown(0)) {
    }
    return status;
  }
  pid_t Child() const { return mChild; }
  int Terminal() const { return mSlave; }
  const std::string& Shown() const { return mShown; }

 private:
  // False when nothing came within the milliseconds.
  bool ReadShown(int milliseconds) {
    char buffer[256];
    struct pollfd ready = {mMaster, POLLIN, 0};
    ssize_t length = poll(&ready, 1, milliseconds) == 1 ? read(mMaster, buffer, sizeof buffer) : 0;
    if (length > 0) mShown.append(buffer, size_t(length));
    return length > 0;
  }

  int mMaster = -1;
  int mSlave = -1;
  pid_t mChild = -1;
  std::string mShown;
};

}  // namespace

TEST(ZpxPrintChoices, SecretsServeTheOneJobTheyAreGivenForAndAreNeverKept) {
  PrintHome home;
  CommandRun run = home.Run(
      kSample + "-o ZPSecurePIN=4321 -o DeptPassword=98765 -o ZPNote=Kept -o ZPDuplex=Top");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_NE(FeatureLine(run.output, "*ZPSecurePIN"), "");
  std::string kept = FileText(home.TicketsFile());
  for (const char* key : kSecretKeys)
    EXPECT_FALSE(Has(kept, std::string("<key>") + key + "<")) << key;
  for (const std::string& secret :
       {std::string("4321"), std::string("98765"), SealedValue("*ZPSecurePIN", "4321"),
        SealedValue("*DeptPassword", "98765")})
    EXPECT_FALSE(Has(kept, secret)) << secret;
  // Other notes and options are kept as they were.
  EXPECT_TRUE(Has(kept, SealedValue("*ZPNote", "Kept")));

  run = home.Run(kSample);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(FeatureLine(run.output, "*ZPSecurePIN"), "");
  EXPECT_TRUE(Has(run.output, "*ZPDuplex Top"));

  // A PIN found in the file is neither sent nor kept again.
  Remember(home, "*ZPSecurePIN", SealedValue("*ZPSecurePIN", "4321"));
  run = home.Run(kSample);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(FeatureLine(run.output, "*ZPSecurePIN"), "");
  EXPECT_FALSE(Has(FileText(home.TicketsFile()), SealedValue("*ZPSecurePIN", "4321")));
}

TEST(ZpxPrintChoices, RememberedValuesTheCurrentPPDRefusesAreForgottenEachWithALine) {
  PrintHome home;
  ASSERT_EQ(home.Run(kSample + "-o ZPMediaType=Coated").status, 0);
  Remember(home, "*ZPOptionalFinisher", "Stapler");
  Remember(home, "*ZPStapler", "TopLeft");
  Remember(home, "*ZPDuplex", "Sideways");
  CommandRun run = home.Run(kSample);
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(LineCount(run.errors), 3) << run.errors;
  for (const char* named : {"*ZPOptionalFinisher", "*ZPStapler TopLeft", "*ZPDuplex"})
    EXPECT_TRUE(Has(run.errors, named)) << run.errors;
  // The PPD's values, and the stapling the missing finisher forbids nowhere.
  EXPECT_TRUE(Has(run.output, "*ZPOptionalFinisher None"));
  EXPECT_TRUE(Has(run.output, "*ZPDuplex False"));
  EXPECT_FALSE(Has(run.output, "TopLeft"));
  EXPECT_TRUE(Has(run.output, "*ZPMediaType Coated"));
  EXPECT_FALSE(Has(FileText(home.TicketsFile()), "<key>*ZPOptionalFinisher<"));

  run = home.Run(kSample);
  EXPECT_EQ(run.errors, "");
}

// One line that says why and what to do: both sides of the constraint, and
// --forget where the other side was remembered; a range's bounds; where an
// installable option is set.
TEST(ZpxPrintChoices, ARefusedChoiceIsNamedWithWhatForbidsIt) {
  PrintHome home;
  const std::pair<std::string, std::string> refusals[] = {
      {"-o ZPStapler=TopLeft", "*ZPStapler TopLeft conflicts with *ZPOptionalFinisher None"},
      {"-o ZPMediaType=Transparency -o ZPDuplex=Top",
       "*ZPMediaType Transparency conflicts with *ZPDuplex Top"},
      {"-o ZPOptionalFinisher=Stapler",
       "*ZPOptionalFinisher is installable, not a job's choice: it is set on the queue "
       "(lpadmin -p QUEUE -o ZPOptionalFinisher=Stapler) or in the PPD"},
      {"-o ZPScale=401", "*ZPScale takes 25 to 400"},
      {"-o ZPBookletGap=20.5", "*ZPBookletGap takes 0 to 20"}};
  for (const auto& [choices, message] : refusals) {
    CommandRun run = home.Run(kSample + choices);
    EXPECT_EQ(run.status, 2) << choices;
    EXPECT_EQ(run.errors, "zpx-print: " + message + "\n");
    EXPECT_EQ(run.output, "") << choices;
  }

  ASSERT_EQ(home.Run(kSample + "-o ZPMediaType=Transparency").status, 0);
  CommandRun blocked = home.Run(kSample + "-o ZPDuplex=Top");
  EXPECT_EQ(blocked.status, 2);
  EXPECT_EQ(blocked.errors,
            "zpx-print: *ZPDuplex Top conflicts with *ZPMediaType Transparency, remembered from an "
            "earlier "
            "run (--forget drops the remembered choices)\n");
  // Given again, the other side is this job's choice.
  EXPECT_EQ(home.Run(kSample + "-o ZPDuplex=Top -o ZPMediaType=Transparency").errors,
            "zpx-print: *ZPDuplex Top conflicts with *ZPMediaType Transparency\n");
  EXPECT_EQ(home.Run(kSample + "--forget -o ZPDuplex=Top").status, 0);
}

TEST(ZpxPrintChoices, ARefusedOrUnreadableNoteIsNamedWithItsRuleNeverItsText) {
  PrintHome home;
  const std::pair<std::string, std::string> refusals[] = {
      {"ZPSecurePIN=31x9", "*ZPSecurePIN takes digits only"},
      {"DeptPassword=387", "*DeptPassword needs 4 to 8 digits"},
      {"ZPNote=Note,27x", "*ZPNote takes letters, digits and spaces only"}};
  for (const auto& [choice, rule] : refusals) {
    CommandRun run = home.Run(kSample + "-o '" + choice + "'");
    EXPECT_EQ(run.status, 2) << choice;
    EXPECT_EQ(run.errors, "zpx-print: " + rule + "\n");
  }
  // The print server's filter passes the same line on.
  CommandRun filtered = RunCommand("PPD='" + kSamplePPD + "' TMPDIR='" + home.Path() +
                                   "/tmp' '" ZPX_FILTER "' 12 ann Report 1 'ZPSecurePIN=31x9' '" +
                                   kSampleDocument + "'");
  EXPECT_EQ(filtered.status, 1);
  EXPECT_EQ(filtered.errors.rfind("ERROR: ", 0), 0u) << filtered.errors;
  EXPECT_TRUE(Has(filtered.errors, "*ZPSecurePIN") && !Has(filtered.errors, "31x9"))
      << filtered.errors;

  // A remembered note that does not decrypt.
  ASSERT_EQ(home.Run(kSample + "-o ZPNote=Kept").status, 0);
  Remember(home, "*ZPNote", "AAAAAAAAAAAAAAAAAAAAAA==");
  CommandRun run = home.Run(kSample);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
  EXPECT_EQ(run.errors.rfind("zpx-print: ", 0), 0u) << run.errors;
  EXPECT_TRUE(Has(run.errors, "*ZPNote") && Has(run.errors, "decrypt")) << run.errors;
}

TEST(ZpxPrintChoices, SecretsComeFromTheUsersOwnPrivateFile) {
  PrintHome home;
  const std::string pinLine = GivenPinLine(home);
  const std::string lines = "# the PIN of the secure tray\n\nZPSecurePIN=4321\n  \n";
  const std::string good = PrivateFile(home, "secrets", lines);
  CommandRun run = home.Run(kSample + "--secrets '" + good + "'");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(FeatureLine(run.output, "*ZPSecurePIN"), pinLine);

  const std::string link = home.Path() + "/link";
  std::filesystem::create_symlink(good, link);
  const std::string shared = home.Write("shared", lines);
  chmod(shared.c_str(), 0640);
  for (const std::string& refused : {shared, link, home.Path(), home.Path() + "/missing",
                                     PrivateFile(home, "large", std::string(70000, '#')),
                                     PrivateFile(home, "bad", "ZPSecurePIN 4321\n")}) {
    run = home.Run(kSample + "--secrets '" + refused + "'");
    EXPECT_EQ(run.status, 2) << refused;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, refused) && !Has(run.errors, "4321")) << run.errors;
    EXPECT_EQ(run.output, "");
  }
}

// The filter's: a print server job's options, in a file as private as the secrets.
TEST(ZpxPrintChoices, AJobsOptionsComeFromAPrivateFileOfRecords) {
  PrintHome home;
  const std::string pinLine = GivenPinLine(home);
  using namespace std::string_literals;
  const std::string records = "ZPSecurePIN=4321\0ZPDuplex=Top\0job-uuid=urn:uuid:1\0"s;
  const std::string good = PrivateFile(home, "options", records);
  CommandRun run = home.Run(kSample + "--job-options '" + good + "'");
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(FeatureLine(run.output, "*ZPSecurePIN"), pinLine);
  EXPECT_TRUE(Has(run.output, "%%BeginFeature: *ZPDuplex Top"));

  const std::string shared = home.Write("shared", records);
  chmod(shared.c_str(), 0640);
  const std::string link = home.Path() + "/options-link";
  std::filesystem::create_symlink(good, link);
  struct Case {
    std::string file;
    std::string named;
  };
  for (const Case& bad : std::initializer_list<Case>{
           {shared, "--job-options needs a regular file of yours"},
           {link, "--job-options needs a regular file of yours"},
           {PrivateFile(home, "unnamed", "ZPDuplex=Top\0ZPDuplex\0"s), "record 2"},
           // A line end in a value does not begin another option.
           {PrivateFile(home, "lines", "Notes1=Proof\nZPDuplex=Top\0"s), "*Notes1 takes"},
       }) {
    run = home.Run(kSample + "--job-options '" + bad.file + "'");
    EXPECT_EQ(run.status, 2) << bad.file;
    EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
    EXPECT_TRUE(Has(run.errors, bad.named)) << run.errors;
    EXPECT_EQ(run.output, "");
  }
}

TEST(ZpxPrintChoices, AskedSecretsAreTypedWithoutEchoAndTheEchoComesBackWhateverEnds) {
  PrintHome home;
  const std::string pinLine = GivenPinLine(home);
  const std::string job = home.Path() + "/asked.ps";
  const std::string asking =
      kSample + "--ask ZPSecurePIN --output '" + job + "' '" + kSampleDocument + "'";
  {
    TerminalPrint print(home, asking);
    ASSERT_GT(print.Child(), 0);
    ASSERT_TRUE(print.ShowsWithin("*ZPSecurePIN")) << print.Shown();
    EXPECT_FALSE(EchoIsOn(print.Terminal()));
    print.Type("4321\n");
    const int status = print.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(Has(print.Shown(), "4321")) << print.Shown();
    EXPECT_TRUE(EchoIsOn(print.Terminal()));
    EXPECT_EQ(FeatureLine(FileText(job), "*ZPSecurePIN"), pinLine);
  }
  {
    TerminalPrint print(home, asking);
    ASSERT_TRUE(print.ShowsWithin("*ZPSecurePIN")) << print.Shown();
    kill(print.Child(), SIGTERM);
    const int status = print.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(EchoIsOn(print.Terminal()));
  }
  // Without a terminal to ask on.
  CommandRun run = RunCommand("setsid -w env " + home.Command(kSample + "--ask ZPSecurePIN") +
                              " < '" + kSampleDocument + "'");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
  EXPECT_TRUE(Has(run.errors, "--ask") && Has(run.errors, "terminal")) << run.errors;
  EXPECT_EQ(run.output, "");
}

TEST(ZpxPrintChoices, AFileDestinationWithoutItsPathIsRefusedAtOnce) {
  PrintHome home;
  CommandRun run = home.Run(kSample + "-o ZPDestination=File");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(LineCount(run.errors), 1) << run.errors;
  EXPECT_TRUE(Has(run.errors, "zpx-print: ") && Has(run.errors, "*ZPMailboxName")) << run.errors;
  EXPECT_EQ(run.output, "");
  EXPECT_FALSE(std::filesystem::exists(home.TicketsFile()));
}
