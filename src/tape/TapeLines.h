#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace dravello {

// The lines of the operations list, Windows-1252 bytes, in the order they were appended. Lines
// are never changed or removed. The text lives in fixed-size blocks that are never moved, so an
// append costs the same however many lines there are (no reallocation of the whole text), and
// the store holds the text plus about 8 bytes of offset per line and one partly filled block.
class TapeLines {
 public:
  TapeLines() = default;
  TapeLines(TapeLines&&) noexcept = default;
  TapeLines& operator=(TapeLines&&) noexcept = default;

  void Append(std::string_view line);

  std::size_t Count() const { return starts_.size(); }
  bool Empty() const { return starts_.empty(); }

  // The bytes of line `index`, which must be below Count().
  std::string Line(std::size_t index) const;
  std::size_t LineSize(std::size_t index) const;

  // Bytes of text held, all lines together.
  std::uint64_t TextBytes() const { return size_; }

  // Block size of the text store; a line may span blocks.
  static constexpr std::size_t kBlockBytes = 64 * 1024;

 private:
  std::uint64_t EndOf(std::size_t index) const;

  std::vector<std::unique_ptr<char[]>> blocks_;
  std::deque<std::uint64_t> starts_;  // offset of each line's first byte in the whole text
  std::uint64_t size_ = 0;            // bytes of text; the next line starts here
};

}  // namespace dravello
