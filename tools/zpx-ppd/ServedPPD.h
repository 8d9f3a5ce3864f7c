#pragma once
// The PPD a print server's queue serves, fetched into a private scratch folder
// that lives as long as this object, so that the commands that read a FILE can
// read a queue's PPD instead ("--printer QUEUE").

#include <string>

#include "host/RunFolder.h"

namespace zpxtool {

class ServedPPD {
 public:
  // Fetches the queue's PPD; "" on success, else why it cannot be had (the
  // server unreached or failing, no such queue, a queue without a PPD).
  std::string Fetch(const std::string& queue);
  const std::string& Path() const { return mPath; }

 private:
  RunFolder mFolder;
  std::string mPath;
};

}  // namespace zpxtool
