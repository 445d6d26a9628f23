// Deleting the selected recording within the user's delete right, and the
// list's context menu whose items follow the rights.
#include "workstation/Unitmediaframe.h"

#include "localization/Lxlnglnk.h"
#include "rtl/Folders.h"
#include "store/RecordingRemoval.h"
#include "store/UserRights.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitmessage.h"

#include <memory>

bool TMediaFrame::mayDeleteRow(int Row) const {
    if (Row < 1 || Row >= musicTable->RowCount()) return false;
    return MayDeleteRecording(currentUser().DeleteRight, listCell(TRecordingColumn::Caller, Row),
                              listCell(TRecordingColumn::Called, Row));
}

void TMediaFrame::DeleteImageClick(TObject*) {
    if (recording_) {
        // The button ends an announcement recording, as Stop does.
        StopImageClick(nullptr);
        return;
    }
    if (mayDeleteRow(musicTable->Row())) {
        setStatus(text("IDS_REMOVING"));
        // The recording is fixed before the question: while it is open the
        // list may be filled again (the sync run, the daily purge).
        const AnsiString name = selectedFileName();
        std::unique_ptr<TDeleteDialog, void (*)(TObject*)> dialog(
            NewForm<TDeleteDialog>(this, text("IDS_REMOVING_QUESTION")), TObject::Free);
        if (dialog->ShowModal() == mrOk) deleteRecording(name);
    }
    setStatus(AnsiString());
}

void TMediaFrame::op2Click(TObject* Sender) { DeleteImageClick(Sender); }

void TMediaFrame::deleteRecording(const AnsiString& Name) {
    bool removed = false;
    try {
        db_.Open(ProgramDir() + "data.db");
        removed = RemoveStoredRecording(db_, ProgramDir() + "files/", Name);
        db_.Close();
    } catch (const SqliteException& e) {
        db_.Close();
        reportDbError("Delete of " + Name, e);
        return;
    }
    if (!removed) {
        DebugLog("Delete of " + Name + ": the file cannot be deleted; the recording stays");
        ShowCaptionMessage(this, text("IDS_ERROR"), text("IDS_REMOVE_FILE_ERROR"));
        return;
    }
    removeListRow(Name);
}

void TMediaFrame::removeListRow(const AnsiString& Name) {
    int row = musicTable->FindRow(listColumn(TRecordingColumn::FileName), Name);
    if (row < 1) {
        // The list changed while the question was open: filled afresh.
        RefreshRecordings();
        return;
    }
    ++listEdits_;
    const bool wasLoading = loading_;
    loading_ = true;
    musicTable->SetVisible(false);
    // The rows below move up one, in one step however long the list.
    musicTable->DeleteRow(row);
    musicTable->SetVisible(true);
    closePlayer();
    // The row after the deleted one takes its place; after the last, the one before.
    if (musicTable->RowCount() <= row) --row;
    musicTable->SetRow(row);
    loading_ = wasLoading;
    musicTableClick(musicTable);
}

void TMediaFrame::musicPopupMenuPopup(TObject*) {
    const int row = musicTable->Row();
    const bool onRow = row >= 1;
    op1->SetEnabled(onRow);
    op2->SetEnabled(onRow && mayDeleteRow(row));
    op3->SetEnabled(onRow && MayExportRecording(currentUser()));
}

void TMediaFrame::op1Click(TObject* Sender) { PlayImageClick(Sender); }
