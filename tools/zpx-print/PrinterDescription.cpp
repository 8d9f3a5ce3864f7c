#include "PrinterDescription.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "cf/RegularFileReader.h"
#include "ipc/WriteAll.h"

namespace {

// The text between the first pair of double quotes, or "".
std::string Quoted(const std::string& line) {
  size_t open = line.find('"');
  size_t close = open == std::string::npos ? open : line.find('"', open + 1);
  return close == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
}

bool WriteNew(const std::string& path, const std::vector<UInt8>& bytes) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd == -1) return false;
  bool written = WriteAll(fd, bytes.data(), bytes.size());
  return close(fd) == 0 && written;
}

}  // namespace

std::string PrinterDescription::PrinterNameOf(const std::string& ppdPath) {
  std::string name = ppdPath.substr(ppdPath.find_last_of('/') + 1);
  size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name.empty() ? "printer" : name;
}

PrintFailure PrinterDescription::Copy(const std::string& ppdPath, const std::string& folder) {
  std::vector<UInt8> bytes;
  if (RegularFileReader::Read(ppdPath, kMaximumSize, bytes) != RegularFileReader::kRead)
    return PrintFailure::BadInput("cannot read the PPD " + ppdPath);
  mCopyPath = folder + "/" + PrinterNameOf(ppdPath) + ".ppd";
  if (!WriteNew(mCopyPath, bytes)) return PrintFailure::NoJob("cannot copy the PPD to " + folder);
  ReadLines(bytes);
  return PrintFailure::None();
}

bool PrinterDescription::Adopt(const std::string& privatePath) {
  std::vector<UInt8> bytes;
  if (RegularFileReader::Read(privatePath, kMaximumSize, bytes) != RegularFileReader::kRead)
    return false;
  mCopyPath = privatePath;
  ReadLines(bytes);
  return true;
}

void PrinterDescription::ReadLines(const std::vector<UInt8>& bytes) {
  std::string line;
  for (UInt8 byte : bytes) {
    if (byte == '\n' || byte == '\r') {
      ReadLine(line);
      line.clear();
    } else {
      line += char(byte);
    }
  }
  ReadLine(line);
}

void PrinterDescription::ReadLine(const std::string& line) {
  if (line.rfind("*NickName:", 0) == 0) mMakeAndModel = Quoted(line);
  if (mPCFileName.empty() && line.rfind("*PCFileName:", 0) == 0)
    mPCFileName = Quoted(line).substr(0, kMaximumNameBytes);
  if (line.rfind("*PaperDimension ", 0) != 0) return;
  size_t end = line.find_first_of("/:", 16);
  if (end == std::string::npos) return;
  std::pair<double, double> size;
  if (std::sscanf(Quoted(line).c_str(), "%lf %lf", &size.first, &size.second) == 2)
    mPaperDimensions[line.substr(16, end - 16)] = size;
}

bool PrinterDescription::PaperDimension(const std::string& paper,
                                        std::pair<double, double>& size) const {
  auto found = mPaperDimensions.find(paper);
  if (found == mPaperDimensions.end()) return false;
  size = found->second;
  return true;
}
