// The options and emit commands: the document as a user sees it and as the
// job carries it.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/UserChoice.h"
#include "PPDX/ZPXPPD.h"
#include "ServedPPD.h"
#include "Tool.h"
#include "foundation/CString.h"

namespace zpxtool {
namespace {

// The document of FILE, or of the PPD that "--printer QUEUE" serves (fetched
// into `served`), with the -o values set; null (after saying why, with `status`
// set) when it cannot be had.
std::unique_ptr<ZPXPPD> PreparedDocument(int argc, char** argv, const char* usage,
                                         ServedPPD& served, int& status) {
  status = kExitPPD;
  const bool fromQueue = argc >= 2 && std::strcmp(argv[0], "--printer") == 0;
  if (fromQueue) {
    --argc;
    ++argv;
  }
  if (argc < 1 || argc % 2 == 0) {
    status = Usage(usage);
    return nullptr;
  }
  if (fromQueue) {
    const std::string failure = served.Fetch(argv[0]);
    if (!failure.empty()) {
      // The failure names the queue; the server's part is the network's text.
      std::fprintf(stderr, "%s: %s\n", kTool, Printable(failure.c_str()).c_str());
      status = kExitNotPPD;
      return nullptr;
    }
  }
  std::unique_ptr<ZPXPPD> document = ParseDocument(fromQueue ? served.Path().c_str() : argv[0]);
  if (!document) {
    status = kExitNotPPD;
    return nullptr;
  }
  if (!document->IsValidPPD()) {
    status = Fail(argv[0], "not a valid PPD (see zpx-ppd check)");
    return nullptr;
  }
  status = ApplyOptions(*document, argc - 1, argv + 1);
  if (status != kExitPPD) return nullptr;
  return document;
}

void PrintChoice(ZPXPPD& document, const char* key, const char* choice, bool current) {
  std::printf(" %s%s%s", current ? "*" : "", document.IsKVConstrained(key, choice) ? "!" : "",
              Printable(choice).c_str());
}

void PrintPopup(ZPXPPD& document, PPDXPopupControl& popup) {
  for (_PopupItem* item = popup.FirstItem(); item != nullptr; item = popup.NextItem()) {
    if (item->keyword != nullptr)
      PrintChoice(document, popup.Keyword(), *item->keyword, item->selected);
  }
}

void PrintBoolean(ZPXPPD& document, PPDXBooleanControl& control) {
  PrintChoice(document, control.Keyword(), "True", control.IsTrue());
  PrintChoice(document, control.Keyword(), "False", !control.IsTrue());
}

void PrintJobNote(PPDXJobNote& note) {
  const char* text = note.GetNotes();
  std::printf(" \"%s\" (%ld..%ld characters, flags 0x%lx)", Printable(text).c_str(),
              note.MinLength(), note.MaxLength(), static_cast<unsigned long>(note.Flags().Value()));
}

void PrintCustomSize(PPDXCustomPageSizeControl& size) {
  std::printf(" %gx%g (width %g..%g, height %g..%g)", size.GetWidth(), size.GetHeight(),
              size.MinWidth(), size.MaxWidth(), size.MinHeight(), size.MaxHeight());
}

// What -o takes for the option, one KEY=CHOICE line per choice (the key
// without its "*"); options whose value is typed (ranges, sizes, job notes)
// have one line with nothing after "=". A PIN or password is no -o's (it is
// asked for), installed equipment no job's: neither is listed.
void PrintKeyChoices(PPDXControl& control) {
  if (UserChoice::IsSecret(control) || UserChoice::IsInstallable(control)) return;
  const std::string key = Printable(control.Keyword() + (control.Keyword()[0] == '*' ? 1 : 0));
  std::vector<const char*> choices;
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) {
    for (_PopupItem* item = popup->FirstItem(); item != nullptr; item = popup->NextItem())
      if (item->keyword != nullptr) choices.push_back(*item->keyword);
  } else if (dynamic_cast<PPDXBooleanControl*>(&control) != nullptr) {
    choices = {"True", "False"};
  } else {
    choices = {""};
  }
  for (const char* choice : choices) std::printf("%s=%s\n", key.c_str(), Printable(choice).c_str());
}

void PrintOption(ZPXPPD& document, PPDXControl& control) {
  std::printf("%s/%s:", Printable(control.Keyword()).c_str(),
              Printable(control.UserName()).c_str());
  if (auto* popup = dynamic_cast<PPDXPopupControl*>(&control)) PrintPopup(document, *popup);
  if (auto* boolean = dynamic_cast<PPDXBooleanControl*>(&control)) PrintBoolean(document, *boolean);
  if (auto* range = dynamic_cast<PPDXRangeControl*>(&control))
    std::printf(" %ld (%ld..%ld step %ld)", range->GetValue(), range->MinVal(), range->MaxVal(),
                range->Increment());
  if (auto* range = dynamic_cast<PPDXFloatRangeControl*>(&control))
    std::printf(" %g (%g..%g step %g)", range->GetValue(), range->MinVal(), range->MaxVal(),
                range->Increment());
  if (auto* note = dynamic_cast<PPDXJobNote*>(&control)) PrintJobNote(*note);
  if (auto* size = dynamic_cast<PPDXCustomPageSizeControl*>(&control)) PrintCustomSize(*size);
  std::printf("\n");
}

}  // namespace

int Options(int argc, char** argv) {
  const bool keysOnly = argc >= 1 && std::strcmp(argv[0], "--keys") == 0;
  if (keysOnly) {
    --argc;
    ++argv;
  }
  int status;
  ServedPPD served;
  std::unique_ptr<ZPXPPD> document = PreparedDocument(
      argc, argv, "options [--keys] FILE|--printer QUEUE [-o KEY=VALUE ...]", served, status);
  if (!document) return status;
  // What the dialog shows: attached, visible options a user can set.
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ATTACHED_VISIBLE);
  PPDXControls* controls = document->GetControls();
  CNTL_TYPE type;
  bool shown = false;
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    if (type == CNTL_SPECIAL || control->Keyword() == nullptr) continue;
    if (keysOnly)
      PrintKeyChoices(*control);
    else
      PrintOption(*document, *control);
    shown = true;
  }
  ZPXPPD::Options(saved);
  // A PPD without the maker's keywords places no option where the dialog looks.
  if (!shown && !keysOnly) std::printf("no options the extension shows\n");
  return kExitPPD;
}

int Emit(int argc, char** argv) {
  int status;
  ServedPPD served;
  std::unique_ptr<ZPXPPD> document =
      PreparedDocument(argc, argv, "emit FILE|--printer QUEUE [-o KEY=VALUE ...]", served, status);
  if (!document) return status;
  _DISPLAY_OPTIONS_ saved = ZPXPPD::Options();
  ZPXPPD::Options(DISPLAY_ALL);
  PPDXControls* controls = document->GetControls();
  CNTL_TYPE type;
  for (PPDXControl* control = controls->First(type); control != nullptr;
       control = controls->Next(type)) {
    std::string code(size_t(std::max(0L, control->PostScript(nullptr))), '\0');
    if (!code.empty()) control->PostScript(reinterpret_cast<unsigned char*>(&code[0]));
    std::fwrite(code.data(), 1, code.size(), stdout);
  }
  ZPXPPD::Options(saved);
  return kExitPPD;
}

}  // namespace zpxtool
