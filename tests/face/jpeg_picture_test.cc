#include "face/jpeg_picture.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/temp_dir.h"

namespace vigil {
namespace {

// A real JPEG made with libjpeg's encoder: left half red, right half blue.
std::string EncodeTwoColourJpeg(int width, int height) {
  std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
      const bool left = x < width / 2;
      p[0] = left ? 255 : 0;
      p[1] = 0;
      p[2] = left ? 0 : 255;
    }
  }
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &pixels[static_cast<size_t>(info.next_scanline) * width * 3];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

TEST(JpegPictureTest, DecodesSizeAndColours) {
  const auto picture = DecodeJpeg(EncodeTwoColourJpeg(32, 16));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, 32);
  EXPECT_EQ(picture->height, 16);
  ASSERT_EQ(picture->pixels.size(), 32u * 16u * 3u);
  auto pixel = [&](int x, int y) {
    return &picture->pixels[(static_cast<size_t>(y) * 32 + x) * 3];
  };
  EXPECT_GT(pixel(4, 8)[0], 200);  // red on the left
  EXPECT_LT(pixel(4, 8)[2], 60);
  EXPECT_GT(pixel(28, 8)[2], 200);  // blue on the right
  EXPECT_LT(pixel(28, 8)[0], 60);
}

TEST(JpegPictureTest, RefusesWhatIsNotAWholeJpeg) {
  const std::string good = EncodeTwoColourJpeg(32, 16);
  std::string flipped = good;
  for (size_t i = good.size() / 3; i < good.size() - 2; i += 7)
    flipped[i] ^= 0x5A;
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"text", "this is not a picture"},
      {"header only", good.substr(0, 20)},
      {"truncated", good.substr(0, good.size() / 2)},
      {"bmp", std::string("BM") + std::string(60, '\0')},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_FALSE(DecodeJpeg(bytes).has_value()) << name;
  }
  // Scrambled scan data may still decode; it must not crash either way.
  const auto scrambled = DecodeJpeg(flipped);
  if (scrambled) {
    EXPECT_EQ(scrambled->width, 32);
  }
}

TEST(JpegPictureTest, LoadsFromAFile) {
  testing::TempDir dir;
  dir.Write("Gauge00.Jpg", EncodeTwoColourJpeg(20, 10));
  const auto picture = LoadJpegFile(dir / "Gauge00.Jpg");
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width, 20);
  EXPECT_FALSE(LoadJpegFile(dir.path() / "Missing.Jpg").has_value());
}

}  // namespace
}  // namespace vigil
