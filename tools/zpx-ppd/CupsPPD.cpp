#include "CupsPPD.h"

#include <fstream>
#include <memory>

#include "CupsPPDWriter.h"
#include "PPDX/ZPXPPD.h"
#include "Tool.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"

namespace zpxtool {

DocumentChoices::Outcome CupsPPD::Write(const std::string& makerPath,
                                        const std::vector<std::string>& choices,
                                        std::ostream& out) {
  const std::string problem = InputFileProblem(makerPath.c_str());
  if (!problem.empty()) return {kExitNotPPD, makerPath + ": " + problem};
  CFRef<CFURLRef> url(CreateFileURL(makerPath));
  if (!url) return {kExitNotPPD, makerPath + ": not a usable file path"};
  std::unique_ptr<ZPXPPD> document(new ZPXPPD(url.get(), PARSE_ALL, nullptr));
  if (!document->IsValidPPD())
    return {kExitNotPPD, makerPath + ": not a valid PPD (see zpx-ppd check)"};
  DocumentChoices::Outcome outcome = DocumentChoices::Apply(*document, choices);
  if (outcome.status != kExitPPD) return outcome;
  std::ifstream maker(makerPath, std::ios::binary);
  if (!maker) return {kExitNotPPD, makerPath + ": cannot be read"};
  if (!CupsPPDWriter(*document, out, makerPath).Write(maker))
    return {kExitNotPPD, makerPath + ": an entry longer than 256 KiB"};
  out.flush();
  if (!out) return {kExitNotPPD, "the PPD could not be written"};
  return outcome;
}

}  // namespace zpxtool
