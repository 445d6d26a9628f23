#include "localization/LxFormStorage.h"

#include "vcl/Forms.h"

YORDE_IMPLEMENT_CLASS(TlxFormStorage, [](TClassBuilder<TlxFormStorage>& c) {
    c.Property("Active", &TlxFormStorage::Active, &TlxFormStorage::SetMyActive).Default(true);
    c.Property("SubKey", &TlxFormStorage::SubKey, &TlxFormStorage::SetSubKey);
    c.Property("RegRootKey", &TlxFormStorage::RegRootKey, &TlxFormStorage::SetRegRootKey).Default(lxHKEY_CURRENT_USER);
})

namespace {
const char* stateName(TWindowState State) {
    switch (State) {
    case wsMinimized: return "Minimized";
    case wsMaximized: return "Maximized";
    default: return "Normal";
    }
}
}  // namespace

TlxFormStorage::TlxFormStorage(TComponent* AOwner) : TComponent(AOwner) { form_ = GetForm(); }

TlxFormStorage::~TlxFormStorage() { FormDestroing(this); }

TForm* TlxFormStorage::GetForm() const {
    if (!Owner()) return nullptr;
    auto* form = dynamic_cast<TForm*>(Owner());
    if (!form) throw EInvalidCast("Invalid class typecast");
    return form;
}

void TlxFormStorage::SetSubKey(const AnsiString& Value) {
    if (Value != subKey_) subKey_ = Value;
}

void TlxFormStorage::SetRegRootKey(TMyHKeyType Value) {
    if (Value == regRootKey_) return;
    static const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_CLASSES_ROOT,   HKEY_LOCAL_MACHINE,
                                 HKEY_USERS,        HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    regRootKey_ = Value;
    rootKey_ = roots[Value];
}

void TlxFormStorage::FormDestroing(TObject*) {
    if (!active_ || !form_ || ComponentState().Contains(csDesigning)) return;
    try {
        TRegistry registry;
        registry.SetRootKey(rootKey_);
        if (!registry.OpenKey(subKey_, true)) return;
        const TWindowState state = form_->WindowState();
        registry.WriteString("State", stateName(state));
        if (state != wsNormal) return;
        registry.WriteInteger("Top", form_->Top());
        registry.WriteInteger("Left", form_->Left());
        registry.WriteInteger("Height", form_->Height());
        registry.WriteInteger("Width", form_->Width());
    } catch (const std::exception&) {
        // The placement is simply not kept.
    }
}

void TlxFormStorage::Loaded() {
    TComponent::Loaded();
    if (!active_ || !form_ || ComponentState().Contains(csDesigning)) return;
    try {
        TRegistry registry;
        registry.SetRootKey(rootKey_);
        if (!registry.OpenKey(subKey_, true)) return;
        if (registry.ReadString("State").empty()) return;
        form_->SetTop(registry.ReadInteger("Top"));
        form_->SetLeft(registry.ReadInteger("Left"));
        form_->SetHeight(registry.ReadInteger("Height"));
        form_->SetWidth(registry.ReadInteger("Width"));
        // "Minimized", "Normal", "Maximized": told apart by the third letter;
        // a shorter state chooses nothing.
        const AnsiString state = registry.ReadString("State");
        if (state.size() < 3) return;
        if (state[2] == 'n')
            form_->SetWindowState(wsMinimized);
        else if (state[2] == 'r')
            form_->SetWindowState(wsNormal);
        else if (state[2] == 'x')
            form_->SetWindowState(wsMaximized);
    } catch (const std::exception&) {
        // Whatever was read so far stays.
    }
}
