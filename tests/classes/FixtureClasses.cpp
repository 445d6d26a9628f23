#include "FixtureClasses.h"

std::vector<std::string>& FxLog() {
    static std::vector<std::string> log;
    return log;
}

namespace {
std::string nameOf(TComponent* c) { return c ? (c->Name().empty() ? c->ClassName() : c->Name()) : "nil"; }
}  // namespace

// ---------------------------------------------------------------------------

YORDE_IMPLEMENT_CLASS(TFxFont, [](TClassBuilder<TFxFont>& c) {
    c.Property("Name", &TFxFont::Name, &TFxFont::SetName);
    c.Property("Size", &TFxFont::Size, &TFxFont::SetSize).Default(8);
    c.Property("Style", &TFxFont::Style, &TFxFont::SetStyle).Default(0);
    c.Property("Color", &TFxFont::Color, &TFxFont::SetColor).Default(fxBlack);
})

void TFxFont::Assign(TPersistent* Source) {
    if (auto* f = dynamic_cast<TFxFont*>(Source)) {
        name_ = f->name_;
        size_ = f->size_;
        style_ = f->style_;
        color_ = f->color_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TFxItem, [](TClassBuilder<TFxItem>& c) {
    c.Property("Caption", &TFxItem::Caption, &TFxItem::SetCaption);
    c.Property("Width", &TFxItem::Width, &TFxItem::SetWidth).Default(0);
    c.Property("Target", &TFxItem::Target, &TFxItem::SetTarget);
})

void TFxItem::Assign(TPersistent* Source) {
    if (auto* i = dynamic_cast<TFxItem*>(Source)) {
        caption_ = i->caption_;
        width_ = i->width_;
        target_ = i->target_;
        return;
    }
    inherited::Assign(Source);
}

YORDE_IMPLEMENT_CLASS(TFxItems, [](TClassBuilder<TFxItems>&) {})

// ---------------------------------------------------------------------------

YORDE_IMPLEMENT_CLASS(TFxLabel, [](TClassBuilder<TFxLabel>& c) {
    c.Property("Caption", &TFxLabel::Caption, &TFxLabel::SetCaption);
    c.Property("Width", &TFxLabel::Width, &TFxLabel::SetWidth).Default(64);
    c.Property("Align", &TFxLabel::Align, &TFxLabel::SetAlign).Default(faNone);
    c.Property("Visible", &TFxLabel::Visible, &TFxLabel::SetVisible).Default(true);
    c.Property("Ratio", &TFxLabel::Ratio, &TFxLabel::SetRatio);
    c.Property("Accel", &TFxLabel::Accel, &TFxLabel::SetAccel).Default(0);
    c.Property("Big", &TFxLabel::Big, &TFxLabel::SetBig).Default(0);
    c.Property("Color", &TFxLabel::Color, &TFxLabel::SetColor).Default(fxBlack);
    c.Property("Font", &TFxLabel::Font, &TFxLabel::SetFont);
    c.Property("Lines", &TFxLabel::Lines, &TFxLabel::SetLines);
    c.Property("Items", &TFxLabel::Items, &TFxLabel::SetItems);
    c.Property("Link", &TFxLabel::Link, &TFxLabel::SetLink);
    c.Property("Hint", &TFxLabel::Hint, &TFxLabel::SetHint).Stored(&TFxLabel::HintStored);
    c.Property("ReadOnlyValue", &TFxLabel::ReadOnlyValue);
    c.Event("OnClick", &TFxLabel::OnClick);
})

TFxLabel::TFxLabel(TComponent* AOwner)
    : TComponent(AOwner), font_(new TFxFont), lines_(new TStringList), items_(new TFxItems(this)) {
    FxLog().push_back(std::string("ctor loading=") + (ComponentState().Contains(csLoading) ? "1" : "0"));
}

TFxLabel::~TFxLabel() {
    delete items_;
    delete lines_;
    delete font_;
}

void TFxLabel::SetCaption(const AnsiString& v) {
    caption_ = v;
    FxLog().push_back(nameOf(this) + ".Caption loading=" + (ComponentState().Contains(csLoading) ? "1" : "0"));
}

void TFxLabel::SetLink(TComponent* v) {
    if (link_) link_->RemoveFreeNotification(this);
    link_ = v;
    if (link_) link_->FreeNotification(this);
    LinkSetWhileLoading = ComponentState().Contains(csLoading);
}

void TFxLabel::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "Data",
        [this](TStream& s) {
            Data.assign(size_t(s.Size()), '\0');
            s.ReadBuffer(Data.data(), int64_t(Data.size()));
        },
        [this](TStream& s) { s.WriteBuffer(Data.data(), int64_t(Data.size())); }, !Data.empty());
}

void TFxLabel::Loaded() {
    inherited::Loaded();
    ++LoadedCount;
    FxLog().push_back(nameOf(this) + ".Loaded link=" + nameOf(link_));
}

void TFxLabel::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == link_) link_ = nullptr;
    FxLog().push_back(nameOf(this) + (Operation == opInsert ? " +" : " -") + nameOf(AComponent) +
                      (dynamic_cast<TFxLabel*>(AComponent) ? " label" : ""));
}

// ---------------------------------------------------------------------------

YORDE_IMPLEMENT_CLASS(TFxForm, [](TClassBuilder<TFxForm>& c) {
    c.Field("Label1", &TFxForm::Label1);
    c.Field("Label2", &TFxForm::Label2);
    c.Method("LabelClick", &TFxForm::LabelClick);
})

void TFxForm::Loaded() {
    inherited::Loaded();
    FxLog().push_back(nameOf(this) + ".Loaded");
}

void TFxForm::Notification(TComponent* AComponent, TOperation Operation) {
    inherited::Notification(AComponent, Operation);
    FxLog().push_back(nameOf(this) + (Operation == opInsert ? " +" : " -") + nameOf(AComponent) +
                      (dynamic_cast<TFxLabel*>(AComponent) ? " label" : ""));
}

bool TFxFaulty::Throw = false;

TFxFaulty::TFxFaulty(TComponent* AOwner) : TComponent(AOwner) {
    if (Throw) throw EComponentError("refused");
}

YORDE_IMPLEMENT_CLASS(TFxFaulty, [](TClassBuilder<TFxFaulty>&) {})

namespace {
[[maybe_unused]] const bool registered = [] {
    RegisterClasses(
        {TFxLabel::StaticClass(), TFxForm::StaticClass(), TFxFaulty::StaticClass(), TFxItem::StaticClass()});
    return true;
}();
}  // namespace
