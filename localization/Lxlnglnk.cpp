#include "localization/Lxlnglnk.h"

#include "classes/Filer.h"

TlxLangLinked::~TlxLangLinked() {
    if (commonContainer_) commonContainer_->RemoveFreeNotification(this);
}

void TlxLangLinked::Loaded() {
    TlxCustomLang::Loaded();
    if (IsTemporaryCopy() || !Owner()) return;
    if (IsDesigning()) {
        DlgsCaptions()->Clear();
        Locales()->Clear();
        return;
    }
    if (!commonContainer_) return;
    DlgsCaptions()->Assign(commonContainer_->DlgsCaptions());
    Locales()->Assign(commonContainer_->Locales());
    ChangeDelimOnStrs(commonContainer_->Delim(), Delim(), DlgsCaptions());
    ChangeDelimOnStrs(commonContainer_->Delim(), Delim(), Locales());
}

void TlxLangLinked::Notification(TComponent* AComponent, TOperation Operation) {
    TlxCustomLang::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent && AComponent == static_cast<TComponent*>(commonContainer_))
        commonContainer_ = nullptr;
}

void TlxLangLinked::SetCommonContainer(TlxCustomLang* Value) {
    if (Value == commonContainer_ || Value == this) return;
    if (commonContainer_) commonContainer_->RemoveFreeNotification(this);
    commonContainer_ = Value;
    // The container usually lives on another form: hear when it goes.
    if (Value) Value->FreeNotification(this);
    if (!IsLoading()) Loaded();
}

void TlxLangLinked::WriteState(TWriter& Writer) {
    // The record TWriter::WriteData writes, with the properties reordered.
    Writer.WriteStr(ClassName());
    Writer.WriteStr(Name());
    const TMetaClass* base = TlxCustomLang::StaticClass();
    for (bool baseLast : {false, true})
        for (const TPropInfo* p : ClassType()->Properties())
            if ((p->DeclaringClass == base) == baseLast && p->IsStored(this)) Writer.WriteProperty(this, p);
    DefineProperties(Writer);
    Writer.WriteListEnd();
    GetChildren([&Writer](TComponent* Child) { Writer.WriteComponent(Child); }, Writer.Root());
    Writer.WriteListEnd();
}
