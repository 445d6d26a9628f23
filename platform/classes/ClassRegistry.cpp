// The class registry and the global roots that cross-root references resolve through.
#include "classes/Classes.h"

#include "rtl/StrUtils.h"

#include <algorithm>

namespace {

struct ClassRegistry {
    std::mutex mutex;
    std::map<AnsiString, TMetaClass*> byName;  // keyed by the upper-cased name
};
ClassRegistry& classRegistry() {
    static ClassRegistry* r = new ClassRegistry;  // outlives static destructors that unregister
    return *r;
}

struct RootList {
    std::mutex mutex;
    std::vector<TComponent*> roots;
};
RootList& rootList() {
    static RootList* r = new RootList;
    return *r;
}

}  // namespace

void RegisterClass(TMetaClass* c) {
    if (!c) return;
    auto& r = classRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto [it, inserted] = r.byName.emplace(UpperCase(c->ClassName()), c);
    if (!inserted && it->second != c) throw EFilerError("A class named " + c->ClassName() + " already exists");
}

void RegisterClasses(std::initializer_list<TMetaClass*> classes) {
    for (TMetaClass* c : classes) RegisterClass(c);
}

void UnRegisterClass(TMetaClass* c) {
    if (!c) return;
    auto& r = classRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byName.find(UpperCase(c->ClassName()));
    if (it != r.byName.end() && it->second == c) r.byName.erase(it);
}

TMetaClass* GetClass(const AnsiString& name) {
    auto& r = classRegistry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.byName.find(UpperCase(name));
    return it == r.byName.end() ? nullptr : it->second;
}

TMetaClass* FindClass(const AnsiString& name) {
    TMetaClass* c = GetClass(name);
    if (!c) throw EClassNotFound("Class " + name + " not found");
    return c;
}

void AddGlobalRoot(TComponent* root) {
    if (!root) return;
    auto& r = rootList();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (std::find(r.roots.begin(), r.roots.end(), root) == r.roots.end()) r.roots.push_back(root);
}

void RemoveGlobalRoot(TComponent* root) {
    auto& r = rootList();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = std::find(r.roots.begin(), r.roots.end(), root);
    if (it != r.roots.end()) r.roots.erase(it);
}

TComponent* FindGlobalRoot(const AnsiString& name) {
    if (name.empty()) return nullptr;
    auto& r = rootList();
    std::lock_guard<std::mutex> lock(r.mutex);
    for (TComponent* c : r.roots)
        if (SameText(c->Name(), name)) return c;
    return nullptr;
}

std::vector<TComponent*> GlobalRoots() {
    auto& r = rootList();
    std::lock_guard<std::mutex> lock(r.mutex);
    return r.roots;
}
