// Cross-checks against decoders and encoders nobody here wrote, through `tavik convert`:
// files written by libtiff's tiffcp, netpbm's pnmtotiff, ImageMagick, gifsicle, giflib's
// giftool and libjpeg's cjpeg load pixel-exact; every TIFF and GIF we write decodes in
// libtiff, netpbm and giflib to the source's pixels. A case skips when its peer is missing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool Have(const char* tool) { return fs::exists(std::string("/usr/bin/") + tool); }

class PeerCrossCheck : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* tool : {"convert", "ppmtoppm", "pamdepth"}) {
      if (!Have(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    dir_ = fs::temp_directory_path() /
           ("tavik-peer-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    // Odd sizes, so padding and half-filled bytes show; big enough for LZW tables to restart.
    ASSERT_TRUE(Run("/usr/bin/convert -size 301x203 -seed 5 plasma: -depth 8 " + Path("rgb.tif")));
    ASSERT_TRUE(Run("/usr/bin/convert " + Path("rgb.tif") + " -colorspace gray -depth 8 " + Path("gray.tif")));
    ASSERT_TRUE(Run("/usr/bin/convert " + Path("rgb.tif") + " -colors 200 -type palette " + Path("pal.tif")));
    ASSERT_TRUE(Run("/usr/bin/convert " + Path("rgb.tif") + " -colors 12 -type palette " + Path("pal4.tif")));
    ASSERT_TRUE(Run("/usr/bin/convert " + Path("rgb.tif") + " -threshold 50% -depth 1 -type bilevel " + Path("bw.tif")));
  }
  void TearDown() override {
    if (!HasFailure() && !dir_.empty()) fs::remove_all(dir_);
  }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  // Output the command does not redirect itself is dropped, as are all its messages.
  static bool Run(const std::string& command) {
    return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
  }
  static std::vector<char> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  // A netpbm stream from `command` as 8-bit PPM in `out`.
  bool Ppm(const std::string& command, const std::string& out) const {
    return Run(command + " | ppmtoppm | pamdepth 255 > " + out);
  }
  // Ours: `tavik convert file x.ppm [args]`, as 8-bit PPM.
  bool Ours(const std::string& file, const std::string& out, const std::string& args = "") const {
    const std::string raw = out + ".raw.ppm";
    return Run(std::string(TAVIK_TOOL) + " convert " + file + " " + raw + " " + args) &&
           Ppm("cat " + raw, out);
  }
  void ExpectSame(const std::string& a, const std::string& b, const std::string& what) const {
    std::vector<char> x = Bytes(a), y = Bytes(b);
    EXPECT_FALSE(x.empty()) << what;
    EXPECT_TRUE(x == y) << what << ": " << a << " and " << b << " differ";
  }

  fs::path dir_;
};

TEST_F(PeerCrossCheck, TiffcpAndPnmtotiffFilesLoadPixelExact) {
  if (!Have("tiffcp") || !Have("tifftopnm")) GTEST_SKIP() << "libtiff-tools are not installed";
  struct Case {
    const char* source;
    const char* options;
  } cases[] = {
      {"rgb", "-c none"}, {"rgb", "-c packbits"}, {"rgb", "-c lzw"}, {"rgb", "-c lzw:2"},
      {"rgb", "-B -c lzw:2"}, {"gray", "-c lzw:2"}, {"gray", "-B -c packbits"},
      {"pal", "-c lzw"}, {"pal4", "-c packbits"}, {"pal4", "-B -c none"},
      {"bw", "-c none"}, {"bw", "-c g3:1d"}, {"bw", "-c g3:1d:fill"}, {"bw", "-c g3:2d"},
      {"bw", "-c g4"}, {"bw", "-B -c g4"}, {"bw", "-c g4 -f lsb2msb"}, {"bw", "-c lzw -f lsb2msb"},
      {"bw", "-c lzw -r 7"}, {"rgb", "-c lzw -r 5"},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.source) + " " + c.options;
    const std::string file = Path("t.tif");
    ASSERT_TRUE(Run(std::string("tiffcp ") + c.options + " " + Path(std::string(c.source) + ".tif") + " " + file)) << what;
    ASSERT_TRUE(Ppm("tifftopnm " + file, Path("ref.ppm"))) << what;
    ASSERT_TRUE(Ours(file, Path("our.ppm"))) << what;
    ExpectSame(Path("ref.ppm"), Path("our.ppm"), what);
  }
  // A two-page file: --sub picks the page, and a page past the last is no image.
  ASSERT_TRUE(Run("tiffcp -c lzw " + Path("pal.tif") + " " + Path("bw.tif") + " " + Path("pages.tif")));
  ASSERT_TRUE(Ppm("tifftopnm " + Path("bw.tif"), Path("ref.ppm")));
  ASSERT_TRUE(Ours(Path("pages.tif"), Path("our.ppm"), "--sub 1"));
  ExpectSame(Path("ref.ppm"), Path("our.ppm"), "page 2");
  EXPECT_FALSE(Run(std::string(TAVIK_TOOL) + " info " + Path("pages.tif") + " --sub 2"));
  if (!Have("pnmtotiff")) return;
  for (const char* source : {"rgb", "gray", "bw"}) {
    for (const char* options : {"", "-lzw", "-packbits", "-msb2lsb -g4"}) {
      if (std::string(options) == "-msb2lsb -g4" && std::string(source) != "bw") continue;
      const std::string what = std::string("pnmtotiff ") + options + " " + source;
      ASSERT_TRUE(Run("tifftopnm " + Path(std::string(source) + ".tif") + " > " + Path("src.pnm")));
      ASSERT_TRUE(Run(std::string("pnmtotiff ") + options + " " + Path("src.pnm") + " > " + Path("p.tif"))) << what;
      ASSERT_TRUE(Ppm("cat " + Path("src.pnm"), Path("ref.ppm")));
      ASSERT_TRUE(Ours(Path("p.tif"), Path("our.ppm"))) << what;
      ExpectSame(Path("ref.ppm"), Path("our.ppm"), what);
    }
  }
}

TEST_F(PeerCrossCheck, OurTiffFilesPassTiffinfoAndDecodeInLibtiff) {
  if (!Have("tiffinfo") || !Have("tifftopnm")) GTEST_SKIP() << "libtiff-tools are not installed";
  struct Case {
    const char* source;
    const char* type;
  } cases[] = {
      {"rgb", "TIF"}, {"rgb", "TIF.PACKBITS"}, {"rgb", "TIF.LZW"}, {"pal", "TIF.LZW"},
      {"pal", "TIF.PACKBITS"}, {"pal4", "TIF"}, {"pal4", "TIF.LZW"}, {"bw", "TIF"},
      {"bw", "TIF.LZW"}, {"bw", "TIF.PACKBITS"}, {"bw", "TIF.CCITT3"}, {"bw", "TIF.GROUP3"},
      {"bw", "TIF.GROUP4"}, {"gray", "TIF.LZW"},
  };
  for (const Case& c : cases) {
    const std::string what = std::string(c.source) + " " + c.type;
    const std::string src = Path(std::string(c.source) + ".tif");
    const std::string out = Path("ours.tif");
    ASSERT_TRUE(Run(std::string(TAVIK_TOOL) + " convert " + src + " " + out + " --type " + c.type)) << what;
    EXPECT_TRUE(Run("tiffinfo -D " + out + " 2>&1 | (! grep -i -E 'error|warning')")) << what;
    ASSERT_TRUE(Ppm("tifftopnm " + src, Path("ref.ppm")));
    ASSERT_TRUE(Ppm("tifftopnm " + out, Path("lib.ppm"))) << what;
    ExpectSame(Path("ref.ppm"), Path("lib.ppm"), what);
    if (Have("tiff2rgba")) EXPECT_TRUE(Run("tiff2rgba " + out + " " + Path("rgba.tif"))) << what;
  }
}

TEST_F(PeerCrossCheck, GifsFromImageMagickGifsicleAndGiflibLoadPixelExact) {
  if (!Have("giftopnm")) GTEST_SKIP() << "netpbm's giftopnm is not installed";
  std::vector<std::string> files;
  for (const char* args : {"-colors 256", "-colors 200 -interlace GIF", "-colors 16", "-colors 5",
                           "-threshold 50% -type bilevel"}) {
    const std::string f = Path("im" + std::to_string(files.size()) + ".gif");
    ASSERT_TRUE(Run("/usr/bin/convert " + Path("rgb.tif") + " " + args + " " + f));
    files.push_back(f);
  }
  const size_t made = files.size();
  for (size_t i = 0; i < made; ++i) {
    if (Have("gifsicle")) {
      files.push_back(files[i] + ".sicle.gif");
      ASSERT_TRUE(Run("gifsicle -O2 " + std::string(i % 2 ? "--interlace " : "") + files[i] + " -o " + files.back()));
    }
    if (Have("giftool")) {
      files.push_back(files[i] + ".giflib.gif");
      ASSERT_TRUE(Run("giftool " + std::string(i % 2 ? "" : "-i 1 ") + "< " + files[i] + " > " + files.back()));
    }
  }
  for (const std::string& f : files) {
    ASSERT_TRUE(Ppm("giftopnm " + f, Path("ref.ppm"))) << f;
    ASSERT_TRUE(Ours(f, Path("our.ppm"))) << f;
    ExpectSame(Path("ref.ppm"), Path("our.ppm"), f);
  }
}

TEST_F(PeerCrossCheck, OurGifsDecodeInNetpbmAndGiflib) {
  if (!Have("giftopnm")) GTEST_SKIP() << "netpbm's giftopnm is not installed";
  struct Case {
    const char* source;
    const char* type;
  } cases[] = {{"pal", "GIF"}, {"pal", "GIF.89A"}, {"pal4", "GIF"}, {"bw", "GIF.89A"}};
  for (const Case& c : cases) {
    const std::string what = std::string(c.source) + " " + c.type;
    const std::string src = Path(std::string(c.source) + ".tif");
    const std::string out = Path("ours.gif");
    ASSERT_TRUE(Run(std::string(TAVIK_TOOL) + " convert " + src + " " + out + " --type " + c.type)) << what;
    ASSERT_TRUE(Ppm("tifftopnm " + src, Path("ref.ppm")));
    ASSERT_TRUE(Ppm("giftopnm " + out, Path("netpbm.ppm"))) << what;
    ExpectSame(Path("ref.ppm"), Path("netpbm.ppm"), what);
    if (Have("gif2rgb")) {
      // giflib's own decoder: raw RGB triples, compared with the reference's pixel bytes.
      ASSERT_TRUE(Run("gif2rgb -1 -o " + Path("lib.rgb") + " " + out)) << what;
      std::vector<char> ref = Bytes(Path("ref.ppm")), lib = Bytes(Path("lib.rgb"));
      ASSERT_GE(ref.size(), lib.size());
      EXPECT_TRUE(std::equal(lib.begin(), lib.end(), ref.end() - lib.size())) << what;
    }
  }
}

TEST_F(PeerCrossCheck, CjpegFilesDecodeAsDjpegDoes) {
  if (!Have("cjpeg") || !Have("djpeg")) GTEST_SKIP() << "libjpeg-turbo-progs are not installed";
  ASSERT_TRUE(Run("tifftopnm " + Path("rgb.tif") + " > " + Path("src.ppm")));
  for (const char* options : {"-quality 90", "-quality 50 -progressive", "-grayscale", "-optimize -restart 2"}) {
    const std::string what = options;
    ASSERT_TRUE(Run(std::string("cjpeg ") + options + " " + Path("src.ppm") + " > " + Path("a.jpg"))) << what;
    {
      std::ofstream ini(Path("plain.ini"));
      ini << "[JPEG Decode]\nQuantizeColors=OFF\n";
    }
    ASSERT_TRUE(Ppm("djpeg " + Path("a.jpg"), Path("ref.ppm")));
    ASSERT_TRUE(Ours(Path("a.jpg"), Path("our.ppm"), "--ini " + Path("plain.ini"))) << what;
    ExpectSame(Path("ref.ppm"), Path("our.ppm"), what + " unquantized");
    ASSERT_TRUE(Ppm("djpeg -colors 256 " + Path("a.jpg"), Path("ref256.ppm")));
    ASSERT_TRUE(Ours(Path("a.jpg"), Path("our256.ppm"))) << what;
    ExpectSame(Path("ref256.ppm"), Path("our256.ppm"), what + " 256 colours");
  }
}

}  // namespace
