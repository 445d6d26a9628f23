#include "localization/LxVclSeam.h"

#include "rtl/StrUtils.h"

#include <mutex>

namespace {
std::mutex cursorMutex;
TlxScreenCursorAccess cursorAccess;
int ownCursor = 0;  // crDefault
}  // namespace

void lxInstallScreenCursor(TlxScreenCursorAccess Access) {
    std::lock_guard<std::mutex> lock(cursorMutex);
    cursorAccess = std::move(Access);
}

void lxResetScreenCursor() {
    std::lock_guard<std::mutex> lock(cursorMutex);
    cursorAccess = {};
    ownCursor = 0;
}

int lxGetScreenCursor() {
    std::function<int()> get;
    {
        std::lock_guard<std::mutex> lock(cursorMutex);
        if (!cursorAccess.Get) return ownCursor;
        get = cursorAccess.Get;
    }
    return get();
}

void lxSetScreenCursor(int Cursor) {
    std::function<void(int)> set;
    {
        std::lock_guard<std::mutex> lock(cursorMutex);
        if (!cursorAccess.Set) {
            ownCursor = Cursor;
            return;
        }
        set = cursorAccess.Set;
    }
    set(Cursor);
}

bool lxClassIs(const TMetaClass* Class, const char* Name) {
    for (const TMetaClass* c = Class; c; c = c->ClassParent())
        if (SameText(c->ClassName(), Name)) return true;
    return false;
}

bool lxObjectIs(const TObject* Object, const char* Name) { return Object && lxClassIs(Object->ClassType(), Name); }

const TPropInfo* lxStringProp(const TObject* Object, const AnsiString& Name) {
    return GetPropInfo(Object, Name, KindBit(tkString) | KindBit(tkLString) | KindBit(tkWString));
}

const TPropInfo* lxClassProp(const TObject* Object, const AnsiString& Name, const char* ClassName) {
    const TPropInfo* p = GetPropInfo(Object, Name, KindBit(tkClass));
    if (!p) return nullptr;
    if (ClassName && !(p->PropType && lxClassIs(p->PropType->ClassType, ClassName))) return nullptr;
    return p;
}

bool lxBoolPropTrue(const TObject* Object, const AnsiString& Name) {
    const TPropInfo* p = GetPropInfo(Object, Name, KindBit(tkEnumeration));
    return p && p->PropType == TypeInfo<bool>() && p->GetOrd && p->GetOrd(Object) != 0;
}

bool lxHasAssignedAction(const TObject* Object) {
    const TPropInfo* p = lxClassProp(Object, "Action");
    return p && p->GetObj && p->GetObj(Object) != nullptr;
}
