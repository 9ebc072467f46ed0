#include "TapeLines.h"

#include <algorithm>
#include <cstring>

namespace dravello {

void TapeLines::Append(std::string_view line) {
  // Offsets first: if the deque cannot grow, nothing has been written yet.
  starts_.push_back(size_);
  std::size_t copied = 0;
  try {
    while (copied < line.size()) {
      const std::size_t in_block = (size_ + copied) % kBlockBytes;
      if (in_block == 0 && (size_ + copied) / kBlockBytes == blocks_.size()) {
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockBytes));
      }
      const std::size_t block = (size_ + copied) / kBlockBytes;
      const std::size_t chunk = std::min(line.size() - copied, kBlockBytes - in_block);
      std::memcpy(blocks_[block].get() + in_block, line.data() + copied, chunk);
      copied += chunk;
    }
  } catch (...) {
    // Out of memory half way: forget the line so the store stays whole.
    starts_.pop_back();
    throw;
  }
  size_ += line.size();
}

std::uint64_t TapeLines::EndOf(std::size_t index) const {
  return index + 1 < starts_.size() ? starts_[index + 1] : size_;
}

std::size_t TapeLines::LineSize(std::size_t index) const {
  return static_cast<std::size_t>(EndOf(index) - starts_[index]);
}

std::string TapeLines::Line(std::size_t index) const {
  std::uint64_t at = starts_[index];
  const std::uint64_t end = EndOf(index);
  std::string line;
  line.reserve(static_cast<std::size_t>(end - at));
  while (at < end) {
    const std::size_t in_block = static_cast<std::size_t>(at % kBlockBytes);
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kBlockBytes - in_block));
    line.append(blocks_[static_cast<std::size_t>(at / kBlockBytes)].get() + in_block, chunk);
    at += chunk;
  }
  return line;
}

}  // namespace dravello
