#include "CompanionScenario.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "output/WideText.h"

namespace {

constexpr size_t kMostRepeats = 100000;

std::wstring Wide(const std::string& utf8) {
  return WideFromUTF8Replacing(utf8.data(), utf8.size());
}

bool SplitEntry(const std::string& text, std::wstring& key, std::wstring& value) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  key = Wide(text.substr(0, equals));
  value = Wide(text.substr(equals + 1));
  return true;
}

bool HexBytes(const std::string& hex, std::string& bytes) {
  if (hex.empty() || hex.size() % 2 != 0) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    unsigned value = 0;
    if (sscanf(hex.substr(i, 2).c_str(), "%2x", &value) != 1) return false;
    bytes += char(value);
  }
  return true;
}

void Pause(double seconds) {
  struct timespec span;
  span.tv_sec = time_t(seconds);
  span.tv_nsec = long((seconds - double(span.tv_sec)) * 1e9);
  nanosleep(&span, nullptr);
}

}  // namespace

bool CompanionScenario::Load(const std::string& path) {
  std::ifstream file(path);
  if (!file) {
    fprintf(stderr, "zpx-companion: cannot read the scenario %s\n", path.c_str());
    return false;
  }
  std::string line;
  for (size_t number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    if (!ReadLine(line)) {
      fprintf(stderr, "zpx-companion: %s:%zu: not a scenario line\n", path.c_str(), number);
      return false;
    }
  }
  return true;
}

bool CompanionScenario::ReadLine(const std::string& line) {
  const size_t space = line.find(' ');
  const std::string word = line.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
  std::istringstream fields(rest);
  Entry entry = {L"", L"", word == "set"};
  if (word == "set" || word == "add") {
    if (!SplitEntry(rest, entry.mKey, entry.mValue)) return false;
    mEntries.push_back(entry);
    return true;
  }
  if (word == "addmany") {
    size_t count = 0;
    std::string text;
    if (!(fields >> count) || count > kMostRepeats || !std::getline(fields >> std::ws, text) ||
        !SplitEntry(text, entry.mKey, entry.mValue))
      return false;
    mEntries.insert(mEntries.end(), count, entry);
    return true;
  }
  if (word == "watermark") return mWatermarks.push_back(rest), true;
  if (word == "status") return bool(fields >> mStatus);
  if (word == "delay")
    return bool(fields >> mDelaySeconds) && mDelaySeconds >= 0 && mDelaySeconds < 600;
  if (word == "exit") return mExitUnanswered = true;
  if (word == "raw") {
    RawBytes raw = {0, ""};
    std::string hex;
    if (!(fields >> raw.mOffset >> hex) || !HexBytes(hex, raw.mBytes) ||
        raw.mOffset >= SharedMemoryList::kAreaSize)
      return false;
    mRawBytes.push_back(raw);
    return true;
  }
  return false;
}

bool CompanionScenario::Play(SharedMemoryList& area, char* bytes) const {
  Pause(mDelaySeconds);
  if (mExitUnanswered) return false;
  if (mStatus == SharedMemoryList::kStatusDone) {
    ApplyEntries(area);
    ApplyWatermarks(area);
  }
  ApplyRawBytes(bytes);
  area.WriteStatus(mStatus);
  return true;
}

void CompanionScenario::ApplyEntries(SharedMemoryList& area) const {
  SDMKeyValueList* received = area.Create_SDMList_From_SharedMemoryList();
  SDMPairs entries = received != nullptr ? SharedMemoryList::PairsOf(*received) : SDMPairs();
  SharedMemoryList::FreeSDMList(received);
  for (const Entry& change : mEntries) {
    auto found = std::find_if(entries.begin(), entries.end(),
                              [&](const auto& entry) { return entry.first == change.mKey; });
    if (change.mReplace && found != entries.end())
      found->second = change.mValue;
    else
      entries.push_back({change.mKey, change.mValue});
  }
  SDMKeyValueList* list = SharedMemoryList::NewSDMList(entries);
  area.Create_SharedMemoryList_From_SDMList(*list);
  SharedMemoryList::FreeSDMList(list);
}

void CompanionScenario::ApplyWatermarks(SharedMemoryList& area) const {
  if (mWatermarks.empty()) return;
  for (size_t slot = 0; slot < mWatermarks.size(); ++slot)
    area.WriteWatermark(slot, mWatermarks[slot]);
  area.WriteWatermarkCount(mWatermarks.size());
}

void CompanionScenario::ApplyRawBytes(char* bytes) const {
  for (const RawBytes& raw : mRawBytes) {
    const size_t length = std::min(raw.mBytes.size(), SharedMemoryList::kAreaSize - raw.mOffset);
    memcpy(bytes + raw.mOffset, raw.mBytes.data(), length);
  }
}
