// TReader: component images in, with every count checked against the bytes left.
#include "classes/Collections.h"
#include "classes/Filer.h"
#include "classes/Float80.h"
#include "classes/MemoryStream.h"
#include "classes/Utf16.h"

#include "rtl/CodePages.h"
#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <mutex>

YORDE_IMPLEMENT_CLASS(TFiler, [](TClassBuilder<TFiler>&) {})
YORDE_IMPLEMENT_CLASS(TReader, [](TClassBuilder<TReader>&) {})

namespace {

constexpr size_t kBufferSize = 4096;

[[noreturn]] void invalidValue() { throw EReadError("Invalid property value"); }

struct InlineHook {
    std::mutex mutex;
    TReader::TComponentProc hook;
};
InlineHook& inlineHook() {
    static InlineHook* h = new InlineHook;
    return *h;
}

AnsiString instanceName(TPersistent* p) {
    if (auto* c = dynamic_cast<TComponent*>(p)) return c->Name().empty() ? c->ClassName() : c->Name();
    return p->GetNamePath();
}

TComponent* findNested(TComponent* root, const AnsiString& path) {
    TComponent* c = root;
    size_t start = 0;
    while (c) {
        size_t dot = path.find('.', start);
        c = c->FindComponent(path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start));
        if (dot == AnsiString::npos) break;
        start = dot + 1;
    }
    return c;
}

}  // namespace

// A reference or an event handler, set once the whole root is read.
struct TReader::Fixup {
    TPersistent* Instance;  // null once its component is gone
    const TPropInfo* Prop;
    AnsiString Name;
    bool IsMethod;
    TComponent* Component;  // the component whose record holds the property
};

// Hears of components freed while reading is under way, so that no fix-up
// and no Loaded call reaches a freed object.
class TReader::Watch : public TComponent {
public:
    explicit Watch(TReader& reader) : TComponent(nullptr), reader_(reader) {}
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove) reader_.forget(AComponent);
    }

private:
    TReader& reader_;
};

namespace {
struct DepthGuard {
    explicit DepthGuard(int& depth) : depth_(depth) {
        if (depth_ >= MaxFilerNesting) throw EReadError("Component image nested too deeply");
        ++depth_;
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    int& depth_;
};
}  // namespace

TReader::TReader(TStream& Stream) : stream_(Stream) {
    streamLeft_ = std::max<int64_t>(0, Stream.Size() - Stream.Position());
}

TReader::~TReader() {
    try {
        flushBuffer();
    } catch (...) {
    }
    unwatchAll();
}

void TReader::SetInlineHook(TComponentProc Hook) {
    auto& h = inlineHook();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.hook = std::move(Hook);
}

// ---------------------------------------------------------------------------
// Bytes

void TReader::need(int64_t count) const {
    if (count < 0 || count > BytesLeft()) throw EReadError("Stream read error");
}

void TReader::fill() {
    int64_t n = std::min<int64_t>(streamLeft_, int64_t(kBufferSize));
    if (n <= 0) return;
    if (buf_.size() < kBufferSize) buf_.resize(kBufferSize);
    stream_.ReadBuffer(buf_.data(), n);
    streamLeft_ -= n;
    bufPos_ = 0;
    bufEnd_ = size_t(n);
}

uint8_t TReader::peekByte() {
    need(1);
    if (bufPos_ == bufEnd_) fill();
    return buf_[bufPos_];
}

uint8_t TReader::readByte() {
    uint8_t b = peekByte();
    ++bufPos_;
    return b;
}

void TReader::Read(void* Buffer, int64_t Count) {
    need(Count);
    auto* p = static_cast<uint8_t*>(Buffer);
    size_t n = std::min<size_t>(bufEnd_ - bufPos_, size_t(Count));
    if (n) std::memcpy(p, buf_.data() + bufPos_, n);
    bufPos_ += n;
    p += n;
    Count -= int64_t(n);
    if (Count == 0) return;
    if (Count >= int64_t(kBufferSize)) {
        stream_.ReadBuffer(p, Count);
        streamLeft_ -= Count;
        return;
    }
    fill();
    std::memcpy(p, buf_.data(), size_t(Count));
    bufPos_ = size_t(Count);
}

void TReader::skip(int64_t count) {
    need(count);
    size_t n = std::min<size_t>(bufEnd_ - bufPos_, size_t(count));
    bufPos_ += n;
    count -= int64_t(n);
    if (count > 0) {
        stream_.Seek(count, soCurrent);
        streamLeft_ -= count;
    }
}

void TReader::flushBuffer() {
    if (bufEnd_ > bufPos_) {
        int64_t back = int64_t(bufEnd_ - bufPos_);
        stream_.Seek(-back, soCurrent);
        streamLeft_ += back;
    }
    bufPos_ = bufEnd_ = 0;
}

int32_t TReader::readInt32() {
    uint8_t b[4];
    Read(b, 4);
    return int32_t(uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24));
}

int64_t TReader::readCount(int64_t unit) {
    int32_t n = readInt32();
    if (n < 0 || int64_t(n) * unit > BytesLeft()) throw EReadError("Stream read error");
    return n;
}

AnsiString TReader::readChars(int64_t count) {
    need(count);
    AnsiString s(size_t(count), '\0');
    if (count) Read(s.data(), count);
    return s;
}

// ---------------------------------------------------------------------------
// Values

TValueType TReader::NextValue() {
    uint8_t b = peekByte();
    if (b > vaLastValueType) throw EReadError("Invalid value type " + IntToStr(int(b)));
    return TValueType(b);
}

TValueType TReader::ReadValue() {
    TValueType t = NextValue();
    ++bufPos_;
    return t;
}

void TReader::CheckValue(TValueType Value) {
    if (ReadValue() != Value) invalidValue();
}

bool TReader::EndOfList() { return peekByte() == vaNull; }

void TReader::ReadListBegin() { CheckValue(vaList); }

void TReader::ReadListEnd() { CheckValue(vaNull); }

AnsiString TReader::ReadStr() { return readChars(readByte()); }

AnsiString TReader::ReadString() {
    switch (ReadValue()) {
    case vaString: return readChars(readByte());
    case vaLString: return readChars(readCount(1));
    case vaWString: {
        int64_t n = readCount(2);
        std::u16string w(size_t(n), u'\0');
        for (auto& ch : w) {
            uint8_t b[2];
            Read(b, 2);
            ch = char16_t(b[0] | (b[1] << 8));
        }
        return Utf8ToAnsi(Utf16ToUtf8(w));
    }
    case vaUTF8String: return Utf8ToAnsi(readChars(readCount(1)));
    default: invalidValue();
    }
}

std::u16string TReader::ReadWideString() {
    switch (NextValue()) {
    case vaWString: {
        ReadValue();
        int64_t n = readCount(2);
        std::u16string w(size_t(n), u'\0');
        for (auto& ch : w) {
            uint8_t b[2];
            Read(b, 2);
            ch = char16_t(b[0] | (b[1] << 8));
        }
        return w;
    }
    case vaUTF8String: ReadValue(); return Utf8ToUtf16(readChars(readCount(1)));
    default: return Utf8ToUtf16(AnsiToUtf8(ReadString()));
    }
}

int TReader::ReadInteger() {
    switch (ReadValue()) {
    case vaInt8: {
        uint8_t b = readByte();
        return int8_t(b);
    }
    case vaInt16: {
        uint8_t b[2];
        Read(b, 2);
        return int16_t(uint16_t(b[0] | (b[1] << 8)));
    }
    case vaInt32: return readInt32();
    default: invalidValue();
    }
}

int64_t TReader::ReadInt64() {
    if (NextValue() != vaInt64) return ReadInteger();
    ReadValue();
    uint8_t b[8];
    Read(b, 8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
    return int64_t(v);
}

bool TReader::ReadBoolean() {
    switch (ReadValue()) {
    case vaTrue: return true;
    case vaFalse: return false;
    default: invalidValue();
    }
}

char TReader::ReadChar() {
    AnsiString s = ReadString();
    if (s.size() != 1) invalidValue();
    return s[0];
}

AnsiString TReader::ReadIdent() {
    switch (ReadValue()) {
    case vaIdent: return ReadStr();
    case vaFalse: return "False";
    case vaTrue: return "True";
    case vaNil: return "nil";
    case vaNull: return "Null";
    default: invalidValue();
    }
}

double TReader::ReadFloat() {
    const double value = [this]() -> double {
        switch (NextValue()) {
        case vaExtended: {
            ReadValue();
            TExtended80 e;
            Read(e.data(), 10);
            return Extended80ToDouble(e);
        }
        case vaSingle: {
            ReadValue();
            uint8_t b[4];
            Read(b, 4);
            return double(std::bit_cast<float>(uint32_t(b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24))));
        }
        case vaCurrency:
        case vaDate: {
            TValueType t = ReadValue();
            uint8_t b[8];
            Read(b, 8);
            uint64_t v = 0;
            for (int i = 7; i >= 0; --i) v = (v << 8) | b[i];
            return t == vaCurrency ? double(int64_t(v)) / 10000.0 : std::bit_cast<double>(v);
        }
        case vaInt8:
        case vaInt16:
        case vaInt32:
        case vaInt64: return double(ReadInt64());
        default: ReadValue(); invalidValue();
        }
    }();
    // NaN, an infinity or an extended beyond the range of a double: no
    // property holds one, and the text form has no way to write it.
    if (!std::isfinite(value)) throw EReadError("Invalid floating point value");
    return value;
}

double TReader::ReadSingle() { return ReadFloat(); }
double TReader::ReadCurrency() { return ReadFloat(); }
double TReader::ReadDate() { return ReadFloat(); }

std::string TReader::ReadBinary() {
    CheckValue(vaBinary);
    return readChars(readCount(1));
}

std::vector<AnsiString> TReader::ReadSet() {
    CheckValue(vaSet);
    std::vector<AnsiString> names;
    for (;;) {
        AnsiString name = ReadStr();
        if (name.empty()) break;
        names.push_back(std::move(name));
    }
    return names;
}

void TReader::SkipValue() {
    DepthGuard guard(depth_);
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil: break;
    case vaList:
        while (!EndOfList()) SkipValue();
        ReadListEnd();
        break;
    case vaInt8: skip(1); break;
    case vaInt16: skip(2); break;
    case vaInt32:
    case vaSingle: skip(4); break;
    case vaExtended: skip(10); break;
    case vaString:
    case vaIdent: skip(readByte()); break;
    case vaBinary:
    case vaLString:
    case vaUTF8String: skip(readCount(1)); break;
    case vaWString: skip(readCount(2) * 2); break;
    case vaSet:
        for (uint8_t n = readByte(); n != 0; n = readByte()) skip(n);
        break;
    case vaCollection:
        while (!EndOfList()) {
            TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32) ReadInteger();
            CheckValue(vaList);
            while (!EndOfList()) {
                skip(readByte());  // property name
                SkipValue();
            }
            ReadListEnd();
        }
        ReadListEnd();
        break;
    case vaCurrency:
    case vaDate:
    case vaInt64: skip(8); break;
    }
}

// ---------------------------------------------------------------------------
// Component records

void TReader::ReadSignature() {
    char sig[4] = {};
    if (BytesLeft() < 4) throw EReadError("Invalid stream format");
    Read(sig, 4);
    if (std::memcmp(sig, FilerSignature, 4) != 0) throw EReadError("Invalid stream format");
}

void TReader::ReadPrefix(TFilerFlags& Flags, int& AChildPos) {
    Flags = TFilerFlags();
    uint8_t b = peekByte();
    if ((b & 0xF0) != 0xF0) return;
    readByte();
    Flags = TFilerFlags::FromBits(b & 0x07);
    if (Flags.Contains(ffChildPos)) AChildPos = ReadInteger();
}

TComponent* TReader::createComponent(const AnsiString& className, TComponent* owner) {
    TMetaClass* mc = FindClass(className);
    if (!mc->InheritsFrom(TComponent::StaticClass()) || !mc->CanCreateComponent())
        throw EReadError("Class " + className + " cannot be created from a stream");
    return mc->CreateComponent(owner);
}

void TReader::watch(TComponent* c) {
    if (!watch_) watch_ = std::make_unique<Watch>(*this);
    if (std::find(loaded_.begin(), loaded_.end(), c) == loaded_.end()) {
        loaded_.push_back(c);
        watch_->FreeNotification(c);
    }
}

void TReader::forget(TComponent* c) {
    std::replace(loaded_.begin(), loaded_.end(), c, static_cast<TComponent*>(nullptr));
    for (Fixup& f : fixups_)
        if (f.Component == c) f.Instance = nullptr;
}

bool TReader::alive(TComponent* c) const { return std::find(loaded_.begin(), loaded_.end(), c) != loaded_.end(); }

void TReader::unwatchAll() {
    if (!watch_) return;
    // Quietly: the components need not hear of the watch going.
    for (TComponent* c : loaded_)
        if (c) watch_->RemoveFreeNotification(c);
    watch_.reset();
}

AnsiString TReader::makeUniqueRootName(TComponent* root, const AnsiString& name) const {
    TComponent* owner = root->Owner();
    auto taken = [&](const AnsiString& n) {
        if (owner) return owner->FindComponent(n) != nullptr;
        TComponent* other = FindGlobalRoot(n);
        return other != nullptr && other != root;
    };
    AnsiString result = name;
    for (int i = 1; taken(result); ++i) result = name + "_" + IntToStr(i);
    return result;
}

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    ReadSignature();
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    AnsiString className = ReadStr();
    AnsiString name = ReadStr();
    bool created = false;
    if (!Root) {
        Root = createComponent(className, owner_);
        created = true;
    }
    root_ = lookupRoot_ = Root;
    fixups_.clear();
    loaded_.clear();
    errorNamed_ = false;
    // An inline frame reading its own layout while the form's reader reads
    // it: that reader calls the frame's Loaded, once, at its end.
    rootLoadedOutside_ = !created && Root->ComponentState().Contains(csLoading);
    try {
        Root->SetStateItem(csLoading, true);
        Root->SetStateItem(csReading, true);
        watch(Root);
        if (created)
            Root->SetName(name);
        else if (Root->Name().empty() && !name.empty())
            Root->SetName(makeUniqueRootName(Root, name));
        Root->ReadState(*this);
        resolveFixups();
        finishLoading(true);
    } catch (...) {
        fixups_.clear();
        finishLoading(false);
        bool rootAlive = alive(Root);
        unwatchAll();
        loaded_.clear();
        if (created && rootAlive) TObject::Free(Root);
        throw;
    }
    unwatchAll();
    loaded_.clear();
    flushBuffer();
    return Root;
}

TComponent* TReader::ReadComponent(TComponent* Component) {
    DepthGuard guard(depth_);
    TFilerFlags flags;
    int childPos = 0;
    ReadPrefix(flags, childPos);
    AnsiString className = ReadStr();
    AnsiString name = ReadStr();
    TComponent* owner = owner_ ? owner_ : root_;
    TComponent* c = Component;
    if (!c && flags.Contains(ffInherited)) {
        c = owner ? owner->FindComponent(name) : nullptr;
        if (!c) throw EReadError("Ancestor for '" + name + "' not found");
    }
    bool created = false;
    if (!c) {
        c = createComponent(className, owner);
        created = true;
    }
    try {
        c->SetStateItem(csLoading, true);
        if (flags.Contains(ffInline)) c->SetStateItem(csInline, true);
        watch(c);
        if (created) c->SetName(name);
        if (parent_ && c->HasParent()) c->SetParentComponent(parent_);
        if (created && flags.Contains(ffInline)) {
            TComponentProc hook = OnReadInline;
            if (!hook) {
                auto& h = inlineHook();
                std::lock_guard<std::mutex> lock(h.mutex);
                hook = h.hook;
            }
            if (hook) {
                hook(c);
                c->SetStateItem(csLoading, true);  // the frame's own read may have ended its loading
            }
        }
        c->SetStateItem(csReading, true);
        c->ReadState(*this);
        c->SetStateItem(csReading, false);
        if (flags.Contains(ffChildPos) && parent_) parent_->SetChildOrder(c, childPos);
    } catch (...) {
        if (created && alive(c)) TObject::Free(c);
        throw;
    }
    return c;
}

void TReader::ReadData(TComponent* Instance) {
    TComponent* saveCurrent = current_;
    current_ = Instance;
    try {
        while (!EndOfList()) ReadProperty(Instance);
    } catch (...) {
        current_ = saveCurrent;
        throw;
    }
    current_ = saveCurrent;
    ReadListEnd();

    TComponent* saveOwner = owner_;
    TComponent* saveParent = parent_;
    parent_ = Instance->GetChildParent();
    owner_ = Instance->GetChildOwner();
    if (!owner_) owner_ = root_ ? root_ : Instance;
    try {
        while (!EndOfList()) ReadComponent(nullptr);
        ReadListEnd();
    } catch (...) {
        owner_ = saveOwner;
        parent_ = saveParent;
        throw;
    }
    owner_ = saveOwner;
    parent_ = saveParent;
}

// ---------------------------------------------------------------------------
// Properties

void TReader::ReadProperty(TPersistent* Instance) {
    AnsiString path = ReadStr();
    propPath_ = path;
    try {
        TPersistent* target = Instance;
        size_t start = 0;
        for (;;) {
            size_t dot = path.find('.', start);
            AnsiString part = path.substr(start, dot == AnsiString::npos ? AnsiString::npos : dot - start);
            const TPropInfo* p = target->ClassType()->FindProperty(part);
            if (dot == AnsiString::npos) {
                if (p) {
                    readPropValue(target, p);
                } else {
                    AnsiString saveName = definedName_;
                    bool saveFound = definedFound_;
                    definedName_ = part;
                    definedFound_ = false;
                    target->DefineProperties(*this);
                    bool found = definedFound_;
                    definedName_ = saveName;
                    definedFound_ = saveFound;
                    if (!found) throw EReadError("Property " + part + " does not exist");
                }
                break;
            }
            TPersistent* next = nullptr;
            if (p && p->Kind() == tkClass && p->GetObj) next = dynamic_cast<TPersistent*>(p->GetObj(target));
            if (!next) throw EReadError("Property " + part + " does not exist");
            target = next;
            start = dot + 1;
        }
    } catch (Exception& e) {
        if (!errorNamed_) {
            errorNamed_ = true;
            e.Message = "Error reading " + instanceName(Instance) + "." + path + ": " + e.Message;
        }
        throw;
    }
}

void TReader::readPropValue(TPersistent* instance, const TPropInfo* prop) {
    TTypeKind kind = prop->Kind();
    if (kind != tkClass && !prop->IsWritable()) throw EReadError("Property " + prop->Name + " is read-only");
    switch (kind) {
    case tkInteger: {
        int64_t v = 0;
        if (NextValue() == vaIdent) {
            if (!IdentToInt(prop->PropType, ReadIdent(), v)) invalidValue();
        } else {
            v = ReadInt64();
        }
        prop->SetOrd(instance, v);
        break;
    }
    case tkChar:
    case tkWChar: prop->SetOrd(instance, int64_t(static_cast<unsigned char>(ReadChar()))); break;
    case tkEnumeration: {
        TValueType t = NextValue();
        int64_t v;
        if (t == vaInt8 || t == vaInt16 || t == vaInt32) {
            v = ReadInteger();
            if (v < 0 || v >= int64_t(prop->PropType->EnumNames.size())) invalidValue();
        } else {
            v = GetEnumValue(prop->PropType, ReadIdent());
            if (v < 0) invalidValue();
        }
        prop->SetOrd(instance, v);
        break;
    }
    case tkSet: prop->SetOrd(instance, int64_t(readSetBits(prop->PropType->CompType))); break;
    case tkInt64: prop->SetOrd(instance, ReadInt64()); break;
    case tkFloat: prop->SetFloat(instance, ReadFloat()); break;
    case tkString:
    case tkLString:
    case tkWString: prop->SetStr(instance, ReadString()); break;
    case tkMethod:
        if (NextValue() == vaNil) {
            ReadValue();
            prop->SetMeth(instance, TMethod{});
        } else {
            fixups_.push_back(Fixup{instance, prop, ReadIdent(), true, current_});
        }
        break;
    case tkClass:
        switch (NextValue()) {
        case vaCollection: {
            auto* collection = prop->GetObj ? dynamic_cast<TCollection*>(prop->GetObj(instance)) : nullptr;
            if (!collection) invalidValue();
            readCollection(collection);
            break;
        }
        case vaNil:
            ReadValue();
            if (!prop->SetObj) throw EReadError("Property " + prop->Name + " is read-only");
            prop->SetObj(instance, nullptr);
            break;
        case vaIdent: {
            if (!prop->SetObj) throw EReadError("Property " + prop->Name + " is read-only");
            fixups_.push_back(Fixup{instance, prop, ReadIdent(), false, current_});
            break;
        }
        default: invalidValue();
        }
        break;
    default: invalidValue();
    }
}

uint64_t TReader::readSetBits(const TTypeInfo* element) {
    if (!element) invalidValue();
    uint64_t bits = 0;
    for (const AnsiString& name : ReadSet()) {
        int64_t v = GetEnumValue(element, name);
        if (v < 0 || v >= 64) invalidValue();
        bits |= uint64_t(1) << v;
    }
    return bits;
}

void TReader::readCollection(TCollection* collection) {
    DepthGuard guard(depth_);
    CheckValue(vaCollection);
    dropFixupsUnder(collection);
    collection->BeginUpdate();
    try {
        collection->Clear();
        while (!EndOfList()) {
            TValueType t = NextValue();
            if (t == vaInt8 || t == vaInt16 || t == vaInt32)
                ReadInteger();  // the item's order: items come in order anyway
            CheckValue(vaList);
            TCollectionItem* item = collection->Add();
            while (!EndOfList()) ReadProperty(item);
            ReadListEnd();
        }
        ReadListEnd();
    } catch (...) {
        collection->EndUpdate();
        throw;
    }
    collection->EndUpdate();
}

void TReader::dropFixupsUnder(TPersistent* owner) {
    // Clearing a collection frees its items; their pending fix-ups go too.
    for (Fixup& f : fixups_) {
        int steps = 0;
        for (TPersistent* p = f.Instance; p && steps < MaxFilerNesting; p = p->GetOwner(), ++steps)
            if (p == owner && p != f.Instance) {
                f.Instance = nullptr;
                break;
            }
    }
}

TComponent* TReader::findReference(const AnsiString& name) const {
    if (SameText(name, "Owner")) return lookupRoot_;
    if (TComponent* c = findNested(lookupRoot_, name)) return c;
    size_t dot = name.find('.');
    if (dot == AnsiString::npos) return nullptr;
    AnsiString rootName = name.substr(0, dot);
    AnsiString rest = name.substr(dot + 1);
    TComponent* root = lookupRoot_ && SameText(lookupRoot_->Name(), rootName) ? lookupRoot_ : FindGlobalRoot(rootName);
    if (!root) return nullptr;  // stays null, as the class library leaves it
    if (SameText(rest, "Owner")) return root;
    return findNested(root, rest);
}

void TReader::resolveFixups() {
    // By index: a setter may free components, which marks their entries.
    for (size_t i = 0; i < fixups_.size(); ++i) {
        Fixup f = fixups_[i];
        if (!f.Instance) continue;
        try {
            if (f.IsMethod) {
                f.Prop->SetMeth(f.Instance, TMethod{lookupRoot_, f.Name});
            } else if (TComponent* ref = findReference(f.Name)) {
                f.Prop->SetObj(f.Instance, ref);
            }
        } catch (Exception& e) {
            if (!errorNamed_) {
                errorNamed_ = true;
                e.Message = "Error reading " + instanceName(f.Instance) + "." + f.Prop->Name + ": " + e.Message;
            }
            throw;
        }
    }
    fixups_.clear();
}

void TReader::finishLoading(bool callLoaded) {
    for (TComponent* c : loaded_)
        if (c) c->SetStateItem(csReading, false);
    auto outside = [this](TComponent* c) { return rootLoadedOutside_ && c == root_; };
    if (callLoaded) {
        for (size_t i = 0; i < loaded_.size(); ++i)
            if (TComponent* c = loaded_[i]; c && !outside(c)) c->Loaded();
    } else {
        for (TComponent* c : loaded_)
            if (c && !outside(c)) c->SetStateItem(csLoading, false);
    }
}

// ---------------------------------------------------------------------------
// Defined properties

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc, bool) {
    if (definedName_.empty() || !ReadData || !SameText(Name, definedName_)) return;
    definedName_.clear();
    ReadData(*this);
    definedFound_ = true;
}

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc, bool) {
    if (definedName_.empty() || !ReadData || !SameText(Name, definedName_)) return;
    definedName_.clear();
    CheckValue(vaBinary);
    int64_t count = readCount(1);
    TMemoryStream data;
    data.SetSize(count);
    if (count) Read(data.Memory(), count);
    data.SetPosition(0);
    ReadData(data);
    definedFound_ = true;
}
