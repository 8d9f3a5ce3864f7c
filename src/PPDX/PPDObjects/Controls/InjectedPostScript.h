#pragma once
// The snippet of a control whose own PostScript is a template: the value text is
// injected for every "<keyword>" on the first request after a change and kept, so
// that the size query and the fill that follows it produce the same bytes.

class PPDXControl;

class InjectedPostScript {
 public:
  InjectedPostScript() = default;
  ~InjectedPostScript();

  InjectedPostScript(const InjectedPostScript&) = delete;
  InjectedPostScript& operator=(const InjectedPostScript&) = delete;

  // Forgets the injected code; the next Snippet injects again.
  void Clear();
  // The control's framed snippet for the value text, written into `out` when not
  // null; its size, or 0 for a control without keyword.
  long Snippet(PPDXControl& control, const char* valueText, unsigned char* out);

 private:
  void Inject(PPDXControl& control, const char* valueText);

  unsigned char* mBytes = nullptr;
  long mLength = 0;
};
