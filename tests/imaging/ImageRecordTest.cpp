#include "ByteOrder.h"
#include "FormatNames.h"
#include "ImageRecord.h"

#include "ReportCollector.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavik {
namespace {

TEST(SetSourceName, KeepsLastCharactersAndUpperCasesAsciiLettersOnly) {
  ImageRecord record;
  SetSourceName(record, "c:\\images\\caf\xe9-1.bmp");
  EXPECT_EQ(record.sourceName, "C:\\IMAGES\\CAF\xe9-1.BMP");
  std::string longName = "a" + std::string(254, 'x') + "yz";  // 257 characters
  SetSourceName(record, longName);
  EXPECT_EQ(record.sourceName.size(), 255u);
  EXPECT_EQ(record.sourceName, std::string(253, 'X') + "YZ");
  SetSourceName(record, std::string(255, 'q'));
  EXPECT_EQ(record.sourceName, std::string(255, 'Q'));
}

struct ClipCase {
  const char* name;
  int32_t place[4];  // top, left, bottom, right
  int32_t crop[4];   // top, left, bottom, right
  int result;
  int32_t wantPlace[4];
  int32_t wantCrop[4];
};

TEST(ClipRequest, SettlesPlacementAndCrop) {
  const int32_t w = 100, h = 50;
  const ClipCase cases[] = {
      {"whole image by -1", {0, 0, -1, -1}, {-1, -1, -1, -1}, 0, {0, 0, 49, 99}, {0, 0, 49, 99}},
      {"placement origin moves the default corner", {10, 20, -1, -1}, {-1, -1, -1, -1}, 0,
       {10, 20, 59, 119}, {0, 0, 49, 99}},
      {"reversed crop is swapped", {0, 0, -1, -1}, {30, 60, 10, 20}, 0, {0, 0, 49, 99},
       {10, 20, 30, 60}},
      {"crop past the edges is clamped", {0, 0, -1, -1}, {5, 5, 500, 500}, 0, {0, 0, 49, 99},
       {5, 5, 49, 99}},
      {"crop top on the last row keeps one row", {0, 0, -1, -1}, {49, 0, -1, -1}, 0,
       {0, 0, 49, 99}, {49, 0, 49, 99}},
      {"crop top below the image", {0, 0, -1, -1}, {50, 0, -1, -1}, -1, {}, {}},
      {"crop left beyond the width", {0, 0, -1, -1}, {0, 100, -1, -1}, -1, {}, {}},
      {"placement bottom above its top", {10, 0, 5, -1}, {-1, -1, -1, -1}, -1, {}, {}},
      {"placement right left of its left", {0, 10, -1, 3}, {-1, -1, -1, -1}, -1, {}, {}},
  };
  for (const ClipCase& c : cases) {
    ImageRecord r;
    r.placementTop = c.place[0], r.placementLeft = c.place[1];
    r.placementBottom = c.place[2], r.placementRight = c.place[3];
    r.cropTop = c.crop[0], r.cropLeft = c.crop[1], r.cropBottom = c.crop[2], r.cropRight = c.crop[3];
    ASSERT_EQ(ClipRequest(r, w, h), c.result) << c.name;
    if (c.result != 0) continue;
    EXPECT_EQ((std::vector<int32_t>{r.placementTop, r.placementLeft, r.placementBottom,
                                    r.placementRight}),
              std::vector<int32_t>(c.wantPlace, c.wantPlace + 4)) << c.name;
    EXPECT_EQ((std::vector<int32_t>{r.cropTop, r.cropLeft, r.cropBottom, r.cropRight}),
              std::vector<int32_t>(c.wantCrop, c.wantCrop + 4)) << c.name;
  }
}

TEST(ClipRequest, PlacementCornerDoesNotWrapNearIntMax) {
  ImageRecord r;
  r.placementTop = 0x7FFFFFF0;
  r.placementBottom = r.placementRight = -1;
  r.cropTop = r.cropLeft = r.cropBottom = r.cropRight = -1;
  EXPECT_EQ(ClipRequest(r, 10, 100), 0);
  EXPECT_EQ(r.placementBottom, 0x7FFFFFFF);
}

// A record with a crop-sized DIB ready for StoreRow.
ImageRecord Prepared(int32_t w, int32_t h, int bits, int32_t cropTop = -1, int32_t cropLeft = -1,
                     int32_t cropBottom = -1, int32_t cropRight = -1, uint32_t flags = 0) {
  ImageRecord r;
  r.placementBottom = r.placementRight = -1;
  r.cropTop = cropTop, r.cropLeft = cropLeft, r.cropBottom = cropBottom, r.cropRight = cropRight;
  r.displayFlags = flags;
  EXPECT_EQ(ClipRequest(r, w, h), 0);
  EXPECT_TRUE(AllocateRecordDib(r, bits, bits <= 8 ? 1 << bits : 0, kLoadBMP));
  return r;
}

const uint8_t* Row(const ImageRecord& r, int32_t fromBottom) {
  return DIBRow(std::span<const uint8_t>(r.pixels), fromBottom);
}

TEST(StoreRow, RowsGoBottomUpWithinTheCrop) {
  ImageRecord r = Prepared(4, 10, 8, 2, 0, 4, -1);  // rows 2..4 kept
  const uint8_t data[4] = {1, 2, 3, 4};
  for (int32_t row : {1, 2, 4, 5}) StoreRow(r, row, data);
  EXPECT_EQ(Row(r, 2)[0], 1) << "crop top is the top DIB row";
  EXPECT_EQ(Row(r, 0)[3], 4) << "crop bottom is the bottom DIB row";
  EXPECT_EQ(Row(r, 1)[0], 0) << "row 3 never came";
  EXPECT_EQ(Row(r, 3)[0], 0) << "spare row untouched by rows outside the crop";
}

TEST(StoreRow, FlipFlagAloneStoresTopDown) {
  const uint8_t top[1] = {7};
  ImageRecord flipped = Prepared(1, 3, 8, -1, -1, -1, -1, kFlagFlipVertical);
  StoreRow(flipped, 0, top);
  EXPECT_EQ(Row(flipped, 0)[0], 7);
  // With a rotation or mirror the flip is left to the orientation code.
  ImageRecord rotated = Prepared(1, 3, 8, -1, -1, -1, -1, kFlagFlipVertical | kFlagRotate);
  StoreRow(rotated, 0, top);
  EXPECT_EQ(Row(rotated, 2)[0], 7);
  ImageRecord mirrored = Prepared(1, 3, 8, -1, -1, -1, -1, kFlagFlipVertical | kFlagMirror);
  StoreRow(mirrored, 0, top);
  EXPECT_EQ(Row(mirrored, 2)[0], 7);
}

TEST(StoreRow, TwentyFourBitsSwapRedAndBlueExceptForBmpAndTga) {
  const uint8_t rgb[6] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
  struct Case { int family; bool swapped; };
  for (Case c : {Case{kFamilyBMP, false}, Case{kFamilyTGA, false}, Case{kFamilyTIFF, true},
                 Case{kFamilyPCX, true}}) {
    ImageRecord r = Prepared(2, 1, 24);
    r.formatFamily = c.family;
    StoreRow(r, 0, rgb);
    const uint8_t* out = Row(r, 0);
    if (c.swapped) {
      EXPECT_EQ((std::vector<uint8_t>(out, out + 6)),
                (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x66, 0x55, 0x44})) << c.family;
    } else {
      EXPECT_EQ((std::vector<uint8_t>(out, out + 6)), (std::vector<uint8_t>(rgb, rgb + 6)));
    }
  }
}

TEST(StoreRow, CopiesOnlyTheCropBytesAndNeverMoreThanGiven) {
  ImageRecord r = Prepared(20, 1, 1, -1, 3, -1, 12);  // 10 pixels: 2 bytes
  const uint8_t data[4] = {0xAB, 0xCD, 0xEF, 0xFF};
  StoreRow(r, 0, data);
  EXPECT_EQ(Row(r, 0)[0], 0xAB);
  EXPECT_EQ(Row(r, 0)[1], 0xCD);
  EXPECT_EQ(Row(r, 0)[2], 0) << "third byte is past the crop";
  ImageRecord wide = Prepared(8, 1, 24);
  const uint8_t shortData[2] = {9, 9};
  StoreRow(wide, 0, shortData);  // must not read past the two bytes (ASan checks)
  EXPECT_EQ(Row(wide, 0)[1], 9);
  EXPECT_EQ(Row(wide, 0)[2], 0);
}

TEST(RecordFromDIB, WrapsAValidDibAndGrowsOnRequest) {
  auto dib = AllocateDib(5, 3, 4, 16);
  ASSERT_TRUE(dib);
  const size_t size = dib->size();
  auto record = RecordFromDIB(*dib, "pasted", 0x2000, 42, true);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->sourceKind, kNoSource);
  EXPECT_EQ(record->formatFamily, kFamilyBMP);
  EXPECT_EQ(record->subtype, kSubWindowsRGB);
  EXPECT_EQ(record->sourceName, "PASTED");
  EXPECT_EQ(record->window, 42u);
  EXPECT_EQ(record->displayFlags, 0x2000u);
  EXPECT_EQ(record->placementRight, 4);
  EXPECT_EQ(record->placementBottom, 2);
  EXPECT_EQ(record->cropRight, 4);
  EXPECT_EQ(record->cropBottom, 2);
  EXPECT_EQ(record->stride, 4u);
  EXPECT_EQ(record->bitsPerPixel, 4);
  EXPECT_EQ(record->colorCount, 16);
  EXPECT_EQ(record->pixels.size(), size + 4);
  EXPECT_EQ(RecordFromDIB(PackedDib(10, 0), "junk", 0, 0, false), nullptr);
}

TEST(RecordDefaults, EveryFieldStartsAtZero) {
  ImageRecord r;
  EXPECT_EQ(r.sourceKind, 0);
  EXPECT_EQ(r.formatFamily, 0);
  EXPECT_EQ(r.cropBottom, 0);
  EXPECT_EQ(r.window, 0u);
  EXPECT_TRUE(r.pixels.empty());
  EXPECT_FALSE(r.gdi);
  EXPECT_FALSE(r.next);
}

// Counts how often GDI objects are released, to show each is released exactly once.
struct CountingObjects : PlatformObjects {
  explicit CountingObjects(int& released) : released_(released) {}
  ~CountingObjects() override { ++released_; }
  int& released_;
};

TEST(ImageChain, KeepsOrderAndFreesEachHandleOnce) {
  int released = 0;
  std::unique_ptr<ImageRecord> head;
  for (int i = 0; i < 3; ++i) {
    auto r = std::make_unique<ImageRecord>();
    r->subImage = i;
    r->gdi = std::make_unique<CountingObjects>(released);
    r->displayCopyGdi = std::make_unique<CountingObjects>(released);
    AppendToChain(head, std::move(r));
  }
  EXPECT_EQ(head->subImage, 0);
  EXPECT_EQ(head->next->subImage, 1);
  EXPECT_EQ(head->next->next->subImage, 2);
  FreeImageData(*head->next);
  FreeDisplayCopy(*head->next);
  EXPECT_EQ(released, 2);
  FreeImageData(*head->next);
  EXPECT_EQ(released, 2) << "a freed handle is zero and not freed again";
  FreeImageChain(head);
  EXPECT_EQ(released, 6);
  EXPECT_FALSE(head);
}

TEST(ImageChain, LongChainFreesWithoutDeepRecursion) {
  std::unique_ptr<ImageRecord> head = std::make_unique<ImageRecord>();
  ImageRecord* tail = head.get();
  for (int i = 0; i < 200000; ++i) {
    tail->next = std::make_unique<ImageRecord>();
    tail = tail->next.get();
  }
  FreeImageChain(head);
  EXPECT_FALSE(head);
}

TEST(FormatNames, TypeAndColourTextsAsTheAboutDialogShowsThem) {
  EXPECT_EQ(FormatTypeText(kFamilyBMP, kSubWindowsRGB), "BMP Windows 3.x RGB");
  EXPECT_EQ(FormatTypeText(kFamilyTIFF, kSubGroup4TwoD), "TIFF Group 4 2-D");
  EXPECT_EQ(FormatTypeText(kFamilyBMP, kSubBitmap), "BMP BITMAP");
  EXPECT_EQ(FormatTypeText(kFamilyUndefined, 0), "Undefined");
  EXPECT_EQ(FormatTypeText(99, 99), "");
  EXPECT_EQ(ColorsText(1), "2");
  EXPECT_EQ(ColorsText(4), "16");
  EXPECT_EQ(ColorsText(8), "256");
  EXPECT_EQ(ColorsText(16), "64K");
  EXPECT_EQ(ColorsText(24), "16 Million");
  EXPECT_EQ(ColorsText(32), "16 Million");
}

}  // namespace
}  // namespace tavik
