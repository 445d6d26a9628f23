// Image lists: the stored format, GetBitmap, adding bitmaps.
#include "MenusTestSupport.h"

#include "classes/MemoryStream.h"

#include <gtest/gtest.h>

namespace {

AnsiString HexOf(const std::string& Bytes) {
    static const char* digits = "0123456789ABCDEF";
    AnsiString out;
    for (unsigned char c : Bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

void ReadImages(TImageList& List, const std::string& Data) {
    TMemoryStream ms;
    ms.WriteBuffer(Data.data(), int64_t(Data.size()));
    ms.SetPosition(0);
    List.ReadImages(ms);
}

}  // namespace

TEST(ImageList, LayoutFillsTheListFromItsBitmapData) {
    std::string red = MakePng(4, 3, 0xFFFF0000u, 0xFF000000u);
    std::string blue = MakePng(4, 3, 0xFF0000FFu, 0xFFFFFFFFu);
    // Cut and padded to the cell size when it differs.
    std::string wide = MakePng(6, 2, 0xFF00FF00u, 0xFF00FF00u);
    Owned<TForm> form(new TForm(nullptr));
    ReadLayout(
        "object Form1: TForm\n"
        "  object ImageListTab: TImageList\n"
        "    Height = 3\n"
        "    Width = 4\n"
        "    Bitmap = {" +
            HexOf(ImageListData({red, blue, wide})) +
            "}\n"
            "  end\n"
            "end\n",
        form.get());
    auto* list = dynamic_cast<TImageList*>(form->FindComponent("ImageListTab"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 3);

    TBitmap bmp;
    ASSERT_TRUE(list->GetBitmap(1, &bmp));
    EXPECT_EQ(bmp.Width(), 4);
    EXPECT_EQ(bmp.Height(), 3);
    EXPECT_EQ(bmp.PixelArgb(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(bmp.PixelArgb(3, 2), 0xFF0000FFu);
    ASSERT_TRUE(list->GetBitmap(0, &bmp));
    EXPECT_EQ(bmp.PixelArgb(0, 0), 0xFF000000u);
    EXPECT_EQ(bmp.PixelArgb(2, 1), 0xFFFF0000u);
    // The wide image: its first 4 columns, and the missing row keeps what the
    // bitmap held (the red image's pixel).
    ASSERT_TRUE(list->GetBitmap(2, &bmp));
    EXPECT_EQ(bmp.PixelArgb(3, 1), 0xFF00FF00u);
    EXPECT_EQ(bmp.PixelArgb(3, 2), 0xFFFF0000u);

    EXPECT_FALSE(list->GetBitmap(3, &bmp));
    EXPECT_FALSE(list->GetBitmap(-1, &bmp));
    EXPECT_FALSE(list->GetBitmap(0, nullptr));
}

TEST(ImageList, WrittenImagesReadBackTheSame) {
    TImageList source(nullptr);
    source.SetWidth(3);
    source.SetHeight(2);
    TBitmap strip;
    strip.SetSize(6, 2);  // two cells
    for (int x = 0; x < 6; ++x)
        for (int y = 0; y < 2; ++y) strip.SetPixelArgb(x, y, 0xFF000000u | uint32_t(x * 40 + y));
    EXPECT_EQ(source.Add(&strip, nullptr), 0);
    ASSERT_EQ(source.Count(), 2);

    TMemoryStream ms;
    source.WriteImages(ms);
    ms.SetPosition(0);
    TImageList copy(nullptr);
    copy.SetWidth(3);
    copy.SetHeight(2);
    copy.ReadImages(ms);
    ASSERT_EQ(copy.Count(), 2);
    TBitmap bmp;
    ASSERT_TRUE(copy.GetBitmap(1, &bmp));
    EXPECT_EQ(bmp.PixelArgb(0, 1), 0xFF000000u | uint32_t(3 * 40 + 1));
    EXPECT_EQ(bmp.PixelArgb(2, 0), 0xFF000000u | uint32_t(5 * 40));
}

TEST(ImageList, BadDataIsRefused) {
    TImageList list(nullptr);
    std::string good = MakePng(2, 2, 0xFFFF0000u, 0xFFFF0000u);
    std::string data = ImageListData({good, good});
    // Cut inside the second image, inside its length, and a count far too big.
    EXPECT_THROW(ReadImages(list, data.substr(0, data.size() - 3)), EReadError);
    EXPECT_THROW(ReadImages(list, data.substr(0, 4 + 4 + good.size() + 2)), EReadError);
    EXPECT_THROW(ReadImages(list, std::string("\xFF\xFF\xFF\x7F", 4)), EReadError);
    EXPECT_THROW(ReadImages(list, ImageListData({"not a picture"})), EInvalidGraphic);
    ReadImages(list, ImageListData({}));
    EXPECT_EQ(list.Count(), 0);
}

TEST(ImageList, MasksAndCellSize) {
    TImageList list(nullptr);
    list.SetWidth(2);
    list.SetHeight(1);
    TBitmap img;
    img.SetSize(2, 1);
    img.SetPixelArgb(0, 0, ColorToArgb(clRed));
    img.SetPixelArgb(1, 0, ColorToArgb(clLime));
    list.AddMasked(&img, clLime);
    TBitmap mask;
    mask.SetSize(2, 1);
    mask.SetPixelArgb(0, 0, 0xFFFFFFFFu);  // white: transparent
    mask.SetPixelArgb(1, 0, 0xFF000000u);
    list.Add(&img, &mask);

    // Transparent pixels keep what the bitmap held.
    TBitmap bmp;
    bmp.SetSize(2, 1);
    bmp.Canvas()->Brush()->SetColor(clBlue);
    bmp.Canvas()->FillRect(TRect(0, 0, 2, 1));
    ASSERT_TRUE(list.GetBitmap(0, &bmp));
    EXPECT_EQ(bmp.PixelArgb(0, 0), ColorToArgb(clRed));
    EXPECT_EQ(bmp.PixelArgb(1, 0), ColorToArgb(clBlue));
    ASSERT_TRUE(list.GetBitmap(1, &bmp));
    EXPECT_EQ(bmp.PixelArgb(0, 0), ColorToArgb(clRed));
    EXPECT_EQ(bmp.PixelArgb(1, 0), ColorToArgb(clLime));

    EXPECT_THROW(list.Delete(2), EInvalidOperation);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    // A new cell size empties the list.
    list.SetWidth(4);
    EXPECT_EQ(list.Count(), 0);
}
