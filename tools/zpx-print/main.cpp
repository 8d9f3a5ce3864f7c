// zpx-print: prints a PostScript document through the dialog extension as the
// print system would, headless or (--gui) in a print window, and writes the
// finished job (or submits it to a queue of the print server). Exit 0: job
// written; 1: no job made; 2: a bad command line or input, or no display;
// 3: the print server failed.

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>

#include "ExtensionHost.h"
#include "GuiHost.h"
#include "JobDelivery.h"
#include "OptionChoices.h"
#include "PrintArguments.h"
#include "PrinterDescription.h"
#include "PrinterSession.h"
#include "QueueList.h"
#include "QueuePrinter.h"
#include "SecretInput.h"
#include "ServerJobRule.h"
#include "TicketMemory.h"
#include "cf/CFRef.h"
#include "cf/CFText.h"
#include "host/InjectionDataFile.h"
#include "host/ProcessStart.h"
#include "host/ProgramVersion.h"
#include "host/RunFolder.h"
#include "paths/PlatformPaths.h"
#include "plugin/BundleFunctions.h"
#include "plugin/PDEIdentity.h"
#include "plugin/TextBuffer.h"

namespace {

#define kCreator CFSTR("zpx-print")

// One line, whatever the message holds.
void Say(const std::string& message) {
  std::string line;
  for (unsigned char c : message) line += c < 0x20 || c == 0x7f ? '?' : char(c);
  std::fprintf(stderr, "zpx-print: %s\n", line.c_str());
}

int Exit(const PrintFailure& failure) {
  if (failure.Failed()) Say(failure.mMessage);
  return failure.mExit;
}

// The path of the blocks' file that the extension named in the ticket.
bool DataFilePath(PrinterSession& session, CFStringRef identifier, std::string& path) {
  CFRef<CFStringRef> prefix(
      CFStringCreateWithCString(nullptr, pde::kPostscriptDataKeyPrefix, kCFStringEncodingUTF8));
  CFRef<CFMutableStringRef> key(CFStringCreateMutableCopy(nullptr, 0, prefix.get()));
  CFStringAppend(key.get(), identifier);
  CFStringRef value = nullptr;
  if (PMTicketGetCFString(session.Ticket(kPDE_PMPrintSettingsRef), kPMTopLevel, kPMTopLevel,
                          key.get(), &value) != noErr)
    return false;
  path = UTF8Text(value);
  // What stays in the ticket is what the next run starts from; the file is gone then.
  PMTicketReleaseItem(session.Ticket(kPDE_PMPrintSettingsRef), key.get());
  return !path.empty();
}

PrintFailure ReadBlocks(PrinterSession& session, CFStringRef identifier,
                        JobInjections& injections) {
  std::string path;
  if (!DataFilePath(session, identifier, path))
    return PrintFailure::NoJob("the extension left no PostScript data item");
  InjectionDataFile::Result result = InjectionDataFile::Read(path, injections);
  if (result != InjectionDataFile::kCannotOpen) unlink(path.c_str());
  if (result != InjectionDataFile::kRead)
    return PrintFailure::NoJob(InjectionDataFile::Describe(result));
  return PrintFailure::None();
}

// The -o choices on top of the remembered ones, stored where the extension
// restores them from; the page size they leave in `pageSize`. The memory is
// told which values it never keeps.
PrintFailure StoreChoices(PrinterSession& session, const PrintArguments& arguments,
                          const PrinterDescription& ppd, CFStringRef identifier,
                          TicketMemory& memory, CFRef<CFStringRef>& pageSize) {
  CFRef<CFStringRef> makeAndModel(CreateText(ppd.MakeAndModel()));
  CFRef<CFStringRef> key(CreatePrinterSettingsKey(identifier, makeAndModel.get()));
  PMTicketRef settings = session.Ticket(kPDE_PMPrintSettingsRef);
  CFDictionaryRef remembered = nullptr;
  PMTicketGetCFDictionary(settings, kPMTopLevel, kPMTopLevel, key.get(), &remembered);
  OptionChoices choices(arguments.mQueue);
  PrintFailure failure =
      choices.Check(ppd.CopyPath(), remembered, arguments.JobOptions(), arguments.mOptions);
  for (const std::string& line : choices.Forgotten()) Say(line);
  if (!failure.Failed() && arguments.mServerJob) failure = ServerJobRule::Check(choices.Values());
  if (failure.Failed()) return failure;
  memory.LeaveOut(key.get(), choices.NeverRemembered());
  if (PMTicketSetCFDictionary(settings, kCreator, key.get(), choices.Values(), false) != noErr)
    return PrintFailure::NoJob("cannot store the options in the ticket");
  CFTypeRef size = CFDictionaryGetValue(choices.Values(), CFSTR("*PageSize"));
  if (size != nullptr && CFGetTypeID(size) == CFStringGetTypeID())
    pageSize.reset(static_cast<CFStringRef>(CFRetain(size)));
  return PrintFailure::None();
}

// The extension refuses a printer its bundle does not list and answers only
// with a status: the list says why.
PrintFailure NotServed(const PrinterDescription& ppd) {
  const std::string reason =
      ppd.PCFileName().empty()
          ? "it names no *PCFileName"
          : "its *PCFileName \"" + ppd.PCFileName() + "\" is not in the bundle's printer list";
  return PrintFailure::NoJob("the extension does not serve this PPD: " + reason);
}

PrintFailure Print(const PrintArguments& arguments, const GuiHost& gui) {
  RunFolder folder;
  if (!folder.IsValid()) return PrintFailure::NoJob("cannot make a private folder");
  PlatformPaths::Redirect(PlatformPaths::kCompanionProgram, "");
  PrinterDescription ppd;
  QueuePrinter queue;
  const bool toQueue = !arguments.mQueue.empty();
  PrintFailure failure = toQueue ? queue.Open(arguments.mQueue, folder.Path(), ppd)
                                 : ppd.Copy(arguments.mPPD, folder.Path());
  if (failure.Failed()) return failure;
  const std::string printer =
      toQueue ? arguments.mQueue : PrinterDescription::PrinterNameOf(arguments.mPPD);
  TicketMemory memory(printer);
  if (arguments.mForget) memory.Forget();
  PrinterSession session;
  if (!session.IsValid() || !session.SetPrinter(printer, ppd))
    return PrintFailure::NoJob("cannot make the print session");
  std::string warning = memory.Load(session.Session());
  if (!warning.empty()) Say(warning);
  ExtensionHost host;
  if (!host.IsLoaded() || host.BundleIdentifier() == nullptr)
    return PrintFailure::NoJob("cannot load the dialog extension's bundle");
  CFRef<CFStringRef> pageSize;
  failure = StoreChoices(session, arguments, ppd, host.BundleIdentifier(), memory, pageSize);
  if (failure.Failed()) return failure;
  if (!session.SetJobItems(arguments, ppd, pageSize.get()))
    return PrintFailure::NoJob("cannot fill the session's tickets");
  std::unique_ptr<HostDialog> dialog = gui.NewDialog(printer);
  failure = host.Run(session.Session(), *dialog);
  if (failure.Failed() && !host.Serves(ppd.CopyPath())) failure = NotServed(ppd);
  JobInjections injections;
  if (!failure.Failed()) failure = ReadBlocks(session, host.BundleIdentifier(), injections);
  // A job for the queue waits in the run's folder unless --output names a file.
  PrintArguments delivery = arguments;
  const bool submit = toQueue && arguments.mOutput.empty();
  if (submit) delivery.mOutput = folder.Path() + "/job.ps";
  std::string copyWarning;
  if (!failure.Failed()) failure = JobDelivery::Deliver(delivery, injections, copyWarning);
  if (!copyWarning.empty()) Say(copyWarning);
  if (!failure.Failed() && submit) failure = queue.Submit(delivery.mOutput, arguments.JobName());
  // A print server's job remembers nothing: its home is the filter's scratch folder.
  if (!failure.Failed() && !arguments.mServerJob && !memory.Save(session.Session()))
    Say("cannot remember the choices in " + memory.Path());
  return failure;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ProcessStart::Prepare()) return kExitNoJob;
  PrintArguments arguments;
  PrintFailure failure = arguments.Parse(argc, argv);
  if (failure.Failed()) return Exit(failure);
  if (arguments.mHelp) return std::fputs(PrintArguments::kUsage, stdout) < 0 ? 1 : 0;
  if (arguments.mVersion) return ProgramVersion::Print("zpx-print");
  if (arguments.mList) return Exit(QueueList::Show());
  failure = SecretInput::Gather(arguments);
  if (failure.Failed()) return Exit(failure);
  GuiHost gui;
  if (arguments.mGui) failure = gui.OpenScreen();
  if (failure.Failed()) return Exit(failure);
  return Exit(Print(arguments, gui));
}
