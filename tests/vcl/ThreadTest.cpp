// Workers write controls; the writes run on the main thread in order.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/ExtCtrls.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

#include "classes/Thread.h"
#include "rtl/Convert.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <atomic>
#include <functional>
#include <thread>

namespace {

class StatusWriter : public TThread {
public:
    StatusWriter(TLabel* Label, TPanel* Bar) : TThread(true), label_(Label), bar_(Bar) {}
    std::vector<AnsiString> reads;
    std::thread::id ranOn;

protected:
    void Execute() override {
        ranOn = std::this_thread::get_id();
        for (int i = 0; i < 10000; ++i) {
            label_->SetCaption(IntToStr(i));
            bar_->SetWidth(1 + i % 100);
            // A read waits for the main thread, after the writes made before it.
            if (i % 1000 == 999) reads.push_back(label_->Caption());
        }
    }

private:
    TLabel* label_;
    TPanel* bar_;
};

TEST(Threads, AWorkerWritesControlsWhileTheMainThreadWaitsForIt) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* label = Put<TLabel>(form.get(), form.get(), 10, 10, 100, 20);
    auto* bar = Put<TPanel>(form.get(), form.get(), 10, 40, 0, 16);
    int changes = 0;
    bar->OnResize = [&](TObject*) { ++changes; };
    form->Show();

    StatusWriter worker(label, bar);
    worker.Start();
    worker.WaitFor();
    yorde::test::ProcessEvents();

    EXPECT_NE(worker.ranOn, std::this_thread::get_id());
    EXPECT_EQ(label->Caption(), "9999");
    EXPECT_EQ(bar->Width(), 100);
    ASSERT_EQ(worker.reads.size(), 10u);
    for (size_t i = 0; i < worker.reads.size(); ++i) EXPECT_EQ(worker.reads[i], IntToStr(int(i) * 1000 + 999));
    EXPECT_EQ(changes, 10000);
    EXPECT_TRUE(hooks.errors.empty());
}

// ProcessMessages serves what workers queued; a worker's cursor change
// waits for it instead of touching the display from the worker.
TEST(Threads, ProcessMessagesServesQueuedCallsAndTheCursorWaitsForIt) {
    HookScope hooks;
    bool ran = false;
    std::thread([&] { TThread::Queue(nullptr, [&] { ran = true; }); }).join();
    Application->ProcessMessages();
    EXPECT_TRUE(ran);

    const TCursor before = Screen->Cursor();
    std::thread([] { Screen->SetCursor(crHourGlass); }).join();
    EXPECT_EQ(Screen->Cursor(), before);
    Application->ProcessMessages();
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    Screen->SetCursor(before);
}

TEST(Threads, WritesQueuedForAControlThatIsGoneAreDropped) {
    HookScope hooks;
    auto* form = new TForm(nullptr);
    auto* label = Put<TLabel>(form, form, 10, 10, 100, 20);
    std::thread t([label] {
        label->SetCaption("late");
        label->Font()->SetColor(clRed);
    });
    t.join();
    TObject::Free(form);
    yorde::test::ProcessEvents();
    EXPECT_TRUE(hooks.errors.empty());
}

// A worker that runs the body it is given.
class Worker : public TThread {
public:
    explicit Worker(std::function<void()> Body) : TThread(true), body_(std::move(Body)) {}

protected:
    void Execute() override { body_(); }

private:
    std::function<void()> body_;
};

// A control that notes its font changes and paints, and any made off the main thread.
template <class Base>
class Watched : public Base {
public:
    using Base::Base;
    std::atomic<int> offMain{0};
    std::atomic<int> fontChanges{0};
    std::atomic<int> paints{0};

protected:
    void FontChanged() override {
        note(fontChanges);
        Base::FontChanged();
    }
    void Paint() override {
        note(paints);
        Base::Paint();
    }

private:
    void note(std::atomic<int>& Count) {
        ++Count;
        if (!IsMainThread()) ++offMain;
    }
};

// Starts Worker and, until it ends, repaints Control on the main thread as
// the screen would on its own (a form's timer does), serving the calls the
// worker hands over meanwhile.
void RunWhilePainting(TThread& Worker, TControl* Control) {
    Worker.Start();
    while (!Worker.Finished()) {
        Control->Repaint();
        CheckSynchronize(1);
    }
    Worker.WaitFor();
    yorde::test::ProcessEvents();
}

TEST(Threads, AWorkersFontChangesReachTheControlOnTheMainThreadInOrder) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* label = Put<Watched<TLabel>>(form.get(), form.get(), 10, 10, 200, 30);
    label->SetCaption("status");
    form->Show();
    yorde::test::ProcessEvents();

    std::vector<int> sizesRead;
    Worker worker([&] {
        for (int i = 0; i < 2000; ++i) {
            TFont* font = label->Font();
            font->SetColor(i % 2 ? clRed : clBlue);
            font->SetSize(8 + i % 10);
            font->SetStyle(i % 3 ? TFontStyles{fsBold} : TFontStyles{});
            font->SetName(i % 2 ? "Verdana" : "Tahoma");
            // A read waits for the main thread, after the changes made before it.
            if (i % 200 == 199) sizesRead.push_back(font->Size());
        }
        // A font of the worker's own, gone before the main thread takes it.
        TFont own;
        own.SetColor(clGreen);
        own.SetSize(15);
        label->SetFont(&own);
    });
    RunWhilePainting(worker, label);

    EXPECT_EQ(label->offMain.load(), 0) << "a font change or a paint ran on the worker";
    EXPECT_GT(label->fontChanges.load(), 2000);
    ASSERT_EQ(sizesRead.size(), 10u);
    for (size_t i = 0; i < sizesRead.size(); ++i) EXPECT_EQ(sizesRead[i], 8 + int(i * 200 + 199) % 10);
    EXPECT_EQ(label->Font()->Color(), clGreen);
    EXPECT_EQ(label->Font()->Size(), 15);
    EXPECT_EQ(yorde::qt::WidgetOf(label)->font().pixelSize(), 20) << "the peer shows the last font";
    EXPECT_TRUE(hooks.errors.empty());
}

TEST(Threads, AWorkerFillsAnImageFromAnImageListWhileTheMainThreadPaintsIt) {
    HookScope hooks;
    Owned<TForm> form(new TForm(nullptr));
    auto* image = Put<Watched<TImage>>(form.get(), form.get(), 10, 10, 16, 8);
    auto* list = new TImageList(form.get());
    list->SetWidth(16);
    list->SetHeight(8);
    const uint32_t colours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu};
    for (uint32_t argb : colours) {
        TBitmap cell;
        cell.SetPixels(16, 8, std::vector<uint32_t>(16 * 8, argb));
        list->Add(&cell, nullptr);
    }
    form->Show();
    yorde::test::ProcessEvents();
    const int paintsBefore = image->paints.load();

    Worker worker([&] {
        for (int i = 0; i < 300; ++i) {
            list->GetBitmap(i % 3, image->Picture()->Bitmap());
            image->Repaint();
            // Drawing on the picture's canvas goes the same way.
            if (i % 50 == 0) image->Picture()->Bitmap()->Canvas()->Pixels(0, 0);
        }
        list->GetBitmap(1, image->Picture()->Bitmap());
        image->Picture()->Bitmap()->Canvas()->Brush()->SetColor(clBlack);
        image->Picture()->Bitmap()->Canvas()->FillRect(TRect(0, 0, 4, 8));
        image->Repaint();
    });
    RunWhilePainting(worker, image);

    EXPECT_EQ(image->offMain.load(), 0) << "the image painted on the worker";
    EXPECT_GT(image->paints.load(), paintsBefore + 1) << "painted while the worker ran";
    TBitmap* shown = image->Picture()->Bitmap();
    EXPECT_EQ(shown->PixelArgb(8, 4), colours[1]) << "the last picture the worker chose";
    EXPECT_EQ(shown->PixelArgb(1, 4) & 0xFFFFFFu, 0u) << "and what it drew on it";
    QImage grabbed = yorde::qt::WidgetOf(image)->grab().toImage();
    EXPECT_EQ(grabbed.pixel(8, 4) & 0xFFFFFFu, 0x00FF00u) << "the screen shows it too";
    EXPECT_TRUE(hooks.errors.empty());
}

}  // namespace
