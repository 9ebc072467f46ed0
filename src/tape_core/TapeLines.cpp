// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeLines.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace dravello {

namespace {

template <typename T>
std::shared_ptr<T[]> NewBlock(std::size_t size) {
  return std::make_shared_for_overwrite<T[]>(size);
}

// Replaces `block` by a copy of its first `used` elements when another store shares it.
template <typename T>
void Unshare(std::shared_ptr<T[]>& block, std::size_t size, std::size_t used) {
  if (block.use_count() <= 1) return;
  std::shared_ptr<T[]> own = NewBlock<T>(size);
  std::copy_n(block.get(), used, own.get());
  block = std::move(own);
}

}  // namespace

void TapeLines::OwnLastBlocks() {
  const std::size_t text_used = static_cast<std::size_t>(size_ % kBlockBytes);
  if (text_used != 0) Unshare(blocks_.back(), kBlockBytes, text_used);
  const std::size_t starts_used = count_ % kStartsPerBlock;
  if (starts_used != 0) Unshare(starts_.back(), kStartsPerBlock, starts_used);
}

void TapeLines::SetCurrency(std::string_view currency, std::string_view rate,
                            std::string_view base) {
  if (currency != next_.currency) next_.currency.assign(currency);
  if (rate != next_.rate) next_.rate.assign(rate);
  if (base != next_.base) next_.base.assign(base);
}

void TapeLines::Append(std::string_view line) {
  // Everything that may fail (memory) comes before the line is counted, so a failed append
  // leaves the store whole; blocks allocated on the way are used by the next line.
  OwnLastBlocks();
  if (count_ % kStartsPerBlock == 0 && count_ / kStartsPerBlock == starts_.size()) {
    starts_.push_back(NewBlock<std::uint64_t>(kStartsPerBlock));
  }
  const std::uint64_t end = size_ + line.size();
  while (blocks_.size() * static_cast<std::uint64_t>(kBlockBytes) < end) {
    blocks_.push_back(NewBlock<char>(kBlockBytes));
  }
  const bool same_run = runs_.empty() ? next_.currency.empty() && next_.rate.empty()
                                      : runs_.back().currency == next_.currency &&
                                            runs_.back().rate == next_.rate &&
                                            runs_.back().base == next_.base;
  if (!same_run) {
    runs_.push_back(next_);
    runs_.back().first_line = count_;
  }

  std::uint64_t at = size_;
  std::size_t copied = 0;
  while (copied < line.size()) {
    const std::size_t in_block = static_cast<std::size_t>(at % kBlockBytes);
    const std::size_t chunk = std::min(line.size() - copied, kBlockBytes - in_block);
    std::memcpy(blocks_[static_cast<std::size_t>(at / kBlockBytes)].get() + in_block,
                line.data() + copied, chunk);
    copied += chunk;
    at += chunk;
  }
  starts_[count_ / kStartsPerBlock][count_ % kStartsPerBlock] = size_;
  size_ = end;
  ++count_;
}

void TapeLines::Hide(std::size_t written) {
  hidden_ = std::min(written, count_);
}

void TapeLines::Truncate(std::size_t written) {
  if (written >= count_) return;
  size_ = StartOf(written);
  count_ = written;
  hidden_ = std::min(hidden_, count_);
  // Blocks past the end go (a copy that shares them keeps its own); the last one, if a copy
  // shares it, is copied before the next append writes into it (OwnLastBlocks).
  blocks_.resize(static_cast<std::size_t>((size_ + kBlockBytes - 1) / kBlockBytes));
  starts_.resize((count_ + kStartsPerBlock - 1) / kStartsPerBlock);
  while (!runs_.empty() && runs_.back().first_line >= count_) runs_.pop_back();
  const std::size_t words = (count_ + 63) / 64;
  if (corrected_.size() > words) corrected_.resize(words);
  if (!corrected_.empty() && count_ % 64 != 0) {
    corrected_.back() &= (std::uint64_t{1} << (count_ % 64)) - 1;
  }
}

void TapeLines::SetCorrected(std::size_t written, bool corrected) {
  if (written >= count_) return;
  const std::size_t word = written / 64;
  const std::uint64_t bit = std::uint64_t{1} << (written % 64);
  if (!corrected) {
    if (word < corrected_.size()) corrected_[word] &= ~bit;
    return;
  }
  if (word >= corrected_.size()) corrected_.resize(word + 1);
  corrected_[word] |= bit;
}

bool TapeLines::Corrected(std::size_t index) const {
  const std::size_t written = index + hidden_;
  const std::size_t word = written / 64;
  return word < corrected_.size() && ((corrected_[word] >> (written % 64)) & 1) != 0;
}

bool TapeLines::AnyCorrected() const {
  for (std::size_t word = hidden_ / 64; word < corrected_.size(); ++word) {
    std::uint64_t bits = corrected_[word];
    if (word == hidden_ / 64) bits &= ~((std::uint64_t{1} << (hidden_ % 64)) - 1);
    if (bits != 0) return true;
  }
  return false;
}

std::string TapeLines::WrittenLine(std::size_t written) const {
  std::string line;
  AppendWrittenTo(written, line);
  return line;
}

bool TapeLines::SameLine(std::size_t written, const TapeLines& other,
                         std::size_t other_written) const {
  std::uint64_t at = StartOf(written);
  const std::uint64_t end = EndOf(written);
  std::uint64_t other_at = other.StartOf(other_written);
  if (end - at != other.EndOf(other_written) - other_at) return false;
  // Piece by piece, as far as the shorter of the two current blocks reaches.
  while (at < end) {
    const std::size_t in_block = static_cast<std::size_t>(at % kBlockBytes);
    const std::size_t other_in_block = static_cast<std::size_t>(other_at % kBlockBytes);
    const std::size_t chunk = static_cast<std::size_t>(
        std::min<std::uint64_t>({end - at, kBlockBytes - in_block, kBlockBytes - other_in_block}));
    if (std::memcmp(
            blocks_[static_cast<std::size_t>(at / kBlockBytes)].get() + in_block,
            other.blocks_[static_cast<std::size_t>(other_at / kBlockBytes)].get() + other_in_block,
            chunk) != 0) {
      return false;
    }
    at += chunk;
    other_at += chunk;
  }
  return true;
}

std::uint64_t TapeLines::StartOf(std::size_t index) const {
  return starts_[index / kStartsPerBlock][index % kStartsPerBlock];
}

std::uint64_t TapeLines::EndOf(std::size_t index) const {
  return index + 1 < count_ ? StartOf(index + 1) : size_;
}

std::size_t TapeLines::LineSize(std::size_t index) const {
  index += hidden_;
  return static_cast<std::size_t>(EndOf(index) - StartOf(index));
}

std::string TapeLines::Line(std::size_t index) const {
  std::string line;
  line.reserve(LineSize(index));
  AppendLineTo(index, line);
  return line;
}

void TapeLines::AppendLineTo(std::size_t index, std::string& out) const {
  AppendWrittenTo(index + hidden_, out);
}

void TapeLines::AppendWrittenTo(std::size_t index, std::string& out) const {
  std::uint64_t at = StartOf(index);
  const std::uint64_t end = EndOf(index);
  while (at < end) {
    const std::size_t in_block = static_cast<std::size_t>(at % kBlockBytes);
    const std::size_t chunk =
        static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kBlockBytes - in_block));
    out.append(blocks_[static_cast<std::size_t>(at / kBlockBytes)].get() + in_block, chunk);
    at += chunk;
  }
}

const TapeLines::CurrencyRun* TapeLines::RunOf(std::size_t index) const {
  index += hidden_;
  const auto after = std::upper_bound(
      runs_.begin(), runs_.end(), index,
      [](std::size_t line, const CurrencyRun& run) { return line < run.first_line; });
  return after == runs_.begin() ? nullptr : &*std::prev(after);
}

namespace {
const std::string kNone;
}  // namespace

const std::string& TapeLines::CurrencyOf(std::size_t index) const {
  const CurrencyRun* run = RunOf(index);
  return run != nullptr ? run->currency : kNone;
}

const std::string& TapeLines::RateOf(std::size_t index) const {
  const CurrencyRun* run = RunOf(index);
  return run != nullptr ? run->rate : kNone;
}

const std::string& TapeLines::BaseOf(std::size_t index) const {
  const CurrencyRun* run = RunOf(index);
  return run != nullptr ? run->base : kNone;
}

bool TapeLines::AnyRate() const {
  return std::any_of(runs_.begin(), runs_.end(),
                     [](const CurrencyRun& run) { return !run.rate.empty(); });
}

bool TapeLines::RatesChanged() const {
  std::map<std::string_view, std::string_view> first_rate;
  for (const CurrencyRun& run : runs_) {
    const auto [at, added] = first_rate.emplace(run.currency, run.rate);
    if (!added && at->second != run.rate) return true;
  }
  return false;
}

}  // namespace dravello
