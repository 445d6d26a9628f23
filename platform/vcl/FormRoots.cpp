// Frames and data modules, and reading a root's layout.
#include "vcl/Forms.h"

#include "classes/Filer.h"
#include "classes/ResourceStream.h"

#include <algorithm>

YORDE_IMPLEMENT_CLASS(TCustomFrame, [](TClassBuilder<TCustomFrame>&) {})

YORDE_IMPLEMENT_CLASS(TFrame, [](TClassBuilder<TFrame>& c) { PublishControl(c, pcStandard | pcFocus | pcResize); })

YORDE_IMPLEMENT_CLASS(TDataModule, [](TClassBuilder<TDataModule>& c) {
    c.Event("OnCreate", &TDataModule::OnCreate);
    c.Event("OnDestroy", &TDataModule::OnDestroy);
})

namespace {

// What OnCreate or OnDestroy raises is shown and the caller goes on.
template <class F>
void guarded(F&& f) {
    try {
        f();
    } catch (...) {
        Application->HandleException(std::current_exception());
    }
}

}  // namespace

void ReadComponentLayout(TComponent* Root) {
    TResourceStream stream(Root->ClassName());
    TReader reader(stream);
    reader.ReadRootComponent(Root);
}

// ---------------------------------------------------------------------------

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    controlStyle_ = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    StoreBounds(0, 0, 320, 240);
}

void TCustomFrame::GetChildren(TGetChildProc Proc, TComponent* Root) {
    TScrollingWinControl::GetChildren(Proc, Root);
    // Written as the root, also its non-visual components (menus, image lists, timers).
    TComponent::GetChildren(Proc, Root);
}

void TCustomFrame::PaintControl(IPaintBackend& Backend, const TRect& /*ClipRect*/) {
    Backend.FillRect(ClientRect(), ColorToRGB(color_));
}

// ---------------------------------------------------------------------------

TDataModule::TDataModule(TComponent* AOwner) : TComponent(AOwner) {
    Screen->dataModules_.push_back(this);
    AddGlobalRoot(this);
}

TDataModule::~TDataModule() {
    destroyed();
    auto& list = Screen->dataModules_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    RemoveGlobalRoot(this);
}

void TDataModule::AfterConstruction() {
    if (created_) return;
    created_ = true;
    guarded([this] { OnCreate(this); });
}

void TDataModule::BeforeDestruction() {
    destroyed();
    TComponent::BeforeDestruction();
}

void TDataModule::destroyed() {
    if (!created_) return;
    created_ = false;
    guarded([this] { OnDestroy(this); });
}

void TDataModule::GetChildren(TGetChildProc Proc, TComponent* Root) {
    for (int i = 0; i < ComponentCount(); ++i)
        if (Components(i)->Owner() == Root) Proc(Components(i));
}
