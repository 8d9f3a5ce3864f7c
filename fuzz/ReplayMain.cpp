// Runs a fuzz target over saved inputs without the fuzzing engine, so that the
// normal sanitizer build replays every seed and every crash once found.
// Arguments are files or folders (every regular file below them, in name order).

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> InputsBelow(const fs::path& root) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(root, error)) {
    inputs.push_back(root);
  } else if (fs::is_directory(root, error)) {
    for (const auto& entry : fs::recursive_directory_iterator(root, error))
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
  }
  if (error) std::fprintf(stderr, "replay: %s: %s\n", root.c_str(), error.message().c_str());
  return inputs;
}

bool Replay(const fs::path& input) {
  std::ifstream file(input, std::ios::binary);
  if (!file) return false;
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                std::istreambuf_iterator<char>()};
  // An allocation of exactly the input's size, so that the sanitizer catches a
  // read one byte past its end.
  std::unique_ptr<uint8_t[]> data(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), data.get());
  std::fprintf(stderr, "replay: %s (%zu bytes)\n", input.c_str(), bytes.size());
  LLVMFuzzerTestOneInput(data.get(), bytes.size());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  size_t ran = 0;
  size_t unreadable = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& input : InputsBelow(argv[i])) {
      if (Replay(input))
        ++ran;
      else
        ++unreadable;
    }
  }
  std::printf("replay: %zu inputs ran, %zu unreadable\n", ran, unreadable);
  // A corpus that went missing must not pass as one that ran clean.
  return ran > 0 && unreadable == 0 ? 0 : 1;
}
