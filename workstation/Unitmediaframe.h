#pragma once
// The centre of the main window: the list of stored recordings (musicTable)
// and below it the player panel with its image buttons, seek and volume
// bars; the row and announcement menus, the export and announcement file
// dialogs and the daily retention timer.
#include "media/MediaPlayer.h"
#include "rtl/DateTime.h"
#include "store/RecordingsQuery.h"
#include "store/SqliteDb.h"
#include "store/UserRecord.h"
#include "vcl/ComCtrls.h"
#include "vcl/ExtCtrls.h"
#include "vcl/FileDialogs.h"
#include "vcl/Forms.h"
#include "vcl/Grids.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

#include <memory>

class TlxLangLinked;
class TAddressBook;
class TFiltrFrame;
class TRecordingsLoader;
struct TRecordingsRead;

class TMediaFrame : public TFrame {
    YORDE_CLASS(TMediaFrame, TFrame)
public:
    TStringGrid* musicTable = nullptr;
    TPanel* PanelMediaBottom = nullptr;
    TLabel* TimeLabel = nullptr;
    TTrackBar* SeekTrackBar = nullptr;
    TTrackBar* VolumeTrackBar = nullptr;
    TProgressBar* VolProgressBar = nullptr;
    TMediaPlayer* MediaPlayer = nullptr;
    TImage* PlayImage = nullptr;
    TImage* PauseImage = nullptr;
    TImage* StopImage = nullptr;
    TImage* PrevImage = nullptr;
    TImage* NextImage = nullptr;
    TImage* RecImage = nullptr;
    TImage* VolImage = nullptr;
    TImage* ExportImage = nullptr;
    TImage* DeleteImage = nullptr;
    TImage* ImportImage = nullptr;
    TImage* ABookImage = nullptr;
    TTimer* Timer1 = nullptr;
    TTimer* Timer2 = nullptr;
    TTimer* RodoTimer = nullptr;
    TSaveDialog* ExportDialog = nullptr;
    TOpenDialog* RecDialog = nullptr;
    TImageList* ImageListPlay = nullptr;
    TImageList* ImageListBtn = nullptr;
    TPopupMenu* musicPopupMenu = nullptr;
    TMenuItem* op1 = nullptr;
    TMenuItem* op2 = nullptr;
    TMenuItem* op3 = nullptr;
    TPopupMenu* RecPopupMenu = nullptr;
    TMenuItem* Nagrywaniezapowiedzi1 = nullptr;
    TMenuItem* Zapowiedzwybranegopliku1 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;

    explicit TMediaFrame(TComponent* AOwner);
    ~TMediaFrame() override;

    // Once, from the main window's OnCreate: player and timers set up,
    // header row written, nothing playing or recording.
    void InitFrame();
    // The filter bounds, texts in the layout of the Files "Data" column.
    void SetDateFrom(const AnsiString& Text);
    void SetDateTo(const AnsiString& Text);
    // Rebuilds the list for the current user and filter.
    void RefreshRecordings();
    // The same without holding the GUI thread: the rows are read on a
    // thread of their own while the list stays as it is, then shown at once
    // as a refill shows them. Asked again meanwhile, it reads once more
    // after. The status line keeps its text.
    void RefreshRecordingsInBackground();
    // A background refill has been asked for and is not shown yet.
    bool ReloadUnderWay() const;
    // The header row of the list's layout; with Marked, the grid's column
    // SortedColumn carries the sort mark of its direction.
    void SetColumnHeaders(bool Marked, int SortedColumn);
    // The layout the list's rows were filled in.
    const TRecordingLayout& ListLayout() const { return *listLayout_; }
    // Deciphers a stored recording into the temporary folder and opens it.
    void OpenRecording(const AnsiString& Path);
    // The full path of a stored recording's file in the "files" folder.
    static AnsiString RecordingPath(const AnsiString& FileName);
    // Deletes the recordings older than Months months, except the one being
    // played; a database failure is reported.
    void PurgeOldRecordings(int Months);
    void UpdatePlayTime();
    void ResetPlayTime();
    // The wave-out volume as 0..100 (the right channel).
    int GetWaveVolume();

    // The ORDER BY text appended to the list query; the filter frame empties
    // it. At first the plain layout's duration, ascending (the same place
    // holds the called number in the address-book layout).
    AnsiString SortClause = RecordingsSortClause(RecordingLayout(false), TRecordingColumn::Duration, false);

    // Handlers of the list.
    void musicTableClick(TObject* Sender);
    void musicTableDblClick(TObject* Sender);
    void musicTableDrawCell(TObject* Sender, int ACol, int ARow, const TRect& Rect, TGridDrawState State);
    void musicTableKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void musicTableMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void musicTableMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void musicTableSelectCell(TObject* Sender, int ACol, int ARow, bool& CanSelect);

    // Handlers of the player.
    void PlayImageClick(TObject* Sender);
    void PauseImageClick(TObject* Sender);
    void StopImageClick(TObject* Sender);
    void PrevImageClick(TObject* Sender);
    void PrevImageDblClick(TObject* Sender);
    void NextImageClick(TObject* Sender);
    void NextImageDblClick(TObject* Sender);
    void RecImageClick(TObject* Sender);
    void VolImageClick(TObject* Sender);
    void VolImageDblClick(TObject* Sender);
    void SeekTrackBarChange(TObject* Sender);
    void SeekTrackBarKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void VolumeTrackBarChange(TObject* Sender);
    void VolumeTrackBarKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void Timer1Timer(TObject* Sender);
    void Timer2Timer(TObject* Sender);

    // Handlers of export, delete, the menus, import and the address book.
    void ExportImageClick(TObject* Sender);
    void DeleteImageClick(TObject* Sender);
    void ImportImageClick(TObject* Sender);
    void ABookImageClick(TObject* Sender);
    void musicPopupMenuPopup(TObject* Sender);
    void op1Click(TObject* Sender);
    void op2Click(TObject* Sender);
    void op3Click(TObject* Sender);
    void Nagrywaniezapowiedzi1Click(TObject* Sender);
    void Zapowiedzwybranegopliku1Click(TObject* Sender);
    void RodoTimerTimer(TObject* Sender);

    // Image buttons: the pressed picture while the mouse is down.
    void PlayImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PlayImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PauseImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PauseImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StopImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void StopImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PrevImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void PrevImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void NextImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void NextImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RecImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void RecImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void VolImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void VolImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ExportImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ExportImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DeleteImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void DeleteImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImportImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImportImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ABookImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ABookImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    // IDS_RECORDFILE_ERROR of the media catalogue: an announcement that
    // cannot be recorded into its file or saved.
    static constexpr int kRecordFileMessage = 2;

    AnsiString text(const char* Key) const;
    // The filter frame beside this one in the main window, if any.
    TFiltrFrame* filterFrame() const;
    // Whether the filter frame asks for the address-book descriptions.
    bool addressBookShown() const;
    // The normal (Pressed false) or pressed picture of an image button.
    void showButton(TImage* Image, bool Pressed);
    // The logged-in user as the main window has it (all zero without one).
    TUserRecord currentUser() const;
    // The program's status line, repainted at once (nothing without a main window).
    void setStatus(const AnsiString& Text);
    // The recordings filter as the filter frame and the user give it now.
    TRecordingsFilter currentFilter(const TUserRecord& User);
    // The row selected before a refill, and its file name when it is row 2
    // or later (else " "): found again after it.
    struct TKeptRow {
        int Row;
        AnsiString Name;
    };
    TKeptRow keptRow() const;
    // The grid hidden, without its horizontal bar, and loading_ on while its
    // rows change; endFill undoes it.
    void beginFill();
    void endFill();
    // The rows read replace the list's (when the statement ran), the last
    // row or the kept one becomes current, and the player settles.
    void showRead(TRecordingsRead& Read, const TKeptRow& Kept);
    // The end of a background reading, on the GUI thread.
    void backgroundRead(TRecordingsRead& Read, const TRecordingLayout& Layout);
    // The program's status line, when there is a main window.
    TLabel* statusLabel() const;
    // The file name of the current row ("" on the header row).
    AnsiString selectedFileName() const;
    // The grid's column of Column in the list's layout (-1 when it has none),
    // and its text in Row ("" without such a cell).
    int listColumn(TRecordingColumn Column) const;
    AnsiString listCell(TRecordingColumn Column, int Row) const;
    // Whether the user has resized the columns of Layout.
    bool& widthsKept(const TRecordingLayout& Layout);
    // Opens the current row's recording, or reports it missing when its
    // name cannot be a file of the "files" folder.
    void openSelectedRow();
    // After a refill: the player keeps what it had only when the current
    // row still names it; otherwise it is closed.
    void settlePlayer();
    // Closes the player and forgets its file and its deciphered copy. Export
    // stays: the selected row is exported from its stored file, and only a
    // failed open takes Export away.
    void closePlayer();
    // The message and status line of a failed opening (media message Code).
    void reportOpenFailure(int Code, const char* StatusKey);
    // Play from the current place; false when there was nothing to play.
    bool startPlaying();
    // Ends an announcement recording and hands the file to the upload; a
    // recording that cannot be saved gets the media message instead.
    void endRecording();
    // Starts the upload of a recorded announcement (the announcement's own unit).
    void startAnnouncementUpload(const AnsiString& FileName);
    // The seek bar moved from code: its change event must not seek.
    void setSeekFromTimer(int Position);
    // The database message (logged with What and the error's own text).
    void reportDbError(const AnsiString& What, const SqliteException& Error);
    // The status bar's progress bar, repainted at once.
    void showProgress(int Percent);
    // Exports the stored recording Name to Target with every message of a
    // failure; false when the handler must stop where it is.
    bool exportRecording(const AnsiString& Name, const AnsiString& Target);
    // Whether the delete right allows the recording of the list's Row.
    bool mayDeleteRow(int Row) const;
    // Deletes the recording Name for good and takes its row off the list.
    void deleteRecording(const AnsiString& Name);
    // Takes Name's row off the list and opens the recording selected then;
    // fills the list afresh when Name is no longer on it.
    void removeListRow(const AnsiString& Name);
    // The file name of the recording playing or paused, else empty.
    AnsiString playingName() const;

    bool seekSetByTimer_ = true;
    // The direction of the last sort by each column; all start descending.
    bool sortDescending_[kRecordingColumnKinds];
    bool muted_ = false;
    bool loading_ = false;
    AnsiString dateTo_;
    AnsiString dateFrom_;
    int savedVolume_ = 0;
    bool recording_ = false;
    bool widths4Kept_ = false;  // the plain layout's
    bool widths6Kept_ = false;  // the address-book layout's
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    TAddressBook* addressBookForm_ = nullptr;
    TDateTime nextPurge_ = 0;
    SqliteDb db_;
    // The recording open in the player (its full path), empty when none.
    AnsiString openedPath_;
    // Refills begun and rows taken off the list, so far: a background
    // reading that either overtook is not shown.
    unsigned listFills_ = 0;
    unsigned listEdits_ = 0;
    struct TReload {
        bool Running = false;
        bool Again = false;
        unsigned Fills = 0;
        unsigned Edits = 0;
    } reload_;
    std::unique_ptr<TRecordingsLoader> loader_;
    const TRecordingLayout* listLayout_ = &RecordingLayout(false);
};
