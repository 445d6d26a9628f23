// Forms on the Qt platform: showing, screenshots, the modal loop, closing,
// the error display, creation order.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

namespace {

QColor pixelAt(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

TEST(Forms, FormBuiltInCodeShowsWithItsControlsAndCanBeScreenshot) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    form->SetCaption("Test form");
    form->SetClientSize(320, 200);
    auto* header = Put<TPanel>(form.get(), form.get(), 0, 0, 10, 40);
    header->SetAlign(alTop);
    header->SetCaption("Header panel");
    header->SetColor(TColor(0x6F8A91));
    auto* label = Put<TLabel>(form.get(), form.get(), 10, 50, 150, 30);
    label->SetAutoSize(false);
    label->SetCaption("First line\nsecond line");
    auto* edit = Put<TEdit>(form.get(), form.get(), 170, 50, 140, 21);
    edit->SetText("edit text");
    auto* check = Put<TCheckBox>(form.get(), form.get(), 10, 90, 150, 20);
    check->SetCaption("Check box");
    check->SetChecked(true);
    auto* button = Put<TButton>(form.get(), form.get(), 230, 160, 80, 28);
    button->SetCaption("OK");
    auto* image = Put<TImage>(form.get(), form.get(), 170, 90, 40, 40);
    TBitmap* bmp = image->Picture()->Bitmap();
    bmp->SetSize(40, 40);
    bmp->Canvas()->Brush()->SetColor(clRed);
    bmp->Canvas()->FillRect(TRect(0, 0, 40, 40));
    bmp->Canvas()->Brush()->SetColor(clBlue);
    bmp->Canvas()->Polygon({TPoint(20, 2), TPoint(38, 38), TPoint(2, 38)});

    form->Show();
    ASSERT_TRUE(form->Showing());
    EXPECT_EQ(header->BoundsRect(), TRect(0, 0, 320, 40));
    QWidget* w = yorde::qt::WidgetOf(form.get());
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->size(), QSize(320, 200));
    EXPECT_EQ(w->windowTitle(), QString("Test form"));

    std::string path = ShotPath("forms-built-in-code.png");
    ASSERT_TRUE(yorde::qt::SaveScreenshot(form.get(), path));
    QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(320, 200));
    EXPECT_EQ(pixelAt(shot, 5, 20), QColor(0x91, 0x8A, 0x6F));     // header colour, BGR in the component
    EXPECT_EQ(pixelAt(shot, 171, 91), QColor(255, 0, 0));          // image, red corner
    EXPECT_EQ(pixelAt(shot, 190, 125), QColor(0, 0, 255));         // image, blue triangle
    EXPECT_EQ(pixelAt(shot, 300, 100), QColor(0xF0, 0xF0, 0xF0));  // the form's clBtnFace
    EXPECT_EQ(pixelAt(shot, 150, 100), QColor(0xF0, 0xF0, 0xF0));  // the check box, right of its text
    EXPECT_TRUE(hooks.errors.empty());
}

TEST(Forms, AFormWithoutCaptionShowsABlankTitleNotTheProgramsName) {
    HookScope hooks;
    const AnsiString title = Application->Title();
    Application->SetTitle("Yorde test program");
    Owned<TForm> form(new TForm(nullptr));
    form->Show();
    QWindow* window = yorde::qt::WidgetOf(form.get())->windowHandle();
    ASSERT_NE(window, nullptr);
    // The window system puts the program's name in place of an empty title:
    // what the window gets is blank, not empty.
    auto blank = [&] { return !window->title().isEmpty() && window->title().trimmed().isEmpty(); };
    EXPECT_TRUE(blank()) << "\"" << window->title().toStdString() << "\"";
    form->SetCaption(Utf8ToCodePage("Błąd", 1250));
    EXPECT_EQ(window->title(), QString::fromUtf8("Błąd"));
    form->SetCaption("");
    EXPECT_TRUE(blank()) << "\"" << window->title().toStdString() << "\"";
    Application->SetTitle(title);
}

TEST(Forms, ModalResultIsCheckedAfterTheHandlerSoANestedDialogCanOverrideIt) {
    HookScope hooks;
    Owned<TForm> outer(new TForm(nullptr));
    auto* ok = Put<TButton>(outer.get(), outer.get(), 10, 10, 75, 25);
    ok->SetModalResult(mrOk);
    TForm* inner = nullptr;
    TModalResult innerResult = mrNone, seenBeforeNested = mrNone;
    ok->OnClick = [&](TObject*) {
        // The button has set the form's result already; a wrong password shows
        // a message and then says "cancelled".
        seenBeforeNested = outer->ModalResult();
        Owned<TForm> dialog(new TForm(nullptr));
        inner = dialog.get();
        innerResult = dialog->ShowModal();
        outer->SetModalResult(mrCancel);
    };
    int hookCalls = 0;
    SetModalHook([&](TCustomForm* f) -> TModalResult {
        ++hookCalls;
        if (f == inner) return mrOk;
        // The outer dialog runs its real loop; the click arrives through it.
        TThread::Queue(nullptr, [&] { yorde::test::Click(ok); });
        return mrNone;
    });
    EXPECT_EQ(outer->ShowModal(), mrCancel);
    EXPECT_EQ(seenBeforeNested, mrOk);
    EXPECT_EQ(innerResult, mrOk);
    EXPECT_EQ(hookCalls, 2);
    EXPECT_FALSE(outer->Visible());
    EXPECT_TRUE(hooks.errors.empty());
}

TEST(Forms, TheCloseBoxOfAModalFormGivesCancelAndRunsOnClose) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    int closes = 0;
    form->OnClose = [&](TObject*, TCloseAction& a) {
        ++closes;
        EXPECT_EQ(a, caHide);
    };
    SetModalHook([&](TCustomForm* f) {
        TThread::Queue(nullptr, [f] { yorde::test::CloseBox(f); });
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(form->Visible());
}

TEST(Forms, AFormShownModallyAgainStartsWithoutALastResult) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    TModalResult answer = mrOk;
    std::vector<TModalResult> seenInLoop;
    SetModalHook([&](TCustomForm* f) {
        seenInLoop.push_back(f->ModalResult());
        if (answer != mrNone) return answer;
        // The second time nobody answers at once: the user closes the window.
        TThread::Queue(nullptr, [f] { yorde::test::CloseBox(f); });
        return mrNone;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    answer = mrNone;
    EXPECT_EQ(form->ShowModal(), mrCancel);
    answer = mrYes;
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(seenInLoop, (std::vector<TModalResult>{mrNone, mrNone, mrNone}));
    EXPECT_FALSE(form->Visible());
}

TEST(Forms, ShowModalRefusesAVisibleADisabledOrAModalForm) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    int hookCalls = 0;
    SetModalHook([&](TCustomForm*) {
        ++hookCalls;
        return mrOk;
    });
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    EXPECT_TRUE(form->Visible());  // left as it was
    form->Hide();
    form->SetEnabled(false);
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    EXPECT_FALSE(form->Visible());
    form->SetEnabled(true);
    EXPECT_EQ(hookCalls, 0);

    // Modal already: a second ShowModal from inside its loop is refused.
    bool refusedInside = false;
    SetModalHook([&](TCustomForm* f) {
        f->Hide();
        try {
            f->ShowModal();
        } catch (const EInvalidOperation&) {
            refusedInside = true;
        }
        return mrOk;
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(refusedInside);
    EXPECT_FALSE(form->Visible());
}

TEST(Forms, ATerminateDuringTheModalLoopEndsItWithCancel) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    SetModalHook([](TCustomForm*) {
        TThread::Queue(nullptr, [] { Application->Terminate(); });
        return mrNone;
    });
    const TModalResult result = form->ShowModal();
    Application->ClearTerminated();
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(form->Visible());

    // Ending already when the dialog comes: it closes at once, cancelled.
    SetModalHook([](TCustomForm*) { return mrNone; });
    Application->Terminate();
    const TModalResult late = form->ShowModal();
    Application->ClearTerminated();
    EXPECT_EQ(late, mrCancel);
    EXPECT_FALSE(form->Visible());
}

TEST(Forms, TimersFireInsideTheModalLoop) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* timer = new TTimer(form.get());
    timer->SetInterval(5);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 3) form->SetModalResult(mrYes);
    };
    // An enabled timer without an interval never fires.
    auto* idle = new TTimer(form.get());
    idle->SetInterval(0);
    int idleTicks = 0;
    idle->OnTimer = [&](TObject*) { ++idleTicks; };
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(idle->Enabled());
    EXPECT_EQ(idleTicks, 0);
}

TEST(Forms, CloseOnAModelessFormAsksOnCloseAndHides) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    TCloseAction next = caNone;
    int hides = 0;
    form->OnClose = [&](TObject*, TCloseAction& a) { a = next; };
    form->OnHide = [&](TObject*) { ++hides; };
    form->Show();
    yorde::test::CloseBox(form.get());
    EXPECT_TRUE(form->Visible());
    next = caHide;
    yorde::test::CloseBox(form.get());
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(hides, 1);
    EXPECT_FALSE(yorde::qt::WidgetOf(form.get())->isVisible());
}

struct ForeignError {};

TEST(Forms, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* button = Put<TButton>(form.get(), form.get(), 10, 10, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) {
        ++clicks;
        if (clicks == 1) throw EConvertError("'x' is not a valid integer value");
        if (clicks == 2) throw ForeignError{};
        if (clicks == 3) throw std::runtime_error("standard");
        if (clicks == 4) throw EAbort("stop quietly");  // shown nowhere
    };
    form->Show();
    for (int i = 0; i < 5; ++i) yorde::test::Click(button);
    EXPECT_EQ(clicks, 5);
    ASSERT_EQ(hooks.errors.size(), 3u);
    EXPECT_EQ(ExceptionText(hooks.errors[0]), "'x' is not a valid integer value");
    EXPECT_EQ(ExceptionText(hooks.errors[1]), "Unknown exception");
    EXPECT_EQ(ExceptionText(hooks.errors[2]), "standard");

    // Without a hook the standard message box shows it, with a full stop added.
    Application->OnException = nullptr;
    Application->SetTitle("Yorde");
    clicks = 0;
    yorde::test::Click(button);
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_EQ(hooks.messages[0], "'x' is not a valid integer value.");
    EXPECT_EQ(hooks.captions[0], "Yorde");
    Application->SetTitle("");
}

class TCreateOrderForm : public TForm {
    YORDE_CLASS(TCreateOrderForm, TForm)
public:
    explicit TCreateOrderForm(TComponent* AOwner) : TForm(AOwner) {
        OnCreate = [this](TObject*) { createdAfterBody = bodyDone; };
        bodyDone = true;
        referenceDuringConstruction = Instance;
    }
    bool bodyDone = false;
    bool createdAfterBody = false;
    TCreateOrderForm* referenceDuringConstruction = nullptr;
    static TCreateOrderForm* Instance;
};
TCreateOrderForm* TCreateOrderForm::Instance = nullptr;
YORDE_IMPLEMENT_CLASS(TCreateOrderForm, [](TClassBuilder<TCreateOrderForm>&) {})

TEST(Forms, OnCreateRunsAfterTheConstructorBodyAndCreateFormSetsTheReferenceFirst) {
    HookScope hooks;
    Owned<TCreateOrderForm> made(NewForm<TCreateOrderForm>(nullptr));
    EXPECT_TRUE(made->createdAfterBody);
    Owned<TCreateOrderForm> plain(new TCreateOrderForm(nullptr));
    EXPECT_FALSE(plain->createdAfterBody);

    ASSERT_EQ(Application->MainForm(), nullptr);
    Application->CreateForm(TCreateOrderForm::Instance);
    Owned<TCreateOrderForm> viaApp(TCreateOrderForm::Instance);
    EXPECT_EQ(viaApp->referenceDuringConstruction, viaApp.get());
    EXPECT_TRUE(viaApp->createdAfterBody);
    EXPECT_EQ(Application->MainForm(), viaApp.get());
    EXPECT_EQ(viaApp->Owner(), Application);
    viaApp.reset();
    EXPECT_EQ(Application->MainForm(), nullptr);
    TCreateOrderForm::Instance = nullptr;
}

TEST(Forms, RunShowsTheMainFormAndTerminateEndsItWithoutOnClose) {
    HookScope hooks;
    TForm* main = nullptr;
    Application->CreateForm(main);
    Owned<TForm> owned(main);
    int closes = 0, shows = 0;
    main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    main->OnShow = [&](TObject*) {
        ++shows;
        TThread::Queue(nullptr, [] { Application->Terminate(); });
    };
    Application->Run();
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(closes, 0);
    EXPECT_TRUE(main->Visible());
    EXPECT_TRUE(Application->Terminated());
    Application->ClearTerminated();
    owned.reset();
}

TEST(Forms, OnCanResizeIsAskedForSizesSetFromCode) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    form->OnCanResize = [](TObject*, int& w, int& h, bool& resize) {
        w = 800;
        if (h < 600) h = 600;
        resize = true;
    };
    form->SetBounds(10, 20, 500, 300);
    EXPECT_EQ(form->Width(), 800);
    EXPECT_EQ(form->Height(), 600);
    EXPECT_EQ(form->ClientWidth(), 792);
    EXPECT_EQ(form->ClientHeight(), 566);
    form->SetHeight(700);
    EXPECT_EQ(form->Height(), 700);
    form->OnCanResize = [](TObject*, int&, int&, bool& resize) { resize = false; };
    form->SetWidth(300);
    EXPECT_EQ(form->Width(), 800);
}

TEST(Forms, SetFocusRaisesOnAHiddenOrDisabledTarget) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* edit = Put<TEdit>(form.get(), form.get(), 10, 10, 100, 21);
    EXPECT_THROW(form->SetFocus(), EInvalidOperation);
    form->Show();
    EXPECT_NO_THROW(form->SetFocus());
    edit->SetVisible(false);
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
    edit->SetVisible(true);
    edit->SetEnabled(false);
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
    edit->SetEnabled(true);
    EXPECT_NO_THROW(edit->SetFocus());
    EXPECT_EQ(form->ActiveControl(), edit);
    form->Hide();
    EXPECT_THROW(form->SetFocus(), EInvalidOperation);
}

TEST(Forms, TheStandardMessageBoxRunsModallyWhileQueuedCallsGoOn) {
    int ran = 0;
    TThread::Queue(nullptr, [&] {
        ++ran;
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Pytanie"));
        EXPECT_EQ(box->text(), QString::fromUtf8("Usunąć nagranie?"));
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(QMessageBox::No)->click();
    });
    int r = ShowMessageBox(Utf8ToAnsi("Usunąć nagranie?"), "Pytanie", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(r, IDNO);
}

struct HaltCalled {
    int code;
};

TEST(Forms, HaltGoesToTheHookInTests) {
    HookScope hooks;
    SetHaltHook([](int code) { throw HaltCalled{code}; });
    try {
        Halt(2);
        FAIL();
    } catch (const HaltCalled& h) {
        EXPECT_EQ(h.code, 2);
    }
}

TEST(Forms, ReleaseFreesTheFormFromTheEventLoop) {
    HookScope hooks;
    auto* form = new TForm(nullptr);
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->AfterConstruction();
    form->Show();
    form->Release();
    EXPECT_FALSE(destroyed);
    yorde::test::ProcessEvents();
    EXPECT_TRUE(destroyed);
}

}  // namespace
