#include "BenchComponents.h"

#include "classes/MemoryStream.h"

YORDE_IMPLEMENT_CLASS(TBnFont, [](TClassBuilder<TBnFont>& c) {
    c.Property("Charset", &TBnFont::Charset, &TBnFont::SetCharset).Default(1);
    c.Property("Name", &TBnFont::Name, &TBnFont::SetName);
    c.Property("Size", &TBnFont::Size, &TBnFont::SetSize).Default(8);
    c.Property("Style", &TBnFont::Style, &TBnFont::SetStyle).Default(0);
})

void TBnFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TBnFont*>(Source)) {
        name_ = f->name_;
        size_ = f->size_;
        charset_ = f->charset_;
        style_ = f->style_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TBnColumn, [](TClassBuilder<TBnColumn>& c) {
    c.Property("Caption", &TBnColumn::Caption, &TBnColumn::SetCaption);
    c.Property("Width", &TBnColumn::Width, &TBnColumn::SetWidth).Default(50);
})

void TBnColumn::Assign(TPersistent* Source) {
    if (auto* i = dynamic_cast<TBnColumn*>(Source)) {
        caption_ = i->caption_;
        width_ = i->width_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TBnControl, [](TClassBuilder<TBnControl>& c) {
    c.Property("Left", &TBnControl::Left, &TBnControl::SetLeft).Default(0);
    c.Property("Top", &TBnControl::Top, &TBnControl::SetTop).Default(0);
    c.Property("Width", &TBnControl::Width, &TBnControl::SetWidth).Default(75);
    c.Property("Height", &TBnControl::Height, &TBnControl::SetHeight).Default(25);
    c.Property("Caption", &TBnControl::Caption, &TBnControl::SetCaption);
    c.Property("Hint", &TBnControl::Hint, &TBnControl::SetHint);
    c.Property("Visible", &TBnControl::Visible, &TBnControl::SetVisible).Default(true);
    c.Property("Font", &TBnControl::Font, &TBnControl::SetFont);
    c.Property("Lines", &TBnControl::Lines, &TBnControl::SetLines);
    c.Property("Columns", &TBnControl::Columns, &TBnControl::SetColumns);
})

TBnControl::TBnControl(TComponent* AOwner)
    : TComponent(AOwner),
      font_(new TBnFont),
      lines_(new TStringList),
      columns_(new TOwnedCollection(this, TBnColumn::StaticClass())) {}

TBnControl::~TBnControl() {
    delete columns_;
    delete lines_;
    delete font_;
}

YORDE_IMPLEMENT_CLASS(TBnForm,
                      [](TClassBuilder<TBnForm>& c) { c.Property("Caption", &TBnForm::Caption, &TBnForm::SetCaption); })

TBnForm* MakeBenchForm(int controls) {
    static const bool registered = [] {
        RegisterClasses({TBnForm::StaticClass(), TBnControl::StaticClass(), TBnColumn::StaticClass()});
        return true;
    }();
    (void)registered;

    auto* form = new TBnForm(nullptr);
    form->SetName("BenchForm");
    form->SetCaption("Nagrania rozm\xF3w");  // Windows-1250 text, as layouts hold it
    for (int i = 0; i < controls; ++i) {
        const std::string n = std::to_string(i);
        auto* c = new TBnControl(form);
        c->SetName("Control" + n);
        c->SetCaption(
            "Po\xB3\xB9"
            "czenie przychodz\xB9"
            "ce nr " +
            n);
        c->SetHint("Kliknij, aby ods\xB3ucha\xE6 nagranie " + n + " (Ctrl+P)");
        c->SetLeft(8 + (i % 10) * 96);
        c->SetTop(8 + (i / 10) * 28);
        c->SetWidth(90);
        c->SetHeight(24);
        c->SetVisible(i % 7 != 0);
        c->Font()->SetName(i % 2 ? "Tahoma" : "DejaVu Sans");
        c->Font()->SetSize(8 + i % 4);
        c->Font()->SetCharset(238);
        if (i % 3 == 0) c->Font()->SetStyle({bnBold});
        for (int k = 0; k < 8; ++k) c->Lines()->Add("Wiersz " + std::to_string(k) + " kontrolki " + n);
        const char* heads[] = {"Data", "Numer", "Czas"};
        for (int k = 0; k < 3; ++k) {
            auto* col = static_cast<TBnColumn*>(c->Columns()->Add());
            col->SetCaption(heads[k]);
            col->SetWidth(60 + 20 * k);
        }
    }
    return form;
}

std::string ImageOf(TComponent* root) {
    TMemoryStream ms;
    ms.WriteComponent(root);
    return std::string(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}
