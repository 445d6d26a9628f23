#pragma once
// Small components that publish what the engine looks for (Caption, Hint,
// Font with Name/Charset, ParentFont, Action, Items, Lines, collections),
// and helpers to build forms from text layouts.
#include "ComponentImage.h"
#include "Owned.h"

#include "classes/Collections.h"
#include "classes/Strings.h"
#include "localization/Lxcomp.h"

#include <memory>
#include <vector>

namespace loctest {

class TFont : public TPersistent {
    YORDE_CLASS(TFont, TPersistent)
public:
    TFont() = default;
    const AnsiString& Name() const { return name_; }
    void SetName(const AnsiString& v) { name_ = v; }
    unsigned char Charset() const { return charset_; }
    void SetCharset(unsigned char v) { charset_ = v; }
    void Assign(TPersistent* Source) override;

private:
    AnsiString name_ = "Tahoma";
    unsigned char charset_ = 1;
};

class TTestAction : public TComponent {
    YORDE_CLASS(TTestAction, TComponent)
public:
    explicit TTestAction(TComponent* AOwner) : TComponent(AOwner) {}
};

// A control: Caption, Hint, Font, ParentFont, Action, HelpKeyword, DisplayLabel.
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

    int CaptionWrites = 0;
    int FontAssigns = 0;

private:
    AnsiString caption_, hint_, helpKeyword_, displayLabel_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    bool parentFont_ = false;
    TTestAction* action_ = nullptr;
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

// A form: Caption, Hint and Font of its own.
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

private:
    AnsiString caption_, hint_;
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
};

// A data module: no caption, no font.
class TTestDataModule : public TComponent {
    YORDE_CLASS(TTestDataModule, TComponent)
public:
    explicit TTestDataModule(TComponent* AOwner) : TComponent(AOwner) {}
};

void RegisterTestClasses();

using yorde::test::Owned;

// "K" #1 "a" #1 "b" #1 with the delimiter D.
AnsiString E(const AnsiString& Key, std::initializer_list<AnsiString> Texts, char D = '\1');
// The list's entries.
std::vector<AnsiString> Lines(const TStrings* List);
// Hex digits of bytes, as a binary value of a text layout.
AnsiString Hex(const AnsiString& Bytes);
using yorde::test::ReadLayout;
using yorde::test::WriteLayout;
// A new root read from its text layout.
template <class T>
Owned<T> Load(const AnsiString& Text) {
    return Owned<T>(dynamic_cast<T*>(ReadLayout(Text)));
}

}  // namespace loctest
