// Colours, fonts, bitmaps and the canvas.
#include "ComponentImage.h"
#include "VclTestSupport.h"

#include "vcl/ExtCtrls.h"

#include "classes/Filer.h"
#include "classes/MemoryStream.h"
#include "classes/TypInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(Graphics, ColoursAreBgrWithFixedSystemColoursAndNamedIdentifiers) {
    EXPECT_EQ(ColorToRGB(TColor(0x6F8A91)), TColor(0x6F8A91));
    EXPECT_EQ(ColorToRGB(clBtnFace), TColor(0xF0F0F0));
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToArgb(TColor(0x6F8A91)), 0xFF918A6Fu);
    EXPECT_EQ(ColorToString(clMenu), "clMenu");
    EXPECT_EQ(ColorToString(TColor(0x6F8A91)), "$006F8A91");
    int32_t c = 0;
    EXPECT_TRUE(IdentToColor("clYellow", c));
    EXPECT_EQ(c, 0x00FFFF);
}

TEST(Graphics, NamedColoursCharsetsAndCursorsAreTextAsTheObjectTextWritesThem) {
    Owned<TPanel> panel(new TPanel(nullptr));
    panel->SetName("Panel1");
    panel->SetColor(clBtnFace);
    panel->SetCursor(crHourGlass);
    panel->Font()->SetCharset(RUSSIAN_CHARSET);
    auto text = [](TObject* o, const char* name) { return GetPropValueText(o, GetPropInfo(o, name)); };
    EXPECT_EQ(text(panel.get(), "Color"), "clBtnFace");
    EXPECT_EQ(text(panel.get(), "Cursor"), "crHourGlass");
    EXPECT_EQ(text(panel->Font(), "Charset"), "RUSSIAN_CHARSET");

    AnsiString written = yorde::test::WriteLayout(panel.get());
    EXPECT_NE(written.find("Color = clBtnFace\n"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Cursor = crHourGlass\n"), AnsiString::npos) << written;
    EXPECT_NE(written.find("Font.Charset = RUSSIAN_CHARSET\n"), AnsiString::npos) << written;

    // Without a name: decimal, both ways.
    panel->SetColor(TColor(0x6F8A91));
    EXPECT_EQ(text(panel.get(), "Color"), "7309969");
    SetPropValueText(panel.get(), GetPropInfo(panel.get(), "Color"), "clMenu");
    EXPECT_EQ(panel->Color(), clMenu);
    SetPropValueText(panel.get(), GetPropInfo(panel.get(), "Cursor"), "-11");
    EXPECT_EQ(panel->Cursor(), crHourGlass);
}

TEST(Graphics, FontSizeAndHeightAreTwoViewsOfOneValue) {
    TFont f;
    EXPECT_EQ(f.Height(), -11);
    EXPECT_EQ(f.Size(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.Height(), -13);
    f.SetHeight(-19);
    EXPECT_EQ(f.Size(), 14);
    int changes = 0;
    f.OnChange = [&](TObject*) { ++changes; };
    f.SetHeight(-19);
    f.SetCharset(RUSSIAN_CHARSET);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.CodePage(), 1251);
}

TEST(Graphics, BitmapsSurviveBmpAndPngRoundTrips) {
    TBitmap b;
    b.SetSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            b.SetPixelArgb(x, y, 0xFF000000u | uint32_t(x * 40) << 16 | uint32_t(y * 80) << 8 | 7);
    TMemoryStream s;
    b.SaveToStream(&s);
    s.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&s);
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back.PixelArgb(x, y), b.PixelArgb(x, y));

    TTempFolder tmp("yorde-vcl");
    std::string png = tmp.Path("b.png");
    b.SaveToFile(png);
    TBitmap fromPng;
    fromPng.LoadFromFile(png);
    EXPECT_EQ(fromPng.PixelArgb(4, 2), b.PixelArgb(4, 2));
}

TEST(Graphics, PalettedBmpDecodesAndBrokenBmpIsRefused) {
    // A 2x2, 8-bit bottom-up bitmap: palette entry 1 is red, 2 is green.
    std::string bmp = std::string("BM") + std::string(8, '\0') + std::string("\x36\x04\0\0", 4);
    std::string info(40, '\0');
    info[0] = 40;
    info[4] = 2;
    info[8] = 2;
    info[12] = 1;
    info[14] = 8;
    bmp += info;
    std::string palette(256 * 4, '\0');
    palette[1 * 4 + 2] = '\xFF';
    palette[2 * 4 + 1] = '\xFF';
    bmp += palette;
    bmp += std::string("\x01\x02\0\0", 4);  // bottom row: red, green
    bmp += std::string("\x02\x01\0\0", 4);  // top row: green, red
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    DecodeBmp(bmp, w, h, px);
    ASSERT_EQ(w, 2);
    ASSERT_EQ(h, 2);
    EXPECT_EQ(px[0], 0xFF00FF00u);
    EXPECT_EQ(px[2], 0xFFFF0000u);
    EXPECT_THROW(DecodeBmp(bmp.substr(0, bmp.size() - 3), w, h, px), EInvalidGraphic);
    std::string huge = bmp;
    huge[18] = '\xFF';
    huge[19] = '\xFF';
    huge[20] = '\xFF';
    EXPECT_THROW(DecodeBmp(huge, w, h, px), EInvalidGraphic);
}

TEST(Graphics, TheCanvasDrawsIntoABitmap) {
    TBitmap b;
    b.SetSize(20, 20);
    TCanvas* c = b.Canvas();
    c->Brush()->SetColor(clRed);
    c->FillRect(TRect(0, 0, 20, 20));
    c->Brush()->SetColor(clBlue);
    c->Pen()->SetColor(clBlue);
    c->Polygon({TPoint(10, 2), TPoint(18, 18), TPoint(2, 18)});
    c->Pen()->SetColor(clLime);
    c->MoveTo(0, 0);
    c->LineTo(5, 0);
    EXPECT_EQ(c->Pixels(1, 10), clRed);
    EXPECT_EQ(c->Pixels(10, 14), clBlue);
    EXPECT_EQ(c->Pixels(4, 0), clLime);
    EXPECT_EQ(c->Pixels(5, 0), clRed);  // the end point is not drawn
    EXPECT_EQ(c->PenPos(), TPoint(5, 0));
    // Text on an opaque brush fills its cell.
    c->Brush()->SetColor(clYellow);
    c->TextOut(0, 0, "W");
    EXPECT_EQ(c->Pixels(0, 1), clYellow);
    EXPECT_GT(c->TextWidth("WWW"), c->TextWidth("W"));
}

TEST(Graphics, APictureStreamsWithItsImage) {
    TImage image(nullptr);
    image.SetName("Image1");
    TBitmap* b = image.Picture()->Bitmap();
    b->SetSize(3, 2);
    b->SetPixelArgb(2, 1, 0xFF123456u);
    TMemoryStream s;
    s.WriteComponent(&image);
    s.SetPosition(0);
    TImage back(nullptr);
    s.ReadComponent(&back);
    ASSERT_NE(back.Picture()->Graphic(), nullptr);
    EXPECT_EQ(back.Picture()->Width(), 3);
    EXPECT_EQ(back.Picture()->Bitmap()->PixelArgb(2, 1), 0xFF123456u);
}

}  // namespace
