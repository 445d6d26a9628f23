#pragma once
// Keeps its form's position, size and window state under a registry key:
// saved when it goes with its form, restored when the form has been loaded.
// (The registry is the file-backed store of the class library.)
#include "classes/Registry.h"

class TForm;

enum TMyHKeyType {
    lxHKEY_CURRENT_USER,
    lxHKEY_CLASSES_ROOT,
    lxHKEY_LOCAL_MACHINE,
    lxHKEY_USERS,
    lxHKEY_CURRENT_CONFIG,
    lxHKEY_DYN_DATA
};
YORDE_ENUM_TYPEINFO(TMyHKeyType, "lxHKEY_CURRENT_USER", "lxHKEY_CLASSES_ROOT", "lxHKEY_LOCAL_MACHINE", "lxHKEY_USERS",
                    "lxHKEY_CURRENT_CONFIG", "lxHKEY_DYN_DATA")

class TlxFormStorage : public TComponent {
    YORDE_CLASS(TlxFormStorage, TComponent)
public:
    // EInvalidCast when the owner is not a form.
    explicit TlxFormStorage(TComponent* AOwner);
    // Saves the placement.
    ~TlxFormStorage() override;

    // Restores the placement; any registry or conversion error leaves the
    // form as far as it got.
    void Loaded() override;
    // Writes "State" and, for a normal window, "Top", "Left", "Height" and
    // "Width". Failures are not reported: the form is going anyway.
    void FormDestroing(TObject* Sender);
    TForm* GetForm() const;

    bool Active() const { return active_; }
    void SetMyActive(bool Value) { active_ = Value; }
    const AnsiString& SubKey() const { return subKey_; }
    void SetSubKey(const AnsiString& Value);
    TMyHKeyType RegRootKey() const { return regRootKey_; }
    void SetRegRootKey(TMyHKeyType Value);
    HKEY RootKey() const { return rootKey_; }

private:
    bool active_ = true;
    AnsiString subKey_;
    TMyHKeyType regRootKey_ = lxHKEY_CURRENT_USER;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    TForm* form_ = nullptr;
};
