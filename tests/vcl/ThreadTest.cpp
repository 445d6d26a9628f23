// Workers write controls; the writes run on the main thread in order.
#include "VclTestSupport.h"

#include "qt/QtPlatform.h"
#include "vcl/ExtCtrls.h"
#include "vcl/StdCtrls.h"

#include "classes/Thread.h"
#include "rtl/Convert.h"

#include <gtest/gtest.h>

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

TEST(Threads, WritesQueuedForAControlThatIsGoneAreDropped) {
    HookScope hooks;
    auto* form = new TForm(nullptr);
    auto* label = Put<TLabel>(form, form, 10, 10, 100, 20);
    std::thread t([label] { label->SetCaption("late"); });
    t.join();
    TObject::Free(form);
    yorde::test::ProcessEvents();
    EXPECT_TRUE(hooks.errors.empty());
}

}  // namespace
