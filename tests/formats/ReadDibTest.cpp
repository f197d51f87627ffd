#include "ReadDib.h"

#include "BmpBuilder.h"
#include "LoadHelpers.h"
#include "ReportCollector.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace tavik {
namespace {

using testing::BmpSpec;
using testing::BuildBmp;
using testing::GrayTable;

std::vector<uint8_t> SmallBmp() {
  return BuildBmp({.width = 3, .height = 2, .bits = 8, .table = GrayTable(256),
                   .pixels = {1, 2, 3, 0, 4, 5, 6, 0}});
}

TEST(ReadDib, DataSourceFillsTheRecord) {
  auto bytes = SmallBmp();
  ReadRequest request;
  request.kind = "DATA";
  request.data = bytes;
  request.size = static_cast<int64_t>(bytes.size());
  request.name = "memo field";
  request.placementTop = 5;
  request.placementLeft = 7;
  request.subImage = 2;
  auto record = ReadDib(std::move(request));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->sourceKind, kNoSource) << "the source is closed after loading";
  EXPECT_EQ(record->sourceName, "MEMO FIELD");
  EXPECT_EQ(record->formatFamily, kFamilyBMP);
  EXPECT_EQ(record->subtype, kSubWindowsRGB);
  EXPECT_EQ(record->subImage, 2);
  EXPECT_EQ(record->sourceBottomUp, 1);
  EXPECT_EQ(record->colorCount, 256);
  EXPECT_EQ(record->placementRect.left, 7);
  EXPECT_EQ(record->placementRect.top, 5);
  EXPECT_EQ(record->placementRect.right, 9);
  EXPECT_EQ(record->placementRect.bottom, 6);
  EXPECT_EQ(testing::Indices(*record), (std::vector<int>{4, 5, 6, 1, 2, 3}));
}

TEST(ReadDib, ImageInsideLargerDataAtAnOffset) {
  auto bmp = SmallBmp();
  std::vector<uint8_t> data(100, 0xCC);
  data.insert(data.end(), bmp.begin(), bmp.end());
  data.insert(data.end(), 50, 0xCC);
  ReadRequest request;
  request.kind = "HANDLE";
  request.data = data;
  request.offset = 100;
  request.size = static_cast<int64_t>(bmp.size());
  auto record = ReadDib(std::move(request));
  ASSERT_TRUE(record);
  EXPECT_EQ(testing::Indices(*record), (std::vector<int>{4, 5, 6, 1, 2, 3}));
}

TEST(ReadDib, FailuresAndWhatTheyReport) {
  testing::ReportCollector collector;
  auto bmp = SmallBmp();
  struct Case {
    const char* name;
    std::string kind;
    std::vector<uint8_t> data;
    std::vector<testing::Report> reports;
  };
  const Case cases[] = {
      {"kind word in lower case", "file", bmp, {{73, kReadDib, "!FD"}}},
      {"unknown kind word", "MEMO", bmp, {{73, kReadDib, "!FD"}}},
      {"empty data", "DATA", {}, {}},
      {"unknown format as data", "DATA", std::vector<uint8_t>(300, 0x55), {}},
  };
  for (const Case& c : cases) {
    collector.reports.clear();
    ReadRequest request;
    request.kind = c.kind;
    request.data = c.data;
    request.size = static_cast<int64_t>(c.data.size());
    EXPECT_EQ(ReadDib(std::move(request)), nullptr) << c.name;
    EXPECT_EQ(collector.reports, c.reports) << c.name;
  }
}

TEST(FindLoader, EveryDetectedFamilyHasALoaderUnderItsRoutineName) {
  struct Case { int family; int routine; };
  for (Case c : {Case{kFamilyPCX, kLoadPCX}, Case{kFamilyGGC, kLoadGGC}, Case{kFamilyGIF, kLoadGIF},
                 Case{kFamilyTIFF, kLoadTIF}, Case{kFamilyX11, kLoadX11}, Case{kFamilyMAC, kLoadMAC},
                 Case{kFamilyIMG, kLoadGEM}, Case{kFamilyBMP, kLoadBMP}, Case{kFamilyTGA, kLoadTGA},
                 Case{kFamilyMSP, kLoadMSP}, Case{kFamilyWPG, kLoadWPG}, Case{kFamilyPIC, kLoadPIC},
                 Case{kFamilyWMF, kLoadWMF}, Case{kFamilyJPG, kLoadJPG}, Case{kFamilyRAS, kLoadRAS}}) {
    const LoaderEntry* entry = FindLoader(c.family);
    ASSERT_NE(entry, nullptr) << c.family;
    EXPECT_EQ(entry->routine, c.routine) << c.family;
    EXPECT_NE(entry->load, nullptr) << c.family;
  }
  EXPECT_EQ(FindLoader(kFamilyUndefined), nullptr) << "family 0 goes to the import filters";
  EXPECT_EQ(FindLoader(kFamilyICO), nullptr);
}

TEST(ReadDib, FileSourceAndMissingFile) {
  testing::ReportCollector collector;
  auto path = std::filesystem::temp_directory_path() / "tavik-readdib-test.bmp";
  auto bmp = SmallBmp();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()),
                                              static_cast<std::streamsize>(bmp.size()));
  ReadRequest request;
  request.kind = "FILE";
  request.name = path.string();
  auto record = ReadDib(std::move(request));
  ASSERT_TRUE(record);
  EXPECT_EQ(record->sourceSize, static_cast<int64_t>(bmp.size()));
  std::filesystem::remove(path);

  ReadRequest missing;
  missing.kind = "FILE";
  missing.name = path.string();
  EXPECT_EQ(ReadDib(std::move(missing)), nullptr);
  EXPECT_TRUE(collector.reports.empty()) << "a file that does not open fails quietly";
}

TEST(ReadDib, UnknownFileGoesToTheImportFilterButUnknownDataDoesNot) {
  static int calls = 0;
  SetImportFilter([](const std::string&, ImageRecord& record) {
    ++calls;
    auto dib = AllocateDib(2, 2, 24, 0);
    record.pixels = std::move(*dib);
    return true;
  });
  auto path = std::filesystem::temp_directory_path() / "tavik-readdib-unknown.xyz";
  std::ofstream(path, std::ios::binary) << std::string(300, 'U');
  ReadRequest file;
  file.kind = "FILE";
  file.name = path.string();
  EXPECT_TRUE(ReadDib(std::move(file)));
  EXPECT_EQ(calls, 1);
  std::vector<uint8_t> same(300, 'U');
  ReadRequest data;
  data.kind = "DATA";
  data.data = same;
  data.size = 300;
  EXPECT_FALSE(ReadDib(std::move(data)));
  EXPECT_EQ(calls, 1);
  SetImportFilter(nullptr);
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace tavik
