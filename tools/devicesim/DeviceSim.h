#pragma once
// A stand-in for the call-recording exchange: an HTTP server on 127.0.0.1
// that speaks the exchange's protocol, for tests, benchmarks and trying the
// program by hand. The protocol choices are listed at the top of DeviceSim.cpp.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The replies a switch can be aimed at.
enum class TSimRequest { Preload, Nonce, SdData, RecordList, Record, Upload };

struct TSimCounters {
    int64_t Preload = 0, Nonce = 0, SdData = 0, RecordList = 0, Record = 0, Upload = 0;
    int64_t Rejected = 0;  // 405 replies: wrong password, unknown nonce, stale counter
    int64_t Other = 0;     // requests for paths the device does not serve
};

// The last upload the device accepted.
struct TSimUpload {
    std::string Type, Slot;          // query parameters "type" and "id"
    std::string FieldName;           // form field of the part
    std::string FileName;            // filename="..." as the client sent it
    std::string PartContentType;     // Content-Type of the part
    std::string Data;                // the part's bytes
    std::string RequestContentType;  // Content-Type header of the request
    std::string Version;             // "HTTP/1.0" or "HTTP/1.1"
    std::string Body;                // the whole request body, byte for byte
};

class TDeviceSimulator {
public:
    TDeviceSimulator();
    ~TDeviceSimulator();
    TDeviceSimulator(const TDeviceSimulator&) = delete;
    TDeviceSimulator& operator=(const TDeviceSimulator&) = delete;

    // Binds 127.0.0.1 (port 0: any free port) and serves on its own threads.
    // False when the port cannot be bound. One Start per object.
    bool Start(int port = 0);
    int Port() const;
    // Ends every transfer, including slow ones, and joins the server threads.
    void Stop();

    // Recordings: every *.wav below root (kept as root/YYYY/MM/DD/name.wav),
    // scanned now and again at every nonce request; plus those added in code,
    // which win over a file of the same name.
    void SetFolder(const std::string& root);
    void AddRecording(const std::string& name, std::string bytes);
    size_t RecordingCount() const;

    void SetPassword(const std::string& password);
    void SetFirmwareVersion(const std::string& version);
    void SetWrongPassword(bool on);                                 // every authenticated request gets 405
    void SetBusy(bool on);                                          // every authenticated request gets 423
    void SetMissing(const std::string& name, bool missing = true);  // 404 for that file
    void SetDownloadError(bool on);                                 // every file request gets 400
    // Cuts the body of the next `times` replies of that kind (-1: all of them)
    // after `afterBytes` bytes and closes the connection; the announced length
    // stays the full one. afterBytes < 0 clears the switch.
    void SetDrop(TSimRequest kind, int64_t afterBytes, int times = -1);
    // Every successful reply goes out in chunks of chunkSize bytes with delayMs
    // before each (error replies stay fast); 0 turns it off.
    void SetSlowReplies(int delayMs, size_t chunkSize = 4096);
    void SetMalformedJson(bool on);  // SD and record-list replies are cut short
    void SetSdState(int state, int cardSizeMB = 7580);
    void SetPageSize(int files);           // at least one file per page
    void SetMaxUploadBytes(size_t bytes);  // larger uploads get 403

    TSimCounters Counters() const;
    // Request lines ("GET /path?query") as received, the latest 10000.
    std::vector<std::string> Requests() const;
    // False while no upload has been accepted.
    bool LastUpload(TSimUpload& upload) const;
    // Called on a server thread with each request line (for a verbose log).
    void SetRequestHook(std::function<void(const std::string&)> hook);

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
};
