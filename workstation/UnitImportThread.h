#pragma once
// The SD-card import's worker. It pauses the device link, imports the
// card's recordings (store/CardImport.h) while the status bar shows the
// progress, then clears the filter's date bounds, reloads the list, clears
// the status bar and starts the link's refresh loop again, also after files
// that failed. Every control is touched on the main thread; the link is paused
// and restarted there too.
#include "classes/Thread.h"
#include "store/CardImport.h"

class TComponent;
class TMainForm;

// Texts of the import in the language of the moment it was started.
struct TImportTexts {
    AnsiString Importing;  // the status line while it runs
    AnsiString ErrorCaption;
    AnsiString DiskFull;
    AnsiString Failed;  // followed by the number of recordings left out
};

class ImportThread : public TThread, private ICardImportSink {
public:
    // Starts at once.
    ImportThread(const AnsiString& Drive, const TImportTexts& Texts);

    AnsiString Drive;

protected:
    void Execute() override;

private:
    void Log(const AnsiString& Line) override;
    void Progress(int Percent) override;
    void Reload() override;
    bool StopRequested() override { return Terminated(); }

    // Runs Call on the main thread and waits, unless the import was asked
    // to stop or the main window is going.
    void onMain(const std::function<void(TMainForm&)>& Call);
    void finish(TMainForm& Main, const TCardImportResult& Result);

    TImportTexts texts_;
};

// Starts an import of the card mounted at Drive unless one is running
// (false then). Owner keeps the import: it is asked to stop between two
// files and waited for before Owner, or a frame it touches, goes.
bool StartCardImport(TComponent* Owner, const AnsiString& Drive, const TImportTexts& Texts);
// An import is running; the device link stays paused until it ends.
bool CardImportRunning();
// Asks a running import to stop after its current file and waits for it.
void StopCardImport();
