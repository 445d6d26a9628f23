#include "localization/LxPropPaths.h"

#include "localization/LxTextRoutines.h"
#include "localization/LxVclSeam.h"

bool ParseCollectionKey(const AnsiString& Key, TlxCollectionKey& Out) {
    const size_t dot = Key.find('.');
    if (dot == AnsiString::npos || dot == 0) return false;
    const size_t open = Key.find('[', dot + 1);
    if (open == AnsiString::npos || open == dot + 1) return false;
    const size_t close = Key.find(']', open + 1);
    if (close == AnsiString::npos) return false;
    Out.Component = Key.substr(0, dot);
    Out.Property = Key.substr(dot + 1, open - dot - 1);
    if (!ParseIndex(Key.substr(open + 1, close - open - 1), Out.Index)) return false;
    if (close + 1 < Key.size()) {
        if (Key[close + 1] != '.') return false;
        Out.ItemPath = Key.substr(close + 2);
    } else {
        Out.ItemPath.clear();
    }
    return true;
}

TObject* WalkPath(TObject* Object, const AnsiString& Path, AnsiString& Prop) {
    size_t start = 0;
    for (int steps = 0; Object && steps < 32; ++steps) {
        const size_t dot = Path.find('.', start);
        if (dot == AnsiString::npos) {
            Prop = Path.substr(start);
            return Prop.empty() ? nullptr : Object;
        }
        const TPropInfo* p = lxClassProp(Object, Path.substr(start, dot - start));
        Object = p ? GetObjectProp(Object, p) : nullptr;
        start = dot + 1;
    }
    return nullptr;
}

AnsiString KeyComponent(const AnsiString& Key) { return Key.substr(0, Key.find('.')); }

AnsiString AfterFirstDot(const AnsiString& Key) {
    const size_t dot = Key.find('.');
    return dot == AnsiString::npos ? AnsiString() : Key.substr(dot + 1);
}
