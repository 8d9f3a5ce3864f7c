#pragma once
// Replacing a file's contents so that a reader, a crash or a full disk never
// sees a half-written file: the bytes go to a new file in the same folder,
// reach the disk, and only then take the old file's name.

#include <cstddef>
#include <string>

class CFURLFileReplace {
 public:
  // What to do with a symbolic link in the file's place. It is never followed:
  // either the write is refused (ELOOP) or the link itself gives way to the file.
  enum LinkPolicy { kRefuseLink, kReplaceLink };

  // 0 when `path` now holds exactly the bytes, else the errno of the step that
  // failed (the old file is then untouched and no temporary file is left).
  static int Write(const std::string& path, const void* bytes, size_t length,
                   LinkPolicy links = kRefuseLink);

 private:
  // An exclusively created file beside `path`, mode 0644 less the umask; -1 on failure.
  static int CreateTemporary(const std::string& path, std::string& temporary);
  // The bytes, written whole and synced; 0 or the errno of the step that failed.
  static int WriteAndSync(int descriptor, const void* bytes, size_t length);
  static void SyncFolderOf(const std::string& path);
};
