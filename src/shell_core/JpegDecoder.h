// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace dravello {

// Decodes JPEG pictures with TurboJPEG. One decoder may decode many pictures, one at a time.
// The library is loaded by the decoder and let go with it, so that a program that decodes a
// picture now and then does not keep it in memory; without the library every call fails.
class JpegDecoder {
 public:
  JpegDecoder();
  ~JpegDecoder();
  JpegDecoder(const JpegDecoder&) = delete;
  JpegDecoder& operator=(const JpegDecoder&) = delete;

  struct Size {
    int width = 0;
    int height = 0;
  };

  // Reads the picture's size from its header. False (see Error) when `jpeg` is not a JPEG
  // picture that can be decoded, or when a side exceeds kMaxSide.
  bool ReadSize(std::span<const std::uint8_t> jpeg, Size& size);

  // Decodes the whole picture into `pixels`: `size.height` rows of `pitch` bytes, each pixel a
  // 32-bit word 0xFFRRGGBB in the machine's byte order. `size` must be what ReadSize gave.
  // Damaged data that the decoder can work around (a truncated file) still gives a picture;
  // false (see Error) only when nothing could be decoded.
  bool DecodeRgb32(std::span<const std::uint8_t> jpeg, const Size& size, std::uint8_t* pixels,
                   std::size_t pitch);

  // The reason of the last failure (also of a library that could not be loaded).
  const std::string& Error() const { return error_; }

  static constexpr int kMaxSide = 16384;

 private:
  struct TurboJpeg;
  std::unique_ptr<TurboJpeg> tj_;
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace dravello
