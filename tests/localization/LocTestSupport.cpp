#include "LocTestSupport.h"

#include "classes/Filer.h"
#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"

namespace loctest {

YORDE_IMPLEMENT_CLASS(TFont, [](TClassBuilder<TFont>& c) {
    c.Property("Name", &TFont::Name, &TFont::SetName);
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset).Default(1);
})

void TFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFont*>(Source)) {
        name_ = f->name_;
        charset_ = f->charset_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TTestAction, [](TClassBuilder<TTestAction>&) {})

YORDE_IMPLEMENT_CLASS(TTestControl, [](TClassBuilder<TTestControl>& c) {
    c.Property("Caption", &TTestControl::Caption, &TTestControl::SetCaption);
    c.Property("Hint", &TTestControl::Hint, &TTestControl::SetHint);
    c.Property("Font", &TTestControl::Font, &TTestControl::SetFont);
    c.Property("ParentFont", &TTestControl::ParentFont, &TTestControl::SetParentFont);
    c.Property("Action", &TTestControl::Action, &TTestControl::SetAction);
    c.Property("HelpKeyword", &TTestControl::HelpKeyword, &TTestControl::SetHelpKeyword);
    c.Property("DisplayLabel", &TTestControl::DisplayLabel, &TTestControl::SetDisplayLabel);
})

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
})

YORDE_IMPLEMENT_CLASS(TTestForm, [](TClassBuilder<TTestForm>& c) {
    c.Property("Caption", &TTestForm::Caption, &TTestForm::SetCaption);
    c.Property("Hint", &TTestForm::Hint, &TTestForm::SetHint);
    c.Property("Font", &TTestForm::Font, &TTestForm::SetFont);
})

YORDE_IMPLEMENT_CLASS(TTestDataModule, [](TClassBuilder<TTestDataModule>&) {})

void RegisterTestClasses() {
    RegisterLocalizationClasses();
    RegisterClasses({TTestAction::StaticClass(), TTestControl::StaticClass(), TTestCombo::StaticClass(),
                     TTestMemo::StaticClass(), TTestGrid::StaticClass(), TTestForm::StaticClass(),
                     TTestDataModule::StaticClass()});
}

AnsiString E(const AnsiString& Key, std::initializer_list<AnsiString> Texts, char D) {
    AnsiString e = Key + D;
    for (const AnsiString& t : Texts) e += t + D;
    return e;
}

std::vector<AnsiString> Lines(const TStrings* List) {
    std::vector<AnsiString> out;
    for (int i = 0; i < List->Count(); ++i) out.push_back(List->Strings(i));
    return out;
}

AnsiString Hex(const AnsiString& Bytes) {
    static const char digits[] = "0123456789ABCDEF";
    AnsiString out;
    for (unsigned char c : Bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

}  // namespace loctest
