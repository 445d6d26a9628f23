#include "localization/LXBFile.h"

#include "classes/FileStream.h"
#include "classes/Filer.h"
#include "classes/MemoryStream.h"
#include "localization/LxExtended.h"
#include "localization/LxcompLang.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <limits>

namespace {
const AnsiString lxbSignature = AnsiString("LXB file: TlxLang binary translation data") + '\0';

[[noreturn]] void unrecognized() { throw ELXBFormatError("Unrecognized stream format!"); }

unsigned readU16(TStream* S) {
    uint8_t b[2];
    S->ReadBuffer(b, 2);
    return unsigned(b[0]) | unsigned(b[1]) << 8;
}

uint32_t readU32(TStream* S) {
    uint8_t b[4];
    S->ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

AnsiString readBytes(TStream* S, int64_t Count) {
    if (Count > S->Size() - S->Position()) throw EReadError("Stream read error");
    AnsiString out(size_t(Count), '\0');
    if (Count > 0) S->ReadBuffer(out.data(), Count);
    return out;
}

void writeU16(TStream* S, unsigned V) {
    const uint8_t b[2] = {uint8_t(V), uint8_t(V >> 8)};
    S->WriteBuffer(b, 2);
}

void writeU32(TStream* S, uint32_t V) {
    const uint8_t b[4] = {uint8_t(V), uint8_t(V >> 8), uint8_t(V >> 16), uint8_t(V >> 24)};
    S->WriteBuffer(b, 4);
}

// Byte by byte up to the NUL, as long as the stream can still hold the counts.
void checkSignature(TStream* S) {
    const int64_t size = S->Size();
    AnsiString text;
    char c = 1;
    while (c != '\0' && text.size() < lxbSignature.size() && S->Position() < size - 2 && S->Read(&c, 1) == 1) text += c;
    if (text != lxbSignature) unrecognized();
}

// The class an image names must be a translation component: no image may
// make anything else.
void checkImageClass(TStream* S) {
    AnsiString name;
    {
        TReader reader(*S);
        reader.ReadSignature();
        TFilerFlags flags;
        int position = 0;
        reader.ReadPrefix(flags, position);
        name = reader.ReadStr();
    }
    TMetaClass* c = GetClass(name);
    if (!c || !c->InheritsFrom(TlxCustomLang::StaticClass()))
        throw ELXBFormatError("An LXB image holds no translation component: " + name);
}

struct FreeLang {
    void operator()(TlxCustomLang* Lang) const { TObject::Free(Lang); }
};
using TempLang = std::unique_ptr<TlxCustomLang, FreeLang>;

// A component image read as a temporary copy: no dispatcher, no applying,
// no after-loading steps.
TempLang readImage(TStream* S, int64_t Offset) {
    S->SetPosition(Offset);
    checkImageClass(S);
    S->SetPosition(Offset);
    TlxTemporaryCopyScope temporary;
    TComponent* read = S->ReadComponent(nullptr);
    TempLang lang(dynamic_cast<TlxCustomLang*>(read));
    if (!lang) {
        TObject::Free(read);
        unrecognized();
    }
    return lang;
}
}  // namespace

struct TLXBFileManager::Header {
    struct Record {
        AnsiString Name;
        int64_t Offset;
    };
    AnsiString FixedLanguages;
    std::vector<Record> Records;
};

bool lxIsBinaryFile(const AnsiString& FileName) { return AnsiUpperCase(ExtractFileExt(FileName)) == ".LXB"; }

YORDE_IMPLEMENT_CLASS(TLXBFileManager, [](TClassBuilder<TLXBFileManager>&) {})

TLXBFileManager::TLXBFileManager()
    : ownerNames_(std::make_unique<TStringList>()),
      signature_(lxbSignature),
      fixedLanguages_(std::make_unique<TStringList>()) {
    fixedLanguages_->SetSorted(true);
    fixedLanguages_->SetDuplicates(dupIgnore);
}

TLXBFileManager::TLXBFileManager(const AnsiString& FileName) : TLXBFileManager() {
    if (FileExists(FileName)) ReadFileContent(FileName);
}

TLXBFileManager::~TLXBFileManager() { ClearList(); }

void TLXBFileManager::release(const Slot& Item) {
    if (Item.Read) TObject::Free(Item.Lang);
}

AnsiString TLXBFileManager::imageOf(TlxCustomLang* Lang) {
    // Reading an image must never link a dispatcher.
    TlxLangDispatcher* dispatcher = Lang->LangDispatcher();
    Lang->setDispatcherPointer(nullptr);
    TMemoryStream ms;
    try {
        ms.WriteComponent(Lang);
    } catch (...) {
        Lang->setDispatcherPointer(dispatcher);
        throw;
    }
    Lang->setDispatcherPointer(dispatcher);
    return AnsiString(static_cast<const char*>(ms.Memory()), size_t(ms.Size()));
}

int TLXBFileManager::Add(TlxCustomLang* Lang) {
    if (!Lang) return GetCompCount() - 1;
    const AnsiString name = Lang->Owner() ? Lang->Owner()->ClassName() : AnsiString();
    if (Lang->Owner()) {
        for (int i = 0; i < ownerNames_->Count(); ++i)
            if (ownerNames_->Strings(i) == name) {
                SetlxComponents(i, Lang);
                return GetCompCount() - 1;
            }
    }
    components_.push_back({Lang, false});
    ownerNames_->Add(name);
    return GetCompCount() - 1;
}

void TLXBFileManager::Clear() {
    ownerNames_->Clear();
    ClearList();
}

void TLXBFileManager::ClearList() {
    for (const Slot& item : components_) release(item);
    components_.clear();
}

void TLXBFileManager::Remove(int Index) {
    GetlxComponents(Index);  // range check
    const Slot item = components_[size_t(Index)];
    components_.erase(components_.begin() + Index);
    ownerNames_->Delete(Index);
    release(item);
}

void TLXBFileManager::Move(int From, int To) {
    GetlxComponents(From);  // range checks
    GetlxComponents(To);
    const Slot item = components_[size_t(From)];
    components_.erase(components_.begin() + From);
    components_.insert(components_.begin() + To, item);
    ownerNames_->Move(From, To);
}

TlxCustomLang* TLXBFileManager::GetlxComponents(int Index) const {
    if (Index < 0 || Index >= GetCompCount()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return components_[size_t(Index)].Lang;
}

void TLXBFileManager::SetlxComponents(int Index, TlxCustomLang* Value) {
    GetlxComponents(Index);  // range check
    const Slot old = components_[size_t(Index)];
    if (old.Lang == Value) return;
    components_[size_t(Index)] = {Value, false};
    release(old);
}

void TLXBFileManager::SetFixedLanguages(TStrings* Value) {
    if (Value != fixedLanguages_.get()) fixedLanguages_->Assign(Value);
}

int TLXBFileManager::GetComponentSize(int Index) const { return int(imageOf(GetlxComponents(Index)).size()); }

void TLXBFileManager::SaveToStream(TStream* Stream) const {
    const AnsiString fixed = fixedLanguages_->Count() > 0 ? fixedLanguages_->Text() : AnsiString();
    constexpr size_t max16 = std::numeric_limits<uint16_t>::max();
    if (components_.size() > max16) throw ELXBFormatError("Too many entries for an LXB file");
    if (fixed.size() > max16) throw ELXBFormatError("The fixed languages are too long for an LXB file");
    for (int i = 0; i < ownerNames_->Count(); ++i)
        if (ownerNames_->Strings(i).size() > max16) throw ELXBFormatError("An owner name is too long for an LXB file");
    // Images first, so that nothing is written when one cannot be.
    std::vector<AnsiString> images;
    for (const Slot& item : components_) images.push_back(imageOf(item.Lang));
    int64_t end = Stream->Position() + int64_t(lxbSignature.size()) + 4 + int64_t(fixed.size());
    for (size_t i = 0; i < components_.size(); ++i) end += 6 + int64_t(ownerNames_->Strings(int(i)).size());
    for (const AnsiString& image : images) end += int64_t(image.size());
    if (end > int64_t(std::numeric_limits<uint32_t>::max())) throw ELXBFormatError("An LXB file cannot exceed 4 GiB");

    Stream->WriteBuffer(lxbSignature.data(), int64_t(lxbSignature.size()));
    writeU16(Stream, unsigned(components_.size()));
    writeU16(Stream, unsigned(fixed.size()));
    if (!fixed.empty()) Stream->WriteBuffer(fixed.data(), int64_t(fixed.size()));
    std::vector<int64_t> slots;
    for (size_t i = 0; i < components_.size(); ++i) {
        const AnsiString name = ownerNames_->Strings(int(i));
        writeU16(Stream, unsigned(name.size()));
        if (!name.empty()) Stream->WriteBuffer(name.data(), int64_t(name.size()));
        slots.push_back(Stream->Position());
        writeU32(Stream, 0);
    }
    std::vector<int64_t> offsets;
    for (const AnsiString& image : images) {
        offsets.push_back(Stream->Position());
        Stream->WriteBuffer(image.data(), int64_t(image.size()));
    }
    const int64_t after = Stream->Position();
    for (size_t i = 0; i < slots.size(); ++i) {
        Stream->SetPosition(slots[i]);
        writeU32(Stream, uint32_t(offsets[i]));
    }
    Stream->SetPosition(after);
}

void TLXBFileManager::SaveToFile(const AnsiString& FileName) const {
    TMemoryStream content;
    SaveToStream(&content);
    content.SaveToFile(FileName);
}

TLXBFileManager::Header TLXBFileManager::readHeader(TStream* Stream) {
    checkSignature(Stream);
    const unsigned count = readU16(Stream);
    const unsigned fixedLength = readU16(Stream);
    Header h;
    h.FixedLanguages = readBytes(Stream, fixedLength);
    // Each record takes at least six bytes.
    if (int64_t(count) * 6 > Stream->Size() - Stream->Position()) throw EReadError("Stream read error");
    for (unsigned i = 0; i < count; ++i) {
        Header::Record r;
        r.Name = readBytes(Stream, readU16(Stream));
        r.Offset = readU32(Stream);
        h.Records.push_back(r);
    }
    const int64_t tableEnd = Stream->Position();
    for (const Header::Record& r : h.Records)
        if (r.Offset < tableEnd || r.Offset >= Stream->Size())
            throw ELXBFormatError("An LXB entry points outside the file: " + r.Name);
    fixedLanguages_->SetText(h.FixedLanguages);
    return h;
}

void TLXBFileManager::ReadStreamContent(TStream* Stream) {
    Clear();
    const Header h = readHeader(Stream);
    std::vector<TempLang> read;
    for (const Header::Record& r : h.Records) read.push_back(readImage(Stream, r.Offset));
    for (size_t i = 0; i < read.size(); ++i) {
        components_.push_back({read[i].release(), true});
        ownerNames_->Add(h.Records[i].Name);
    }
}

void TLXBFileManager::ReadFileContent(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    ReadStreamContent(&stream);
}

void TLXBFileManager::LoadAllFromFile(const AnsiString& FileName) {
    Clear();
    ReadFileContent(FileName);
}

void TLXBFileManager::LoadFromStream(TlxCustomLang* Lang, const AnsiString& OwnerName, TStream* Stream) {
    if (!Lang) return;
    const Header h = readHeader(Stream);
    auto record =
        std::find_if(h.Records.begin(), h.Records.end(), [&](const Header::Record& r) { return r.Name == OwnerName; });
    if (record == h.Records.end()) return;
    TempLang read = readImage(Stream, record->Offset);
    Lang->takeEntry(*read);
}

void TLXBFileManager::LoadFromFile(TlxCustomLang* Lang, const AnsiString& OwnerName, const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    LoadFromStream(Lang, OwnerName, &stream);
}

void TLXBFileManager::LoadPropFromFile(TStringsType Type, const AnsiString& FileName, TlxCustomLang* Lang,
                                       const AnsiString& OwnerName) {
    if (!Lang) return;
    TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
    const Header h = readHeader(&stream);
    auto record =
        std::find_if(h.Records.begin(), h.Records.end(), [&](const Header::Record& r) { return r.Name == OwnerName; });
    if (record == h.Records.end()) return;
    TempLang read = readImage(&stream, record->Offset);
    Lang->takeList(*read, Type);
}

void TLXBFileManager::AssignTo(TPersistent* Dest) {
    auto* other = dynamic_cast<TLXBFileManager*>(Dest);
    if (!other) return;
    other->signature_ = signature_;
    other->fixedLanguages_->Assign(fixedLanguages_.get());
    other->ClearList();
    other->ownerNames_->Assign(ownerNames_.get());
    for (const Slot& item : components_) {
        TMemoryStream ms;
        const AnsiString image = imageOf(item.Lang);
        ms.WriteBuffer(image.data(), int64_t(image.size()));
        other->components_.push_back({readImage(&ms, 0).release(), true});
    }
}
