// The options and emit commands: the document as a user sees it and as the
// job carries it.

#include <algorithm>
#include <cstdio>
#include <string>

#include "PPDX/PPDObjects/Controls/PPDXBooleanControl.h"
#include "PPDX/PPDObjects/Controls/PPDXCustomPageSizeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXFloatRangeControl.h"
#include "PPDX/PPDObjects/Controls/PPDXJobNote.h"
#include "PPDX/PPDObjects/Controls/PPDXPopupControl.h"
#include "PPDX/PPDObjects/Controls/PPDXRangeControl.h"
#include "PPDX/PPDObjects/PPDXControls.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "foundation/CString.h"

namespace zpxtool {
namespace {

// The document of FILE with the -o values set; null (after saying why, with
// `status` set) when it cannot be had.
std::unique_ptr<ZPXPPD> PreparedDocument(int argc, char** argv, const char* usage, int& status) {
  status = kExitPPD;
  if (argc < 1 || argc % 2 == 0) {
    status = Usage(usage);
    return nullptr;
  }
  std::unique_ptr<ZPXPPD> document = ParseDocument(argv[0]);
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
  int status;
  std::unique_ptr<ZPXPPD> document =
      PreparedDocument(argc, argv, "options FILE [-o KEY=VALUE ...]", status);
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
    PrintOption(*document, *control);
    shown = true;
  }
  ZPXPPD::Options(saved);
  // A PPD without the maker's keywords places no option where the dialog looks.
  if (!shown) std::printf("no options the extension shows\n");
  return kExitPPD;
}

int Emit(int argc, char** argv) {
  int status;
  std::unique_ptr<ZPXPPD> document =
      PreparedDocument(argc, argv, "emit FILE [-o KEY=VALUE ...]", status);
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
