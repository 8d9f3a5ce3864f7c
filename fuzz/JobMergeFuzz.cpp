// The document a job is merged into comes from any application. Whatever its
// bytes, the merge ends; with nothing to put in, the job is the document byte
// for byte; a document that is no PostScript gives no job; and the reader's
// buffer size changes nothing.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "FuzzCheck.h"
#include "ScratchFile.h"
#include "host/PostScriptMerger.h"

namespace {

std::string Merged(const char* input, const JobInjections& injections, size_t capacity,
                   PostScriptMerger::Result& result) {
  static ScratchFile output("job.ps");
  int in = open(input, O_RDONLY);
  int out = open(output.Path(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  FUZZ_CHECK(in != -1 && out != -1);
  {
    PostScriptLineReader reader(in, capacity);
    JobOutput writer(out);
    result = PostScriptMerger(injections, reader, writer).Merge();
  }
  close(in);
  close(out);
  std::ifstream file(output.Path(), std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile input("document.ps");
  const std::string document(reinterpret_cast<const char*>(bytes), size);
  const char* path = input.Write(document);

  PostScriptMerger::Result result;
  const std::string copied =
      Merged(path, JobInjections(), PostScriptLineReader::kMinimumCapacity, result);
  const bool postScript = size >= 2 && bytes[0] == '%' && bytes[1] == '!';
  FUZZ_CHECK(result == (postScript ? PostScriptMerger::kMerged : PostScriptMerger::kNotPostScript));
  FUZZ_CHECK(copied == (postScript ? document : std::string()));

  JobInjections injections;
  injections.mHeaderComments = {"%%Orientation: Landscape\n"};
  injections.mSetupBlocks = {"%%BeginFeature: *Duplex Top\ncode\n%%EndFeature", "/w 1 def"};
  injections.mSuppressedFeatures = {"*Duplex"};
  PostScriptMerger::Result small, large;
  const std::string job = Merged(path, injections, PostScriptLineReader::kMinimumCapacity, small);
  FUZZ_CHECK(job == Merged(path, injections, PostScriptLineReader::kDefaultCapacity, large));
  FUZZ_CHECK(small == large && small == result);
  FUZZ_CHECK(postScript || job.empty());
  return 0;
}
