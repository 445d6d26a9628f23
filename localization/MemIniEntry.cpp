// One section of the in-memory INI file.
#include "localization/MemIni.h"

YORDE_IMPLEMENT_CLASS(TMemIniValue, [](TClassBuilder<TMemIniValue>&) {})
YORDE_IMPLEMENT_CLASS(TMemIniEntry, [](TClassBuilder<TMemIniEntry>&) {})

TMemIniEntry::TMemIniEntry() : keys_(true) {
    keys_.SetSorted(true);
    keys_.SetDuplicates(dupAccept);
}

TMemIniEntry::~TMemIniEntry() { Clear(); }

AnsiString TMemIniEntry::GetValue(int Index) const { return static_cast<TMemIniValue*>(keys_.Objects(Index))->Value; }

void TMemIniEntry::SetValue(int Index, const AnsiString& Value) {
    static_cast<TMemIniValue*>(keys_.Objects(Index))->Value = Value;
}

void TMemIniEntry::divideKeyValue(const AnsiString& Line, AnsiString& Key, AnsiString& Value) {
    const size_t eq = Line.find('=');
    if (eq == AnsiString::npos) {
        Key = Line;
        Value.clear();
    } else {
        Key = Line.substr(0, eq);
        Value = Line.substr(eq + 1);
    }
}

int TMemIniEntry::Add(const AnsiString& Key, const AnsiString& Value) {
    auto value = std::make_unique<TMemIniValue>(Value);
    const int index = keys_.AddObject(Key, value.get());
    value.release();
    return index;
}

int TMemIniEntry::Add(const AnsiString& Line) {
    AnsiString key, value;
    divideKeyValue(Line, key, value);
    return Add(key, value);
}

void TMemIniEntry::Delete(int Index) { keys_.Delete(Index); }

void TMemIniEntry::Clear() { keys_.Clear(); }

void TMemIniEntry::Assign(TPersistent* Source) {
    if (auto* lines = dynamic_cast<TStrings*>(Source)) {
        keys_.BeginUpdate();
        try {
            Clear();
            for (int i = 0; i < lines->Count(); ++i) Add(lines->Strings(i));
        } catch (...) {
            keys_.EndUpdate();
            throw;
        }
        keys_.EndUpdate();
        return;
    }
    inherited::Assign(Source);
}
