#pragma once
// A system tray for tests (the offscreen platform has none): whether a tray
// exists, and what the tray icons show in it.
#include "vcl/Peers.h"
#include "vcl/TrayIcon.h"

#include <cstdint>
#include <memory>

namespace yorde::test {

struct TTrayState {
    bool Available = true;
    bool Visible = false;
    int IconWidth = 0;
    uint32_t IconPixel = 0;  // the icon's top-left pixel
    int IconSets = 0;
    AnsiString Hint;
};

class TFakeTray : public ITrayPeer {
public:
    explicit TFakeTray(std::shared_ptr<TTrayState> State) : s_(std::move(State)) {}
    bool Available() const override { return s_->Available; }
    void SetVisible(bool Visible) override { s_->Visible = Visible; }
    void SetIcon(const TPixelsView& Icon) override {
        s_->IconWidth = Icon.Width;
        s_->IconPixel = Icon.Pixels ? Icon.Pixels[0] : 0;
        ++s_->IconSets;
    }
    void SetHint(const AnsiString& Bytes, int) override { s_->Hint = Bytes; }

private:
    std::shared_ptr<TTrayState> s_;
};

// Every tray icon made while the scope lives gets the fake tray; all share
// one state.
class TFakeTrayScope {
public:
    explicit TFakeTrayScope(bool Available = true) : state_(std::make_shared<TTrayState>()) {
        state_->Available = Available;
        SetTrayPeerHook([s = state_](TTrayIcon*) { return std::make_unique<TFakeTray>(s); });
    }
    ~TFakeTrayScope() { SetTrayPeerHook(nullptr); }
    TFakeTrayScope(const TFakeTrayScope&) = delete;
    TFakeTrayScope& operator=(const TFakeTrayScope&) = delete;

    TTrayState& State() const { return *state_; }

private:
    std::shared_ptr<TTrayState> state_;
};

}  // namespace yorde::test
