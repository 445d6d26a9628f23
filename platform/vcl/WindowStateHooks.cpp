#include "vcl/WindowStateHooks.h"

#include <utility>
#include <vector>

namespace {

struct Entry {
    int Id;
    TWindowStateObserver Fn;
};

std::vector<Entry>& observers() {
    static std::vector<Entry> list;
    return list;
}

int nextId = 1;

}  // namespace

int AddWindowStateObserver(TWindowStateObserver Observer) {
    int id = nextId++;
    observers().push_back({id, std::move(Observer)});
    return id;
}

void RemoveWindowStateObserver(int Id) {
    auto& list = observers();
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->Id == Id) {
            list.erase(it);
            return;
        }
}

bool WindowStateChanging(TCustomForm* Form, TWindowState State) {
    // By id, looked up afresh: an observer may add or remove observers.
    std::vector<int> ids;
    for (const Entry& e : observers()) ids.push_back(e.Id);
    for (int id : ids)
        for (const Entry& e : observers())
            if (e.Id == id) {
                TWindowStateObserver fn = e.Fn;
                if (fn(Form, State)) return true;
                break;
            }
    return false;
}
