// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace dravello {
namespace {

std::vector<std::uint8_t> ReadBackground() {
  std::ifstream in(DRAVELLO_BACKGROUND_JPG, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Picture {
  JpegDecoder::Size size;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[y * size.width + x]; }
};

bool Decode(const std::vector<std::uint8_t>& jpeg, Picture& picture) {
  JpegDecoder decoder;
  if (!decoder.ReadSize(jpeg, picture.size)) return false;
  picture.pixels.assign(std::size_t(picture.size.width) * picture.size.height, 0);
  return decoder.DecodeRgb32(jpeg, picture.size,
                             reinterpret_cast<std::uint8_t*>(picture.pixels.data()),
                             picture.size.width * 4);
}

int Red(std::uint32_t p) {
  return (p >> 16) & 0xFF;
}
int Green(std::uint32_t p) {
  return (p >> 8) & 0xFF;
}
int Blue(std::uint32_t p) {
  return p & 0xFF;
}
int Brightness(std::uint32_t p) {
  return Red(p) + Green(p) + Blue(p);
}

TEST(JpegDecoder, DecodesTheBackgroundBronzeLighterInTheCentreWithALightFrame) {
  Picture picture;
  ASSERT_TRUE(Decode(ReadBackground(), picture));
  ASSERT_EQ(picture.size.width, 520);
  ASSERT_EQ(picture.size.height, 300);
  const std::uint32_t centre = picture.At(260, 150);
  const std::uint32_t inner_corner = picture.At(20, 20);
  EXPECT_EQ(centre >> 24, 0xFFu);  // opaque
  EXPECT_GT(Brightness(centre), Brightness(inner_corner) + 100);
  for (std::uint32_t p : {centre, inner_corner}) {  // bronze: red over green over blue
    EXPECT_GT(Red(p), Green(p));
    EXPECT_GT(Green(p), Blue(p));
  }
  EXPECT_GT(Brightness(picture.At(1, 150)), Brightness(picture.At(20, 150)) + 150);
  EXPECT_GT(Brightness(picture.At(260, 1)), Brightness(picture.At(260, 20)) + 150);
}

TEST(JpegDecoder, RefusesWhatIsNotAPicture) {
  JpegDecoder decoder;
  JpegDecoder::Size size;
  const std::vector<std::vector<std::uint8_t>> bad = {
      {},
      {0xFF},
      {0xFF, 0xD8, 0xFF},
      {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0},
      std::vector<std::uint8_t>(4096, 0x5A),
  };
  for (const auto& data : bad) {
    EXPECT_FALSE(decoder.ReadSize(data, size)) << data.size() << " bytes";
    EXPECT_FALSE(decoder.Error().empty());
  }
}

TEST(JpegDecoder, RefusesAnAbsurdSize) {
  std::vector<std::uint8_t> jpeg = ReadBackground();
  // The frame header (SOF0 or SOF2) holds the height at offset 5 and the width at offset 7.
  for (std::size_t i = 0; i + 9 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      jpeg[i + 5] = 0xFF;
      jpeg[i + 6] = 0xF0;
      break;
    }
  }
  JpegDecoder decoder;
  JpegDecoder::Size size;
  EXPECT_FALSE(decoder.ReadSize(jpeg, size));
}

TEST(JpegDecoder, ATruncatedFileStillGivesAPicture) {
  std::vector<std::uint8_t> jpeg = ReadBackground();
  jpeg.resize(jpeg.size() / 2);
  Picture picture;
  ASSERT_TRUE(Decode(jpeg, picture));
  EXPECT_EQ(picture.size.width, 520);
  // The part before the cut is there.
  EXPECT_GT(Brightness(picture.At(260, 1)), 300);
}

TEST(JpegDecoder, OneDecoderDecodesMany) {
  const std::vector<std::uint8_t> jpeg = ReadBackground();
  JpegDecoder decoder;
  for (int i = 0; i < 3; ++i) {
    JpegDecoder::Size size;
    ASSERT_TRUE(decoder.ReadSize(jpeg, size));
    std::vector<std::uint32_t> pixels(std::size_t(size.width) * size.height);
    ASSERT_TRUE(decoder.DecodeRgb32(jpeg, size, reinterpret_cast<std::uint8_t*>(pixels.data()),
                                    size.width * 4));
  }
}

}  // namespace
}  // namespace dravello
