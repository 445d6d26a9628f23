#pragma once
// Streamable classes for the component, RTTI, filer and text-form tests.
// Named "TFx..." so that they cannot clash with real classes in the registry.
#include "ComponentImage.h"

#include "classes/Classes.h"
#include "classes/Collections.h"
#include "classes/Filer.h"
#include "classes/MemoryStream.h"
#include "classes/Strings.h"

#include <string>
#include <vector>

enum TFxAlign { faNone, faTop, faBottom, faClient };
YORDE_ENUM_TYPEINFO(TFxAlign, "faNone", "faTop", "faBottom", "faClient")
enum TFxStyle { fxBold, fxItalic, fxUnderline };
YORDE_ENUM_TYPEINFO(TFxStyle, "fxBold", "fxItalic", "fxUnderline")
using TFxStyles = TSet<TFxStyle>;
YORDE_SET_TYPEINFO(TFxStyles, TFxStyle)
enum TFxColor : int32_t { fxBlack = 0, fxRed = 0xFF, fxBtnFace = -16777201 };
YORDE_IDENT_TYPEINFO(TFxColor, {fxBlack, "clBlack"}, {fxRed, "clRed"}, {fxBtnFace, "clBtnFace"})

// What happened, in order: "Label1.Loaded", "Label1.Caption loading" ...
std::vector<std::string>& FxLog();

class TFxFont : public TPersistent {
    YORDE_CLASS(TFxFont, TPersistent)
public:
    AnsiString Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }
    TFxStyles Style() const { return style_; }
    void SetStyle(TFxStyles v) { style_ = v; }
    TFxColor Color() const { return color_; }
    void SetColor(TFxColor v) { color_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString name_ = "Tahoma";
    int size_ = 8;
    TFxStyles style_;
    TFxColor color_ = fxBlack;
};

class TFxItem : public TCollectionItem {
    YORDE_CLASS(TFxItem, TCollectionItem)
public:
    explicit TFxItem(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TComponent* Target() const { return target_; }
    void SetTarget(TComponent* v) { target_ = v; }
    void Assign(TPersistent* Source) override;
    AnsiString GetDisplayName() const override { return caption_.empty() ? inherited::GetDisplayName() : caption_; }

private:
    AnsiString caption_;
    int width_ = 0;
    TComponent* target_ = nullptr;
};

// Counts Update calls.
class TFxItems : public TOwnedCollection {
    YORDE_CLASS(TFxItems, TOwnedCollection)
public:
    explicit TFxItems(TPersistent* AOwner) : TOwnedCollection(AOwner, TFxItem::StaticClass()) {}
    TFxItem* Items(int i) const { return static_cast<TFxItem*>(TCollection::Items(i)); }
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

class TFxLabel : public TComponent {
    YORDE_CLASS(TFxLabel, TComponent)
public:
    explicit TFxLabel(TComponent* AOwner);
    ~TFxLabel() override;

    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v);
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TFxAlign Align() const { return align_; }
    void SetAlign(TFxAlign v) { align_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    char Accel() const { return accel_; }
    void SetAccel(char v) { accel_ = v; }
    long long Big() const { return big_; }
    void SetBig(long long v) { big_ = v; }
    TFxColor Color() const { return color_; }
    void SetColor(TFxColor v) { color_ = v; }
    TFxFont* Font() const { return font_; }
    void SetFont(TFxFont* v) { font_->Assign(v); }
    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* v) { lines_->Assign(v); }
    TFxItems* Items() const { return items_; }
    void SetItems(TFxItems* v) { items_->Assign(v); }
    TComponent* Link() const { return link_; }
    void SetLink(TComponent* v);
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    bool HintStored() const { return hint_ != "auto"; }
    int ReadOnlyValue() const { return 7; }

    TNotifyEvent OnClick;
    std::string Data;  // streamed as the binary property "Data"
    int LoadedCount = 0;
    bool LinkSetWhileLoading = false;

    void DefineProperties(TFiler& Filer) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    AnsiString caption_;
    int width_ = 64;
    TFxAlign align_ = faNone;
    bool visible_ = true;
    double ratio_ = 0;
    char accel_ = 0;
    long long big_ = 0;
    TFxColor color_ = fxBlack;
    TFxFont* font_;
    TStringList* lines_;
    TFxItems* items_;
    TComponent* link_ = nullptr;
    AnsiString hint_;
};

class TFxForm : public TComponent {
    YORDE_CLASS(TFxForm, TComponent)
public:
    explicit TFxForm(TComponent* AOwner) : TComponent(AOwner) {}
    TFxLabel* Label1 = nullptr;  // published field
    TFxLabel* Label2 = nullptr;
    int Clicks = 0;
    void LabelClick(TObject*) { ++Clicks; }
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

// Throws from its constructor when asked to.
class TFxFaulty : public TComponent {
    YORDE_CLASS(TFxFaulty, TComponent)
public:
    explicit TFxFaulty(TComponent* AOwner);
    static bool Throw;
};

using yorde::test::ImageOf;
using yorde::test::ReadImage;
