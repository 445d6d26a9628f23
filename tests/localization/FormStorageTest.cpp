// Form placement kept in the registry: saved with the form, restored when
// the next form of the same layout is loaded (a restart), and the rules for
// what is missing or odd in the registry.
#include "LocTestSupport.h"
#include "TempFolder.h"

#include "classes/Registry.h"
#include "localization/LxFormStorage.h"
#include "vcl/Forms.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

const char* const subKey = "Software\\Yorde\\Placement";

AnsiString layout(const AnsiString& StorageProperties = "") {
    return "object PlacedForm: TForm\n"
           "  Left = 1\n"
           "  Top = 2\n"
           "  Width = 403\n"
           "  Height = 304\n"
           "  object lxFormStorage1: TlxFormStorage\n"
           "    SubKey = 'Software\\Yorde\\Placement'\n" +
           StorageProperties +
           "  end\n"
           "end\n";
}

class FormStorage : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        RegisterClass(TForm::StaticClass());
        SetRegistryFolder(dir.Dir());
    }
    void TearDown() override { SetRegistryFolder(""); }
    // Values under the key, written as another program run would have left them.
    void store(std::initializer_list<std::pair<const char*, int>> Integers, const AnsiString& State) {
        TRegistry r;
        ASSERT_TRUE(r.OpenKey(subKey, true));
        r.WriteString("State", State);
        for (const auto& [name, value] : Integers) r.WriteInteger(name, value);
    }
    yorde::test::TTempFolder dir;
};

TEST_F(FormStorage, ThePlacementSurvivesARestart) {
    {
        Owned<TForm> first = Load<TForm>(layout());
        first->SetBounds(30, 40, 500, 350);
    }
    TRegistry r;
    ASSERT_TRUE(r.OpenKeyReadOnly(subKey));
    EXPECT_EQ(r.ReadString("State"), "Normal");
    EXPECT_EQ(r.ReadInteger("Left"), 30);
    EXPECT_EQ(r.ReadInteger("Width"), 500);

    Owned<TForm> second = Load<TForm>(layout());
    EXPECT_EQ(second->Left(), 30);
    EXPECT_EQ(second->Top(), 40);
    EXPECT_EQ(second->Width(), 500);
    EXPECT_EQ(second->Height(), 350);
    EXPECT_EQ(second->WindowState(), wsNormal);

    // Closed maximised: only the state is stored; the bounds stay those of the last normal close.
    second->SetBounds(0, 0, 800, 600);
    second->SetWindowState(wsMaximized);
    second.reset();
    Owned<TForm> third = Load<TForm>(layout());
    EXPECT_EQ(third->WindowState(), wsMaximized);
    EXPECT_EQ(third->Left(), 30);
    EXPECT_EQ(third->Width(), 500);
}

TEST_F(FormStorage, AMissingKeyIsCreatedAndRestoresNothing) {
    Owned<TForm> form = Load<TForm>(layout());
    EXPECT_EQ(form->Left(), 1);
    EXPECT_EQ(form->Width(), 403);
    TRegistry r;
    EXPECT_TRUE(r.KeyExists(subKey));
}

TEST_F(FormStorage, BoundsWithoutAStateRestoreNothing) {
    store({{"Top", 5}, {"Left", 6}, {"Height", 207}, {"Width", 308}}, "");
    Owned<TForm> form = Load<TForm>(layout());
    EXPECT_EQ(form->Left(), 1);
    EXPECT_EQ(form->Top(), 2);
    EXPECT_EQ(form->Width(), 403);
    EXPECT_EQ(form->Height(), 304);
}

TEST_F(FormStorage, AMissingValueEndsTheRestoreWhereItIs) {
    store({{"Top", 5}, {"Left", 6}, {"Height", 207}}, "Maximized");
    Owned<TForm> form = Load<TForm>(layout());
    EXPECT_EQ(form->Top(), 5);
    EXPECT_EQ(form->Left(), 6);
    EXPECT_EQ(form->Height(), 207);
    EXPECT_EQ(form->Width(), 403);
    EXPECT_EQ(form->WindowState(), wsNormal);
}

TEST_F(FormStorage, AShortOrUnknownStateChoosesNothing) {
    for (const char* state : {"No", "Mx", "Unknown"}) {
        SCOPED_TRACE(state);
        store({{"Top", 5}, {"Left", 6}, {"Height", 207}, {"Width", 308}}, state);
        Owned<TForm> form = Load<TForm>(layout());
        EXPECT_EQ(form->Width(), 308);
        EXPECT_EQ(form->WindowState(), wsNormal);
        form->SetWindowState(wsMaximized);  // stored as it goes; the next round rewrites
    }
    for (const char* state : {"Minimized", "??n"}) {  // the third letter decides
        store({{"Top", 5}, {"Left", 6}, {"Height", 207}, {"Width", 308}}, state);
        Owned<TForm> form = Load<TForm>(layout());
        EXPECT_EQ(form->WindowState(), wsMinimized) << state;
    }
}

TEST_F(FormStorage, InactiveStorageNeitherReadsNorWrites) {
    store({{"Top", 5}, {"Left", 6}, {"Height", 207}, {"Width", 308}}, "Normal");
    {
        Owned<TForm> form = Load<TForm>(layout("    Active = False\n"));
        EXPECT_EQ(form->Width(), 403);
        form->SetBounds(70, 80, 600, 500);
    }
    TRegistry r;
    ASSERT_TRUE(r.OpenKeyReadOnly(subKey));
    EXPECT_EQ(r.ReadInteger("Left"), 6);
}

TEST_F(FormStorage, OnlyAFormCanOwnIt) {
    TTestForm notAForm(nullptr);
    EXPECT_THROW(new TlxFormStorage(&notAForm), EInvalidCast);
    TlxFormStorage alone(nullptr);
    EXPECT_EQ(alone.GetForm(), nullptr);
    alone.SetRegRootKey(lxHKEY_LOCAL_MACHINE);
    EXPECT_EQ(alone.RootKey(), HKEY_LOCAL_MACHINE);
}

}  // namespace
