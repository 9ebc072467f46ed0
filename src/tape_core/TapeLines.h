// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Formato.h"

namespace dravello {

// The lines of the operations list, Windows-1252 bytes, in the order they were appended, each
// with the currency that was current when it was written, that currency's rate, and whether a
// correction changed it. The lines shown are the last of the lines written: "Borrar la cinta"
// hides those written so far (Hide), and an undo or a correction takes back the last ones
// (Truncate). Indices are those of the lines shown, except where "written" says otherwise
// (counted from the first line ever written).
// The text and the line offsets live in fixed-size blocks that are never moved, so an append
// costs the same however many lines there are (no reallocation of the whole text), and the
// store holds the text plus 8 bytes of offset per line and one partly filled block of each.
//
// A copy (Snapshot) shares the blocks instead of copying them: it costs a few pointers per
// 64 KiB of text (and a bit per line for the marks), and it may be read on another thread while
// this store takes new lines or takes some back, since no store ever writes into a block that
// another shares: the first append after a copy or a truncation gives the appender its own
// last blocks.
class TapeLines {
 public:
  TapeLines() = default;
  TapeLines(TapeLines&&) noexcept = default;
  TapeLines& operator=(TapeLines&&) noexcept = default;

  // The lines appended so far, shared (see above).
  TapeLines Snapshot() const { return TapeLines(*this); }

  void Append(std::string_view line);

  // The abbreviation of the currency in which the lines appended from now on are written, and,
  // for a currency other than the base, its rate as text and the base's abbreviation. Costs a
  // comparison of the texts; the store keeps one entry per change.
  void SetCurrency(std::string_view currency, std::string_view rate = {},
                   std::string_view base = {});

  // The regional separators the lines are written with (',' and '.' unless set).
  void SetSeparators(Separators separators) { separators_ = separators; }
  Separators LineSeparators() const { return separators_; }

  // Where the rates in force came from, as the end of a kept tape names it (Windows-1252).
  void SetRatesNote(std::string_view note) { rates_note_.assign(note); }
  const std::string& RatesNote() const { return rates_note_; }

  std::size_t Count() const { return count_ - hidden_; }
  bool Empty() const { return count_ == hidden_; }

  // Lines written, hidden ones included; the next line written gets this number.
  std::size_t Written() const { return count_; }
  // Of those, the first ones that are not shown.
  std::size_t Hidden() const { return hidden_; }
  // Shows only the lines written from `written` on (at most Written()).
  void Hide(std::size_t written);
  // Takes back every line written from `written` on; nothing when there are not so many.
  void Truncate(std::size_t written);
  // Line `written` (counted among the lines written) as changed by a correction, or not.
  void SetCorrected(std::size_t written, bool corrected);
  // Whether line `index` (shown) was changed by a correction; whether any shown line was.
  bool Corrected(std::size_t index) const;
  bool AnyCorrected() const;
  // The bytes of line `written`, counted among the lines written.
  std::string WrittenLine(std::size_t written) const;
  // Whether line `written` holds the same bytes as line `other_written` of `other` (both
  // counted among the lines written).
  bool SameLine(std::size_t written, const TapeLines& other, std::size_t other_written) const;

  // The bytes of line `index`, which must be below Count().
  std::string Line(std::size_t index) const;
  // Appends the bytes of line `index` to `out`.
  void AppendLineTo(std::size_t index, std::string& out) const;
  std::size_t LineSize(std::size_t index) const;
  // The currency of line `index` (empty for lines appended before any SetCurrency), its rate
  // and the base currency (both empty for a line written in the base).
  const std::string& CurrencyOf(std::size_t index) const;
  const std::string& RateOf(std::size_t index) const;
  const std::string& BaseOf(std::size_t index) const;
  // Whether any line was written in a currency other than the base.
  bool AnyRate() const;
  // Whether a currency's lines were written at more than one rate.
  bool RatesChanged() const;

  // Bytes of text held, all lines together.
  std::uint64_t TextBytes() const { return size_; }

  // Block size of the text store; a line may span blocks.
  static constexpr std::size_t kBlockBytes = 64 * 1024;
  // Line offsets per offset block.
  static constexpr std::size_t kStartsPerBlock = 8 * 1024;

 private:
  TapeLines(const TapeLines&) = default;

  struct CurrencyRun {
    std::size_t first_line;
    std::string currency;
    std::string rate;
    std::string base;
  };

  std::uint64_t StartOf(std::size_t index) const;  // of line `index` among those written
  void AppendWrittenTo(std::size_t written, std::string& out) const;
  std::uint64_t EndOf(std::size_t index) const;
  // The run that line `index` belongs to; nullptr before the first.
  const CurrencyRun* RunOf(std::size_t index) const;
  // Before writing into the last blocks: a block that a copy shares is copied first.
  void OwnLastBlocks();

  std::vector<std::shared_ptr<char[]>> blocks_;
  // Offset of each line's first byte in the whole text.
  std::vector<std::shared_ptr<std::uint64_t[]>> starts_;
  std::size_t count_ = 0;                 // lines written
  std::size_t hidden_ = 0;                // the first lines written that are not shown
  std::uint64_t size_ = 0;                // bytes of text; the next line starts here
  std::vector<std::uint64_t> corrected_;  // a bit per line written, up to the last one set
  std::vector<CurrencyRun> runs_;
  CurrencyRun next_{0, {}, {}, {}};  // for the next line
  std::string rates_note_;
  Separators separators_{',', '.'};
};

}  // namespace dravello
