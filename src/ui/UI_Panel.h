#pragma once
// The pane's side of the job-properties link: the area it shares with the
// companion application, the companion's process, the exchange started by
// the job-properties button and the 0.01 s poll that waits for its end.
// The main pane completes this class around these members.

#include <sys/types.h>

#include <string>

#include "toolkit/CarbonEvents.h"
#include "toolkit/Controls.h"
#include "toolkit/IBCarbonRuntime.h"
#include "toolkit/MacWindows.h"
#include "ui/SharedMemoryList.h"

class PDEData;
class UI_IPAddressPanel;

class UI_Panel {
 public:
  enum JP_ACTIONS { kJPMainView = 1, kJPTintoraView = 2, kJPMixedMediaView = 3 };
  static constexpr EventTimerInterval kPollInterval = 0.01;

  // `addressArea` may be null (two-way off). An empty `companionPath` starts
  // nothing. IsValid() is false when the shared area could not be made.
  UI_Panel(PDEData* data, WindowRef dialog, UI_IPAddressPanel* addressArea,
           std::string companionPath);
  // The pane in the dialog's user pane: the dialog window owns `parentPane`;
  // the companion is the one the platform paths name.
  UI_Panel(IBNibRef nib, ControlRef parentPane, PDEData* data);
  ~UI_Panel();
  UI_Panel(const UI_Panel&) = delete;
  UI_Panel& operator=(const UI_Panel&) = delete;

  bool IsValid() const { return mArea != nullptr; }
  // The controls of the main pane come with it; until then there is nothing to show.
  void Show() {}
  void Hide() {}
  // Every change already went to the model when it was made.
  OSStatus CommitUserChanges() { return noErr; }
  int AreaId() const { return mAreaId; }
  pid_t CompanionProcess() const { return mCompanion; }
  // Set while the companion works: the job-properties button is then ignored.
  bool IsIgnoringButton() const { return mIgnoreButton; }

  void LoadHelperModule();
  // False when no exchange started (unresolvable address, no companion).
  bool LaunchJobProperties(JP_ACTIONS action);
  SDMKeyValueList* GetDefaultSettings();
  void SetUpdatedSettings(const SDMKeyValueList& list);
  void GetWatermarks();
  void UpdateWatermarks();
  void SetTimerCheckForJPReturn();
  static void TimerCheckForJPReturn(EventLoopTimerRef timer, void* panel);
  void OnJPReturn();

 private:
  bool TwoWayOn() const;
  void WriteArgumentsFile() const;
  bool CompanionGone() const;
  void TellInvalidAddress() const;
  void SelectWatermarkNumber(long number);
  void ApplyEntry(const std::string& keyword, const std::wstring& value);
  bool SendUnload() const;  // true when the companion was told to quit

  PDEData* mData;
  WindowRef mDialog;
  UI_IPAddressPanel* mAddressArea;
  std::string mCompanionPath;
  int mAreaId = -1;
  char* mArea = nullptr;
  SharedMemoryList* mList = nullptr;
  pid_t mCompanion = -1;
  EventLoopTimerRef mTimer = nullptr;
  bool mIgnoreButton = false;
  long mBidiPairsFilled = 0;
};
