// Translation files by name. A file is read whole and, when written, its new
// content is made in memory and replaces the old file in one step, so that
// a failure never loses the entries of the other forms sharing it.
#include "classes/FileStream.h"
#include "classes/MemoryStream.h"
#include "localization/LXBFile.h"
#include "localization/LxcompLang.h"
#include "localization/LxcompScopes.h"
#include "rtl/Files.h"

namespace {
// The file's content (empty for a new file), changed by Change and written back.
void rewriteFile(const AnsiString& FileName, const std::function<void(TStream*)>& Change) {
    TMemoryStream content;
    if (FileExists(FileName)) content.LoadFromFile(FileName);
    Change(&content);
    content.SaveToFile(FileName);
}

// Copies Source whole into Dest, which it replaces.
void replaceContent(TStream* Dest, TMemoryStream& Source) {
    Dest->SetSize(0);
    Dest->SetPosition(0);
    if (Source.Size() > 0) Dest->WriteBuffer(Source.Memory(), Source.Size());
}
}  // namespace

void TlxCustomLang::SaveAllToStream(TStream* Stream, const AnsiString& Delimiter) {
    if (!Stream) return;
    // All lists are written to a copy first: a refused text leaves the stream as it was.
    TMemoryStream work;
    Stream->SetPosition(0);
    work.CopyFrom(Stream, 0);
    for (int t = 0; t < StringsTypeCount; ++t) SaveToStream(TStringsType(t), &work, Delimiter);
    SaveExtendedToStream(&work, Delimiter);
    replaceContent(Stream, work);
}

int TlxCustomLang::LoadFromFile(TStringsType Type, const AnsiString& AFileName, bool ClearFirst) {
    if (!FileExists(AFileName)) return -1;
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    return LoadFromStream(Type, &stream, ClearFirst);
}

int TlxCustomLang::SaveToFile(TStringsType Type, const AnsiString& AFileName, const AnsiString& Delimiter) {
    if (!GetPropListByType(Type)) return -1;
    int result = -1;
    rewriteFile(AFileName, [&](TStream* s) { result = SaveToStream(Type, s, Delimiter); });
    return result;
}

void TlxCustomLang::LoadAllFromFile(const AnsiString& AFileName, bool ClearFirst) {
    if (!FileExists(AFileName)) return;
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadAllFromStream(&stream, ClearFirst);
}

void TlxCustomLang::SaveAllToFile(const AnsiString& AFileName, const AnsiString& Delimiter) {
    rewriteFile(AFileName, [&](TStream* s) { SaveAllToStream(s, Delimiter); });
}

int TlxCustomLang::LoadStringsFromFile(const AnsiString& AFileName, bool ClearFirst) {
    return LoadFromFile(stStrings, AFileName, ClearFirst);
}

int TlxCustomLang::SaveStringsToFile(const AnsiString& AFileName, const AnsiString& Delimiter) {
    return SaveToFile(stStrings, AFileName, Delimiter);
}

void TlxCustomLang::LoadAllFromFileDNC(const AnsiString& AFileName, bool ClearFirst) {
    TlxBatchScope batch(*this);
    for (int t = 0; t < StringsTypeCount; ++t) {
        LoadFromFile(TStringsType(t), AFileName, ClearFirst);
        DelOldNames(GetPropListByType(TStringsType(t)), TStringsType(t));
    }
    LoadExtendedFromFile(AFileName, ClearFirst);
    UpdateStrCollections();
}

bool TlxCustomLang::MergeFromFile(TStringsType Type, const AnsiString& AFileName) {
    if (!FileExists(AFileName) || !GetPropListByType(Type)) return false;
    if (lxIsBinaryFile(AFileName)) return mergeList(Type, [&] { LoadPropFromBinaryFile(Type, AFileName); });
    return mergeList(Type, [&] { LoadFromFile(Type, AFileName, true); });
}

bool TlxCustomLang::MergeAllFromFileDNC(const AnsiString& AFileName) {
    return mergeAll([&](TStringsType Type) { return MergeFromFile(Type, AFileName); });
}

bool TlxCustomLang::MergeAllFromFile(const AnsiString& AFileName) {
    MergeAllFromFileDNC(AFileName);
    ChangeLanguage();
    return true;
}
