#include "workstation/Unitmediaframe.h"
#include "workstation/FormColors.h"

#include "localization/Lxlnglnk.h"
#include "media/Volume.h"
#include "workstation/Mainunit.h"
#include "workstation/RecordingsLoader.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitstatus.h"

#include <algorithm>
#include <iterator>

YORDE_IMPLEMENT_CLASS(TMediaFrame, [](TClassBuilder<TMediaFrame>& c) {
    using T = TMediaFrame;
    c.Field("musicTable", &T::musicTable);
    c.Field("PanelMediaBottom", &T::PanelMediaBottom);
    c.Field("TimeLabel", &T::TimeLabel);
    c.Field("SeekTrackBar", &T::SeekTrackBar);
    c.Field("VolumeTrackBar", &T::VolumeTrackBar);
    c.Field("VolProgressBar", &T::VolProgressBar);
    c.Field("MediaPlayer", &T::MediaPlayer);
    c.Field("PlayImage", &T::PlayImage);
    c.Field("PauseImage", &T::PauseImage);
    c.Field("StopImage", &T::StopImage);
    c.Field("PrevImage", &T::PrevImage);
    c.Field("NextImage", &T::NextImage);
    c.Field("RecImage", &T::RecImage);
    c.Field("VolImage", &T::VolImage);
    c.Field("ExportImage", &T::ExportImage);
    c.Field("DeleteImage", &T::DeleteImage);
    c.Field("ImportImage", &T::ImportImage);
    c.Field("ABookImage", &T::ABookImage);
    c.Field("Timer1", &T::Timer1);
    c.Field("Timer2", &T::Timer2);
    c.Field("RodoTimer", &T::RodoTimer);
    c.Field("ExportDialog", &T::ExportDialog);
    c.Field("RecDialog", &T::RecDialog);
    c.Field("ImageListPlay", &T::ImageListPlay);
    c.Field("ImageListBtn", &T::ImageListBtn);
    c.Field("musicPopupMenu", &T::musicPopupMenu);
    c.Field("op1", &T::op1);
    c.Field("op2", &T::op2);
    c.Field("op3", &T::op3);
    c.Field("RecPopupMenu", &T::RecPopupMenu);
    c.Field("Nagrywaniezapowiedzi1", &T::Nagrywaniezapowiedzi1);
    c.Field("Zapowiedzwybranegopliku1", &T::Zapowiedzwybranegopliku1);
    c.Field("lxLangLinked1", &T::lxLangLinked1);

    c.Method("musicTableClick", &T::musicTableClick);
    c.Method("musicTableDblClick", &T::musicTableDblClick);
    c.Method("musicTableDrawCell", &T::musicTableDrawCell);
    c.Method("musicTableKeyDown", &T::musicTableKeyDown);
    c.Method("musicTableMouseMove", &T::musicTableMouseMove);
    c.Method("musicTableMouseUp", &T::musicTableMouseUp);
    c.Method("musicTableSelectCell", &T::musicTableSelectCell);

    c.Method("PlayImageClick", &T::PlayImageClick);
    c.Method("PauseImageClick", &T::PauseImageClick);
    c.Method("StopImageClick", &T::StopImageClick);
    c.Method("PrevImageClick", &T::PrevImageClick);
    c.Method("PrevImageDblClick", &T::PrevImageDblClick);
    c.Method("NextImageClick", &T::NextImageClick);
    c.Method("NextImageDblClick", &T::NextImageDblClick);
    c.Method("RecImageClick", &T::RecImageClick);
    c.Method("VolImageClick", &T::VolImageClick);
    c.Method("VolImageDblClick", &T::VolImageDblClick);
    c.Method("SeekTrackBarChange", &T::SeekTrackBarChange);
    c.Method("SeekTrackBarKeyDown", &T::SeekTrackBarKeyDown);
    c.Method("VolumeTrackBarChange", &T::VolumeTrackBarChange);
    c.Method("VolumeTrackBarKeyDown", &T::VolumeTrackBarKeyDown);
    c.Method("Timer1Timer", &T::Timer1Timer);
    c.Method("Timer2Timer", &T::Timer2Timer);

    c.Method("ExportImageClick", &T::ExportImageClick);
    c.Method("DeleteImageClick", &T::DeleteImageClick);
    c.Method("ImportImageClick", &T::ImportImageClick);
    c.Method("ABookImageClick", &T::ABookImageClick);
    c.Method("musicPopupMenuPopup", &T::musicPopupMenuPopup);
    c.Method("op1Click", &T::op1Click);
    c.Method("op2Click", &T::op2Click);
    c.Method("op3Click", &T::op3Click);
    c.Method("Nagrywaniezapowiedzi1Click", &T::Nagrywaniezapowiedzi1Click);
    c.Method("Zapowiedzwybranegopliku1Click", &T::Zapowiedzwybranegopliku1Click);
    c.Method("RodoTimerTimer", &T::RodoTimerTimer);

    c.Method("PlayImageMouseDown", &T::PlayImageMouseDown);
    c.Method("PlayImageMouseUp", &T::PlayImageMouseUp);
    c.Method("PauseImageMouseDown", &T::PauseImageMouseDown);
    c.Method("PauseImageMouseUp", &T::PauseImageMouseUp);
    c.Method("StopImageMouseDown", &T::StopImageMouseDown);
    c.Method("StopImageMouseUp", &T::StopImageMouseUp);
    c.Method("PrevImageMouseDown", &T::PrevImageMouseDown);
    c.Method("PrevImageMouseUp", &T::PrevImageMouseUp);
    c.Method("NextImageMouseDown", &T::NextImageMouseDown);
    c.Method("NextImageMouseUp", &T::NextImageMouseUp);
    c.Method("RecImageMouseDown", &T::RecImageMouseDown);
    c.Method("RecImageMouseUp", &T::RecImageMouseUp);
    c.Method("VolImageMouseDown", &T::VolImageMouseDown);
    c.Method("VolImageMouseUp", &T::VolImageMouseUp);
    c.Method("ExportImageMouseDown", &T::ExportImageMouseDown);
    c.Method("ExportImageMouseUp", &T::ExportImageMouseUp);
    c.Method("DeleteImageMouseDown", &T::DeleteImageMouseDown);
    c.Method("DeleteImageMouseUp", &T::DeleteImageMouseUp);
    c.Method("ImportImageMouseDown", &T::ImportImageMouseDown);
    c.Method("ImportImageMouseUp", &T::ImportImageMouseUp);
    c.Method("ABookImageMouseDown", &T::ABookImageMouseDown);
    c.Method("ABookImageMouseUp", &T::ABookImageMouseUp);
})

namespace {

// The wave-out volume travels as 0..100 steps of 655 in each 16-bit channel.
constexpr uint32_t kVolumeStep = 655;

}  // namespace

TMediaFrame::TMediaFrame(TComponent* AOwner) : TFrame(AOwner) {
    std::fill(std::begin(sortDescending_), std::end(sortDescending_), true);
    InitLayout();
    SetColor(clFormBackground);
    PanelMediaBottom->SetColor(clFormBackground);
    for (TImage* image : {PlayImage, PauseImage, StopImage, PrevImage, NextImage, RecImage, VolImage, ExportImage,
                          DeleteImage, ImportImage, ABookImage})
        showButton(image, false);
}

// The loader goes first: nothing it reads arrives after the frame.
TMediaFrame::~TMediaFrame() = default;

AnsiString TMediaFrame::text(const char* Key) const { return lxLangLinked1->GetTextOrDefault(Key); }

TFiltrFrame* TMediaFrame::filterFrame() const {
    // The main window holds the filter frame beside this one as FiltrFrame1.
    TComponent* owner = Owner();
    return owner ? dynamic_cast<TFiltrFrame*>(owner->FindComponent("FiltrFrame1")) : nullptr;
}

bool TMediaFrame::addressBookShown() const {
    const TFiltrFrame* filter = filterFrame();
    return filter && filter->ABookCheckBox && filter->ABookCheckBox->Checked();
}

TUserRecord TMediaFrame::currentUser() const {
    const auto* main = dynamic_cast<const TMainForm*>(Owner());
    return main && main->UsersFrame1 ? main->GetCurrentUserRecord() : TUserRecord{};
}

TLabel* TMediaFrame::statusLabel() const {
    const auto* main = dynamic_cast<const TMainForm*>(Owner());
    return main && main->StatusFrameBottom ? main->StatusFrameBottom->StatusLabel : nullptr;
}

void TMediaFrame::setStatus(const AnsiString& Text) {
    TLabel* label = statusLabel();
    if (!label) return;
    label->SetCaption(Text);
    label->Repaint();
}

void TMediaFrame::InitFrame() {
    MediaPlayer->SetTimeFormat(tfMilliseconds);
    Timer1->SetEnabled(false);
    Timer1->SetInterval(500);
    seekSetByTimer_ = true;
    VolumeTrackBar->SetPosition(GetWaveVolume());
    loading_ = true;
    RefreshRecordings();
    nextPurge_ = Now();
    for (bool& descending : sortDescending_) descending = true;
    SetColumnHeaders(false, -1);
    loading_ = false;
    recording_ = false;
}

void TMediaFrame::SetDateFrom(const AnsiString& Text) { dateFrom_ = Text; }

void TMediaFrame::SetDateTo(const AnsiString& Text) { dateTo_ = Text; }

int TMediaFrame::GetWaveVolume() { return int((::GetWaveVolume() >> 16) / kVolumeStep); }

void TMediaFrame::VolumeTrackBarChange(TObject*) {
    const uint32_t level = uint32_t(VolumeTrackBar->Position()) * kVolumeStep;
    SetWaveVolume(level | (level << 16));
    VolProgressBar->SetPosition(VolumeTrackBar->Position());
}
