// PPD files come from printer vendors, servers and users. Whatever a file holds,
// reading it line by line through the file window and taking each line apart with
// the document's token readers stays inside every buffer, ends, and gives values
// that respect the capacity they were read into.
//
// The first input byte steers the read; the rest is the file:
//   bit 0     the whole file in one block rather than through the window
//   bit 1     the text repeated past two windows, so that window refills cut
//             lines at every offset the fuzzer cares to try
//   bit 2     which value reader takes odd lines (the other takes even ones)
//   bits 3-7  the value capacity, from 2 to 281 bytes

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzCheck.h"
#include "PPDX/PPDX.h"
#include "ScratchFile.h"
#include "foundation/PPDFile.h"
#include "foundation/PPDFileStream.h"
#include "foundation/PPDStream.h"

namespace {

struct ReadOptions {
  bool windowed;
  bool quotedOnOddLines;
  unsigned long capacity;
};

class Reader : public PPDX {
 public:
  Reader(const char* path, const ReadOptions& options)
      : PPDX(new PPDFile(path)), mOptions(options), mStream(File(), options.windowed) {
    SetStream(&mStream);
  }
  ~Reader() override { SetStream(nullptr); }

  // The header test reads straight from the file, as the parser does.
  void ReadHeader() {
    if (mStream.Bad()) return;
    char token[PPDStream::kMaxLine + 1];
    if (NextToken(mStream, token, " \t:", true)) ReadQuoted(mStream);
  }

  void ReadLines(size_t fileSize) {
    char line[PPDStream::kMaxLine + 1];
    for (size_t lines = 0; NextLine(line); ++lines) {
      // Every line, and every value continuation it pulls in, consumes at least a byte.
      FUZZ_CHECK(lines <= fileSize);
      FUZZ_CHECK(std::strlen(line) <= PPDStream::kMaxLine);
      PPDStream lineStream(line, long(std::strlen(line)));
      char keyword[PPDStream::kMaxLine + 1];
      if (!NextToken(lineStream, keyword, " \t:", true) || keyword[0] != '*') continue;
      char option[PPDStream::kMaxLine + 1];
      NextToken(lineStream, option, ":", true);
      if ((lines % 2 == 1) == mOptions.quotedOnOddLines)
        ReadQuoted(lineStream);
      else
        ReadPostScript(lineStream);
    }
  }

 private:
  // The next line, going past the rest of a line that a parse would stop at;
  // false once the file is read.
  bool NextLine(char* line) {
    if (mStream.GetLine(line)) return true;
    if (mStream.EndOfFile() || mStream.Bad()) return line[0] != '\0';
    char rest[PPDStream::kMaxLine + 1];
    for (;;) {
      char skipped;
      if (mStream.PeekChar() == 255) mStream.GetChar(skipped);
      if (mStream.GetLine(rest) || mStream.EndOfFile() || mStream.Bad()) return true;
    }
  }

  // Buffers of exactly the capacity, so that the sanitizer sees a byte past it.
  void ReadQuoted(PPDStream& line) {
    std::unique_ptr<char[]> out(new char[mOptions.capacity]);
    if (GetQuotedString(line, out.get(), mOptions.capacity))
      FUZZ_CHECK(std::strlen(out.get()) < mOptions.capacity);
  }

  void ReadPostScript(PPDStream& line) {
    std::unique_ptr<char[]> out(new char[mOptions.capacity]);
    const unsigned long length = GetPostscriptString(line, out.get(), mOptions.capacity);
    FUZZ_CHECK(length <= mOptions.capacity);
    if (length > 0) FUZZ_CHECK(out[length - 1] == '\n');
  }

  ReadOptions mOptions;
  PPDFileStream mStream;
};

std::string FileText(const uint8_t* bytes, size_t size, bool spanWindows) {
  std::string text(reinterpret_cast<const char*>(bytes), size);
  if (spanWindows && !text.empty())
    while (text.size() <= size_t(2 * PPDFileStream::kWindowSize)) text.append(bytes, bytes + size);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  static ScratchFile scratch;
  if (size == 0) return 0;
  const uint8_t steer = bytes[0];
  const ReadOptions options{(steer & 1) == 0, (steer & 4) != 0, 2 + (steer >> 3) * 9ul};
  const std::string text = FileText(bytes + 1, size - 1, (steer & 2) != 0);
  Reader reader(scratch.Write(text), options);
  reader.ReadHeader();
  reader.ReadLines(text.size());
  return 0;
}
