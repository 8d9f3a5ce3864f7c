#pragma once
// The picture beside a row: the icon table's picture for the option's current
// value, drawn into the user pane `Bitm` n.

#include <cstddef>

#include "toolkit/Controls.h"

class ZPXPPD;

class UI_IconControl {
 public:
  enum { kKeywordSize = 64 };
  static constexpr OSType kSignature = FourCC("Bitm");

  // `keyword` with its leading "*"; one that does not fit draws nothing.
  UI_IconControl(WindowRef window, SInt32 controlNumber, const char* keyword, ZPXPPD* document);
  ~UI_IconControl();
  UI_IconControl(const UI_IconControl&) = delete;
  UI_IconControl& operator=(const UI_IconControl&) = delete;

  // Redraws the pane (through the toolkit, as an update would).
  void Redraw();
  void DrawIcon();

  // Fills the process's icon table from the bundle's "icons/lookup.csv".
  static void ParseIconLookupFile();
  // The picture of the value of the option (keyword without "*"); "" when none.
  static const char* GetIconPath(const char* keyword, const char* value);

 private:
  static OSStatus IconControlHandler(EventHandlerCallRef call, EventRef event, void* self);
  // The option's value as the icon table names it; "" for other kinds.
  void CurrentValue(char* value, size_t size) const;

  WindowRef mWindow;
  ControlRef mPane = nullptr;
  EventHandlerRef mHandler = nullptr;
  char mKeyword[kKeywordSize] = {};
  ZPXPPD* mDocument;
};
