#pragma once
// Small component classes that the layout compiler tests name in their
// layouts: a form, labels, a memo, a grid with columns, image holders.
#include "Config.h"

#include "classes/Classes.h"
#include "classes/Collections.h"
#include "classes/Strings.h"

#include <memory>
#include <string>

namespace layoutc_test {

enum TAlign { alNone, alTop, alBottom, alClient };
enum TFontStyle { fsBold, fsItalic };
using TFontStyles = TSet<TFontStyle>;
enum TColor : int32_t { clBlack = 0, clRed = 0xFF, clBtnFace = -16777201 };
using TKeyEvent = TEvent<TObject*, int&>;

}  // namespace layoutc_test

YORDE_ENUM_TYPEINFO(layoutc_test::TAlign, "alNone", "alTop", "alBottom", "alClient")
YORDE_ENUM_TYPEINFO(layoutc_test::TFontStyle, "fsBold", "fsItalic")
YORDE_SET_TYPEINFO(layoutc_test::TFontStyles, layoutc_test::TFontStyle)
YORDE_IDENT_TYPEINFO(layoutc_test::TColor, {layoutc_test::clBlack, "clBlack"}, {layoutc_test::clRed, "clRed"},
                     {layoutc_test::clBtnFace, "clBtnFace"})
YORDE_EVENT_TYPEINFO(layoutc_test::TKeyEvent)

namespace layoutc_test {

// Named TFont: the translation engine finds fonts by that type name.
class TFont : public TPersistent {
    YORDE_CLASS(TFont, TPersistent)
public:
    AnsiString Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Charset() const { return charset_; }
    void SetCharset(int v) { charset_ = v; }
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v) { style_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString name_ = "Tahoma";
    int charset_ = 1;
    TFontStyles style_;
};

// What controls share: texts, a font that may follow the parent's, a click.
class TTestControl : public TComponent {
    YORDE_CLASS(TTestControl, TComponent)
public:
    explicit TTestControl(TComponent* AOwner);
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v) { font_->Assign(v); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool v) { parentFont_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign v) { align_ = v; }
    TColor Color() const { return color_; }
    void SetColor(TColor v) { color_ = v; }
    TComponent* PopupMenu() const { return popup_; }
    void SetPopupMenu(TComponent* v) { popup_ = v; }
    TNotifyEvent OnClick;
    TKeyEvent OnKeyDown;

private:
    AnsiString caption_, hint_;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    int width_ = 0;
    TAlign align_ = alNone;
    TColor color_ = clBtnFace;
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

class TTestMemo : public TTestControl {
    YORDE_CLASS(TTestMemo, TTestControl)
public:
    explicit TTestMemo(TComponent* AOwner) : TTestControl(AOwner), lines_(std::make_unique<TStringList>()) {}
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* v) { lines_->Assign(v); }

private:
    std::unique_ptr<TStringList> lines_;
};

class TTestColumn : public TCollectionItem {
    YORDE_CLASS(TTestColumn, TCollectionItem)
public:
    explicit TTestColumn(TCollection* C) : TCollectionItem(C) {}
    AnsiString Title() const { return title_; }
    void SetTitle(const AnsiString& v) { title_ = v; }

private:
    AnsiString title_;
};

class TTestGrid : public TTestControl {
    YORDE_CLASS(TTestGrid, TTestControl)
public:
    explicit TTestGrid(TComponent* AOwner)
        : TTestControl(AOwner), columns_(std::make_unique<TCollection>(TTestColumn::StaticClass(), this)) {}
    TCollection* Columns() const { return columns_.get(); }
    void SetColumns(TCollection* v) { columns_->Assign(v); }

private:
    std::unique_ptr<TCollection> columns_;
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

// A form: not created by the compiler, read into by the tests.
class TTestForm : public TComponent {
    YORDE_CLASS(TTestForm, TComponent)
public:
    explicit TTestForm(TComponent* AOwner);
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* v) { font_->Assign(v); }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }

    TTestLabel* TitleLabel = nullptr;  // published field
    int Clicks = 0;
    void OkClick(TObject*) { ++Clicks; }
    void EditKeyDown(TObject*, int&) {}

private:
    AnsiString caption_;
    std::unique_ptr<TFont> font_;
    int width_ = 0;
};

// An abstract control: no layout may create one.
class TTestAbstract : public TTestControl {
    YORDE_CLASS(TTestAbstract, TTestControl)
public:
    using TTestControl::TTestControl;
    virtual void Paint() = 0;
};

// The classes above, the translation components and the standard defined
// properties plus those of the test classes.
TLayoutcConfig TestLayoutConfig();

}  // namespace layoutc_test
