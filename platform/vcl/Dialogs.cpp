#include "vcl/Dialogs.h"

#include "vcl/Forms.h"

#include <cstdio>

namespace {

TMessageBoxHook& hook() {
    static TMessageBoxHook h;
    return h;
}

// The button a box without a screen answers with: its default one.
int defaultResult(int flags) {
    static const std::vector<int> buttons[] = {
        {IDOK},        {IDOK, IDCANCEL},    {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
        {IDYES, IDNO}, {IDRETRY, IDCANCEL},
    };
    int type = flags & 0xF;
    const std::vector<int>& b = buttons[type < 6 ? type : 0];
    size_t index = (flags & MB_DEFBUTTON3) ? 2 : (flags & MB_DEFBUTTON2) ? 1 : 0;
    return b[index < b.size() ? index : 0];
}

}  // namespace

void SetMessageBoxHook(TMessageBoxHook Hook) { hook() = std::move(Hook); }

int ShowMessageBox(const AnsiString& Text, const AnsiString& Caption, int Flags) {
    if (!IsMainThread()) return ReadOnMain([&] { return ShowMessageBox(Text, Caption, Flags); });
    if (hook()) return hook()(Text, Caption, Flags);
    auto cut = [](const AnsiString& s) { return AnsiToUtf8(s.substr(0, s.find('\0'))); };
    if (IPeerFactory* f = PeerFactory()) return f->Dialogs().MessageBox(cut(Text), cut(Caption), Flags);
    std::fprintf(stderr, "%s: %s\n", cut(Caption).c_str(), cut(Text).c_str());
    return defaultResult(Flags);
}

void ShowMessage(const AnsiString& Text) { ShowMessageBox(Text, Application->Title(), MB_OK); }
