#pragma once
// Small component classes that tests name in their layouts and hand to the
// translation engine: a form, a data module, controls with the published
// properties the engine and the layout compiler look for (Caption, Hint,
// Font with Name/Charset, ParentFont, Action, Items, Lines, collections,
// binary data), and an abstract control that no layout may create.
#include "classes/Classes.h"
#include "classes/Collections.h"
#include "classes/Strings.h"

#include <memory>
#include <string>

namespace yorde::test {

enum TTestAlign { alNone, alTop, alBottom, alClient };
enum TTestFontStyle { fsBold, fsItalic };
using TTestFontStyles = TSet<TTestFontStyle>;
enum TTestColor : int32_t { clBlack = 0, clRed = 0xFF, clBtnFace = -16777201 };
using TTestKeyEvent = TEvent<TObject*, int&>;

}  // namespace yorde::test

YORDE_ENUM_TYPEINFO(yorde::test::TTestAlign, "alNone", "alTop", "alBottom", "alClient")
YORDE_ENUM_TYPEINFO(yorde::test::TTestFontStyle, "fsBold", "fsItalic")
YORDE_SET_TYPEINFO(yorde::test::TTestFontStyles, yorde::test::TTestFontStyle)
YORDE_IDENT_TYPEINFO(yorde::test::TTestColor, {yorde::test::clBlack, "clBlack"}, {yorde::test::clRed, "clRed"},
                     {yorde::test::clBtnFace, "clBtnFace"})
YORDE_EVENT_TYPEINFO(yorde::test::TTestKeyEvent)

namespace yorde::test {

// Named TFont: the translation engine and the layout compiler find fonts by
// that type name.
class TFont : public TPersistent {
    YORDE_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Charset() const { return charset_; }
    void SetCharset(int v) { charset_ = v; }
    TTestFontStyles Style() const { return style_; }
    void SetStyle(TTestFontStyles v) { style_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString name_ = "Tahoma";
    int charset_ = 1;
    TTestFontStyles style_;
};

class TTestAction : public TComponent {
    YORDE_CLASS(TTestAction, TComponent)
public:
    explicit TTestAction(TComponent* AOwner) : TComponent(AOwner) {}
};

// What controls share: texts, a font that follows the parent's unless told
// otherwise, an action, a click; counters of the writes the engine makes.
class TTestControl : public TComponent {
    YORDE_CLASS(TTestControl, TComponent)
public:
    explicit TTestControl(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) {
        caption_ = v;
        ++CaptionWrites;
    }
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v) {
        if (v != font_.get()) font_->Assign(v);
        ++FontAssigns;
    }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }
    TTestAction* Action() const { return action_; }
    void SetAction(TTestAction* v) { action_ = v; }
    AnsiString HelpKeyword() const { return helpKeyword_; }
    void SetHelpKeyword(const AnsiString& v) { helpKeyword_ = v; }
    AnsiString DisplayLabel() const { return displayLabel_; }
    void SetDisplayLabel(const AnsiString& v) { displayLabel_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TTestAlign Align() const { return align_; }
    void SetAlign(TTestAlign v) { align_ = v; }
    TTestColor Color() const { return color_; }
    void SetColor(TTestColor v) { color_ = v; }
    TComponent* PopupMenu() const { return popup_; }
    void SetPopupMenu(TComponent* v) { popup_ = v; }
    TNotifyEvent OnClick;
    TTestKeyEvent OnKeyDown;

    int CaptionWrites = 0;
    int FontAssigns = 0;

private:
    AnsiString caption_, hint_, helpKeyword_, displayLabel_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    bool parentFont_ = true;
    TTestAction* action_ = nullptr;
    int width_ = 0;
    TTestAlign align_ = alNone;
    TTestColor color_ = clBtnFace;
    TComponent* popup_ = nullptr;
};

class TTestLabel : public TTestControl {
    YORDE_CLASS(TTestLabel, TTestControl)
public:
    using TTestControl::TTestControl;
};

class TTestButton : public TTestControl {
    YORDE_CLASS(TTestButton, TTestControl)
public:
    using TTestControl::TTestControl;
};

class TTestCombo : public TTestControl {
    YORDE_CLASS(TTestCombo, TTestControl)
public:
    explicit TTestCombo(TComponent* AOwner) : TTestControl(AOwner) {}
    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* v) { items_->Assign(v); }

private:
    std::unique_ptr<TStringList> items_ = std::make_unique<TStringList>();
};

class TTestMemo : public TTestControl {
    YORDE_CLASS(TTestMemo, TTestControl)
public:
    explicit TTestMemo(TComponent* AOwner) : TTestControl(AOwner) {}
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* v) { lines_->Assign(v); }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v) {
        wordWrap_ = v;
        ++WrapChanges;
    }
    int WrapChanges = 0;

private:
    std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
    bool wordWrap_ = true;
};

class TTestColumn : public TCollectionItem {
    YORDE_CLASS(TTestColumn, TCollectionItem)
public:
    explicit TTestColumn(TCollection* c) : TCollectionItem(c) {}
    AnsiString Title() const { return title_; }
    void SetTitle(const AnsiString& v) { title_ = v; }
    TStrings* PickList() const { return pickList_.get(); }
    void SetPickList(TStrings* v) { pickList_->Assign(v); }

private:
    AnsiString title_;
    std::unique_ptr<TStringList> pickList_ = std::make_unique<TStringList>();
};

// Columns, and values of the kinds the controls above lack.
class TTestGrid : public TTestControl {
    YORDE_CLASS(TTestGrid, TTestControl)
public:
    explicit TTestGrid(TComponent* AOwner)
        : TTestControl(AOwner), columns_(std::make_unique<TCollection>(TTestColumn::StaticClass(), this)) {}
    TCollection* Columns() const { return columns_.get(); }
    void SetColumns(TCollection* v) { columns_->Assign(v); }
    double Zoom() const { return zoom_; }
    void SetZoom(double v) { zoom_ = v; }
    char Accel() const { return accel_; }
    void SetAccel(char v) { accel_ = v; }
    long long Stamp() const { return stamp_; }
    void SetStamp(long long v) { stamp_ = v; }

private:
    std::unique_ptr<TCollection> columns_;
    double zoom_ = 1;
    char accel_ = 'a';
    long long stamp_ = 0;
};

// Binary data through DefineProperties, as pictures and image lists have it.
class TTestPicture : public TPersistent {
    YORDE_CLASS(TTestPicture, TPersistent)
public:
    std::string Data;
    void DefineProperties(TFiler& Filer) override;
};

class TTestImage : public TTestControl {
    YORDE_CLASS(TTestImage, TTestControl)
public:
    explicit TTestImage(TComponent* AOwner) : TTestControl(AOwner), picture_(std::make_unique<TTestPicture>()) {}
    TTestPicture* Picture() const { return picture_.get(); }
    void SetPicture(TTestPicture* v) { picture_->Data = v->Data; }

private:
    std::unique_ptr<TTestPicture> picture_;
};

class TTestImageList : public TComponent {
    YORDE_CLASS(TTestImageList, TComponent)
public:
    using TComponent::TComponent;
    std::string Bitmap;
    void DefineProperties(TFiler& Filer) override;
};

// A form: Caption, Hint and Font of its own, a published field and handlers.
class TTestForm : public TComponent {
    YORDE_CLASS(TTestForm, TComponent)
public:
    explicit TTestForm(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v) {
        if (v != font_.get()) font_->Assign(v);
    }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }

    TTestLabel* TitleLabel = nullptr;  // published field
    int Clicks = 0;
    void OkClick(TObject*) { ++Clicks; }
    void EditKeyDown(TObject*, int&) {}

private:
    AnsiString caption_, hint_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    int width_ = 0;
};

// A data module: no caption, no font.
class TTestDataModule : public TComponent {
    YORDE_CLASS(TTestDataModule, TComponent)
public:
    explicit TTestDataModule(TComponent* AOwner) : TComponent(AOwner) {}
};

// An abstract control: no layout may create one.
class TTestAbstract : public TTestControl {
    YORDE_CLASS(TTestAbstract, TTestControl)
public:
    using TTestControl::TTestControl;
    virtual void Paint() = 0;
};

// Registers every class above that layouts may name. Registering again is harmless.
void RegisterTestComponents();

}  // namespace yorde::test
