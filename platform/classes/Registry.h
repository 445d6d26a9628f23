#pragma once
// A stand-in for the system registry: typed values under key paths, kept in
// one small text file per root key in the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config, then "yorde/registry").
//
// Key paths use "\" as on Windows and compare without regard to ASCII case.
// A path starting with "\" is taken from the root; any other is taken from
// the open key, or from the root when none is open. Every call reads the
// file afresh and every change rewrites it (temporary file, then rename)
// under one process-wide lock, so TRegistry objects on any thread see each
// other's writes and lose none; another process sees whole files only. One
// TRegistry object belongs to one thread at a time.
#include "Classes.h"

#include <cstdint>

using HKEY = uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

class TRegistry : public TObject {
    YORDE_CLASS(TRegistry, TObject)
public:
    TRegistry();  // RootKey HKEY_CURRENT_USER, no key open
    ~TRegistry() override;

    HKEY RootKey() const { return root_; }
    void SetRootKey(HKEY Value);  // closes the open key
    // The open key's path without leading "\"; "" when none is open.
    const AnsiString& CurrentPath() const { return path_; }
    bool HasCurrentKey() const { return open_; }

    // False when the key does not exist and CanCreate is false, or the root
    // key is unknown.
    bool OpenKey(const AnsiString& Key, bool CanCreate);
    bool OpenKeyReadOnly(const AnsiString& Key);
    void CloseKey();

    bool KeyExists(const AnsiString& Key);
    // Deletes the key with its subkeys and values; false when absent.
    bool DeleteKey(const AnsiString& Key);

    // Values of the open key; with no key open there are none and writes fail.
    bool ValueExists(const AnsiString& Name);
    bool DeleteValue(const AnsiString& Name);
    // Missing: "". Not a string: ERegistryException.
    AnsiString ReadString(const AnsiString& Name);
    // Missing or not an integer: ERegistryException.
    int ReadInteger(const AnsiString& Name);
    bool ReadBool(const AnsiString& Name);  // an integer, non-zero is true
    // ERegistryException when no key is open, it is read-only, or the file cannot be written.
    void WriteString(const AnsiString& Name, const AnsiString& Value);
    void WriteInteger(const AnsiString& Name, int Value);
    void WriteBool(const AnsiString& Name, bool Value);

private:
    AnsiString resolve(const AnsiString& key) const;
    void checkWritable(const AnsiString& name) const;

    HKEY root_ = HKEY_CURRENT_USER;
    AnsiString path_;
    bool open_ = false;
    bool readOnly_ = false;
};

// The folder holding the files; an empty Folder returns to the default.
void SetRegistryFolder(const AnsiString& Folder);
AnsiString RegistryFolder();
