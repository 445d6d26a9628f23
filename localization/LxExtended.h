#pragma once
// Translations of arbitrary published properties by property path: one
// text per language for each path, written into the property through RTTI
// when the language changes (TlxCustomLang::ChangeLangForExtended).
#include "classes/Collections.h"

class TlxCustomLang;

YORDE_ENUM_TYPEINFO(TTypeKind, "tkUnknown", "tkInteger", "tkChar", "tkEnumeration", "tkFloat", "tkString", "tkSet",
                    "tkClass", "tkMethod", "tkWChar", "tkLString", "tkWString", "tkVariant", "tkArray", "tkRecord",
                    "tkInterface", "tkInt64", "tkDynArray")

class TlxExtendedItem : public TCollectionItem {
    YORDE_CLASS(TlxExtendedItem, TCollectionItem)
public:
    explicit TlxExtendedItem(TCollection* Collection) : TCollectionItem(Collection) {}

    // The path with the related component's current name in front.
    AnsiString GetIdentifier() const;
    void SetIdentifier(const AnsiString& Value) { identifier_ = Value; }
    const AnsiString& StoredIdentifier() const { return identifier_; }
    // The texts of all languages, each followed by the language delimiter.
    const AnsiString& Values() const { return values_; }
    void SetValues(const AnsiString& Value) { values_ = Value; }
    TTypeKind PropertyType() const { return propertyType_; }
    void SetPropertyType(TTypeKind Value) { propertyType_ = Value; }
    TComponent* RelComponent() const { return relComponent_; }
    void SetRelComponent(TComponent* Value) { relComponent_ = Value; }
    bool IsRoot() const;

    AnsiString GetDisplayName() const override;
    void DefineProperties(TFiler& Filer) override;

protected:
    void AssignTo(TPersistent* Dest) override;

private:
    TlxCustomLang* lang() const;

    AnsiString identifier_;
    AnsiString values_;
    TTypeKind propertyType_ = tkUnknown;
    TComponent* relComponent_ = nullptr;
};

class TlxExtendedItems : public TCollection {
    YORDE_CLASS(TlxExtendedItems, TCollection)
public:
    explicit TlxExtendedItems(TlxCustomLang* Owner);
    TlxExtendedItem* Add() { return static_cast<TlxExtendedItem*>(TCollection::Add()); }
    TlxExtendedItem* GetItems(int Index) const { return static_cast<TlxExtendedItem*>(Items(Index)); }
    TlxCustomLang* Lang() const { return lang_; }
    // The first item whose identifier equals Path (case-insensitive), or null.
    TlxExtendedItem* Find(const AnsiString& Path) const;

private:
    TlxCustomLang* lang_;
};
