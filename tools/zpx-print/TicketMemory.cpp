#include "TicketMemory.h"

#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "ScratchFolders.h"
#include "paths/PlatformPaths.h"
#include "print/TicketsFile.h"

namespace {

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0700) == 0 || errno == EEXIST;
}

}  // namespace

std::string TicketMemory::PercentEncoded(const std::string& name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string encoded;
  for (unsigned char c : name) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '_' || (c == '.' && !encoded.empty());
    if (plain) {
      encoded += char(c);
    } else {
      encoded += '%';
      encoded += kHex[c >> 4];
      encoded += kHex[c & 15];
    }
  }
  return encoded;
}

TicketMemory::TicketMemory(const std::string& printerName) {
  std::string folder = PlatformPaths::Get(PlatformPaths::kConfigFolder);
  if (!folder.empty()) mPath = folder + "/zpx-print/" + PercentEncoded(printerName) + ".plist";
}

void TicketMemory::Forget() const {
  if (!mPath.empty()) unlink(mPath.c_str());
}

std::string TicketMemory::Load(PMPrintSession session) const {
  if (mPath.empty()) return "";
  OSStatus status = TicketsFile::Load(session, mPath.c_str());
  if (status == noErr || status == fnfErr) return "";
  return "ignoring the unreadable tickets file " + mPath + " (" + std::to_string(status) + ")";
}

bool TicketMemory::Save(PMPrintSession session) const {
  if (mPath.empty()) return false;
  std::string folder = mPath.substr(0, mPath.find_last_of('/'));
  if (!MakeFolder(folder.substr(0, folder.find_last_of('/'))) || !MakeFolder(folder)) return false;
  std::string temporary = mPath + ".new-" + std::to_string(getpid());
  ScratchFolders::Claim(temporary);
  mode_t before = umask(077);
  bool saved = TicketsFile::Save(session, temporary.c_str()) == noErr;
  umask(before);
  saved = saved && chmod(temporary.c_str(), 0600) == 0 && rename(temporary.c_str(), mPath.c_str()) == 0;
  if (!saved) unlink(temporary.c_str());
  ScratchFolders::Release(temporary);
  return saved;
}
