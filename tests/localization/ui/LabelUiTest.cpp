// The 3D label: its copies drawn in the right colours at the right offsets,
// then the text; and a picture of every style.
#include "CanvasRecorder.h"
#include "ShotPath.h"

#include "localization/LxLabel.h"
#include "qt/QtCommonPeers.h"
#include "qt/QtPlatform.h"
#include "vcl/CommonRegister.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

namespace {

// What DrawText was given: where, and in which colour.
struct Pass {
    TRect Where;
    TColor Color;
    bool operator==(const Pass&) const = default;
};

class PassRecorder : public TCanvasRecorder {
public:
    using TCanvasRecorder::TCanvasRecorder;
    int DrawText(const std::string& Utf8, TRect& R, unsigned Format, const TFontData& Font) override {
        Passes.push_back({R, Font.Color});
        return TCanvasRecorder::DrawText(Utf8, R, Format, Font);
    }
    std::vector<Pass> Passes;
};

std::vector<Pass> passesOf(TlxLabel* Label) {
    TBitmap bitmap;
    bitmap.SetSize(Label->ClientWidth(), Label->ClientHeight());
    PassRecorder recorder(&bitmap);
    TPeerInput::Paint(Label, recorder, TRect(0, 0, bitmap.Width(), bitmap.Height()));
    return recorder.Passes;
}

TRect moved(int DX, int DY) { return TRect(DX, DY, 100 + DX, 20 + DY); }

class Label3D : public ::testing::Test {
protected:
    void SetUp() override {
        label->SetAutoSize(false);
        label->SetBounds(0, 0, 100, 20);
        label->SetCaption("Nagrania");
        label->Font()->SetColor(clNavy);
    }
    std::unique_ptr<TlxLabel, void (*)(TObject*)> label{new TlxLabel(nullptr), &TObject::Free};
};

TEST_F(Label3D, RecessedByDefaultLightThenDarkThenText) {
    EXPECT_EQ(label->TextStyle(), tsRecessed);
    EXPECT_EQ(passesOf(label.get()), (std::vector<Pass>{{moved(2, 2), ColorToRGB(clBtnHighlight)},
                                                        {moved(1, -1), ColorToRGB(clBtnShadow)},
                                                        {moved(0, 0), ColorToRGB(clNavy)}}));
}

TEST_F(Label3D, RaisedSwapsTheColoursAndTheSensesFollowTheirSwitches) {
    label->SetTextStyle(tsRaised);
    label->SetShadowDepth(3);
    label->SetWidthDepth(2);
    label->SetShadowUp(true);
    label->SetThreeDLeft(true);
    EXPECT_EQ(passesOf(label.get()), (std::vector<Pass>{{moved(3, -3), ColorToRGB(clBtnShadow)},
                                                        {moved(2, 2), ColorToRGB(clBtnHighlight)},
                                                        {moved(0, 0), ColorToRGB(clNavy)}}));
}

TEST_F(Label3D, ShadowHasOneCopyNoneHasNoneAndDisabledTextIsGrey) {
    label->SetTextStyle(tsShadow);
    label->SetShadowColor(clRed);
    EXPECT_EQ(passesOf(label.get()),
              (std::vector<Pass>{{moved(2, -2), ColorToRGB(clRed)}, {moved(0, 0), ColorToRGB(clNavy)}}));
    label->SetShadowUp(true);
    EXPECT_EQ(passesOf(label.get()).front().Where, moved(2, 2));
    label->SetTextStyle(tsNone);
    label->SetEnabled(false);
    EXPECT_EQ(passesOf(label.get()), (std::vector<Pass>{{moved(0, 0), ColorToRGB(clGrayText)}}));
    label->SetTextStyle(tsRecessed);  // copies keep their colours
    EXPECT_EQ(passesOf(label.get()).front().Color, ColorToRGB(clBtnHighlight));
}

TEST(Label3DPicture, EveryStyle) {
    RegisterCommonControlClasses();
    yorde::qt::RegisterCommonPeers();
    std::unique_ptr<TForm, void (*)(TObject*)> form(new TForm(nullptr), &TObject::Free);
    form->SetClientSize(360, 200);
    form->SetCaption("TlxLabel");
    const TTextStyle styles[] = {tsNone, tsRaised, tsRecessed, tsShadow};
    const char* names[] = {"Brak (tsNone)", "Wypukły (tsRaised)", "Wklęsły (tsRecessed)", "Cień (tsShadow)"};
    for (int i = 0; i < 4; ++i) {
        auto* l = new TlxLabel(form.get());
        l->SetParent(form.get());
        l->SetAutoSize(false);
        l->SetBounds(16, 12 + 46 * i, 330, 40);
        l->Font()->SetHeight(-26);
        l->Font()->SetStyle(TFontStyles{fsBold});
        l->SetTextStyle(styles[i]);
        l->SetShadowDepth(3);
        l->SetCaption(Utf8ToCodePage(names[i], 1250));
    }
    const std::string path = yorde::test::ShotPath("lxLabel_styles.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    QImage image(QString::fromStdString(path));
    ASSERT_FALSE(image.isNull());
    // The shadow style draws a second colour beside the text: more than two colours in its row.
    QList<QRgb> colours;
    for (int y = 12 + 46 * 3; y < 12 + 46 * 3 + 40; ++y)
        for (int x = 16; x < 200; ++x)
            if (!colours.contains(image.pixel(x, y))) colours.append(image.pixel(x, y));
    EXPECT_GT(colours.size(), 2);
}

}  // namespace
