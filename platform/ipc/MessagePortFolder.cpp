#include "ipc/MessagePortFolder.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>

#include "paths/PlatformPaths.h"

namespace {

constexpr size_t kMaxNameLength = 64;

bool IsPlainName(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameLength || name[0] == '.') return false;
  for (char c : name) {
    const bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       c == '.' || c == '-' || c == '_';
    if (!plain) return false;
  }
  return true;
}

bool FolderIsPrivate(const std::string& folder) {
  struct stat status;
  if (lstat(folder.c_str(), &status) != 0 && mkdir(folder.c_str(), 0700) != 0) return false;
  if (lstat(folder.c_str(), &status) != 0) return false;
  return S_ISDIR(status.st_mode) && status.st_uid == geteuid() && (status.st_mode & 0077) == 0;
}

}  // namespace

bool MessagePortSocketPath(const std::string& name, std::string& path) {
  if (!IsPlainName(name)) return false;
  const std::string folder = PlatformPaths::Get(PlatformPaths::kMessagePortFolder);
  if (!FolderIsPrivate(folder)) {
    fprintf(stderr, "message ports disabled: %s is not a private folder of this user\n",
            folder.c_str());
    return false;
  }
  path = folder + "/" + name;
  return path.size() < sizeof(sockaddr_un::sun_path);
}
