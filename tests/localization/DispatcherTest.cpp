// The dispatcher: registration, switching all components together, and
// the lifetime links between it and the components.
#include "LocTestSupport.h"

#include <gtest/gtest.h>

namespace {
using namespace loctest;

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        dispatcher->SetNumOfLanguages(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        dispatcher->SetLangNames(&names);
    }
    // A form with a label and its translation component.
    TlxLang* addForm(const char* Caption) {
        auto form = std::make_unique<TTestForm>(nullptr);
        auto* label = new TTestControl(form.get());
        label->SetName("Label1");
        auto* lang = new TlxLang(form.get());
        lang->Captions()->Add(E("Label1", {Caption, AnsiString(Caption) + "-en", AnsiString(Caption) + "-ru"}));
        forms.push_back(std::move(form));
        return lang;
    }
    static AnsiString caption(TlxCustomLang* Lang) {
        return GetStrProp(Lang->Owner()->FindComponent("Label1"), "Caption");
    }

    TTestDataModule dm{nullptr};
    TlxLangDispatcher* dispatcher = new TlxLangDispatcher(&dm);
    std::vector<std::unique_ptr<TTestForm>> forms;
};

TEST_F(Dispatcher, RegistersOnceInOrderAndHandsOverItsLanguages) {
    TlxLang* a = addForm("a");
    TlxLang* b = addForm("b");
    a->SetLangDispatcher(dispatcher);
    b->SetLangDispatcher(dispatcher);
    dispatcher->AddReference(a);
    ASSERT_EQ(dispatcher->GetLxLangsCount(), 2);
    EXPECT_EQ(dispatcher->GetLxLangs(0), b);
    EXPECT_EQ(dispatcher->GetLxLangs(1), a);
    EXPECT_THROW(dispatcher->GetLxLangs(2), EListError);
    EXPECT_EQ(a->NumOfLanguages(), 3);
    EXPECT_EQ(Lines(a->LangNames()), (std::vector<AnsiString>{"Polski", "Angielski", "Rosyjski"}));
    EXPECT_EQ(a->Language(), "Polski");
}

TEST_F(Dispatcher, LanguageNamesFollowTheCount) {
    TlxLangDispatcher fresh(nullptr);
    fresh.SetNumOfLanguages(3);
    EXPECT_EQ(Lines(fresh.LangNames()), (std::vector<AnsiString>{"Language N1", "Language N2", "Language N3"}));
    fresh.SetNumOfLanguages(1);
    EXPECT_EQ(Lines(fresh.LangNames()), (std::vector<AnsiString>{"Language N1"}));
    EXPECT_THROW(fresh.SetNumOfLanguages(0), ELanguageError);
    EXPECT_EQ(fresh.NumOfLanguages(), 1);
}

TEST_F(Dispatcher, SwitchesByNumberAndByName) {
    TlxLang* a = addForm("a");
    TlxLang* b = addForm("b");
    a->SetLangDispatcher(dispatcher);
    b->SetLangDispatcher(dispatcher);
    dispatcher->SetActiveLanguage(2);
    EXPECT_EQ(dispatcher->Language(), "Angielski");
    EXPECT_EQ(caption(a), "a-en");
    EXPECT_EQ(caption(b), "b-en");
    EXPECT_EQ(b->Language(), "Angielski");
    dispatcher->SetLanguage("rosyjski");
    EXPECT_EQ(dispatcher->ActiveLanguage(), 3);
    EXPECT_EQ(caption(a), "a-ru");
    EXPECT_EQ(b->ActiveLanguage(), 3);
    try {
        dispatcher->SetLanguage("Klingon");
        FAIL() << "no exception";
    } catch (ELanguageError& e) {
        EXPECT_EQ(e.Message, "Language name shall be included in LangNames property!");
    }
    EXPECT_EQ(dispatcher->ActiveLanguage(), 3);
    dispatcher->LangNames()->Clear();
    dispatcher->SetLanguage("Klingon");  // no names: only stored
    EXPECT_EQ(dispatcher->Language(), "Klingon");
    EXPECT_EQ(dispatcher->ActiveLanguage(), 3);
}

TEST_F(Dispatcher, AnInvalidLanguageChangesNothing) {
    TlxLang* a = addForm("a");
    TlxLang* b = addForm("b");
    a->SetLangDispatcher(dispatcher);
    b->SetLangDispatcher(dispatcher);
    dispatcher->SetActiveLanguage(2);
    EXPECT_THROW(dispatcher->SetActiveLanguage(4), ELanguageError);
    b->SetNumLang(2);  // one component knows fewer languages
    EXPECT_THROW(dispatcher->SetActiveLanguage(3), ELanguageError);
    EXPECT_EQ(dispatcher->ActiveLanguage(), 2);
    EXPECT_EQ(a->ActiveLanguage(), 2);
    EXPECT_EQ(caption(a), "a-en");
    EXPECT_EQ(b->ActiveLanguage(), 2);
}

TEST_F(Dispatcher, LifetimeLinks) {
    TlxLang* a = addForm("a");
    TlxLang* b = addForm("b");
    a->SetLangDispatcher(dispatcher);
    b->SetLangDispatcher(dispatcher);
    forms.front().reset();  // a's form goes
    ASSERT_EQ(dispatcher->GetLxLangsCount(), 1);
    EXPECT_EQ(dispatcher->GetLxLangs(0), b);
    TObject::Free(dispatcher);
    EXPECT_EQ(b->LangDispatcher(), nullptr);
    b->SetActLang(2);  // still works on its own
    EXPECT_EQ(caption(b), "b-en");
}

TEST_F(Dispatcher, AFreedComponentLeavesTheListHoweverItWasRegistered) {
    // Registered directly, without naming the dispatcher.
    TlxLang* a = addForm("a");
    TlxLang* b = addForm("b");
    dispatcher->AddReference(a);
    dispatcher->AddReference(b);
    forms.front().reset();
    ASSERT_EQ(dispatcher->GetLxLangsCount(), 1);
    EXPECT_EQ(dispatcher->GetLxLangs(0), b);
    dispatcher->SetActiveLanguage(3);  // reaches only the living one
    EXPECT_EQ(caption(b), "b-ru");

    // Named, dropped by hand and registered again: still one entry, still heard.
    TlxLang* c = addForm("c");
    c->SetLangDispatcher(dispatcher);
    dispatcher->RemovePossibleReference(c);
    dispatcher->AddReference(c);
    EXPECT_EQ(dispatcher->GetLxLangsCount(), 2);
    forms.back().reset();
    ASSERT_EQ(dispatcher->GetLxLangsCount(), 1);

    // Dropped by hand and then freed: nothing left behind on either side.
    dispatcher->RemovePossibleReference(b);
    forms[1].reset();
    EXPECT_EQ(dispatcher->GetLxLangsCount(), 0);

    // A component outliving a dispatcher it was registered with directly.
    TlxLang* d = addForm("d");
    dispatcher->AddReference(d);
    TObject::Free(dispatcher);
    d->SetActLang(2);
    EXPECT_EQ(caption(d), "d-en");
    forms.back().reset();
}

TEST_F(Dispatcher, MissingBinaryFileLeavesListsAndStillReportsTheLink) {
    dispatcher->SetActiveLanguage(2);
    dispatcher->SetFileName("/nonexistent/translations.LXB");
    TlxLangDispatcher* sender = nullptr;
    TlxCustomLang* linked = nullptr;
    dispatcher->OnLinkToDispatcher = [&](TObject* s, TlxCustomLang* l) {
        sender = dynamic_cast<TlxLangDispatcher*>(s);
        linked = l;
    };
    TlxLang* a = addForm("a");
    a->SetLangDispatcher(dispatcher);
    EXPECT_EQ(a->ActiveLanguage(), 2);
    EXPECT_EQ(caption(a), "");  // not applied
    EXPECT_EQ(a->Captions()->Count(), 1);
    EXPECT_EQ(sender, dispatcher);
    EXPECT_EQ(linked, a);
}

TEST(DispatcherLayout, StreamedValuesNeedNoOrder) {
    RegisterTestClasses();
    // ActiveLanguage comes before NumOfLanguages in the stream.
    Owned<TTestDataModule> dm = Load<TTestDataModule>(
        "object DMLang: TTestDataModule\n"
        "  object lxLangDispatcher1: TlxLangDispatcher\n"
        "    ActiveLanguage = 2\n"
        "    NumOfLanguages = 3\n"
        "    LangNames.Strings = (\n"
        "      'Polski'\n"
        "      'Angielski'\n"
        "      'Rosyjski')\n"
        "    Language = 'Angielski'\n"
        "  end\n"
        "end\n");
    auto* d = dynamic_cast<TlxLangDispatcher*>(dm->FindComponent("lxLangDispatcher1"));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->ActiveLanguage(), 2);
    EXPECT_EQ(d->NumOfLanguages(), 3);
    EXPECT_EQ(d->Language(), "Angielski");
    d->SetActiveLanguage(3);
    EXPECT_EQ(d->Language(), "Rosyjski");
}

}  // namespace
