// The simulated exchange. What the real device does is fixed only as far as
// the client reads it; where the client leaves the device's side open, this
// server does the simplest thing the client copes with:
//
// - GET /preload.cgi: {"model":"Yorde PBX","version": "2.1.0"} with exactly
//   one blank after the colon (the client reads the version at a fixed
//   offset behind the key). No authentication.
// - GET /get_nonce.cgi: 16 random bytes as 32 lower-case hex digits, text/plain,
//   no line end. Every nonce opens a session with its own request counter;
//   the 64 most recent sessions stay valid (a status bar may keep one for
//   hours), older ones are forgotten. The recordings folder is rescanned here,
//   so every sync run sees the files present when it started.
// - Authenticated requests carry nonce= and response=; the response must be
//   the lower-case hex MD5 of MD5(password), the 16 nonce bytes and the
//   decimal counter. The device accepts the counter one above the last one it
//   accepted on that nonce (the first is 1), or the last one again, because
//   the client repeats a request with the very same URL after a dropped
//   connection. Anything else, an unknown nonce or missing parameters get 405.
//   Checks run in this order: authentication (405), busy (423), then the
//   request's own checks.
// - GET /get_data.cgi: {"sd":{"state":S,"cardSize":C,"recSize":R}}, R being the
//   size of all recordings in whole MiB. The sd parameter is not required.
// - GET /recordlist.cgi[&id=N][&year=YYYY&month=MM&day=DD]: recordings sorted
//   by name (names start with date and time, so this is oldest first). With
//   all three date parameters only names that compare, as text, at or after
//   YYYYMMDD are listed: the client passes the date of its newest stored
//   recording, so that day is listed again and the client drops what it has.
//   "n" is the bare file name (no folders), "s" the size in bytes. "id" is the
//   position of the next page in that list, 0 after the last page; an id that
//   is not a number reads as 0 (the first page).
// - GET /record.cgi&file=NAME: the file's bytes exactly as kept (the stored
//   form: plain 60-byte header, enciphered audio), audio/x-wav, with its length
//   announced. NAME is the "n" of the list. Unknown or missing names get 404,
//   the download-error switch 400.
// - POST /upload.cgi?type=announcement&id=1..8: a multipart/form-data body
//   whose first part is the form field "fileToUpload2". The part's bytes are
//   what RFC 2046 delimits: everything up to the CR LF before the closing
//   delimiter (the client puts an extra CR LF there, so those bytes end with
//   it). Another field name, another type, a slot outside 1..8 or a body that
//   does not parse get 400; a part over the upload limit (default 102400
//   bytes) 403; success 200 with the body "OK".
// - Error replies are text/plain "<status> <reason>", so the status digits are
//   in the body where the client looks for them. Unknown paths get httplib's
//   bodiless 404.
// - Replies are never compressed, whatever the client accepts, so the length
//   announced is the length sent. Idle keep-alive connections are closed
//   after one second.
#include "DeviceSim.h"

#include "SimMultipart.h"
#include "devicelink/Unitmd5.h"

#include <httplib.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxSessions = 64;
constexpr size_t kMaxLoggedRequests = 10000;

struct TRecording {
    std::string Path;                          // a file below the folder, or
    std::shared_ptr<const std::string> Bytes;  // bytes added in code
    uint64_t Size = 0;
};

struct TSession {
    uint8_t Nonce[16];
    int64_t Last = 0;  // last counter accepted
};

struct TDropRule {
    int64_t After = -1;
    int Times = 0;
};

std::string Md5Hex(const std::string& message) {
    MD5_CTX ctx;
    uint8_t digest[16];
    char hex[33];
    MD5Init(&ctx);
    MD5Update(&ctx, message.data(), uint32_t(message.size()));
    MD5ToHex(MD5Final(&ctx, digest), hex, sizeof hex);
    return hex;
}

std::string JsonText(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

bool AllDigits(const std::string& s) {
    return !s.empty() && s.size() <= 9 &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

bool IsWav(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".wav";
}

constexpr char kUploadType[] = "X-Sim-Upload-Content-Type";

// Two things httplib would otherwise do that the device does not: compress
// replies, and parse multipart bodies itself (its parser wants a line end
// after the closing delimiter, which the client does not send, and it keeps
// no raw body). The upload's Content-Type is moved aside and read back in
// Receive.
void HideFromHttplib(httplib::Request& req) {
    req.headers.erase("Accept-Encoding");
    if (req.is_multipart_form_data()) {
        const std::string type = req.get_header_value("Content-Type");
        req.headers.erase("Content-Type");
        req.headers.emplace("Content-Type", "application/octet-stream");
        req.headers.emplace(kUploadType, type);
    }
}

void SendError(httplib::Response& res, int status) {
    const char* reason = status == 405   ? "Wrong password"
                         : status == 423 ? "Busy"
                         : status == 404 ? "Not Found"
                         : status == 403 ? "Forbidden"
                                         : "Bad Request";
    res.status = status;
    res.set_content(std::to_string(status) + " " + reason, "text/plain");
}

}  // namespace

struct TDeviceSimulator::TImpl {
    httplib::Server Server;
    std::thread Thread;
    std::atomic<bool> ListenReturned{false};
    int BoundPort = -1;
    bool Started = false;

    mutable std::mutex Mu;
    std::condition_variable StopCv;
    bool Stopping = false;

    std::string Folder;
    std::map<std::string, TRecording> Recs;
    std::set<std::string> Missing;
    std::map<std::string, TSession> Sessions;
    std::deque<std::string> SessionOrder;
    std::random_device Random;

    std::string Key;  // MD5 of the password
    std::string Firmware = "2.1.0";
    bool WrongPassword = false, Busy = false, DownloadError = false, Malformed = false;
    std::array<TDropRule, 6> Drops{};
    int ChunkDelayMs = 0;
    size_t ChunkSize = 4096;
    int SdState = 0, CardSizeMB = 7580, PageSize = 50;
    size_t MaxUpload = 102400;

    TSimCounters Counters;
    std::deque<std::string> Log;
    bool HaveUpload = false;
    TSimUpload Upload;
    std::function<void(const std::string&)> Hook;

    TImpl() { SetPassword("12345678"); }

    void SetPassword(const std::string& password) {
        MD5_CTX ctx;
        uint8_t digest[16];
        MD5Init(&ctx);
        MD5Update(&ctx, password.data(), uint32_t(password.size()));
        MD5Final(&ctx, digest);
        Key.assign(reinterpret_cast<const char*>(digest), 16);
    }

    void Routes();
    void Rescan();
    std::string NewNonce();
    int Authenticate(const httplib::Request& req);
    void Send(TSimRequest kind, httplib::Response& res, std::string body, const char* type);
    std::string SdJson();
    std::string PageJson(const httplib::Request& req);
    void Download(const httplib::Request& req, httplib::Response& res);
    void Receive(const httplib::Request& req, httplib::Response& res, const std::string& body);
};

void TDeviceSimulator::TImpl::Rescan() {
    std::string root;
    {
        std::lock_guard lk(Mu);
        root = Folder;
    }
    if (root.empty()) return;
    std::map<std::string, TRecording> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code fe;
        if (!it->is_regular_file(fe) || !IsWav(it->path())) continue;
        const std::string name = it->path().filename().string();
        const std::string path = it->path().string();
        auto [slot, fresh] = found.try_emplace(name);
        // Two folders holding one name: the first path in text order serves.
        if (fresh || path < slot->second.Path) slot->second = TRecording{path, nullptr, uint64_t(it->file_size(fe))};
    }
    std::lock_guard lk(Mu);
    std::erase_if(Recs, [](const auto& r) { return !r.second.Bytes; });
    for (auto& [name, rec] : found) Recs.try_emplace(name, std::move(rec));
}

std::string TDeviceSimulator::TImpl::NewNonce() {
    static const char kDigits[] = "0123456789abcdef";
    std::lock_guard lk(Mu);
    TSession session;
    std::string text;
    for (int i = 0; i < 16; i += 4) {
        uint32_t r = Random();
        for (int k = 0; k < 4; ++k) session.Nonce[i + k] = uint8_t(r >> (8 * k));
    }
    for (uint8_t b : session.Nonce) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    Sessions[text] = session;
    SessionOrder.push_back(text);
    if (SessionOrder.size() > kMaxSessions) {
        Sessions.erase(SessionOrder.front());
        SessionOrder.pop_front();
    }
    return text;
}

int TDeviceSimulator::TImpl::Authenticate(const httplib::Request& req) {
    std::lock_guard lk(Mu);
    auto session = Sessions.find(req.get_param_value("nonce"));
    if (!WrongPassword && session != Sessions.end()) {
        const std::string response = req.get_param_value("response");
        const std::string prefix = Key + std::string(reinterpret_cast<const char*>(session->second.Nonce), 16);
        for (int64_t counter : {session->second.Last + 1, session->second.Last}) {
            if (counter >= 1 && Md5Hex(prefix + std::to_string(counter)) == response) {
                session->second.Last = counter;
                return Busy ? 423 : 0;
            }
        }
    }
    ++Counters.Rejected;
    return 405;
}

void TDeviceSimulator::TImpl::Send(TSimRequest kind, httplib::Response& res, std::string body, const char* type) {
    auto data = std::make_shared<const std::string>(std::move(body));
    int delay;
    size_t chunk;
    int64_t limit = -1;
    {
        std::lock_guard lk(Mu);
        delay = ChunkDelayMs;
        chunk = std::max<size_t>(1, ChunkSize);
        TDropRule& rule = Drops[size_t(kind)];
        if (rule.After >= 0 && rule.Times != 0) {
            limit = rule.After;
            if (rule.Times > 0) --rule.Times;
        }
    }
    res.status = 200;
    if (delay <= 0 && limit < 0) {
        res.set_content(*data, type);
        return;
    }
    res.set_content_provider(
        data->size(), type, [this, data, delay, chunk, limit](size_t offset, size_t length, httplib::DataSink& sink) {
            if (limit >= 0 && offset >= size_t(limit)) return false;  // closes the connection mid-body
            size_t n = std::min(length, chunk);
            if (limit >= 0) n = std::min(n, size_t(limit) - offset);
            if (delay > 0) {
                std::unique_lock lk(Mu);
                if (StopCv.wait_for(lk, std::chrono::milliseconds(delay), [this] { return Stopping; })) return false;
            }
            return sink.write(data->data() + offset, n);
        });
}

std::string TDeviceSimulator::TImpl::SdJson() {
    std::lock_guard lk(Mu);
    uint64_t total = 0;
    for (const auto& r : Recs) total += r.second.Size;
    std::string json = "{\"sd\":{\"state\":" + std::to_string(SdState) + ",\"cardSize\":" + std::to_string(CardSizeMB) +
                       ",\"recSize\":" + std::to_string(total / 1048576) + "}}";
    if (Malformed) json.pop_back();
    return json;
}

std::string TDeviceSimulator::TImpl::PageJson(const httplib::Request& req) {
    const std::string idText = req.get_param_value("id");
    const size_t from = AllDigits(idText) ? size_t(std::stoul(idText)) : 0;
    std::string dateKey;
    const std::string y = req.get_param_value("year"), m = req.get_param_value("month"), d = req.get_param_value("day");
    if (AllDigits(y) && AllDigits(m) && AllDigits(d)) {
        char key[32];
        std::snprintf(key, sizeof key, "%04d%02d%02d", std::stoi(y) % 10000, std::stoi(m) % 100, std::stoi(d) % 100);
        dateKey = key;
    }

    std::lock_guard lk(Mu);
    auto it = Recs.lower_bound(dateKey);
    size_t index = 0;
    for (; it != Recs.end() && index < from; ++it) ++index;
    std::string files;
    for (int n = 0; it != Recs.end() && n < std::max(1, PageSize); ++it, ++n) {
        if (!files.empty()) files += ',';
        files += "{\"n\":" + JsonText(it->first) + ",\"s\":" + std::to_string(it->second.Size) + "}";
        ++index;
    }
    const size_t next = it == Recs.end() ? 0 : index;
    std::string json = "{\"recordlist\":{\"id\":" + std::to_string(next) + ",\"files\":[" + files + "]}}";
    if (Malformed) json.pop_back();
    return json;
}

void TDeviceSimulator::TImpl::Download(const httplib::Request& req, httplib::Response& res) {
    const std::string name = req.get_param_value("file");
    TRecording rec;
    {
        std::lock_guard lk(Mu);
        auto it = Recs.find(name);
        if (it == Recs.end() || Missing.count(name)) return SendError(res, 404);
        if (DownloadError) return SendError(res, 400);
        rec = it->second;
    }
    std::string bytes;
    if (rec.Bytes) {
        bytes = *rec.Bytes;
    } else {
        std::ifstream in(rec.Path, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        if (!in) return SendError(res, 404);
        bytes = std::move(all).str();
    }
    Send(TSimRequest::Record, res, std::move(bytes), "audio/x-wav");
}

void TDeviceSimulator::TImpl::Receive(const httplib::Request& req, httplib::Response& res, const std::string& body) {
    TSimUpload up;
    up.Type = req.get_param_value("type");
    up.Slot = req.get_param_value("id");
    up.RequestContentType = req.get_header_value(req.has_header(kUploadType) ? kUploadType : "Content-Type");
    up.Version = req.version;
    devicesim::TFormPart part;
    if (!devicesim::FirstFormPart(body, devicesim::BoundaryOf(up.RequestContentType), part) ||
        part.Name != "fileToUpload2" || up.Type != "announcement" || !AllDigits(up.Slot) || std::stoi(up.Slot) < 1 ||
        std::stoi(up.Slot) > 8)
        return SendError(res, 400);
    {
        std::lock_guard lk(Mu);
        if (part.Data.size() > MaxUpload) return SendError(res, 403);
        up.FieldName = part.Name;
        up.FileName = part.FileName;
        up.PartContentType = part.ContentType;
        up.Data = std::move(part.Data);
        up.Body = body;
        Upload = std::move(up);
        HaveUpload = true;
    }
    Send(TSimRequest::Upload, res, "OK", "text/plain");
}

void TDeviceSimulator::TImpl::Routes() {
    using httplib::Request;
    using httplib::Response;
    Server.set_pre_routing_handler([this](const Request& req, Response&) {
        // The request object is not const in the server, only this view of it.
        HideFromHttplib(const_cast<Request&>(req));
        const std::string line = req.method + " " + req.target;
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard lk(Mu);
            Log.push_back(line);
            if (Log.size() > kMaxLoggedRequests) Log.pop_front();
            static const std::set<std::string> known = {"/preload.cgi",    "/get_nonce.cgi", "/get_data.cgi",
                                                        "/recordlist.cgi", "/record.cgi",    "/upload.cgi"};
            if (!known.count(req.path)) ++Counters.Other;
            hook = Hook;
        }
        if (hook) hook(line);
        return httplib::Server::HandlerResponse::Unhandled;
    });

    auto count = [this](int64_t TSimCounters::*field) {
        std::lock_guard lk(Mu);
        ++(Counters.*field);
    };

    Server.Get("/preload.cgi", [this, count](const Request&, Response& res) {
        count(&TSimCounters::Preload);
        std::string version;
        {
            std::lock_guard lk(Mu);
            version = Firmware;
        }
        Send(TSimRequest::Preload, res, "{\"model\":\"Yorde PBX\",\"version\": " + JsonText(version) + "}",
             "application/json");
    });
    Server.Get("/get_nonce.cgi", [this, count](const Request&, Response& res) {
        count(&TSimCounters::Nonce);
        Rescan();
        Send(TSimRequest::Nonce, res, NewNonce(), "text/plain");
    });
    Server.Get("/get_data.cgi", [this, count](const Request& req, Response& res) {
        count(&TSimCounters::SdData);
        if (int status = Authenticate(req)) return SendError(res, status);
        Send(TSimRequest::SdData, res, SdJson(), "application/json");
    });
    Server.Get("/recordlist.cgi", [this, count](const Request& req, Response& res) {
        count(&TSimCounters::RecordList);
        if (int status = Authenticate(req)) return SendError(res, status);
        Send(TSimRequest::RecordList, res, PageJson(req), "application/json");
    });
    Server.Get("/record.cgi", [this, count](const Request& req, Response& res) {
        count(&TSimCounters::Record);
        if (int status = Authenticate(req)) return SendError(res, status);
        Download(req, res);
    });
    Server.Post("/upload.cgi", [this, count](const Request& req, Response& res, const httplib::ContentReader& reader) {
        // Read the whole body first, so a refused upload leaves the
        // connection in a sane state.
        std::string body;
        reader([&](const char* data, size_t length) {
            body.append(data, length);
            return true;
        });
        count(&TSimCounters::Upload);
        if (int status = Authenticate(req)) return SendError(res, status);
        Receive(req, res, body);
    });
}

TDeviceSimulator::TDeviceSimulator() : Impl(std::make_unique<TImpl>()) { Impl->Routes(); }

TDeviceSimulator::~TDeviceSimulator() { Stop(); }

bool TDeviceSimulator::Start(int port) {
    TImpl& d = *Impl;
    if (d.Started) return false;
    d.Started = true;
    d.Server.new_task_queue = [] { return new httplib::ThreadPool(16); };
    d.Server.set_keep_alive_timeout(1);
    d.Server.set_keep_alive_max_count(1000);
    d.Server.set_read_timeout(5, 0);
    d.Server.set_write_timeout(5, 0);
    if (port == 0)
        d.BoundPort = d.Server.bind_to_any_port("127.0.0.1");
    else
        d.BoundPort = d.Server.bind_to_port("127.0.0.1", port) ? port : -1;
    if (d.BoundPort <= 0) {
        d.BoundPort = -1;
        return false;
    }
    d.Thread = std::thread([&d] {
        d.Server.listen_after_bind();
        d.ListenReturned = true;
    });
    // stop() is ignored until the accept loop runs; wait for it.
    while (!d.Server.is_running() && !d.ListenReturned) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

int TDeviceSimulator::Port() const { return Impl->BoundPort; }

void TDeviceSimulator::Stop() {
    TImpl& d = *Impl;
    {
        std::lock_guard lk(d.Mu);
        d.Stopping = true;
    }
    d.StopCv.notify_all();
    if (d.Thread.joinable()) {
        d.Server.stop();
        d.Thread.join();
    }
}

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
    Impl->Recs[name] = TRecording{{}, std::make_shared<const std::string>(std::move(bytes)), size};
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
#undef YORDE_SIM_SET

void TDeviceSimulator::SetMissing(const std::string& name, bool missing) {
    std::lock_guard lk(Impl->Mu);
    if (missing)
        Impl->Missing.insert(name);
    else
        Impl->Missing.erase(name);
}

void TDeviceSimulator::SetDrop(TSimRequest kind, int64_t afterBytes, int times) {
    std::lock_guard lk(Impl->Mu);
    Impl->Drops[size_t(kind)] = afterBytes < 0 ? TDropRule{} : TDropRule{afterBytes, times};
}

void TDeviceSimulator::SetSlowReplies(int delayMs, size_t chunkSize) {
    std::lock_guard lk(Impl->Mu);
    Impl->ChunkDelayMs = delayMs;
    Impl->ChunkSize = chunkSize;
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
    return {Impl->Log.begin(), Impl->Log.end()};
}

bool TDeviceSimulator::LastUpload(TSimUpload& upload) const {
    std::lock_guard lk(Impl->Mu);
    if (Impl->HaveUpload) upload = Impl->Upload;
    return Impl->HaveUpload;
}

void TDeviceSimulator::SetRequestHook(std::function<void(const std::string&)> hook) {
    std::lock_guard lk(Impl->Mu);
    Impl->Hook = std::move(hook);
}
