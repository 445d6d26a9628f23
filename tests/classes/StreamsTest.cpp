#include "classes/FileStream.h"
#include "classes/MemoryStream.h"
#include "classes/ResourceStream.h"

#include "MessageOf.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

using namespace yorde::test;

bool startsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

class StreamFiles : public ::testing::Test {
protected:
    AnsiString File(const char* name) const { return tmp_.Path(name); }
    static std::string Read(const AnsiString& name) { return ReadFile(name); }
    static void Put(const AnsiString& name, const std::string& bytes) { WriteFile(name, bytes); }
    TTempFolder tmp_{"yorde-streams"};
};

}  // namespace

TEST(MemoryStream, WritesReadsAndSeeksFromEveryOrigin) {
    TMemoryStream m;
    EXPECT_EQ(m.Write("hello world", 11), 11);
    EXPECT_EQ(m.Position(), 11);
    EXPECT_EQ(m.Size(), 11);
    EXPECT_EQ(m.Seek(-5, soEnd), 6);
    char buf[16] = {};
    EXPECT_EQ(m.Read(buf, 16), 5);  // short read at the end
    EXPECT_STREQ(buf, "world");
    EXPECT_EQ(m.Read(buf, 16), 0);
    EXPECT_EQ(m.Seek(-11, soCurrent), 0);
    EXPECT_EQ(m.Seek(2, soCurrent), 2);
    m.SetPosition(0);
    EXPECT_EQ(m.Write("J", 1), 1);
    EXPECT_EQ(std::string(static_cast<const char*>(m.Memory()), size_t(m.Size())), "Jello world");
}

TEST(MemoryStream, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream m;
    m.Write("ab", 2);
    m.SetPosition(5);
    EXPECT_EQ(m.Size(), 2);  // seeking alone does not grow
    m.Write("z", 1);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(std::memcmp(m.Memory(), "ab\0\0\0z", 6), 0);
}

TEST(MemoryStream, PositionBeforeTheStartTransfersNothing) {
    TMemoryStream m;
    m.Write("abc", 3);
    EXPECT_EQ(m.Seek(-10, soCurrent), -7);
    char c = 0;
    EXPECT_EQ(m.Read(&c, 1), 0);
    EXPECT_EQ(m.Write("x", 1), 0);
    EXPECT_THROW(m.WriteBuffer("x", 1), EWriteError);
    EXPECT_EQ(m.Size(), 3);

    // A position beyond any size (a damaged offset) fails the write, not the program.
    m.SetPosition(std::numeric_limits<int64_t>::max() - 1);
    EXPECT_EQ(m.Write("xyz", 3), 0);
    EXPECT_EQ(m.Size(), 3);
}

TEST(MemoryStream, SetSizeAndClear) {
    TMemoryStream m;
    m.Write("0123456789", 10);
    m.SetPosition(4);
    m.SetSize(20);
    EXPECT_EQ(m.Position(), 4);
    EXPECT_EQ(m.Size(), 20);
    m.SetSize(2);  // the position was beyond the new end
    EXPECT_EQ(m.Position(), 2);
    EXPECT_EQ(std::memcmp(m.Memory(), "01", 2), 0);
    m.SetSize(1);  // one byte beyond: moved as well
    EXPECT_EQ(m.Position(), 1);
    m.SetSize(1);  // at the end already: stays
    EXPECT_EQ(m.Position(), 1);
    m.Write("x", 1);
    EXPECT_EQ(m.Size(), 2);
    EXPECT_EQ(std::memcmp(m.Memory(), "0x", 2), 0);
    m.SetSize(0);
    EXPECT_EQ(m.Size(), 0);
    EXPECT_THROW(m.SetSize(-1), EStreamError);
    m.Write("abc", 3);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
    char c = 0;
    EXPECT_EQ(m.Read(&c, 1), 0);
}

TEST(MemoryStream, LoadFromStreamTakesAllOfTheSourceFromItsStart) {
    TStringStream src("abcdef");
    src.SetPosition(4);
    TMemoryStream m;
    m.Write("xyz123456789", 12);
    m.LoadFromStream(&src);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(std::memcmp(m.Memory(), "abcdef", 6), 0);

    TStringStream dst;
    dst.WriteString(">");
    m.SaveToStream(&dst);
    EXPECT_EQ(dst.DataString(), ">abcdef");
}

TEST(StringStream, DataStringReadStringAndOverwriting) {
    TStringStream s("hello");
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.ReadString(3), "hel");
    EXPECT_EQ(s.ReadString(10), "lo");
    EXPECT_EQ(s.ReadString(10), "");
    s.SetPosition(2);
    EXPECT_EQ(s.ReadString(std::numeric_limits<int64_t>::max()), "llo");  // "the rest", whatever it holds
    s.SetPosition(1);
    s.WriteString("E");  // overwriting in the middle keeps the rest
    EXPECT_EQ(s.DataString(), "hEllo");
    s.Seek(0, soEnd);
    s.WriteString(AnsiString("\0!", 2));
    EXPECT_EQ(s.DataString(), AnsiString("hEllo\0!", 7));
}

TEST_F(StreamFiles, CreateTruncatesAndReadWriteKeeps) {
    const AnsiString name = File("data.bin");
    Put(name, "old old old");
    {
        TFileStream f(name, fmCreate);
        EXPECT_EQ(f.Size(), 0);
        f.WriteBuffer("new", 3);
    }
    EXPECT_EQ(Read(name), "new");
    {
        TFileStream f(name, fmOpenReadWrite | fmShareExclusive);
        EXPECT_EQ(f.Size(), 3);
        f.SetPosition(1);
        f.WriteBuffer("E", 1);
        f.Seek(0, soEnd);
        f.WriteBuffer("!", 1);
    }
    EXPECT_EQ(Read(name), "nEw!");
}

TEST_F(StreamFiles, ReadsShortAtTheEnd) {
    const AnsiString name = File("short.bin");
    Put(name, "12345");
    TFileStream f(name, fmOpenRead | fmShareDenyNone);
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 3), 3);
    EXPECT_EQ(f.Read(buf, 8), 2);
    EXPECT_EQ(std::string(buf, 2), "45");
    EXPECT_EQ(f.Read(buf, 8), 0);
    EXPECT_EQ(f.Position(), 5);
    EXPECT_THROW(f.ReadBuffer(buf, 1), EReadError);
}

TEST_F(StreamFiles, AccessModesAreEnforced) {
    const AnsiString name = File("modes.bin");
    Put(name, "abc");
    {
        TFileStream r(name, fmOpenRead);
        EXPECT_EQ(r.Write("x", 1), 0);
        EXPECT_THROW(r.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream w(name, fmOpenWrite);
        char c = 0;
        EXPECT_THROW(w.Read(&c, 1), EReadError);  // an error, not an end of file
        w.WriteBuffer("A", 1);
    }
    EXPECT_EQ(Read(name), "Abc");  // fmOpenWrite does not truncate
}

TEST_F(StreamFiles, ARefusedSeekKeepsThePositionAndSetSizeMovesItToTheEnd) {
    const AnsiString name = File("size.bin");
    TFileStream f(name, fmCreate);
    f.WriteBuffer("0123456789", 10);
    EXPECT_EQ(f.Seek(-1, soBeginning), -1);
    EXPECT_EQ(f.Position(), 10);  // unchanged by the refused seek
    EXPECT_EQ(f.Seek(-4, soEnd), 6);
    f.SetSize(4);
    EXPECT_EQ(f.Size(), 4);
    EXPECT_EQ(f.Position(), 4);
    f.SetSize(0);
    f.WriteBuffer("z", 1);
    EXPECT_EQ(Read(name), "z");
}

TEST_F(StreamFiles, OpenAndCreateErrorsNameTheFile) {
    const AnsiString missing = File("missing.bin");
    EXPECT_THROW(TFileStream(missing, fmOpenRead), EFOpenError);
    EXPECT_TRUE(startsWith(messageOf([&] { TFileStream f(missing, fmOpenReadWrite); }), "Cannot open file " + missing));
    EXPECT_FALSE(std::filesystem::exists(missing));  // opening never creates

    const AnsiString nowhere = File("no/folder/x.bin");
    EXPECT_THROW(TFileStream(nowhere, fmCreate), EFCreateError);
    EXPECT_TRUE(startsWith(messageOf([&] { TFileStream f(nowhere, fmCreate); }), "Cannot create file " + nowhere));

    // Both are stream errors and library exceptions.
    EXPECT_THROW(TFileStream(missing, fmOpenRead), EStreamError);
    EXPECT_THROW(TFileStream(missing, fmOpenRead), Exception);
}

TEST_F(StreamFiles, FolderIsNotAFile) {
    EXPECT_THROW(TFileStream(tmp_.Dir(), fmOpenRead), EFOpenError);
    EXPECT_THROW(TFileStream(tmp_.Dir(), fmCreate), EFCreateError);
}

TEST_F(StreamFiles, DescriptorIsCloseOnExecAndClosedWithTheStream) {
    const AnsiString name = File("fd.bin");
    int fd = -1;
    {
        TFileStream f(name, fmCreate);
        fd = f.Handle();
        ASSERT_GE(fd, 0);
        EXPECT_TRUE(::fcntl(fd, F_GETFD) & FD_CLOEXEC);
    }
    EXPECT_EQ(::fcntl(fd, F_GETFD), -1);
}

TEST_F(StreamFiles, MemoryStreamFileRoundTrip) {
    TMemoryStream m;
    const char bytes[] = {'\0', '\xff', '\r', '\n', 'x'};
    m.WriteBuffer(bytes, sizeof bytes);
    m.SaveToFile(File("m.bin"));
    EXPECT_EQ(Read(File("m.bin")), std::string(bytes, sizeof bytes));
    TMemoryStream back;
    back.LoadFromFile(File("m.bin"));
    ASSERT_EQ(back.Size(), int64_t(sizeof bytes));
    EXPECT_EQ(std::memcmp(back.Memory(), bytes, sizeof bytes), 0);
    EXPECT_THROW(back.LoadFromFile(File("none.bin")), EFOpenError);
}

TEST_F(StreamFiles, SaveToFileThroughASymbolicLinkReplacesTheTarget) {
    const AnsiString target = File("real.txt");
    const AnsiString link = File("link.txt");
    Put(target, "old");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    TStringStream s("new");
    s.SaveToFile(link);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Read(target), "new");
}

TEST(ResourceStream, ReadsRegisteredDataByNameWithoutRegardToCase) {
    static const char layout[] = "TPF0\x06TFrame";
    RegisterResource("TTestLayoutFrame", layout, sizeof layout - 1);
    TResourceStream r("ttestlayoutframe");
    EXPECT_EQ(r.Size(), int64_t(sizeof layout - 1));
    char sig[4];
    r.ReadBuffer(sig, 4);
    EXPECT_EQ(std::string(sig, 4), "TPF0");
    EXPECT_EQ(r.Memory(), layout);  // a view, not a copy
    EXPECT_THROW(r.Write("x", 1), EStreamError);

    static const char other[] = "v2";
    RegisterResource("TTESTLAYOUTFRAME", other, 2);  // registering again replaces
    EXPECT_EQ(TResourceStream("TTestLayoutFrame").Size(), 2);
    UnregisterResource("TTestLayoutFrame");
    EXPECT_FALSE(FindResource("TTestLayoutFrame").has_value());
}

TEST(ResourceStream, MissingResourceRaises) {
    EXPECT_THROW(TResourceStream("TNoSuchForm"), EResNotFound);
    EXPECT_EQ(messageOf([] { TResourceStream r("TNoSuchForm"); }), "Resource TNoSuchForm not found");
}
