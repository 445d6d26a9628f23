#pragma once
// Streamable stand-ins for a large form: a root holding many controls, each
// with texts, a font, a list of lines and a collection of columns, so that
// an image exercises every kind of value the reader and writer handle.
// Named "TBn..." so that they cannot clash with real classes in the registry.
#include "classes/Classes.h"
#include "classes/Collections.h"
#include "classes/Strings.h"

#include <string>

enum TBnFontStyle { bnBold, bnItalic, bnUnderline, bnStrikeOut };
YORDE_ENUM_TYPEINFO(TBnFontStyle, "fsBold", "fsItalic", "fsUnderline", "fsStrikeOut")
using TBnFontStyles = TSet<TBnFontStyle>;
YORDE_SET_TYPEINFO(TBnFontStyles, TBnFontStyle)

class TBnFont : public TPersistent {
    YORDE_CLASS(TBnFont, TPersistent)
public:
    AnsiString Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }
    int Charset() const { return charset_; }
    void SetCharset(int v) { charset_ = v; }
    TBnFontStyles Style() const { return style_; }
    void SetStyle(TBnFontStyles v) { style_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString name_ = "MS Sans Serif";
    int size_ = 8;
    int charset_ = 1;
    TBnFontStyles style_;
};

class TBnColumn : public TCollectionItem {
    YORDE_CLASS(TBnColumn, TCollectionItem)
public:
    explicit TBnColumn(TCollection* Collection) : TCollectionItem(Collection) {}
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString caption_;
    int width_ = 50;
};

class TBnControl : public TComponent {
    YORDE_CLASS(TBnControl, TComponent)
public:
    explicit TBnControl(TComponent* AOwner);
    ~TBnControl() override;

    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    AnsiString Hint() const { return hint_; }
    void SetHint(const AnsiString& v) { hint_ = v; }
    int Left() const { return left_; }
    void SetLeft(int v) { left_ = v; }
    int Top() const { return top_; }
    void SetTop(int v) { top_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    TBnFont* Font() const { return font_; }
    void SetFont(TBnFont* v) { font_->Assign(v); }
    TStrings* Lines() const { return lines_; }
    void SetLines(TStrings* v) { lines_->Assign(v); }
    TOwnedCollection* Columns() const { return columns_; }
    void SetColumns(TOwnedCollection* v) { columns_->Assign(v); }

private:
    AnsiString caption_, hint_;
    int left_ = 0, top_ = 0, width_ = 75, height_ = 25;
    bool visible_ = true;
    TBnFont* font_;
    TStringList* lines_;
    TOwnedCollection* columns_;
};

class TBnForm : public TComponent {
    YORDE_CLASS(TBnForm, TComponent)
public:
    explicit TBnForm(TComponent* AOwner) : TComponent(AOwner) {}
    AnsiString Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }

private:
    AnsiString caption_;
};

// A form named "BenchForm" with `controls` controls; the caller frees it.
TBnForm* MakeBenchForm(int controls);
// The binary image of a component tree ("TPF0" ...).
std::string ImageOf(TComponent* root);
