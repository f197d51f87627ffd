// BMP files written by ImageMagick (and one RLE4 file from our own encoder), each beside the
// PPM that ImageMagick decodes it to: our reading must give the same pixels.
#include "LoadHelpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tavik {
namespace {

namespace fs = std::filesystem;

// A binary PPM with maxval 255, as RGB triples top row first; empty when it is not one.
std::vector<uint8_t> ReadPpm(const fs::path& path, int& width, int& height) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> width >> height >> maxval;
  in.get();
  if (magic != "P6" || maxval != 255 || width <= 0 || height <= 0) return {};
  std::vector<uint8_t> rgb(size_t(width) * height * 3);
  in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
  return in ? rgb : std::vector<uint8_t>{};
}

TEST(FixtureFiles, EveryBmpDecodesLikeImageMagick) {
  const fs::path dir = fs::path(TAVIK_TEST_DATA_DIR) / "bmp";
  int checked = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().extension() != ".bmp") continue;
    SCOPED_TRACE(entry.path().filename().string());
    int width = 0, height = 0;
    auto want = ReadPpm(fs::path(entry.path()).replace_extension(".ppm"), width, height);
    ASSERT_FALSE(want.empty());
    ReadRequest request;
    request.kind = "FILE";
    request.name = entry.path().string();
    auto record = ReadDib(std::move(request));
    ASSERT_TRUE(record);
    ASSERT_EQ(record->sourceWidth, width);
    ASSERT_EQ(record->sourceHeight, height);
    std::vector<uint8_t> got;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        Rgb c = testing::ColorAt(*record, x, y);
        got.insert(got.end(), {c.r, c.g, c.b});
      }
    }
    EXPECT_EQ(got, want);
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

}  // namespace
}  // namespace tavik
