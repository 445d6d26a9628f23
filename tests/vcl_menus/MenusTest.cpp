// Popup menus: the order of OnPopup, showing and choosing; right clicks;
// the Qt menu; items read from a layout.
#include "MenusTestSupport.h"

#include "VclInput.h"

#include "classes/MemoryStream.h"
#include "classes/ObjectText.h"
#include "qt/QtPlatform.h"
#include "vcl/ExtCtrls.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

#include <cstdlib>

namespace {

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const AnsiString& Caption, std::vector<std::string>* Log) {
    auto* item = new TMenuItem(Owner);
    item->SetCaption(Caption);
    Parent->Add(item);
    if (Log) item->OnClick = [Log, Caption](TObject*) { Log->push_back(Caption); };
    return item;
}

}  // namespace

TEST(PopupMenu, OnPopupRunsFirstAndOnlyItemsThatCanBeChosenClick) {
    HookReset hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* menu = new TPopupMenu(form.get());
    std::vector<std::string> log;
    TMenuItem* play = AddItem(form.get(), menu->Items(), "Play", &log);
    TMenuItem* remove = AddItem(form.get(), menu->Items(), "Remove", &log);
    TMenuItem* more = AddItem(form.get(), menu->Items(), "More", nullptr);
    TMenuItem* deep = AddItem(form.get(), more, "Deep", &log);
    // The handler decides what is enabled before the menu shows.
    menu->OnPopup = [&](TObject* Sender) {
        EXPECT_EQ(Sender, menu);
        log.push_back("popup");
        remove->SetEnabled(false);
    };
    TMenuItem* pick = play;
    SetPopupMenuHook([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        EXPECT_EQ(m, menu);
        EXPECT_EQ(TPoint(x, y), TPoint(30, 40));
        log.push_back("shown");
        return pick;
    });

    menu->Popup(30, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown", "Play"}));
    EXPECT_EQ(menu->PopupPoint(), TPoint(30, 40));

    // Disabled by OnPopup, under a disabled parent, hidden: none of them click.
    log.clear();
    pick = remove;
    menu->Popup(30, 40);
    more->SetEnabled(false);
    pick = deep;
    menu->Popup(30, 40);
    more->SetEnabled(true);
    deep->SetVisible(false);
    menu->Popup(30, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown", "popup", "shown", "popup", "shown"}));
    // Nor does a disabled item clicked from code.
    remove->Click();
    deep->SetVisible(true);
    log.clear();
    menu->Popup(30, 40);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "shown", "Deep"}));
}

TEST(PopupMenu, RightClickShowsTheNearestMenuForTheControlThatHasIt) {
    HookReset hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* outer = new TPanel(form.get());
    outer->SetParent(form.get());
    outer->SetBounds(0, 0, 200, 100);
    auto* inner = new TPanel(form.get());
    inner->SetParent(outer);
    inner->SetBounds(10, 10, 50, 50);
    auto* menu = new TPopupMenu(form.get());
    AddItem(form.get(), menu->Items(), "Play", nullptr);
    outer->SetPopupMenu(menu);
    form->Show();

    std::vector<TPoint> shown;
    SetPopupMenuHook([&](TPopupMenu* m, int x, int y) -> TMenuItem* {
        EXPECT_EQ(m, menu);
        EXPECT_EQ(m->PopupComponent(), outer);
        shown.push_back(TPoint(x, y));
        return nullptr;
    });
    yorde::test::RightClick(inner, 5, 5);
    EXPECT_EQ(shown, (std::vector<TPoint>{inner->ClientToScreen(TPoint(5, 5))}));

    menu->SetAutoPopup(false);
    yorde::test::RightClick(inner, 5, 5);
    EXPECT_EQ(shown.size(), 1u);
}

TEST(PopupMenu, QtMenuShowsTheVisibleItemsAndReportsTheChoice) {
    HookReset hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* menu = new TPopupMenu(form.get());
    std::vector<std::string> log;
    AddItem(form.get(), menu->Items(), "-", nullptr);  // a leading line is left out
    AddItem(form.get(), menu->Items(), "&Play", &log);
    AddItem(form.get(), menu->Items(), "-", nullptr);
    AddItem(form.get(), menu->Items(), "Hidden", &log)->SetVisible(false);
    AddItem(form.get(), menu->Items(), "-", nullptr);  // doubled once the hidden item goes
    TMenuItem* remove = AddItem(form.get(), menu->Items(), "Remove", &log);
    remove->SetEnabled(false);
    TMenuItem* check = AddItem(form.get(), menu->Items(), "Checked", &log);
    check->SetChecked(true);

    menu->Popup(100, 100);
    auto* q = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(q, nullptr);
    QList<QAction*> actions = q->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), QString("&Play"));
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), QString("Remove"));
    EXPECT_FALSE(actions[2]->isEnabled());
    EXPECT_TRUE(actions[3]->isChecked());

    if (const char* dir = std::getenv("YORDE_SHOT_DIR"))
        q->grab().save(QString::fromStdString(std::string(dir) + "/popup-menu.png"), "PNG");

    actions[2]->trigger();
    actions[0]->trigger();
    yorde::test::ProcessEvents();
    EXPECT_EQ(log, (std::vector<std::string>{"&Play"}));
    q->hide();
    yorde::test::ProcessEvents();
}

// A chosen item's handler runs after the menu's own mouse event is over: a
// handler that opens a dialog runs a nested event loop, in which the hidden
// menu would otherwise be deleted under the event that chose the item.
TEST(PopupMenu, TheChoiceIsHandledAfterTheMenusEvent) {
    HookReset hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* menu = new TPopupMenu(form.get());
    bool inMenuEvent = false;
    std::vector<bool> handledInside;
    TMenuItem* item = AddItem(form.get(), menu->Items(), "Open", nullptr);
    item->OnClick = [&](TObject*) { handledInside.push_back(inMenuEvent); };
    menu->Popup(100, 100);
    auto* q = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(q, nullptr);
    const QRect at = q->actionGeometry(q->actions()[0]);
    q->setActiveAction(q->actions()[0]);
    const QPointF local(at.center()), global(q->mapToGlobal(local));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(q, &press);
    inMenuEvent = true;
    QApplication::sendEvent(q, &release);
    inMenuEvent = false;
    yorde::test::ProcessEvents();
    EXPECT_EQ(handledInside, std::vector<bool>{false});
}

TEST(PopupMenu, CaptionsFollowTheCodePageOfTheOwnersFont) {
    Owned<TForm> form(new TForm(nullptr));
    auto* menu = new TPopupMenu(form.get());
    AddItem(form.get(), menu->Items(), "\xCF\xF3\xF1\xEA", nullptr);  // "Пуск" in 1251
    form->Font()->SetCharset(RUSSIAN_CHARSET);
    std::vector<TMenuEntry> entries = menu->BuildEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].Caption, "Пуск");
    form->Font()->SetCharset(DEFAULT_CHARSET);
    EXPECT_EQ(menu->BuildEntries()[0].Caption, "Ďóńę");  // the same bytes in 1250
}

TEST(MenuItems, AutoCheckTogglesAndARadioItemUnchecksOnlyItsOwnGroup) {
    Owned<TForm> form(new TForm(nullptr));
    auto* menu = new TPopupMenu(form.get());
    std::vector<std::string> log;
    TMenuItem* a = AddItem(form.get(), menu->Items(), "A", &log);
    TMenuItem* b = AddItem(form.get(), menu->Items(), "B", &log);
    TMenuItem* other = AddItem(form.get(), menu->Items(), "Other group", &log);
    TMenuItem* plain = AddItem(form.get(), menu->Items(), "Plain", &log);
    for (TMenuItem* item : {a, b, other}) item->SetRadioItem(true);
    other->SetGroupIndex(1);
    for (TMenuItem* item : {a, other, plain}) item->SetChecked(true);

    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(other->Checked()) << "another group";
    EXPECT_TRUE(plain->Checked()) << "no radio item";
    b->SetChecked(false);
    EXPECT_TRUE(other->Checked());
    EXPECT_FALSE(a->Checked()) << "unchecking checks nothing else";

    // AutoCheck flips the mark before OnClick, each click.
    plain->SetAutoCheck(true);
    bool checkedInHandler = true;
    plain->OnClick = [&](TObject*) { checkedInHandler = plain->Checked(); };
    plain->Click();
    EXPECT_FALSE(plain->Checked());
    EXPECT_FALSE(checkedInHandler);
    plain->Click();
    EXPECT_TRUE(plain->Checked());
    EXPECT_TRUE(checkedInHandler);
    a->Click();
    EXPECT_FALSE(a->Checked()) << "without AutoCheck a click leaves the mark";
    EXPECT_EQ(log, std::vector<std::string>{"A"});
}

TEST(MenuItems, LayoutBuildsTheTreeAndWritesItBack) {
    Owned<TForm> form(new TForm(nullptr));
    ReadLayout(
        "object Form1: TForm\n"
        "  object RecPopupMenu: TPopupMenu\n"
        "    AutoHotkeys = maManual\n"
        "    OwnerDraw = True\n"
        "    object Item1: TMenuItem\n"
        "      Caption = 'Nagrywanie'\n"
        "    end\n"
        "    object N1: TMenuItem\n"
        "      Caption = '-'\n"
        "    end\n"
        "    object Item2: TMenuItem\n"
        "      Caption = 'Z pliku'\n"
        "      Enabled = False\n"
        "      object Item3: TMenuItem\n"
        "        Caption = 'Inner'\n"
        "      end\n"
        "    end\n"
        "  end\n"
        "end\n",
        form.get());
    auto* menu = dynamic_cast<TPopupMenu*>(form->FindComponent("RecPopupMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->AutoHotkeys(), maManual);
    EXPECT_TRUE(menu->OwnerDraw());
    ASSERT_EQ(menu->Items()->Count(), 3);
    TMenuItem* item2 = menu->Items()->Items(2);
    EXPECT_EQ(item2->Name(), "Item2");
    EXPECT_EQ(item2->Owner(), form.get());
    EXPECT_FALSE(item2->Enabled());
    EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
    ASSERT_EQ(item2->Count(), 1);
    EXPECT_EQ(item2->Items(0)->Caption(), "Inner");
    EXPECT_EQ(item2->Items(0)->GetParentMenu(), menu);
    EXPECT_EQ(item2->GetParentComponent(), menu);

    // Written as a root of its own: the items follow the menu, nested.
    AnsiString text = WriteLayout(menu);
    size_t menuAt = text.find("object RecPopupMenu: TPopupMenu");
    size_t innerAt = text.find("object Item3: TMenuItem");
    ASSERT_NE(menuAt, AnsiString::npos);
    ASSERT_NE(innerAt, AnsiString::npos);
    EXPECT_LT(menuAt, text.find("object Item1: TMenuItem"));
    EXPECT_EQ(text.find("object Item3: TMenuItem", innerAt + 1), AnsiString::npos);

    // Freeing an item frees the items under it (they belong to the form).
    int before = form->ComponentCount();
    TObject::Free(item2);
    EXPECT_EQ(form->ComponentCount(), before - 2);
    EXPECT_EQ(form->FindComponent("Item3"), nullptr);
    EXPECT_EQ(menu->Items()->Count(), 2);
}

TEST(FormImage, AFormWritesItsMenusImageListsAndTimersAfterItsControls) {
    Owned<TForm> form(new TForm(nullptr));
    ReadLayout(
        "object Form1: TForm\n"
        "  object Panel1: TPanel\n"
        "    Left = 8\n"
        "    Caption = 'Panel'\n"
        "  end\n"
        "  object RecPopupMenu: TPopupMenu\n"
        "    object Item1: TMenuItem\n"
        "      Caption = 'Nagrywanie'\n"
        "    end\n"
        "  end\n"
        "  object Images: TImageList\n"
        "    Width = 20\n"
        "  end\n"
        "  object Clock: TTimer\n"
        "    Enabled = False\n"
        "    Interval = 250\n"
        "  end\n"
        "end\n",
        form.get());
    std::string image = ImageOf(form.get());
    AnsiString text = ObjectBinaryToText(image);
    size_t panelAt = text.find("object Panel1: TPanel");
    size_t menuAt = text.find("object RecPopupMenu: TPopupMenu");
    ASSERT_NE(panelAt, AnsiString::npos) << text;
    ASSERT_NE(menuAt, AnsiString::npos) << text;
    EXPECT_LT(panelAt, menuAt);
    EXPECT_LT(menuAt, text.find("object Item1: TMenuItem"));
    EXPECT_NE(text.find("object Images: TImageList"), AnsiString::npos);
    EXPECT_NE(text.find("object Clock: TTimer"), AnsiString::npos);

    // Read into a fresh form (the first one gone: forms keep unique names),
    // it writes the same image again.
    form.reset();
    Owned<TForm> copy(new TForm(nullptr));
    ReadLayout(text, copy.get());
    auto* menu = dynamic_cast<TPopupMenu*>(copy->FindComponent("RecPopupMenu"));
    auto* clock = dynamic_cast<TTimer*>(copy->FindComponent("Clock"));
    auto* images = dynamic_cast<TImageList*>(copy->FindComponent("Images"));
    ASSERT_TRUE(menu && clock && images);
    ASSERT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(menu->Items()->Items(0)->Caption(), "Nagrywanie");
    EXPECT_EQ(clock->Interval(), 250u);
    EXPECT_FALSE(clock->Enabled());
    EXPECT_EQ(images->Width(), 20);
    EXPECT_EQ(ImageOf(copy.get()), image);
}
