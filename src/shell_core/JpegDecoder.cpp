// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegDecoder.h"

#include <turbojpeg.h>

#include <bit>

namespace dravello {

JpegDecoder::JpegDecoder() : handle_(tjInitDecompress()) {
  if (!handle_) error_ = tjGetErrorStr2(nullptr);
}

JpegDecoder::~JpegDecoder() {
  if (handle_) tjDestroy(handle_);
}

bool JpegDecoder::ReadSize(std::span<const std::uint8_t> jpeg, Size& size) {
  if (!handle_) return false;
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  if (jpeg.empty() || tjDecompressHeader3(handle_, jpeg.data(), jpeg.size(), &width, &height,
                                          &subsampling, &colourspace) != 0) {
    error_ = jpeg.empty() ? "no data" : tjGetErrorStr2(handle_);
    return false;
  }
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    error_ = "picture too large";
    return false;
  }
  size = {width, height};
  return true;
}

bool JpegDecoder::DecodeRgb32(std::span<const std::uint8_t> jpeg, const Size& size,
                              std::uint8_t* pixels, std::size_t pitch) {
  if (!handle_) return false;
  // 0xFFRRGGBB as a native word is B, G, R, 0xFF in memory on a little-endian machine.
  const int format = std::endian::native == std::endian::little ? TJPF_BGRA : TJPF_ARGB;
  if (tjDecompress2(handle_, jpeg.data(), jpeg.size(), pixels, size.width, static_cast<int>(pitch),
                    size.height, format, 0) != 0 &&
      tjGetErrorCode(handle_) == TJERR_FATAL) {
    error_ = tjGetErrorStr2(handle_);
    return false;
  }
  return true;
}

}  // namespace dravello
