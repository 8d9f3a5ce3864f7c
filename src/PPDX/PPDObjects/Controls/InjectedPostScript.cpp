#include "PPDX/PPDObjects/Controls/InjectedPostScript.h"

#include <cstdlib>

#include "PPDX/PPDObjects/PPDXControl.h"

InjectedPostScript::~InjectedPostScript() { Clear(); }

void InjectedPostScript::Clear() {
  std::free(mBytes);
  mBytes = nullptr;
  mLength = 0;
}

long InjectedPostScript::Snippet(PPDXControl& control, const char* valueText, unsigned char* out) {
  if (control.Keyword() == nullptr) return 0;
  if (mBytes == nullptr) Inject(control, valueText);
  return control.GeneratePSOutputData(out, mBytes, mLength, valueText, true);
}

void InjectedPostScript::Inject(PPDXControl& control, const char* valueText) {
  // The template is the control's own code, which the kind's PostScript replaces.
  const long templateLength = control.PPDXControl::PostScript(nullptr);
  if (templateLength < 1) return;
  auto* templateCopy = static_cast<unsigned char*>(std::malloc(size_t(templateLength)));
  if (templateCopy == nullptr) return;
  control.PPDXControl::PostScript(templateCopy);
  mLength = control.Inject(control.Keyword(), templateCopy, templateLength, valueText, mBytes);
  std::free(templateCopy);
}
