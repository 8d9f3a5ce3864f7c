// zpx: the print server's driver for ZPX printers (lib/cups/driver/zpx), so
// that `lpinfo -m` shows the models and `lpadmin -m zpx:FILE` makes a queue
// with the PPD a print dialog of the server understands.
//
//   zpx list        one line per model: "zpx:FILE" en "MAKE" "MAKE AND MODEL" "DEVICE ID"
//   zpx cat NAME    the model's queue PPD (as zpx-ppd cups writes it)
//   environment: ZPX_MODEL_DIR, ZPX_BUNDLE_DIR (README)

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

#include "DriverModels.h"
#include "cf/CFFileURL.h"
#include "cf/CFRef.h"
#include "host/ProgramVersion.h"
#include "paths/PlatformPaths.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "ERROR: zpx: %s\n", message.c_str());
  return 1;
}

bool Put(const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
         std::fflush(stdout) == 0;
}

int List(const DriverModels& models) {
  std::string lines;
  for (const DriverModels::Model& model : models.List())
    lines += "\"" + model.name + "\" en \"" + model.make + "\" \"" + model.makeAndModel + "\" \"" +
             model.deviceId + "\"\n";
  return Put(lines) ? 0 : Fail("cannot write the list");
}

int Cat(const DriverModels& models, const std::string& name) {
  std::ostringstream ppd;
  const std::string refusal = models.Write(name, ppd);
  if (!refusal.empty()) return Fail(refusal);
  return Put(ppd.str()) ? 0 : Fail("cannot write the PPD");
}

}  // namespace

int main(int argc, char** argv) {
  if (ProgramVersion::IsAsked(argc, argv)) return ProgramVersion::Print("zpx");
  const bool list = argc == 2 && std::strcmp(argv[1], "list") == 0;
  const bool cat = argc == 3 && std::strcmp(argv[1], "cat") == 0;
  if (!list && !cat) return Fail("usage: zpx list | zpx cat zpx:FILE");
  CFRef<CFURLRef> bundle(CreateFileURL(PlatformPaths::Get(PlatformPaths::kBundleFolder), true));
  const ServedPrinters served(bundle.get());
  const DriverModels models(PlatformPaths::Get(PlatformPaths::kModelFolder), served);
  return list ? List(models) : Cat(models, argv[2]);
}
