#include "DeviceSim.h"

#include "DeviceSimImpl.h"

TDeviceSimulator::TDeviceSimulator() : Impl(std::make_unique<TImpl>()) {}

TDeviceSimulator::~TDeviceSimulator() { Stop(); }

bool TDeviceSimulator::Start(int port, const std::string& address) {
    TImpl& d = *Impl;
    if (d.Started) return false;
    d.Started = true;
    d.Address = address;
    return d.Server.Start(address, port);
}

int TDeviceSimulator::Port() const { return Impl->Server.Port(); }

std::string TDeviceSimulator::BaseUrl() const {
    const int port = Port();
    return "http://" + Impl->Address + (port == 80 ? std::string() : ":" + std::to_string(port));
}

void TDeviceSimulator::Stop() { Impl->Server.Stop(); }

void TDeviceSimulator::SetIdleTimeout(int ms) { Impl->Server.SetIdleTimeout(ms); }

void TDeviceSimulator::SetFolder(const std::string& root) {
    {
        std::lock_guard lk(Impl->Mu);
        Impl->Folder = root;
    }
    Impl->Rescan();
}

void TDeviceSimulator::AddRecording(const std::string& name, std::string bytes) {
    std::lock_guard lk(Impl->Mu);
    const uint64_t size = bytes.size();
    Impl->Recs[name] = devicesim::TRecording{{}, std::make_shared<const std::string>(std::move(bytes)), size};
}

void TDeviceSimulator::RemoveRecording(const std::string& name) {
    std::lock_guard lk(Impl->Mu);
    Impl->Recs.erase(name);
}

size_t TDeviceSimulator::RecordingCount() const {
    std::lock_guard lk(Impl->Mu);
    return Impl->Recs.size();
}

void TDeviceSimulator::SetPassword(const std::string& password) {
    std::lock_guard lk(Impl->Mu);
    Impl->SetPassword(password);
}

#define YORDE_SIM_SET(Method, Type, Field)      \
    void TDeviceSimulator::Method(Type value) { \
        std::lock_guard lk(Impl->Mu);           \
        Impl->Field = value;                    \
    }
YORDE_SIM_SET(SetFirmwareVersion, const std::string&, Firmware)
YORDE_SIM_SET(SetWrongPassword, bool, WrongPassword)
YORDE_SIM_SET(SetBusy, bool, Busy)
YORDE_SIM_SET(SetDownloadError, bool, DownloadError)
YORDE_SIM_SET(SetMalformedJson, bool, Malformed)
YORDE_SIM_SET(SetPageSize, int, PageSize)
YORDE_SIM_SET(SetMaxUploadBytes, size_t, MaxUpload)
YORDE_SIM_SET(SetUploadStatus, int, UploadStatus)
YORDE_SIM_SET(SetCounterWindow, int, Window)
YORDE_SIM_SET(SetSingleNonce, bool, SingleNonce)
YORDE_SIM_SET(SetNonceLifetime, int, NonceLifetimeMs)
YORDE_SIM_SET(SetNewestFirst, bool, NewestFirst)
YORDE_SIM_SET(SetPagePerDay, bool, PagePerDay)
YORDE_SIM_SET(SetListPaths, bool, ListPaths)
YORDE_SIM_SET(SetEndlessList, bool, Endless)
#undef YORDE_SIM_SET

void TDeviceSimulator::SetMissing(const std::string& name, bool missing) { SetFileStatus(name, missing ? 404 : 0); }

void TDeviceSimulator::SetFileStatus(const std::string& name, int status) {
    std::lock_guard lk(Impl->Mu);
    if (status)
        Impl->FileStatus[name] = status;
    else
        Impl->FileStatus.erase(name);
}

void TDeviceSimulator::SetFault(TSimRequest kind, TReplyFault fault, int times, int64_t afterBytes) {
    std::lock_guard lk(Impl->Mu);
    Impl->Faults[size_t(kind)] = fault == TReplyFault::None || times == 0
                                     ? devicesim::TFaultRule{}
                                     : devicesim::TFaultRule{fault, times, afterBytes};
}

void TDeviceSimulator::SetDrop(TSimRequest kind, int64_t afterBytes, int times) {
    if (afterBytes < 0)
        SetFault(kind, TReplyFault::None);
    else
        SetFault(kind, TReplyFault::CutBody, times, afterBytes);
}

void TDeviceSimulator::SetFraming(TSimRequest kind, TBodyFraming framing) {
    std::lock_guard lk(Impl->Mu);
    Impl->Framing[size_t(kind)] = framing;
}

void TDeviceSimulator::SetSlowReplies(int delayMs, size_t chunkSize) {
    std::lock_guard lk(Impl->Mu);
    Impl->ChunkDelayMs = delayMs;
    Impl->ChunkSize = chunkSize;
}

void TDeviceSimulator::SetRawReplies(TSimRequest kind, std::vector<std::string> bodies, int status) {
    std::lock_guard lk(Impl->Mu);
    Impl->Raw[size_t(kind)] = devicesim::TRawRule{std::move(bodies), 0, status};
}

void TDeviceSimulator::SetSdState(int state, int cardSizeMB) {
    std::lock_guard lk(Impl->Mu);
    Impl->SdState = state;
    Impl->CardSizeMB = cardSizeMB;
}

TSimCounters TDeviceSimulator::Counters() const {
    std::lock_guard lk(Impl->Mu);
    return Impl->Counters;
}

std::vector<std::string> TDeviceSimulator::Requests() const {
    std::lock_guard lk(Impl->Mu);
    std::vector<std::string> lines;
    for (const TSimLogEntry& e : Impl->Log)
        lines.push_back(e.Method + " " + e.Path + (e.Query.empty() ? std::string() : "?" + e.Query));
    return lines;
}

std::vector<TSimLogEntry> TDeviceSimulator::Log() const {
    std::lock_guard lk(Impl->Mu);
    return {Impl->Log.begin(), Impl->Log.end()};
}

std::vector<TSimAuthCheck> TDeviceSimulator::AuthChecks() const {
    std::lock_guard lk(Impl->Mu);
    return {Impl->Checks.begin(), Impl->Checks.end()};
}

std::vector<std::string> TDeviceSimulator::ConnectionEvents() const { return Impl->Server.Events(); }
int64_t TDeviceSimulator::BytesServed() const { return Impl->Server.BytesServed(); }
int64_t TDeviceSimulator::ConnectionsAccepted() const { return Impl->Server.Connections(); }

bool TDeviceSimulator::LastUpload(TSimUpload& upload) const {
    std::lock_guard lk(Impl->Mu);
    if (Impl->HaveUpload) upload = Impl->Upload;
    return Impl->HaveUpload;
}

std::string TDeviceSimulator::Announcement(int slot) const {
    std::lock_guard lk(Impl->Mu);
    const auto it = Impl->Slots.find(slot);
    return it == Impl->Slots.end() ? std::string() : it->second;
}

void TDeviceSimulator::SetRequestHook(std::function<void(const std::string&)> hook) {
    std::unique_lock lk(Impl->Mu);
    Impl->Hook = std::move(hook);
    // A hook that replaces itself cannot wait for its own end.
    if (!TImpl::InHook()) Impl->HookIdle.wait(lk, [&] { return Impl->HookCalls == 0; });
}
