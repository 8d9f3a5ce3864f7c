// The header part of a document's settings blob.

#include "PPDX/PPDX.h"
#include "ZPXUtils/PPDUtils/TextConverter.h"
#include "carbon/Files.h"
#include "foundation/CString.h"
#include "foundation/PPDFile.h"
#include "foundation/Settings.h"
#include "foundation/SettingsKeys.h"
#include "foundation/SettingsStrings.h"

bool PPDX::Save(Settings& settings) {
  SInt32 version = kLayoutVersion;
  if (settings.Add(kHeaderKey, kLayoutVersionIndex, &version, sizeof version) != noErr)
    return false;
  FSSpec location;
  if (mFile && mFile->getFileInfo(&location) == noErr &&
      settings.Add(kHeaderKey, kFileLocationIndex, &location, sizeof location) != noErr)
    return false;
  for (int each = 0; each < kHeaderFieldCount; ++each) {
    const HeaderField field = HeaderField(each);
    const char* text = HeaderText(field);
    // An empty text reads back as none: it is not written.
    if (text == nullptr || *text == '\0') continue;
    long size = long(mHeader[field]->Size());
    if (settings.Add(kHeaderKey, HeaderTextIndex(field), text, size) != noErr) return false;
  }
  return true;
}

void PPDX::RestoreHeaderField(Settings& settings, HeaderField field) {
  mHeader[field].reset(GetSettingsString(settings, kHeaderKey, HeaderTextIndex(field)));
}

void PPDX::AdoptFile(PPDFile* file) { mFile.reset(file); }

void PPDX::UpdateTextConverter() {
  if (mHeader[kLanguageVersion] && mHeader[kLanguageEncoding])
    mConverter.reset(new TextConverter(this));
}
