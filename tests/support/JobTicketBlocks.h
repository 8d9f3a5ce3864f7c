#pragma once
// The blocks a job ticket holds, read back from its entries: each with its
// injection site, in the order they were added.

#include <string>
#include <vector>

#include "output/ZPXJobTicket.h"
#include "support/PlatformString.h"

struct JobBlock {
  SInt32 site;
  std::string bytes;
};

inline std::vector<JobBlock> JobTicketBlocks(const ZPXJobTicket& jobTicket) {
  std::vector<JobBlock> blocks;
  CFArrayRef entries = jobTicket.Entries();
  for (CFIndex i = 0; entries != nullptr && i + 1 < CFArrayGetCount(entries); i += 2) {
    JobBlock block{0, DataText(static_cast<CFDataRef>(CFArrayGetValueAtIndex(entries, i + 1)))};
    CFNumberGetValue(static_cast<CFNumberRef>(CFArrayGetValueAtIndex(entries, i)),
                     kCFNumberSInt32Type, &block.site);
    blocks.push_back(block);
  }
  return blocks;
}

// The texts of the blocks at the site, in order.
inline std::vector<std::string> BlocksAt(const std::vector<JobBlock>& blocks, SInt32 site) {
  std::vector<std::string> texts;
  for (const JobBlock& block : blocks)
    if (block.site == site) texts.push_back(block.bytes);
  return texts;
}

// Whether any block holds the text.
inline bool BlocksMention(const std::vector<JobBlock>& blocks, const std::string& text) {
  for (const JobBlock& block : blocks)
    if (block.bytes.find(text) != std::string::npos) return true;
  return false;
}
