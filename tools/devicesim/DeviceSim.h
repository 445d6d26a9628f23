#pragma once
// A stand-in for the call-recording exchange: an HTTP server on a loopback
// address that speaks the exchange's protocol as strictly as the device does,
// for tests, benchmarks and trying the program by hand. The protocol choices
// are listed at the top of DeviceSim.cpp.
#include "SimServer.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using devicesim::TBodyFraming;
using devicesim::TReplyFault;

// The replies a switch can be aimed at.
enum class TSimRequest { Preload, Nonce, SdData, RecordList, Record, Upload };

struct TSimCounters {
    int64_t Preload = 0, Nonce = 0, SdData = 0, RecordList = 0, Record = 0, Upload = 0;
    int64_t Rejected = 0;   // 405 replies: wrong password, unknown nonce, stale counter
    int64_t Malformed = 0;  // 400 replies to requests of the wrong shape
    int64_t Other = 0;      // requests for paths the device does not serve
};

// The last upload the device accepted.
struct TSimUpload {
    std::string Type, Slot;          // query parameters "type" and "id"
    std::string FieldName;           // form field of the part
    std::string FileName;            // filename="..." as the client sent it
    std::string PartContentType;     // Content-Type of the part
    std::string Data;                // the part's bytes, as RFC 2046 delimits them
    std::string File;                // the announcement file: Data without the client's CR LF
    std::string RequestContentType;  // Content-Type header of the request
    std::string Version;             // "HTTP/1.0" or "HTTP/1.1"
    std::string Body;                // the whole request body, byte for byte
};

// One request as received and what became of it.
struct TSimLogEntry {
    int Connection = 0;
    std::string Method, Path, Query, Version;  // Query raw, order kept
    std::vector<std::pair<std::string, std::string>> Headers;
    std::string Body;
    int Status = 0;  // 0: no status line was sent (a fault)
};

// One check of a nonce and response.
struct TSimAuthCheck {
    std::string Path;
    std::string Nonce;
    int64_t Counter = -1;  // the counter the response was made with; -1 unknown
    bool Accepted = false;
    std::string Reason;  // why it was refused
};

class TDeviceSimulator {
public:
    TDeviceSimulator();
    ~TDeviceSimulator();
    TDeviceSimulator(const TDeviceSimulator&) = delete;
    TDeviceSimulator& operator=(const TDeviceSimulator&) = delete;

    // Binds address:port (port 0: any free port) and serves on its own
    // threads. False when it cannot be bound. One Start per object.
    bool Start(int port = 0, const std::string& address = "127.0.0.1");
    int Port() const;
    // "http://address:port", or "http://address" on port 80.
    std::string BaseUrl() const;
    // Ends every transfer, including stalled ones, and joins the server threads.
    void Stop();
    // A kept-alive connection idle this long is closed (default 5000 ms).
    void SetIdleTimeout(int ms);

    // Recordings: every *.wav below root (kept as root/YYYY/MM/DD/name.wav),
    // scanned now and again at every nonce request; plus those added in code,
    // which win over a file of the same name.
    void SetFolder(const std::string& root);
    void AddRecording(const std::string& name, std::string bytes);
    void RemoveRecording(const std::string& name);
    size_t RecordingCount() const;

    void SetPassword(const std::string& password);
    void SetFirmwareVersion(const std::string& version);
    void SetWrongPassword(bool on);                                 // every authenticated request gets 405
    void SetBusy(bool on);                                          // every authenticated request gets 423
    void SetMissing(const std::string& name, bool missing = true);  // 404 for that file
    // That file gets this error status (0 clears it).
    void SetFileStatus(const std::string& name, int status);
    void SetDownloadError(bool on);  // every file request gets 400

    // Authentication. Window 1 (the default) accepts only the counter one
    // above the last accepted, or the very same request again (a retry of a
    // reply that went wrong); a larger window accepts any counter up to that
    // far above the last. With a single nonce, a new nonce ends the older
    // ones. A lifetime above 0 ends a nonce that many ms after it was issued.
    void SetCounterWindow(int window);
    void SetSingleNonce(bool on);
    void SetNonceLifetime(int ms);

    // The next `times` replies of that kind (-1: all) go out with the fault
    // (afterBytes: the body bytes before a cut or a stall). None clears it.
    void SetFault(TSimRequest kind, TReplyFault fault, int times = -1, int64_t afterBytes = 0);
    // Cuts the body of the next `times` replies of that kind after
    // `afterBytes` bytes and closes the connection; afterBytes < 0 clears it.
    void SetDrop(TSimRequest kind, int64_t afterBytes, int times = -1);
    // How successful replies of that kind delimit their bodies.
    void SetFraming(TSimRequest kind, TBodyFraming framing);
    // Every successful reply goes out in chunks of chunkSize bytes with delayMs
    // before each (error replies stay fast); 0 turns it off.
    void SetSlowReplies(int delayMs, size_t chunkSize = 4096);

    // Replies of that kind with these bodies in place of the device's own,
    // one per request, the last one repeating; an empty list ends it. A raw
    // nonce is accepted by the authentication like one of the device's.
    void SetRawReplies(TSimRequest kind, std::vector<std::string> bodies, int status = 200);
    void SetMalformedJson(bool on);  // SD and record-list replies cut short
    void SetSdState(int state, int cardSizeMB = 7580);

    // The record list: files per page (at least one), newest first instead
    // of oldest first, one page per day from the day asked for (empty days
    // included), "n" as a backslash path ROZMOWY\YYYY\MM\DD\name, and a list
    // whose id never becomes 0 (past its end, one id again and again).
    void SetPageSize(int files);
    void SetNewestFirst(bool on);
    void SetPagePerDay(bool on);
    void SetListPaths(bool on);
    void SetEndlessList(bool on);
    void SetMaxUploadBytes(size_t bytes);  // larger uploads get 403
    // Uploads that pass every check get this status instead of 200, the
    // slot left as it was; 0 clears it.
    void SetUploadStatus(int status);

    TSimCounters Counters() const;
    // Request lines ("GET /path?query") as received, the latest 10000.
    std::vector<std::string> Requests() const;
    // Every request in full, the latest 10000.
    std::vector<TSimLogEntry> Log() const;
    std::vector<TSimAuthCheck> AuthChecks() const;
    // Connection events of the server ("3 accepted", "3 closed: body cut").
    std::vector<std::string> ConnectionEvents() const;
    int64_t BytesServed() const;
    int64_t ConnectionsAccepted() const;
    // False while no upload has been accepted.
    bool LastUpload(TSimUpload& upload) const;
    // The announcement file slot 1..8 holds; empty when none was uploaded.
    std::string Announcement(int slot) const;
    // Called on a server thread with each request line (for a verbose log).
    void SetRequestHook(std::function<void(const std::string&)> hook);

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};
