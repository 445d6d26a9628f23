#pragma once
// LXB files: the stored images of the translation components of several
// forms in one binary file, each found by its owner's class name.
//
// Layout (little-endian): a 42-byte signature (text and NUL), the entry
// count N and the length F of the fixed-languages text (16 bits each), that
// text (CR LF lines), N table records (16-bit name length, the owner class
// name, 32-bit offset of the image from the start of the stream), then the
// N component images.
//
// A file is not trusted: every length and offset is checked against the
// stream before it is used, and an image must be of a registered
// translation-component class; anything else raises EReadError or
// Exception "Unrecognized stream format!" and leaves nothing half-built.
#include "classes/Strings.h"
#include "localization/LxTypes.h"

#include <memory>
#include <vector>

class TlxCustomLang;
class TStream;

YORDE_DECLARE_EXCEPTION(ELXBFormatError, Exception)

// True for the extension ".LXB" in any letter case.
bool lxIsBinaryFile(const AnsiString& FileName);

class TLXBFileManager : public TPersistent {
    YORDE_CLASS(TLXBFileManager, TPersistent)
public:
    TLXBFileManager();
    // Reads the file when it exists.
    explicit TLXBFileManager(const AnsiString& FileName);
    ~TLXBFileManager() override;

    // Lang replaces the entry of its owner's class name, or is appended
    // (with an empty name when it has no owner). Returns the last index.
    // The manager frees only the components it read itself, never one it
    // was given.
    int Add(TlxCustomLang* Lang);
    void Clear();
    // Frees the components read from files.
    void ClearList();
    void Remove(int Index);
    void Move(int From, int To);

    int GetCompCount() const { return int(components_.size()); }
    AnsiString GetOwnerNames(int Index) const { return ownerNames_->Strings(Index); }
    void SetOwnerNames(int Index, const AnsiString& Value) { ownerNames_->SetStrings(Index, Value); }
    TlxCustomLang* GetlxComponents(int Index) const;
    void SetlxComponents(int Index, TlxCustomLang* Value);
    TStrings* OwnerNames() const { return ownerNames_.get(); }
    TStrings* FixedLanguages() const { return fixedLanguages_.get(); }
    void SetFixedLanguages(TStrings* Value);
    const AnsiString& Signature() const { return signature_; }

    // The byte size of the component's image.
    int GetComponentSize(int Index) const;

    // ELXBFormatError, before anything is written, when a count or length
    // does not fit its 16 bits or an offset its 32.
    void SaveToStream(TStream* Stream) const;
    // The file is replaced whole.
    void SaveToFile(const AnsiString& FileName) const;
    // The whole file from the stream's current position into the manager.
    void ReadStreamContent(TStream* Stream);
    void ReadFileContent(const AnsiString& FileName);
    void LoadAllFromFile(const AnsiString& FileName);
    // The entry of OwnerName copied into Lang: lists, language names and
    // extended translations. Nothing when there is no such entry.
    void LoadFromStream(TlxCustomLang* Lang, const AnsiString& OwnerName, TStream* Stream);
    void LoadFromFile(TlxCustomLang* Lang, const AnsiString& OwnerName, const AnsiString& FileName);
    // Only the list of Type of that entry.
    void LoadPropFromFile(TStringsType Type, const AnsiString& FileName, TlxCustomLang* Lang,
                          const AnsiString& OwnerName);

protected:
    // To another manager: a copy of every component.
    void AssignTo(TPersistent* Dest) override;

private:
    struct Header;
    struct Slot {
        TlxCustomLang* Lang;
        bool Read;  // made from a file by this manager, which frees it
    };
    Header readHeader(TStream* Stream);
    static void release(const Slot& Item);
    // The component's image, written without its dispatcher.
    static AnsiString imageOf(TlxCustomLang* Lang);

    std::vector<Slot> components_;
    std::unique_ptr<TStringList> ownerNames_;
    AnsiString signature_;
    std::unique_ptr<TStringList> fixedLanguages_;
};
