#pragma once
// What a dialog extension asked the print system to put into a job, sorted by
// where it goes: the blocks as the extension wrote them, in the order it added
// them.

#include <string>
#include <vector>

struct JobInjections {
  // Header comments (504 first, then 30): they go before the header's end and
  // replace the document's comments of the same name.
  std::vector<std::string> mHeaderComments;
  // Feature code and other setup blocks (81): they go at the end of the setup.
  std::vector<std::string> mSetupBlocks;
  // Main keywords ("*Duplex") whose feature code leaves the document (-9).
  std::vector<std::string> mSuppressedFeatures;
  // Files that receive a copy of the job (900).
  std::vector<std::string> mCopyPaths;
};
