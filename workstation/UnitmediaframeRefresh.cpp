// Filling the recordings list: the statement for the user and the filter,
// the rows in its layout, and the recording that stays selected across a
// refill; the same read in the background for a sync.
#include "workstation/Unitmediaframe.h"

#include "rtl/Folders.h"
#include "workstation/Mainunit.h"
#include "workstation/RecordingsLoader.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmessage.h"

#include <cstring>

namespace {

AnsiString nameOf(const char (&Field)[UserTextSize]) { return AnsiString(Field, strnlen(Field, sizeof Field)); }

// Runs at the end of a refill whatever happened inside it.
template <class F>
struct AtExit {
    F Fn;
    ~AtExit() { Fn(); }
};
template <class F>
AtExit(F) -> AtExit<F>;

}  // namespace

void TMediaFrame::reportDbError(const AnsiString& What, const SqliteException& Error) {
    // The message of catalogue 2 that reports a database failure.
    constexpr int kDbErrorMessage = 7;
    DebugLog(What + ": " + Error.Message());
    ShowMessageDialog(this, mcUsers, kDbErrorMessage);
}

TRecordingsFilter TMediaFrame::currentFilter(const TUserRecord& User) {
    TRecordingsFilter f;
    f.UserName = nameOf(User.Name);
    f.ViewKind = TRightKind(User.ViewRight.Kind);
    f.ViewNumber = nameOf(User.ViewRight.Number);
    f.AddressBook = addressBookShown();
    if (auto* main = dynamic_cast<TMainForm*>(Owner()); main && main->FiltrFrame1) {
        main->ApplyFilterRange();
    } else if (TFiltrFrame* filter = filterFrame()) {
        SetDateFrom(filter->GetDateFrom());
        SetDateTo(filter->GetDateTo());
    }
    if (TFiltrFrame* filter = filterFrame()) {
        f.FromOn = filter->OdCheckBox->Checked();
        f.ToOn = filter->DoCheckBox->Checked();
        f.NumberA = filter->filtrAbAEdit->Text();
        f.NumberB = filter->filtrAbBEdit->Text();
    }
    f.From = dateFrom_;
    f.To = dateTo_;
    f.SortClause = SortClause;
    return f;
}

void TMediaFrame::RefreshRecordings() {
    const TUserRecord user = currentUser();
    // A reload under way in the background brings nothing newer than this.
    ++listFills_;
    if (user.ViewRight.Kind == rkNone) {
        // Nobody, or no right to see anything: the header row alone.
        const bool wasLoading = loading_;
        loading_ = true;
        listLayout_ = &RecordingLayout(false);
        musicTable->SetRowCount(1);
        musicTable->SetColCount(listLayout_->Count());
        musicTable->SetRow(0);
        loading_ = wasLoading;
        settlePlayer();
        return;
    }
    const TRecordingsFilter filter = currentFilter(user);
    // The layout changes with the grid: a refill that fails leaves the rows
    // shown in the layout they were filled in.
    const TRecordingLayout& layout = RecordingLayout(filter.AddressBook);
    const TKeptRow kept = keptRow();
    beginFill();
    AtExit done{[this] {
        db_.Close();
        endFill();
    }};
    TRecordingsRead read =
        ReadRecordings(db_, ProgramDir() + "data.db", BuildRecordingsQuery(filter), layout, [this, &layout] {
            // The rows shown go before the new ones are read.
            musicTable->SetRowCount(1);
            listLayout_ = &layout;
            musicTable->SetColCount(layout.Count());
            musicTable->SetRow(0);
            SetColumnHeaders(false, -1);
        });
    showRead(read, kept);
}

void TMediaFrame::beginFill() {
    musicTable->SetDoubleBuffered(true);
    musicTable->SetVisible(false);
    musicTable->SetScrollBars(ssVertical);
    loading_ = true;
}

void TMediaFrame::endFill() {
    loading_ = false;
    musicTable->SetVisible(true);
    musicTable->SetScrollBars(ssBoth);
}

TMediaFrame::TKeptRow TMediaFrame::keptRow() const {
    // The selection of row 2 or later is found again after the refill.
    TKeptRow kept{musicTable->Row(), " "};
    if (kept.Row >= 2) kept.Name = listCell(TRecordingColumn::FileName, kept.Row);
    return kept;
}

void TMediaFrame::showRead(TRecordingsRead& Read, const TKeptRow& Kept) {
    if (Read.Ran) {
        musicTable->SwapRows(Read.Rows);
        SetColumnHeaders(false, -1);
    }
    if (Read.Error) reportDbError("Recordings list", *Read.Error);
    const int rows = musicTable->RowCount();
    if (rows > 1) {
        musicTable->SetFixedRows(1);
        musicTable->SetRow(rows - 1);
    }
    if (Kept.Name != " " && Kept.Row > 0) {
        const int row = Read.SoughtName == Kept.Name
                            ? Read.SoughtRow
                            : musicTable->FindRow(listColumn(TRecordingColumn::FileName), Kept.Name);
        if (row >= 0) musicTable->SetRow(row);
    }
    loading_ = false;
    settlePlayer();
}

void TMediaFrame::RefreshRecordingsInBackground() {
    if (reload_.Running) {
        reload_.Again = true;
        return;
    }
    const TUserRecord user = currentUser();
    if (user.ViewRight.Kind == rkNone) {
        RefreshRecordings();
        return;
    }
    const TRecordingsFilter filter = currentFilter(user);
    const TRecordingLayout& layout = RecordingLayout(filter.AddressBook);
    reload_ = TReload{true, false, listFills_, listEdits_};
    if (!loader_) loader_ = std::make_unique<TRecordingsLoader>();
    // The selection now is most likely the one when the rows are shown.
    loader_->Read(ProgramDir() + "data.db", BuildRecordingsQuery(filter), layout, keptRow().Name,
                  [this, shown = &layout](TRecordingsRead& Read) { backgroundRead(Read, *shown); });
}

bool TMediaFrame::ReloadUnderWay() const { return reload_.Running; }

void TMediaFrame::backgroundRead(TRecordingsRead& Read, const TRecordingLayout& Layout) {
    // Asked again while these rows are shown (a message may wait for the
    // user), the reload follows once they are.
    AtExit next{[this, &Read] {
        loader_->Dispose(std::move(Read.Rows));
        reload_.Running = false;
        if (reload_.Again) RefreshRecordingsInBackground();
    }};
    if (listFills_ != reload_.Fills || listEdits_ != reload_.Edits) {
        // A refill since then shows at least as much; a row taken off the
        // list since then may still be among these.
        if (listFills_ == reload_.Fills) reload_.Again = true;
        return;
    }
    // Kept from the rows shown now, found again among the new ones.
    const TKeptRow kept = keptRow();
    if (Read.Ran) listLayout_ = &Layout;
    // The sync's progress stays on the status line through the refill.
    TLabel* status = statusLabel();
    const AnsiString statusText = status ? status->Caption() : AnsiString();
    {
        beginFill();
        AtExit shown{[this] { endFill(); }};
        showRead(Read, kept);
    }
    if (status) status->SetCaption(statusText);
}

AnsiString TMediaFrame::selectedFileName() const {
    const int row = musicTable->Row();
    return row < 1 ? AnsiString() : listCell(TRecordingColumn::FileName, row);
}

int TMediaFrame::listColumn(TRecordingColumn Column) const { return listLayout_->IndexOf(Column); }

AnsiString TMediaFrame::listCell(TRecordingColumn Column, int Row) const {
    const int column = listColumn(Column);
    if (column < 0 || column >= musicTable->ColCount()) return AnsiString();
    return musicTable->Cells(column, Row);
}

void TMediaFrame::settlePlayer() {
    // An announcement being recorded goes on whatever the list does.
    if (recording_) return;
    if (!openedPath_.empty() && musicTable->Row() >= 1 && RecordingPath(selectedFileName()) == openedPath_) {
        // Still the same recording: stopped, as every refill leaves it.
        StopImageClick(nullptr);
        SeekTrackBar->SetEnabled(false);
        return;
    }
    closePlayer();
}
