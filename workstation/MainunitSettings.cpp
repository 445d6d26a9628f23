// The settings list (config.cfg) applied to the frames' controls when the
// main window is created, and taken back from them at exit.
#include "classes/Strings.h"
#include "rtl/Folders.h"
#include "store/Settings.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitusers.h"

namespace {

// Runs one group of the settings; a failure inside it applies the group's
// fallback instead, and the next group goes on.
template <class Apply, class Fallback>
void ApplyGroup(Apply apply, Fallback fallback) {
    try {
        apply();
    } catch (...) {
        fallback();
    }
}

}  // namespace

void TMainForm::loadSettings() {
    const TDateTime now = Now();
    TStringList lines;
    LoadConfigList(ProgramDir(), lines, now, {Screen->DesktopWidth(), Screen->DesktopHeight()},
                   [](const AnsiString& line) { DebugLog(line); });
    const TConfigValues v = ParseConfigLines(lines, now);
    TFiltrFrame* filter = FiltrFrame1;
    TUsersFrame* users = UsersFrame1;
    TConnectFrame* link = ConnectFrame1;

    const auto setRange = [filter](TDateTime from, TDateTime to) {
        filter->OdDatePicker->SetDateTime(from);
        filter->OdTimePicker->SetDateTime(from);
        filter->DoDatePicker->SetDateTime(to);
        filter->DoTimePicker->SetDateTime(to);
    };
    ApplyGroup([&] { setRange(v.DateFrom, v.DateTo); }, [&] { setRange(now, now); });

    ApplyGroup(
        [&] {
            if (v.NumberA) filter->filtrAbAEdit->SetText(*v.NumberA);
        },
        [] {});
    ApplyGroup(
        [&] {
            if (v.NumberB) filter->filtrAbBEdit->SetText(*v.NumberB);
        },
        [] {});

    // The handlers run here as well, so that the connection frame gets the
    // values even when a slider does not move.
    const auto setLink = [users, link](int refresh, int buffer, const AnsiString& address, const AnsiString& password) {
        users->RefreshTrackBar->SetPosition(refresh);
        users->RefreshTrackBarChange(nullptr);
        users->DeleteTrackBarChange(nullptr);
        users->DeleteTrackBar->SetPosition(buffer);
        link->SerwerIPEdit->SetText(address);
        link->HasloEdit->SetText(password);
    };
    ApplyGroup([&] { setLink(v.RefreshPosition, v.BufferPosition, v.Address, v.Password); },
               [&] { setLink(1, 1, "http://", ""); });

    const auto setWindow = [this](int left, int top, int width, int height) {
        SetLeft(left);
        SetTop(top);
        SetWidth(width);
        SetHeight(height);
    };
    ApplyGroup([&] { setWindow(v.Left, v.Top, v.Width, v.Height); },
               [this] {
                   SetWidth(800);
                   SetHeight(600);
                   SetLeft(10);
                   SetTop(10);
               });

    const auto setRetention = [users](int index) {
        users->RetentionIndex = index;
        users->DeleteAfterComboBox->SetItemIndex(index);
    };
    ApplyGroup([&] { setRetention(v.RetentionIndex); }, [&] { setRetention(0); });
}

void TMainForm::saveSettings() {
    TConfigSnapshot s;
    s.DateFrom = FiltrFrame1->GetDateFrom();
    s.DateTo = FiltrFrame1->GetDateTo();
    s.NumberA = FiltrFrame1->filtrAbAEdit->Text();
    s.NumberB = FiltrFrame1->filtrAbBEdit->Text();
    s.RefreshPosition = UsersFrame1->RefreshTrackBar->Position();
    s.BufferPosition = UsersFrame1->DeleteTrackBar->Position();
    s.Address = ConnectFrame1->SerwerIPEdit->Text();
    s.Password = ConnectFrame1->HasloEdit->Text();
    s.Left = Left();
    s.Top = Top();
    s.Width = Width();
    s.Height = Height();
    s.RetentionIndex = UsersFrame1->RetentionIndex;
    TStringList lines;
    BuildConfigLines(lines, s);
    SaveConfigList(ProgramDir(), lines);
}
