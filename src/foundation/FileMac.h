#pragma once
// A file on disk addressed by its platform location, with its data fork
// opened, read and written through the platform's file calls. Every call
// records its result code, which getError() returns.
//
// The location is kept twice: as the platform's 70-byte form (what callers
// store and compare) and as the full path (what opens the file), so that names
// too long for the platform form still open.

#include <string>

#include "carbon/Files.h"
#include "carbon/MacTypes.h"

class FileMac {
 public:
  FileMac();
  FileMac(short vRefNum, long dirID, ConstStr255Param name);
  explicit FileMac(const FSSpec& location);
  // Any path Linux allows; a relative path is taken from the current directory.
  explicit FileMac(const char* path);
  virtual ~FileMac();

  FileMac(const FileMac&) = delete;
  FileMac& operator=(const FileMac&) = delete;

  virtual OSErr getFileInfo(FSSpec* location);
  // `name` receives the name as text (64 bytes).
  virtual OSErr getFileInfo(short* vRefNum, long* dirID, char* name);
  // Whether the file is there now: noErr, or the reason it is not.
  virtual OSErr getFileInfo();
  // The file name as text in `name` (64 bytes); a longer name is cut to 63
  // bytes and bdNamErr returned.
  virtual OSErr getFileName(char* name);
  virtual bool exists();
  // permission: fsCurPerm (0), fsRdPerm (1), fsWrPerm (2), fsRdWrPerm (3).
  virtual OSErr openDataFork(char permission);
  virtual OSErr closeDataFork();
  // Creates the file, empty; Linux files keep no creator or type.
  virtual OSErr createDataFork(unsigned long creator, unsigned long type);
  virtual short getDataForkRefNum();
  virtual bool dataForkOpen();
  virtual OSErr dataForkWrite(char* data, unsigned long count);
  // Reads up to *count bytes from the current position; *count becomes the
  // number read. eofErr when fewer bytes were available.
  virtual OSErr dataForkRead(char* data, unsigned long* count);

  // The file's length in bytes, 0 when it cannot be read.
  long dataForkSize();
  short getError() const { return mError; }
  bool valid() const { return !mPath.empty(); }
  // The full path of the file, empty when the location did not resolve.
  const std::string& path() const { return mPath; }

 protected:
  void SetLocation(const FSSpec& location, const std::string& path);
  OSErr Result(OSErr error) { return mError = error; }

 private:
  OSErr MakeRef(FSRef* ref, Boolean* isDirectory);

  short mError = noErr;
  FSSpec mSpec;
  std::string mPath;
  bool mDataForkOpen = false;
  short mDataRefNum = -1;
};
