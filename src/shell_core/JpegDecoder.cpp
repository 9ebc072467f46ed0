// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegDecoder.h"

#include <dlfcn.h>
#include <turbojpeg.h>

#include <bit>

namespace dravello {

namespace {

// The TurboJPEG API's library; its version has been 0 since the API began.
constexpr const char* kTurboJpeg = "libturbojpeg.so.0";

template <typename Function>
bool Find(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace

// The functions of the library that the decoder calls.
struct JpegDecoder::TurboJpeg {
  void* library = nullptr;
  decltype(&tjInitDecompress) init_decompress = nullptr;
  decltype(&tjDestroy) destroy = nullptr;
  decltype(&tjDecompressHeader3) decompress_header = nullptr;
  decltype(&tjDecompress2) decompress = nullptr;
  decltype(&tjGetErrorStr2) error_text = nullptr;
  decltype(&tjGetErrorCode) error_code = nullptr;
};

JpegDecoder::JpegDecoder() : tj_(std::make_unique<TurboJpeg>()) {
  tj_->library = dlopen(kTurboJpeg, RTLD_NOW | RTLD_LOCAL);
  if (!tj_->library) {
    const char* reason = dlerror();
    error_ = reason ? reason : kTurboJpeg;
    return;
  }
  if (!Find(tj_->library, "tjInitDecompress", tj_->init_decompress) ||
      !Find(tj_->library, "tjDestroy", tj_->destroy) ||
      !Find(tj_->library, "tjDecompressHeader3", tj_->decompress_header) ||
      !Find(tj_->library, "tjDecompress2", tj_->decompress) ||
      !Find(tj_->library, "tjGetErrorStr2", tj_->error_text) ||
      !Find(tj_->library, "tjGetErrorCode", tj_->error_code)) {
    error_ = std::string(kTurboJpeg) + " lacks a function";
    return;
  }
  handle_ = tj_->init_decompress();
  if (!handle_) error_ = tj_->error_text(nullptr);
}

JpegDecoder::~JpegDecoder() {
  if (handle_) tj_->destroy(handle_);
  if (tj_->library) dlclose(tj_->library);
}

bool JpegDecoder::ReadSize(std::span<const std::uint8_t> jpeg, Size& size) {
  if (!handle_) return false;
  int width = 0, height = 0, subsampling = 0, colourspace = 0;
  if (jpeg.empty() || tj_->decompress_header(handle_, jpeg.data(), jpeg.size(), &width, &height,
                                             &subsampling, &colourspace) != 0) {
    error_ = jpeg.empty() ? "no data" : tj_->error_text(handle_);
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
  if (tj_->decompress(handle_, jpeg.data(), jpeg.size(), pixels, size.width,
                      static_cast<int>(pitch), size.height, format, 0) != 0 &&
      tj_->error_code(handle_) == TJERR_FATAL) {
    error_ = tj_->error_text(handle_);
    return false;
  }
  return true;
}

}  // namespace dravello
