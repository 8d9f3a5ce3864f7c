// The header part of a document's settings blob.

#include "PPDX/PPDX.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/Files.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"
#include "foundation/SettingsStrings.h"

namespace {

// The header texts follow the file location, in the order of the fields.
constexpr long kFirstHeaderTextIndex = 1003;

}  // namespace

bool PPDX::Save(Settings& settings) {
  SInt32 version = kLayoutVersion;
  if (settings.Add(kHeaderKey, kLayoutVersionIndex, &version, sizeof version) != noErr) return false;
  FSSpec location;
  if (mFile && mFile->getFileInfo(&location) == noErr &&
      settings.Add(kHeaderKey, kFileLocationIndex, &location, sizeof location) != noErr)
    return false;
  for (int field = 0; field < kHeaderFieldCount; ++field) {
    const char* text = HeaderText(HeaderField(field));
    // An empty text reads back as none: it is not written.
    if (text == nullptr || *text == '\0') continue;
    long size = long(mHeader[field]->Size());
    if (settings.Add(kHeaderKey, kFirstHeaderTextIndex + field, text, size) != noErr) return false;
  }
  return true;
}

void PPDX::RestoreHeaderField(Settings& settings, HeaderField field) {
  mHeader[field].reset(GetSettingsString(settings, kHeaderKey, kFirstHeaderTextIndex + field));
}

void PPDX::AdoptFile(PPDFile* file) { mFile.reset(file); }

void PPDX::UpdateTextConverter() {
  if (mHeader[kLanguageVersion] && mHeader[kLanguageEncoding])
    mConverter.reset(new TextConverter(this));
}
