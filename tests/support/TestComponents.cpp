#include "TestComponents.h"

#include "classes/Streams.h"

namespace yorde::test {

YORDE_IMPLEMENT_CLASS(TFont, [](TClassBuilder<TFont>& c) {
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(1);
    c.Property("Name", &TFont::Name, &TFont::SetName);
    c.Property("Style", &TFont::Style, &TFont::SetStyle).Default(0);
})

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        name_ = f->name_;
        charset_ = f->charset_;
        style_ = f->style_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TTestAction, [](TClassBuilder<TTestAction>&) {})

YORDE_IMPLEMENT_CLASS(TTestControl, [](TClassBuilder<TTestControl>& c) {
    c.Property("Action", &TTestControl::Action, &TTestControl::SetAction);
    c.Property("Align", &TTestControl::Align, &TTestControl::SetAlign).Default(alNone);
    c.Property("Caption", &TTestControl::Caption, &TTestControl::SetCaption);
    c.Property("Color", &TTestControl::Color, &TTestControl::SetColor).Default(clBtnFace);
    c.Property("DisplayLabel", &TTestControl::DisplayLabel, &TTestControl::SetDisplayLabel);
    c.Property("Font", &TTestControl::Font, &TTestControl::SetFont);
    c.Property("HelpKeyword", &TTestControl::HelpKeyword, &TTestControl::SetHelpKeyword);
    c.Property("Hint", &TTestControl::Hint, &TTestControl::SetHint);
    c.Property("ParentFont", &TTestControl::ParentFont, &TTestControl::SetParentFont).Default(true);
    c.Property("PopupMenu", &TTestControl::PopupMenu, &TTestControl::SetPopupMenu);
    c.Property("Width", &TTestControl::Width, &TTestControl::SetWidth).Default(0);
    c.Event("OnClick", &TTestControl::OnClick);
    c.Event("OnKeyDown", &TTestControl::OnKeyDown);
})
YORDE_IMPLEMENT_CLASS(TTestLabel, [](TClassBuilder<TTestLabel>&) {})
YORDE_IMPLEMENT_CLASS(TTestButton, [](TClassBuilder<TTestButton>&) {})
YORDE_IMPLEMENT_CLASS(TTestCombo, [](TClassBuilder<TTestCombo>& c) {
    c.Property("Items", &TTestCombo::Items, &TTestCombo::SetItems);
})
YORDE_IMPLEMENT_CLASS(TTestMemo, [](TClassBuilder<TTestMemo>& c) {
    c.Property("Lines", &TTestMemo::Lines, &TTestMemo::SetLines);
    c.Property("WordWrap", &TTestMemo::WordWrap, &TTestMemo::SetWordWrap).Default(1);
})
YORDE_IMPLEMENT_CLASS(TTestColumn, [](TClassBuilder<TTestColumn>& c) {
    c.Property("Title", &TTestColumn::Title, &TTestColumn::SetTitle);
    c.Property("PickList", &TTestColumn::PickList, &TTestColumn::SetPickList);
})
YORDE_IMPLEMENT_CLASS(TTestGrid, [](TClassBuilder<TTestGrid>& c) {
    c.Property("Columns", &TTestGrid::Columns, &TTestGrid::SetColumns);
    c.Property("Zoom", &TTestGrid::Zoom, &TTestGrid::SetZoom);
    c.Property("Accel", &TTestGrid::Accel, &TTestGrid::SetAccel);
    c.Property("Stamp", &TTestGrid::Stamp, &TTestGrid::SetStamp).Default(0);
})
YORDE_IMPLEMENT_CLASS(TTestPicture, [](TClassBuilder<TTestPicture>&) {})
YORDE_IMPLEMENT_CLASS(TTestImage, [](TClassBuilder<TTestImage>& c) {
    c.Property("Picture", &TTestImage::Picture, &TTestImage::SetPicture);
})
YORDE_IMPLEMENT_CLASS(TTestImageList, [](TClassBuilder<TTestImageList>&) {})
YORDE_IMPLEMENT_CLASS(TTestForm, [](TClassBuilder<TTestForm>& c) {
    c.Property("Caption", &TTestForm::Caption, &TTestForm::SetCaption);
    c.Property("Font", &TTestForm::Font, &TTestForm::SetFont);
    c.Property("Hint", &TTestForm::Hint, &TTestForm::SetHint);
    c.Property("Width", &TTestForm::Width, &TTestForm::SetWidth).Default(0);
    c.Field("TitleLabel", &TTestForm::TitleLabel);
    c.Method("OkClick", &TTestForm::OkClick);
    c.Method("EditKeyDown", &TTestForm::EditKeyDown);
})
YORDE_IMPLEMENT_CLASS(TTestDataModule, [](TClassBuilder<TTestDataModule>&) {})
YORDE_IMPLEMENT_CLASS(TTestAbstract, [](TClassBuilder<TTestAbstract>&) {})

namespace {
void readAll(TStream& s, std::string& out) {
    out.assign(size_t(s.Size() - s.Position()), '\0');
    if (!out.empty()) s.ReadBuffer(out.data(), int64_t(out.size()));
}
}  // namespace

void TTestPicture::DefineProperties(TFiler& Filer) {
    Filer.DefineBinaryProperty(
        "Data", [this](TStream& s) { readAll(s, Data); },
        [this](TStream& s) { s.WriteBuffer(Data.data(), int64_t(Data.size())); }, !Data.empty());
}

void TTestImageList::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Bitmap", [this](TStream& s) { readAll(s, Bitmap); },
        [this](TStream& s) { s.WriteBuffer(Bitmap.data(), int64_t(Bitmap.size())); }, !Bitmap.empty());
}

void RegisterTestComponents() {
    RegisterClasses({TTestAction::StaticClass(), TTestControl::StaticClass(), TTestLabel::StaticClass(),
                     TTestButton::StaticClass(), TTestCombo::StaticClass(), TTestMemo::StaticClass(),
                     TTestGrid::StaticClass(), TTestImage::StaticClass(), TTestImageList::StaticClass(),
                     TTestForm::StaticClass(), TTestDataModule::StaticClass(), TTestAbstract::StaticClass()});
}

}  // namespace yorde::test
