#pragma once
// The simulated exchange's state, shared by its public face (DeviceSim.cpp)
// and its request handling (DeviceSimRequests.cpp).
#include "DeviceSim.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <random>

namespace devicesim {

constexpr size_t kKinds = 6;

struct TRecording {
    std::string Path;                          // a file below the folder, or
    std::shared_ptr<const std::string> Bytes;  // bytes added in code
    uint64_t Size = 0;
};

struct TSession {
    std::string NonceBytes;  // 16 bytes
    int64_t Last = 0;        // last counter accepted
    std::string LastTarget;  // the request that used it
    std::chrono::steady_clock::time_point Issued = std::chrono::steady_clock::now();
};

struct TFaultRule {
    TReplyFault Fault = TReplyFault::None;
    int Times = 0;
    int64_t After = 0;
};

struct TRawRule {
    std::vector<std::string> Bodies;
    size_t Next = 0;
    int Status = 200;
};

struct TParam {
    std::string Key, Value;
};

// MD5 of the bytes, as 16 raw bytes.
std::string Md5(const std::string& message);

}  // namespace devicesim

struct TDeviceSimulator::TImpl {
    using TRecording = devicesim::TRecording;
    using TSession = devicesim::TSession;
    using TFaultRule = devicesim::TFaultRule;
    using TRawRule = devicesim::TRawRule;
    using TParam = devicesim::TParam;
    using THttpRequest = devicesim::THttpRequest;
    using THttpReply = devicesim::THttpReply;

    devicesim::TSimServer Server;
    std::string Address = "127.0.0.1";
    bool Started = false;

    mutable std::mutex Mu;
    std::string Folder;
    std::map<std::string, TRecording> Recs;
    std::map<std::string, int> FileStatus;
    std::map<std::string, TSession> Sessions;
    std::deque<std::string> SessionOrder;
    std::random_device Random;

    std::string Key;  // MD5 of the password
    std::string Firmware = "2.1.0";
    bool WrongPassword = false, Busy = false, DownloadError = false, Malformed = false;
    int Window = 1;
    bool SingleNonce = false;
    int NonceLifetimeMs = 0;
    std::array<TFaultRule, devicesim::kKinds> Faults{};
    std::array<devicesim::TBodyFraming, devicesim::kKinds> Framing{};
    std::array<TRawRule, devicesim::kKinds> Raw{};
    int ChunkDelayMs = 0;
    size_t ChunkSize = 4096;
    int SdState = 0, CardSizeMB = 7580, PageSize = 50;
    bool NewestFirst = false, PagePerDay = false, ListPaths = false, Endless = false;
    size_t MaxUpload = 102400;
    int UploadStatus = 0;
    std::map<int, std::string> Slots;  // the announcement of each slot

    TSimCounters Counters;
    std::deque<TSimLogEntry> Log;
    std::deque<TSimAuthCheck> Checks;
    bool HaveUpload = false;
    TSimUpload Upload;
    std::function<void(const std::string&)> Hook;
    // Hook calls under way, so that a hook replaced is no longer running
    // once SetRequestHook returns: its captures may go right after.
    int HookCalls = 0;
    std::condition_variable HookIdle;

    // True on a server thread while it runs the hook.
    static bool& InHook() {
        thread_local bool inHook = false;
        return inHook;
    }

    TImpl() : Server([this](const THttpRequest& req, THttpReply& res) { Handle(req, res); }) {
        SetPassword("12345678");
    }

    void SetPassword(const std::string& password) { Key = devicesim::Md5(password); }

    void Handle(const THttpRequest& req, THttpReply& res);
    void Serve(TSimRequest kind, const THttpRequest& req, THttpReply& res);
    void Rescan();
    std::string NewNonce();
    void OpenSession(const std::string& text);
    int Authenticate(const THttpRequest& req, const std::vector<TParam>& params);
    bool TakeRaw(TSimRequest kind, THttpReply& res);
    void Succeed(TSimRequest kind, THttpReply& res, std::string body, const char* type);
    std::string SdJson();
    std::string PageJson(const std::vector<TParam>& params);
    void Download(const std::string& name, THttpReply& res);
    void Receive(const THttpRequest& req, THttpReply& res);
    std::string ListedName(const std::string& name) const;
};
