#include "DriverModels.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "zpx-ppd/CupsPPD.h"
#include "zpx-ppd/MakerEntryReader.h"

namespace {

// The quoted value of an entry ("*Manufacturer: \"ZPX\""), or its plain one.
std::string ValueOf(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return "";
  const size_t open = text.find('"', colon);
  if (open != std::string::npos) {
    const size_t close = text.find('"', open + 1);
    return close == std::string::npos ? "" : text.substr(open + 1, close - open - 1);
  }
  const size_t start = text.find_first_not_of(" \t", colon + 1);
  const size_t end = text.find_last_not_of(" \t\r\n");
  return start == std::string::npos || end < start ? "" : text.substr(start, end - start + 1);
}

// The server reads each field of a list line between double quotes.
std::string Field(const std::string& value) {
  std::string field;
  for (char c : value)
    if (c != '"' && c != '\n' && c != '\r') field += c;
  return field;
}

}  // namespace

DriverModels::DriverModels(const std::string& folder, const ServedPrinters& served)
    : mFolder(std::filesystem::path(folder).lexically_normal().string()), mServed(served) {
  if (mFolder.size() > 1 && mFolder.back() == '/') mFolder.pop_back();
}

std::vector<DriverModels::Model> DriverModels::List() const {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(mFolder, error))
    if (entry.path().extension() == ".ppd" && IsModel(entry.path().string()))
      files.push_back(entry.path().filename().string());
  std::sort(files.begin(), files.end());
  std::vector<Model> models;
  for (const std::string& file : files) {
    std::ifstream in(mFolder + "/" + file, std::ios::binary);
    zpxtool::MakerEntryReader reader(in);
    Model model{kScheme + file, "", "", ""};
    std::string modelName;
    zpxtool::MakerEntry entry;
    while (reader.Next(entry)) {
      if (entry.keyword == "*Manufacturer") model.make = Field(ValueOf(entry.text));
      if (entry.keyword == "*NickName") model.makeAndModel = Field(ValueOf(entry.text));
      if (entry.keyword == "*ModelName") modelName = Field(ValueOf(entry.text));
      if (entry.keyword == "*1284DeviceID") model.deviceId = Field(ValueOf(entry.text));
    }
    if (model.makeAndModel.empty()) model.makeAndModel = modelName;
    models.push_back(model);
  }
  return models;
}

std::string DriverModels::Write(const std::string& name, std::ostream& out) const {
  const std::string file = FileOf(name);
  if (file.empty()) return "no model " + name + " (zpx list names them)";
  return zpxtool::CupsPPD::Write(file, {}, out).refusal;
}

std::string DriverModels::FileOf(const std::string& name) const {
  const std::string scheme = kScheme;
  if (name.compare(0, scheme.size(), scheme) != 0) return "";
  const std::string file = name.substr(scheme.size());
  // A name, never a path into another folder.
  if (file.empty() || file[0] == '.' || file.find('/') != std::string::npos) return "";
  const std::string path = mFolder + "/" + file;
  return IsModel(path) ? path : "";
}

bool DriverModels::IsModel(const std::string& path) const {
  struct stat status;
  return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         status.st_size <= kMaximumFileSize && mServed.Serves(path);
}
