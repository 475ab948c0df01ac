#include "skin/GdiPlusBitmap.h"

#include <gtest/gtest.h>

#include "skin/PngImage.h"

namespace {

TEST(GdiPlusBitmapResource, DecodesAPngResourceAtItsOwnSizeAndKeepsItReadable) {
  CGdiPlusBitmapResource picture;
  ASSERT_TRUE(picture.Load(304, L"PNG"));
  ASSERT_NE(nullptr, picture.Bitmap());
  EXPECT_EQ(256u, picture.Bitmap()->GetWidth());
  EXPECT_EQ(110u, picture.Bitmap()->GetHeight());
  // The pixels are read through the stream on the kept block, long after Load.
  Gdiplus::Color corner, middle;
  ASSERT_EQ(Gdiplus::Ok, picture.Bitmap()->GetPixel(0, 0, &corner));
  ASSERT_EQ(Gdiplus::Ok, picture.Bitmap()->GetPixel(128, 55, &middle));
  EXPECT_EQ(0, corner.GetA()) << "the rounded corner is transparent";
  EXPECT_EQ(255, middle.GetA());
}

TEST(GdiPlusBitmapResource, MissingOrUndecodableResourcesLeaveNothingHeld) {
  struct Case {
    UINT id;
    const wchar_t* type;
  };
  for (const Case& c : {Case{9999, L"PNG"}, Case{207, L"GIF"}, Case{1, MAKEINTRESOURCEW(24)} /* the manifest */}) {
    CGdiPlusBitmapResource picture;
    ASSERT_TRUE(picture.Load(207, L"PNG"));
    EXPECT_FALSE(picture.Load(c.id, c.type)) << c.id;
    EXPECT_EQ(nullptr, picture.Bitmap()) << "a failed load also drops what was held before";
  }
}

TEST(LoadPngImage, SameIdSamePictureMissingIdNone) {
  Gdiplus::Image* first = quarrow::LoadPngImage(275);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(64u, first->GetWidth());
  EXPECT_EQ(first, quarrow::LoadPngImage(275)) << "decoded once, not again for every window";
  EXPECT_NE(first, quarrow::LoadPngImage(276));
  EXPECT_EQ(nullptr, quarrow::LoadPngImage(9999));
}

}  // namespace
