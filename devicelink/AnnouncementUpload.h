#pragma once
// Uploading an announcement into one of the device's eight slots: the user
// picks the slot, the thread fetches a fresh nonce, answers it with counter 1
// and POSTs the file as the one part "fileToUpload2" of a multipart form over
// HTTP/1.0. The device's verdict is read from the reply's status line.
//
// A reply the device cut off after the POST counts as success: the device may
// close without a word once it has the file. A failure anywhere else (the
// nonce, the file, the connection) is reported as the failure it is. The
// upload file is deleted when the thread ends, whatever ended it (no slot
// chosen, no address, a stop): no announcement is left lying about.
#include "classes/Thread.h"
#include "devicelink/UploadUi.h"
#include "net/HttpClient.h"
#include "rtl/AnsiString.h"

#include <memory>

// Limits of a chosen announcement file.
inline constexpr int64_t kAnnouncementMaxBytes = 100000;
inline constexpr int kAnnouncementSampleRate = 8000;

// Why the connection frame's address and password cannot serve an
// announcement: IDS_NOURL, IDS_NOPASSWORD or IDS_SHORTPASS; empty when they can.
AnsiString AnnouncementAddressRefusal(const AnsiString& Address, const AnsiString& Password);

// What an upload is given when it is started, on the GUI thread.
struct TUploadSettings {
    AnsiString Address;   // the connection frame's address text, as typed
    AnsiString Password;  // its password text
};

class POSTThread : public TThread {
public:
    // Starts the upload of FileName at once; the thread frees itself when it
    // ends. At exit, WaitForFreeOnTerminateThreads with TerminateFirst ends it.
    POSTThread(const AnsiString& FileName, TUploadSettings Settings, std::shared_ptr<TUploadUi> Ui);

    // The slot the user chose; 0 before.
    int Slot = 0;
    // The file sent, deleted when the thread ends after an upload was tried.
    const AnsiString UploadFile;

protected:
    void Execute() override;

private:
    TUploadResult run();
    // The nonce and the POST; the result of the upload proper.
    TUploadResult send();
    void log(const AnsiString& Line) { ui_->Log(Line); }

    TUploadSettings settings_;
    std::shared_ptr<TUploadUi> ui_;
    THttpClient http_;
};
