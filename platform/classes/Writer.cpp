// TWriter: component images out, with the class library's rules for what is written.
#include "classes/Collections.h"
#include "classes/Filer.h"
#include "classes/Float80.h"
#include "classes/MemoryStream.h"

#include "rtl/StrUtils.h"

#include <bit>
#include <cmath>
#include <limits>

YORDE_IMPLEMENT_CLASS(TWriter, [](TClassBuilder<TWriter>&) {})

namespace {
struct WriteDepth {
    explicit WriteDepth(int& depth) : depth_(depth) {
        if (depth_ >= MaxFilerNesting) throw EWriteError("Objects nested too deeply to write");
        ++depth_;
    }
    ~WriteDepth() { --depth_; }
    WriteDepth(const WriteDepth&) = delete;
    WriteDepth& operator=(const WriteDepth&) = delete;
    int& depth_;
};

void putLE(uint8_t* out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = uint8_t(v >> (8 * i));
}
}  // namespace

TWriter::TWriter(TStream& Stream) : stream_(Stream) {}

TWriter::~TWriter() = default;

// ---------------------------------------------------------------------------
// Values

void TWriter::Write(const void* Buffer, int64_t Count) { stream_.WriteBuffer(Buffer, Count); }

void TWriter::WriteValue(TValueType Value) {
    uint8_t b = Value;
    Write(&b, 1);
}

void TWriter::WriteListBegin() { WriteValue(vaList); }

void TWriter::WriteListEnd() { WriteValue(vaNull); }

void TWriter::WriteStr(const AnsiString& Value) {
    if (Value.size() > 255) throw EWriteError("Name too long to write: " + Value.substr(0, 40) + "...");
    uint8_t n = uint8_t(Value.size());
    Write(&n, 1);
    Write(Value.data(), n);
}

void TWriter::WriteString(const AnsiString& Value) {
    if (Value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(Value);
        return;
    }
    if (Value.size() > size_t(std::numeric_limits<int32_t>::max())) throw EWriteError("String too long to write");
    WriteValue(vaLString);
    uint8_t n[4];
    putLE(n, Value.size(), 4);
    Write(n, 4);
    Write(Value.data(), int64_t(Value.size()));
}

void TWriter::WriteWideString(const std::u16string& Value) {
    if (Value.size() > size_t(std::numeric_limits<int32_t>::max() / 2)) throw EWriteError("String too long to write");
    WriteValue(vaWString);
    uint8_t n[4];
    putLE(n, Value.size(), 4);
    Write(n, 4);
    std::string bytes(Value.size() * 2, '\0');
    for (size_t i = 0; i < Value.size(); ++i) putLE(reinterpret_cast<uint8_t*>(&bytes[i * 2]), Value[i], 2);
    Write(bytes.data(), int64_t(bytes.size()));
}

void TWriter::WriteInteger(int64_t Value) {
    uint8_t b[8];
    if (Value >= -128 && Value <= 127) {
        WriteValue(vaInt8);
        putLE(b, uint64_t(Value), 1);
        Write(b, 1);
    } else if (Value >= -32768 && Value <= 32767) {
        WriteValue(vaInt16);
        putLE(b, uint64_t(Value), 2);
        Write(b, 2);
    } else if (Value >= std::numeric_limits<int32_t>::min() && Value <= std::numeric_limits<int32_t>::max()) {
        WriteValue(vaInt32);
        putLE(b, uint64_t(Value), 4);
        Write(b, 4);
    } else {
        WriteValue(vaInt64);
        putLE(b, uint64_t(Value), 8);
        Write(b, 8);
    }
}

void TWriter::WriteBoolean(bool Value) { WriteValue(Value ? vaTrue : vaFalse); }

void TWriter::WriteChar(char Value) {
    WriteValue(vaString);
    WriteStr(AnsiString(1, Value));
}

void TWriter::WriteIdent(const AnsiString& Ident) {
    if (SameText(Ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(Ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(Ident, "Null"))
        WriteValue(vaNull);
    else if (SameText(Ident, "nil"))
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(Ident);
    }
}

void TWriter::WriteFloat(double Value) {
    WriteValue(vaExtended);
    TExtended80 e = DoubleToExtended80(Value);
    Write(e.data(), 10);
}

void TWriter::WriteSingle(float Value) {
    WriteValue(vaSingle);
    uint8_t b[4];
    putLE(b, std::bit_cast<uint32_t>(Value), 4);
    Write(b, 4);
}

void TWriter::WriteCurrency(double Value) {
    double scaled = std::nearbyint(Value * 10000.0);
    if (!(std::fabs(scaled) < 9.2e18)) throw EWriteError("Currency value out of range");
    WriteValue(vaCurrency);
    uint8_t b[8];
    putLE(b, uint64_t(int64_t(scaled)), 8);
    Write(b, 8);
}

void TWriter::WriteDate(double Value) {
    WriteValue(vaDate);
    uint8_t b[8];
    putLE(b, std::bit_cast<uint64_t>(Value), 8);
    Write(b, 8);
}

void TWriter::WriteBinary(const void* Data, int64_t Count) {
    if (Count < 0 || Count > std::numeric_limits<int32_t>::max()) throw EWriteError("Binary value too large to write");
    WriteValue(vaBinary);
    uint8_t n[4];
    putLE(n, uint64_t(Count), 4);
    Write(n, 4);
    Write(Data, Count);
}

void TWriter::WriteSet(const std::vector<AnsiString>& Names) {
    WriteValue(vaSet);
    for (const AnsiString& name : Names)
        if (!name.empty()) WriteStr(name);
    WriteStr(AnsiString());
}

void TWriter::WriteCollection(TCollection* Value) {
    WriteDepth guard(depth_);
    WriteValue(vaCollection);
    if (Value) {
        // Item properties carry no prefix of their own.
        AnsiString savePath = propPath_;
        propPath_.clear();
        try {
            for (int i = 0; i < Value->Count(); ++i) {
                WriteListBegin();
                WriteProperties(Value->Items(i));
                WriteListEnd();
            }
        } catch (...) {
            propPath_ = savePath;
            throw;
        }
        propPath_ = savePath;
    }
    WriteListEnd();
}

// ---------------------------------------------------------------------------
// Component records

void TWriter::WriteSignature() { Write(FilerSignature, 4); }

void TWriter::WritePrefix(TFilerFlags Flags, int ChildPos) {
    if (Flags.Empty()) return;
    uint8_t b = uint8_t(0xF0 | (Flags.Bits() & 0x0F));
    Write(&b, 1);
    if (Flags.Contains(ffChildPos)) WriteInteger(ChildPos);
}

void TWriter::WriteRootComponent(TComponent* Root) {
    if (!Root) throw EWriteError("No component to write");
    root_ = lookupRoot_ = Root;
    WriteSignature();
    WriteComponent(Root);
}

void TWriter::WriteComponent(TComponent* Component) {
    if (!Component) return;
    if (!root_) root_ = lookupRoot_ = Component;
    bool wasWriting = Component->ComponentState().Contains(csWriting);
    Component->SetStateItem(csWriting, true);
    try {
        Component->WriteState(*this);
    } catch (...) {
        Component->SetStateItem(csWriting, wasWriting);
        throw;
    }
    Component->SetStateItem(csWriting, wasWriting);
}

void TWriter::WriteData(TComponent* Instance) {
    WriteDepth guard(depth_);
    TFilerFlags flags;
    if (Instance != root_ && Instance->ComponentState().Contains(csInline)) flags << ffInline;
    WritePrefix(flags, 0);
    WriteStr(Instance->ClassName());
    WriteStr(Instance->Name());
    WriteProperties(Instance);
    WriteListEnd();
    Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
    WriteListEnd();
}

// ---------------------------------------------------------------------------
// Properties

void TWriter::WriteProperties(TPersistent* Instance) {
    for (const TPropInfo* p : Instance->ClassType()->Properties())
        if (p->IsStored(Instance)) WriteProperty(Instance, p);
    Instance->DefineProperties(*this);
}

void TWriter::writePropName(const AnsiString& Name) { WriteStr(propPath_ + Name); }

AnsiString TWriter::referenceName(TComponent* c) const {
    if (c == lookupRoot_) return "Owner";
    if (c->Name().empty()) return {};
    if (c->Owner() == lookupRoot_) return c->Name();
    if (c->Owner() && !c->Owner()->Name().empty()) return c->Owner()->Name() + "." + c->Name();
    return c->Name() + ".Owner";
}

void TWriter::WriteProperty(TPersistent* Instance, const TPropInfo* Prop) {
    if (!Prop->IsWritable()) return;
    const TTypeInfo* type = Prop->PropType;
    switch (Prop->Kind()) {
    case tkInteger:
    case tkChar:
    case tkWChar:
    case tkEnumeration:
    case tkSet:
    case tkInt64: {
        int64_t v = Prop->GetOrd(Instance);
        if (Prop->HasDefault && v == Prop->Default) return;
        writePropName(Prop->Name);
        AnsiString ident;
        switch (Prop->Kind()) {
        case tkChar:
        case tkWChar: WriteChar(char(v)); break;
        case tkEnumeration:
            ident = GetEnumName(type, v);
            if (ident.empty())
                WriteInteger(v);
            else
                WriteIdent(ident);
            break;
        case tkSet: {
            std::vector<AnsiString> names;
            const TTypeInfo* element = type->CompType;
            for (size_t i = 0; element && i < element->EnumNames.size() && i < 64; ++i)
                if (uint64_t(v) & (uint64_t(1) << i)) names.push_back(element->EnumNames[i]);
            WriteSet(names);
            break;
        }
        default:
            if (!type->Idents.empty() && IntToIdent(type, v, ident))
                WriteIdent(ident);
            else
                WriteInteger(v);
        }
        break;
    }
    case tkFloat: {
        double v = Prop->GetFloat(Instance);
        if (v == 0) return;
        writePropName(Prop->Name);
        if (type->Name == "Single")
            WriteSingle(float(v));
        else if (type->Name == "Currency")
            WriteCurrency(v);
        else
            WriteFloat(v);
        break;
    }
    case tkString:
    case tkLString:
    case tkWString: {
        AnsiString v = Prop->GetStr(Instance);
        if (v.empty()) return;
        writePropName(Prop->Name);
        WriteString(v);
        break;
    }
    case tkMethod: {
        TMethod m = Prop->GetMeth(Instance);
        // Only handlers of the root can be found again by name.
        if (m.IsNull() || (m.Data && m.Data != lookupRoot_)) return;
        writePropName(Prop->Name);
        WriteIdent(m.Name);
        break;
    }
    case tkClass: {
        TObject* obj = Prop->GetObj(Instance);
        if (!obj) return;
        if (auto* component = dynamic_cast<TComponent*>(obj)) {
            AnsiString ref = referenceName(component);
            if (ref.empty()) return;
            writePropName(Prop->Name);
            WriteIdent(ref);
        } else if (auto* collection = dynamic_cast<TCollection*>(obj)) {
            writePropName(Prop->Name);
            WriteCollection(collection);
        } else if (auto* sub = dynamic_cast<TPersistent*>(obj)) {
            WriteDepth guard(depth_);
            AnsiString savePath = propPath_;
            propPath_ += Prop->Name + ".";
            try {
                WriteProperties(sub);
            } catch (...) {
                propPath_ = savePath;
                throw;
            }
            propPath_ = savePath;
        }
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Defined properties

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    writePropName(Name);
    WriteData(*this);
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    TMemoryStream data;
    WriteData(data);
    writePropName(Name);
    WriteBinary(data.Memory(), data.Size());
}
