#pragma once
// The models the print server's driver offers: each PPD in the models folder
// (share/zpx/ppd/) that the bundle serves, named "zpx:FILE" for the server,
// with the maker, model and device ID its header gives; and, for one of them,
// the queue's PPD that zpx-ppd cups writes.

#include <ostream>
#include <string>
#include <vector>

#include "comm/ServedPrinters.h"

class DriverModels {
 public:
  static constexpr const char* kScheme = "zpx:";
  // Files larger than this are no model.
  static constexpr long kMaximumFileSize = 16L << 20;

  struct Model {
    std::string name;  // "zpx:FILE"
    std::string make;
    std::string makeAndModel;
    std::string deviceId;
  };

  DriverModels(const std::string& folder, const ServedPrinters& served);

  // In the order of their file names.
  std::vector<Model> List() const;
  // Writes the named model's queue PPD; "" or the reason nothing was written.
  std::string Write(const std::string& name, std::ostream& out) const;

 private:
  // The model file of "zpx:FILE", or "" when the name names none.
  std::string FileOf(const std::string& name) const;
  bool IsModel(const std::string& path) const;

  std::string mFolder;
  const ServedPrinters& mServed;
};
