#pragma once
// The printer's PPD as the print system keeps it: a private copy, named after
// the printer, with what the print system reads from it (the make and model
// from *NickName, each paper's *PaperDimension) and the *PCFileName by which
// the extension knows it.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "PrintFailure.h"
#include "carbon/MacTypes.h"

class PrinterDescription {
 public:
  static constexpr size_t kMaximumSize = 16 << 20;
  // The document's parser keeps no longer quoted value.
  static constexpr size_t kMaximumNameBytes = 255;

  // The printer is named after the PPD file, without its folder and extension.
  static std::string PrinterNameOf(const std::string& ppdPath);

  // Copies the PPD into `folder`; a PPD that cannot be read is kExitBadInput.
  PrintFailure Copy(const std::string& ppdPath, const std::string& folder);
  // Takes a PPD that already is a private copy (a queue's, fetched into the
  // run's folder); false when it cannot be read.
  bool Adopt(const std::string& privatePath);

  const std::string& CopyPath() const { return mCopyPath; }
  const std::string& MakeAndModel() const { return mMakeAndModel; }
  // The first *PCFileName value, at most kMaximumNameBytes; "" without one.
  const std::string& PCFileName() const { return mPCFileName; }
  // Width and height in points; false for a paper without a dimension.
  bool PaperDimension(const std::string& paper, std::pair<double, double>& size) const;

 private:
  void ReadLines(const std::vector<UInt8>& bytes);
  void ReadLine(const std::string& line);

  std::string mCopyPath;
  std::string mMakeAndModel;
  std::string mPCFileName;
  std::map<std::string, std::pair<double, double>> mPaperDimensions;
};
