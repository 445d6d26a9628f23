// The main window's way out: the exit question, saving and cleaning up,
// and the language switch, which ends the program for a restart.
#include "classes/Thread.h"
#include "localization/Lxcomp.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "rtl/Languages.h"
#include "shell/Launcher.h"
#include "workstation/DialogLanguage.h"
#include "workstation/Mainunit.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitquestion.h"

#include <memory>

namespace {
struct FreeOnExit {
    TObject* Object;
    ~FreeOnExit() { TObject::Free(Object); }
};
}  // namespace

void TMainForm::FormClose(TObject*, TCloseAction& Action) {
    auto* dialog = NewForm<TQuestionDialog>(this);
    FreeOnExit guard{dialog};
    dialog->MessageLabel->SetCaption(text("IDS_EXIT_QUESTION"));
    dialog->SetCaption(text("IDS_EXIT_QUESTION_TITLE"));
    if (dialog->ShowModal() == mrOk)
        SaveConfigAndCleanup();
    else
        Action = caNone;
}

void TMainForm::SaveConfigAndCleanup() {
    try {
        saveSettings();
        ServerSocketOrvia->SetActive(false);
        TrayIconOrvia->SetVisible(false);
        if (ConnectFrame1->IsConnected()) ConnectFrame1->ConnectBitBtnClick(nullptr);
        // After a failed run the link is off but its loop goes on: every
        // thread of the link ends before tmp.db goes.
        ConnectFrame1->ShutdownLink();
        // An announcement upload under way gives up; it ends before the windows go.
        WaitForFreeOnTerminateThreads(5000, true);
    } catch (...) {
        // The files below go all the same.
    }
    deleteTemporaryFiles();
}

void TMainForm::deleteTemporaryFiles() {
    const AnsiString dir = ProgramDir();
    DeleteFile(dir + "config.x");
    DeleteFile(dir + "users.x");
    try {
        MediaFrame1->MediaPlayer->Close();
    } catch (...) {
        // "tmp.wav" holds a deciphered recording: it must go even so.
    }
    const AnsiString temp = TempDir();
    DeleteFile(temp + "tmp.wav");
    DeleteFile(temp + "record.wav");
    DeleteFile(dir + "tmp.db");
}

void TMainForm::ImagePLClick(TObject*) { flagClick(ImagePL); }

void TMainForm::ImageENClick(TObject*) { flagClick(ImageEN); }

void TMainForm::ImageRUClick(TObject*) { flagClick(ImageRU); }

void TMainForm::flagClick(const TImage* Flag) {
    for (int language = 1; Flag && language <= LanguageCount; ++language)
        if (Flag->Name() == LanguageNumbered(language)->Flag) return switchLanguage(language);
}

void TMainForm::switchLanguage(int Language) {
    const TlxLangDispatcher* dispatcher = ProgramLangDispatcher();
    const int old = dispatcher ? dispatcher->ActiveLanguage() : lxLang1->ActiveLanguage();
    // Only this window's texts: the question is asked in the new language.
    lxLang1->SetActLang(Language);
    if (ShowCaptionMessage(this, "Info", text("IDS_CHANGE_LANG")) != mrOk) {
        lxLang1->SetActLang(old);
        return;
    }
    const AnsiString dir = ProgramDir();
    // Without its marker the restart would bring the old language back.
    if (!FileCreateAndClose(dir + LanguageMarkerFile(Language))) {
        lxLang1->SetActLang(old);
        ShowCaptionMessage(this, text("IDS_ERROR"), text("IDS_LANG_ERROR"));
        return;
    }
    for (int other = 1; other <= LanguageCount; ++other)
        if (other != Language) DeleteFile(dir + LanguageMarkerFile(other));
    SaveConfigAndCleanup();
    // Found beside the program; it waits for us to end, then starts us again.
    ShellStart("restart.exe", {dir});
    Application->Terminate();
}
