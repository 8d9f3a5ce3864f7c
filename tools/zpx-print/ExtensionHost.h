#pragma once
// Loads the dialog-extension bundle as a print dialog does and drives its
// extension once through Retain, GetAPIVersion, Prologue (the dialog sizes
// its user pane as asked), Initialize (into that pane), Open, Sync(false)
// when the user prints, Close, Terminate and the releases.

#include <string>

#include "HostDialog.h"
#include "PrintFailure.h"
#include "cf/CFRef.h"
#include "cf/CoreFoundation.h"
#include "plugin/PDEPluginInterface.h"
#include "print/PMPrintSession.h"

class ExtensionHost {
 public:
  // The plug-in in the bundle folder of the platform paths.
  ExtensionHost();
  // The plug-in goes last: its code unloads with it.
  ~ExtensionHost();
  ExtensionHost(const ExtensionHost&) = delete;
  ExtensionHost& operator=(const ExtensionHost&) = delete;

  bool IsLoaded() const { return mPlugIn != nullptr; }
  // Not retained; null without a plug-in.
  CFStringRef BundleIdentifier() const;
  // A status other than 0 from Initialize or Sync, a plug-in that offers no
  // extension, or the user's Cancel is kExitNoJob.
  PrintFailure Run(PMPrintSession session, HostDialog& dialog);
  // Whether the bundle's printer list (PrinterList.plist) names the PPD's
  // *PCFileName, as the extension's Initialize asks: it refuses any other
  // printer, and its status alone does not say so.
  bool Serves(const std::string& ppdPath) const;

 private:
  PrintFailure Drive(PDEInterfaceObject* object, PMPrintSession session, HostDialog& dialog);
  PrintFailure Lifecycle(const PDEInterfaceTable& slots, PDEContext context, PMPrintSession session,
                         HostDialog& dialog);

  CFPlugInRef mPlugIn = nullptr;
};
