#pragma once
// TReader and TWriter: the binary component image. An image is the
// signature "TPF0" followed by one component record:
//   [0xF0 | flags [child position]] class name, component name (short strings),
//   properties ("Name" or "Font.Name" + value) up to vaNull,
//   child component records up to vaNull.
// The byte format is the class library's, so images made by the Windows
// program read here and the other way round.
#include "classes/Classes.h"
#include "classes/Streams.h"

#include <cstdint>
#include <string>
#include <vector>

// Value tags; the numbers are data.
enum TValueType : uint8_t {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String
};
constexpr int vaLastValueType = vaUTF8String;

// Prefix flags of a component record (written as 0xF0 | bits).
enum TFilerFlag { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

inline constexpr char FilerSignature[] = "TPF0";
// Deepest nesting of child components, collections and lists accepted.
constexpr int MaxFilerNesting = 64;

// Reads an image from the stream's current position. Input is not trusted:
// every count is checked against the bytes left, nesting is limited, and
// anything malformed raises EReadError; nothing is read past the end.
class TReader : public TFiler {
    YORDE_CLASS(TReader, TFiler)
public:
    explicit TReader(TStream& Stream);
    // Gives back to the stream what was buffered but not consumed.
    ~TReader() override;

    // Reads the signature and one component record into Root, or into a new
    // component of the stored class (without owner) when Root is null. Then
    // resolves references and events and calls Loaded on every component
    // read, the root first. On failure a root made here is freed.
    // A Root that is loading already (an inline frame reading its own layout
    // from OnReadInline) keeps csLoading and gets no Loaded here: the outer
    // reader calls it once at its end. An existing Root without a name takes
    // the stored one (made unique among its owner's components).
    TComponent* ReadRootComponent(TComponent* Root);
    // One component record, created as a child of Owner() (or the given one).
    TComponent* ReadComponent(TComponent* Component);
    // Properties and children of Instance (TComponent::ReadState calls it).
    void ReadData(TComponent* Instance);
    void ReadProperty(TPersistent* Instance);
    void ReadSignature();  // EReadError "Invalid stream format"
    void ReadPrefix(TFilerFlags& Flags, int& AChildPos);

    // Values.
    TValueType NextValue();  // the next tag, not consumed
    TValueType ReadValue();  // EReadError on an unknown tag
    void CheckValue(TValueType Value);
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    AnsiString ReadStr();  // a short string: length byte + bytes
    // vaString, vaLString; vaWString and vaUTF8String converted to the ANSI code page.
    AnsiString ReadString();
    // The same value as UTF-16 (ANSI strings through the ANSI code page).
    std::u16string ReadWideString();
    int ReadInteger();    // vaInt8/16/32
    int64_t ReadInt64();  // vaInt8/16/32/64
    bool ReadBoolean();
    char ReadChar();         // a one-byte string
    AnsiString ReadIdent();  // vaIdent; vaFalse, vaTrue, vaNil, vaNull give their names
    double ReadFloat();      // any floating or integer value
    double ReadSingle();
    double ReadCurrency();
    double ReadDate();
    std::string ReadBinary();           // vaBinary: the bytes
    std::vector<AnsiString> ReadSet();  // vaSet: the element names
    void SkipValue();
    // Raw bytes, checked against what is left.
    void Read(void* Buffer, int64_t Count);
    int64_t BytesLeft() const { return int64_t(bufEnd_ - bufPos_) + streamLeft_; }

    // Where read components go: the owner (default: the root) and the parent
    // handed to SetParentComponent of components that have one.
    TComponent* Owner() const { return owner_; }
    void SetOwner(TComponent* Value) { owner_ = Value; }
    TComponent* Parent() const { return parent_; }
    void SetParent(TComponent* Value) { parent_ = Value; }
    // The property being read (full dotted path).
    const AnsiString& PropName() const { return propPath_; }

    // Inline frames: a component record flagged inline is handed to this
    // hook right after the component is created and named and before its
    // properties are read, so that a frame can read its own layout. The
    // default is the process-wide hook (SetInlineHook).
    using TComponentProc = std::function<void(TComponent*)>;
    TComponentProc OnReadInline;
    static void SetInlineHook(TComponentProc Hook);

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

private:
    struct Fixup;
    class Watch;

    uint8_t readByte();
    uint8_t peekByte();
    void need(int64_t count) const;
    void fill();
    void skip(int64_t count);
    void flushBuffer();
    int32_t readInt32();
    int64_t readCount(int64_t unitSize);  // a 32-bit count of units that must fit in what is left
    AnsiString readChars(int64_t count);

    TComponent* createComponent(const AnsiString& className, TComponent* owner);
    void readPropValue(TPersistent* instance, const TPropInfo* prop);
    void readCollection(TCollection* collection);
    uint64_t readSetBits(const TTypeInfo* element);
    void dropFixupsUnder(TPersistent* owner);
    void resolveFixups();
    void finishLoading(bool callLoaded);
    TComponent* findReference(const AnsiString& name) const;
    AnsiString makeUniqueRootName(TComponent* root, const AnsiString& name) const;
    void watch(TComponent* c);
    void forget(TComponent* c);
    bool alive(TComponent* c) const;
    void unwatchAll();

    TStream& stream_;
    std::vector<uint8_t> buf_;
    size_t bufPos_ = 0;
    size_t bufEnd_ = 0;
    int64_t streamLeft_ = 0;
    int depth_ = 0;

    TComponent* owner_ = nullptr;
    TComponent* parent_ = nullptr;
    TComponent* current_ = nullptr;  // the component whose record is being read
    AnsiString propPath_;            // dotted path being read
    AnsiString definedName_;         // last part, matched by DefineProperty
    bool definedFound_ = false;
    bool errorNamed_ = false;         // the message already says which property failed
    bool rootLoadedOutside_ = false;  // the root was loading already: no Loaded for it here

    std::vector<Fixup> fixups_;
    std::vector<TComponent*> loaded_;  // reading order; null once freed
    std::unique_ptr<Watch> watch_;
};

// Writes an image: properties in declaration order (only those that differ
// from their default and are stored), then DefineProperties, then children.
class TWriter : public TFiler {
    YORDE_CLASS(TWriter, TFiler)
public:
    explicit TWriter(TStream& Stream);
    ~TWriter() override;

    void WriteRootComponent(TComponent* Root);  // signature + record
    void WriteComponent(TComponent* Component);
    // Record of Instance (TComponent::WriteState calls it).
    void WriteData(TComponent* Instance);
    void WriteProperties(TPersistent* Instance);
    void WriteProperty(TPersistent* Instance, const TPropInfo* Prop);
    void WriteSignature();
    void WritePrefix(TFilerFlags Flags, int ChildPos);

    // Values.
    void WriteValue(TValueType Value);
    void WriteListBegin();
    void WriteListEnd();
    void WriteStr(const AnsiString& Value);             // short string; EWriteError beyond 255 bytes
    void WriteString(const AnsiString& Value);          // vaString up to 255 bytes, else vaLString
    void WriteWideString(const std::u16string& Value);  // vaWString
    void WriteInteger(int64_t Value);                   // smallest of Int8/16/32, else Int64
    void WriteBoolean(bool Value);
    void WriteChar(char Value);
    void WriteIdent(const AnsiString& Ident);  // False/True/nil/Null get their own tags
    void WriteFloat(double Value);             // vaExtended
    void WriteSingle(float Value);
    void WriteCurrency(double Value);  // rounded to 1/10000
    void WriteDate(double Value);
    void WriteBinary(const void* Data, int64_t Count);
    void WriteSet(const std::vector<AnsiString>& Names);
    void WriteCollection(TCollection* Value);
    void Write(const void* Buffer, int64_t Count);

    // Prefix of the property names being written ("Font.").
    const AnsiString& PropPath() const { return propPath_; }

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData, bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

private:
    void writePropName(const AnsiString& Name);
    AnsiString referenceName(TComponent* c) const;

    TStream& stream_;
    AnsiString propPath_;
    int depth_ = 0;
};
