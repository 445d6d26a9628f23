#include "localization/LxExtended.h"

#include "classes/Filer.h"
#include "localization/LxcompLang.h"
#include "rtl/StrUtils.h"

YORDE_IMPLEMENT_CLASS(TlxExtendedItem, [](TClassBuilder<TlxExtendedItem>& c) {
    c.Property("IsRoot", &TlxExtendedItem::IsRoot);
    c.Property("Identifier", &TlxExtendedItem::GetIdentifier, &TlxExtendedItem::SetIdentifier);
    c.Property("PropertyType", &TlxExtendedItem::PropertyType, &TlxExtendedItem::SetPropertyType).Default(tkUnknown);
})
YORDE_IMPLEMENT_CLASS(TlxExtendedItems, [](TClassBuilder<TlxExtendedItems>&) {})

TlxCustomLang* TlxExtendedItem::lang() const {
    auto* items = dynamic_cast<TlxExtendedItems*>(Collection());
    return items ? items->Lang() : nullptr;
}

AnsiString TlxExtendedItem::GetIdentifier() const {
    if (!relComponent_) return identifier_;
    const size_t dot = identifier_.find('.');
    const AnsiString rest = dot == AnsiString::npos ? AnsiString() : identifier_.substr(dot);
    TlxCustomLang* l = lang();
    if (l && relComponent_ == l->Owner()) return relComponent_->ClassName() + rest;
    return relComponent_->Name() + rest;
}

bool TlxExtendedItem::IsRoot() const {
    TlxCustomLang* l = lang();
    if (!l || !l->Owner()) return false;
    const AnsiString prefix = l->Owner()->ClassName() + ".";
    const AnsiString id = GetIdentifier();
    return id.size() >= prefix.size() && AnsiSameText(id.substr(0, prefix.size()), prefix);
}

AnsiString TlxExtendedItem::GetDisplayName() const {
    return identifier_.empty() ? TCollectionItem::GetDisplayName() : identifier_;
}

void TlxExtendedItem::AssignTo(TPersistent* Dest) {
    if (auto* other = dynamic_cast<TlxExtendedItem*>(Dest)) {
        other->identifier_ = identifier_;
        other->values_ = values_;
        other->propertyType_ = propertyType_;
        return;
    }
    inherited::AssignTo(Dest);
}

void TlxExtendedItem::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    bool hasData = !values_.empty();
    if (auto* ancestor = dynamic_cast<TlxExtendedItem*>(Filer.Ancestor())) {
        TlxCustomLang* l = lang();
        hasData = !(l && l->UseInheritedData()) && hasData && AnsiCompareStr(values_, ancestor->values_) != 0;
    }
    Filer.DefineBinaryProperty(
        "ValuesEx",
        [this](TStream& s) {
            const int64_t size = s.Size() - s.Position();
            values_.assign(size_t(size > 0 ? size : 0), '\0');
            if (size > 0) s.ReadBuffer(values_.data(), size);
        },
        [this](TStream& s) {
            if (!values_.empty()) s.WriteBuffer(values_.data(), int64_t(values_.size()));
        },
        hasData);
}

TlxExtendedItems::TlxExtendedItems(TlxCustomLang* Owner)
    : TCollection(TlxExtendedItem::StaticClass(), Owner), lang_(Owner) {}

TlxExtendedItem* TlxExtendedItems::Find(const AnsiString& Path) const {
    for (int i = 0; i < Count(); ++i)
        if (AnsiCompareText(GetItems(i)->GetIdentifier(), Path) == 0) return GetItems(i);
    return nullptr;
}
