// The simulated exchange. What the real device does is fixed only as far as
// the client reads it; where the client leaves the device's side open, this
// device is strict, so that a client getting the protocol wrong fails here:
//
// - GET /preload.cgi: {"model":"Yorde PBX","version": "2.1.0"} with exactly
//   one blank after the colon. No authentication, no parameters.
// - GET /get_nonce.cgi: 16 random bytes as 32 lower-case hex digits, no line
//   end. Every nonce opens a session with its own request counter; the 64
//   most recent stay valid (or only the newest, with a single nonce), each for
//   its lifetime when one is set. The recordings folder is rescanned here, so
//   every sync run sees the files present when it started.
// - Authenticated requests carry nonce= and response= first, in that order;
//   the response must be the lower-case hex MD5 of MD5(password), the 16 nonce
//   bytes and the decimal counter. The counter must be one above the last one
//   accepted on that nonce (the first is 1), or within the window when one is
//   set; the last one again passes only for the very same request, which is
//   how a client retries a reply that broke. Anything else, an unknown or
//   expired nonce or a missing response gets 405. A request the device drops
//   before its status line was never processed and uses up no counter.
// - Checks run in this order: a query that cannot be decoded (400),
//   authentication (405), busy (423), the request's own shape (400: missing,
//   extra or reordered parameters, sd other than 1, an id that is no number,
//   a date that is not YYYY, MM, DD in range, no file name), the resource (404).
// - GET /get_data.cgi?nonce&response&sd=1: {"sd":{"state":S,"cardSize":C,
//   "recSize":R}}, R the size of all recordings in whole MiB.
// - GET /recordlist.cgi?nonce&response[&id=N][&year=YYYY&month=MM&day=DD]:
//   recordings sorted by name (date and time, so oldest first; or newest
//   first), those of the given day and later, "n" the bare name (or a
//   backslash path), "s" the size in bytes. "id" is an opaque cursor, 0 after
//   the last page.
// - GET /record.cgi?nonce&response&file=NAME: the file's bytes exactly as
//   kept (the stored form: plain 60-byte header, enciphered audio). NAME is
//   the "n" of the list, percent-decoded (hex digits in either case; "+" is a
//   plus). Unknown names get 404.
// - POST /upload.cgi?nonce&response&type=announcement&id=1..8, answered with
//   counter 1 of its nonce (anything else gets 405): a multipart/form-data
//   body of exactly one part, the form field "fileToUpload2" with
//   Content-Type "tar", laid out as the client lays it out: the file's bytes,
//   CR LF, then CR LF "--" boundary "--" and nothing after. The part's bytes
//   are what RFC 2046 delimits (the file and that first CR LF); the slot keeps
//   the file. Another field name or part type, another type, a slot outside
//   1..8, a second part or a body of another layout get 400; a file over the
//   upload limit (default 102400 bytes) 403; success 200 "OK", or the status
//   set for uploads.
// - Every error reply is text/plain "<status> <reason>" with its length, so
//   the status digits are in the body where the client looks for them;
//   unknown paths included.
#include "DeviceSimImpl.h"
#include "SimMultipart.h"
#include "devicelink/Unitmd5.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

std::string devicesim::Md5(const std::string& message) {
    MD5_CTX ctx;
    uint8_t digest[16];
    MD5Init(&ctx);
    MD5Update(&ctx, message.data(), uint32_t(message.size()));
    MD5Final(&ctx, digest);
    return std::string(reinterpret_cast<char*>(digest), 16);
}

namespace {

namespace fs = std::filesystem;
using devicesim::Md5;
using devicesim::THttpReply;
using devicesim::THttpRequest;
using devicesim::TParam;
using devicesim::TReplyFault;
using Clock = std::chrono::steady_clock;

constexpr size_t kMaxSessions = 64;
constexpr size_t kMaxLogged = 10000;

std::string Hex(const std::string& bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

// The 16 bytes of a nonce text, read pair by pair as the client reads them.
std::string NonceBytesOf(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; i < 32; i += 2) {
        char pair[3] = {i < text.size() ? text[i] : '\0', i + 1 < text.size() ? text[i + 1] : '\0', '\0'};
        if (pair[0] == '\0') pair[1] = '\0';
        bytes += char(std::strtol(pair, nullptr, 16));
    }
    return bytes;
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

bool Digits(const std::string& s, size_t minLen, size_t maxLen) {
    return s.size() >= minLen && s.size() <= maxLen &&
           std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c); });
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Percent-decoding; false for a "%" not followed by two hex digits.
bool Decode(const std::string& in, std::string& out) {
    out.clear();
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            out += in[i];
            continue;
        }
        const int hi = i + 1 < in.size() ? HexValue(in[i + 1]) : -1;
        const int lo = i + 2 < in.size() ? HexValue(in[i + 2]) : -1;
        if (hi < 0 || lo < 0) return false;
        out += char(hi * 16 + lo);
        i += 2;
    }
    return true;
}

bool ParseQuery(const std::string& query, std::vector<TParam>& out) {
    out.clear();
    if (query.empty()) return true;
    size_t start = 0;
    for (;;) {
        const size_t amp = query.find('&', start);
        const std::string item = query.substr(start, amp == std::string::npos ? std::string::npos : amp - start);
        const size_t eq = item.find('=');
        TParam p;
        if (eq == std::string::npos || !Decode(item.substr(0, eq), p.Key) || !Decode(item.substr(eq + 1), p.Value))
            return false;
        out.push_back(std::move(p));
        if (amp == std::string::npos) return true;
        start = amp + 1;
    }
}

const std::string* Param(const std::vector<TParam>& params, const char* key) {
    for (const TParam& p : params)
        if (p.Key == key) return &p.Value;
    return nullptr;
}

std::vector<std::string> Keys(const std::vector<TParam>& params) {
    std::vector<std::string> keys;
    for (const TParam& p : params) keys.push_back(p.Key);
    return keys;
}

bool IsWav(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".wav";
}

void SetError(THttpReply& res, int status) {
    res = THttpReply{};
    res.Status = status;
    const char* reason = status == 405 ? "Wrong password" : status == 423 ? "Busy" : devicesim::StatusReason(status);
    res.Body = std::to_string(status) + " " + reason;
}

// The day after YYYYMMDD.
int NextDay(int ymd) {
    int y = ymd / 10000, m = ymd / 100 % 100, d = ymd % 100;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    const int last = m == 2 && leap ? 29 : kDays[(m - 1 + 12) % 12];
    if (++d > last) {
        d = 1;
        if (++m > 12) {
            m = 1;
            ++y;
        }
    }
    return y * 10000 + m * 100 + d;
}

// Faults that send no status line at all.
bool Unanswered(TReplyFault f) {
    return f == TReplyFault::CloseBeforeStatus || f == TReplyFault::Reset || f == TReplyFault::NoAnswer;
}

int DayOf(const std::string& name) { return Digits(name.substr(0, 8), 8, 8) ? std::stoi(name.substr(0, 8)) : 0; }
}  // namespace

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

// Called with Mu held.
void TDeviceSimulator::TImpl::OpenSession(const std::string& text) {
    if (SingleNonce) {
        Sessions.clear();
        SessionOrder.clear();
    }
    TSession session;
    session.NonceBytes = NonceBytesOf(text);
    Sessions[text] = session;
    SessionOrder.push_back(text);
    if (SessionOrder.size() > kMaxSessions) {
        Sessions.erase(SessionOrder.front());
        SessionOrder.pop_front();
    }
}

std::string TDeviceSimulator::TImpl::NewNonce() {
    std::lock_guard lk(Mu);
    std::string bytes;
    for (int i = 0; i < 4; ++i) {
        const uint32_t r = Random();
        for (int k = 0; k < 4; ++k) bytes += char(uint8_t(r >> (8 * k)));
    }
    const std::string text = Hex(bytes);
    OpenSession(text);
    return text;
}

int TDeviceSimulator::TImpl::Authenticate(const THttpRequest& req, const std::vector<TParam>& params) {
    const std::string* nonce = Param(params, "nonce");
    const std::string* response = Param(params, "response");
    std::lock_guard lk(Mu);
    TSimAuthCheck check;
    check.Path = req.Path;
    check.Nonce = nonce ? *nonce : std::string();
    auto refuse = [&](const char* reason) {
        check.Reason = reason;
        if (Checks.size() >= kMaxLogged) Checks.pop_front();
        Checks.push_back(check);
        ++Counters.Rejected;
        return 405;
    };
    if (!nonce || !response) return refuse("no nonce or response");
    auto session = Sessions.find(*nonce);
    if (session == Sessions.end()) return refuse("unknown nonce");
    TSession& s = session->second;
    if (NonceLifetimeMs > 0 && Clock::now() - s.Issued > std::chrono::milliseconds(NonceLifetimeMs))
        return refuse("nonce expired");
    const std::string prefix = Key + s.NonceBytes;
    // The counter the response was made with, among those worth trying.
    int64_t counter = -1;
    for (int64_t c = std::max<int64_t>(1, s.Last); c <= s.Last + std::max(1, Window) + 8; ++c)
        if (Hex(Md5(prefix + std::to_string(c))) == *response) {
            counter = c;
            break;
        }
    check.Counter = counter;
    if (WrongPassword || counter < 0) return refuse("response does not match");
    // An upload fetches its own nonce and answers it at once.
    if (req.Path == "/upload.cgi" && counter != 1) return refuse("an upload takes counter 1");
    const bool repeat = counter == s.Last && req.Target == s.LastTarget;
    if (!repeat && (counter <= s.Last || counter > s.Last + std::max(1, Window)))
        return refuse(counter == s.Last ? "counter used for another request" : "counter out of order");
    s.Last = counter;
    s.LastTarget = req.Target;
    check.Accepted = true;
    if (Checks.size() >= kMaxLogged) Checks.pop_front();
    Checks.push_back(check);
    return Busy ? 423 : 0;
}

bool TDeviceSimulator::TImpl::TakeRaw(TSimRequest kind, THttpReply& res) {
    std::lock_guard lk(Mu);
    TRawRule& rule = Raw[size_t(kind)];
    if (rule.Bodies.empty()) return false;
    const std::string& body = rule.Bodies[std::min(rule.Next, rule.Bodies.size() - 1)];
    if (rule.Next < rule.Bodies.size()) ++rule.Next;
    res.Status = rule.Status;
    res.Body = body;
    if (kind == TSimRequest::Nonce && rule.Status == 200) OpenSession(body);
    return true;
}

void TDeviceSimulator::TImpl::Succeed(TSimRequest kind, THttpReply& res, std::string body, const char* type) {
    std::lock_guard lk(Mu);
    res.Status = 200;
    res.ContentType = type;
    res.Body = std::move(body);
    res.Framing = Framing[size_t(kind)];
    res.ChunkDelayMs = ChunkDelayMs;
    res.ChunkSize = ChunkSize;
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

// Called with Mu held.
std::string TDeviceSimulator::TImpl::ListedName(const std::string& name) const {
    if (!ListPaths || name.size() < 8) return name;
    return "ROZMOWY\\" + name.substr(0, 4) + "\\" + name.substr(4, 2) + "\\" + name.substr(6, 2) + "\\" + name;
}

std::string TDeviceSimulator::TImpl::PageJson(const std::vector<TParam>& params) {
    const std::string* idText = Param(params, "id");
    const uint64_t id = idText ? std::strtoull(idText->c_str(), nullptr, 10) : 0;
    const std::string* year = Param(params, "year");
    const int fromDay = year ? std::stoi(*year + *Param(params, "month") + *Param(params, "day")) : 0;

    std::lock_guard lk(Mu);
    std::vector<const std::pair<const std::string, TRecording>*> listed;
    for (const auto& r : Recs)
        if (DayOf(r.first) >= fromDay) listed.push_back(&r);
    if (NewestFirst) std::reverse(listed.begin(), listed.end());

    std::string files;
    auto add = [&](const std::pair<const std::string, TRecording>& r) {
        if (!files.empty()) files += ',';
        files += "{\"n\":" + JsonText(ListedName(r.first)) + ",\"s\":" + std::to_string(r.second.Size) + "}";
    };
    uint64_t next = 0;
    if (PagePerDay) {
        // The id is the day of the page; the first page is the day asked for.
        int lastDay = 0;
        for (const auto* r : listed) lastDay = std::max(lastDay, DayOf(r->first));
        int day = id ? int(id) : fromDay;
        if (!day)
            for (const auto* r : listed) day = day ? std::min(day, DayOf(r->first)) : DayOf(r->first);
        for (const auto* r : listed)
            if (DayOf(r->first) == day) add(*r);
        next = day && day < lastDay ? uint64_t(NextDay(day)) : 0;
    } else {
        // The id is the position of the page's first entry; later pages never start at 0.
        size_t at = size_t(id);
        for (int n = 0; at < listed.size() && n < std::max(1, PageSize); ++at, ++n) add(*listed[at]);
        next = at < listed.size() ? at : 0;
    }
    // Past its end the list keeps one non-zero id for ever.
    if (Endless && next == 0) next = id ? id : 1000000;
    std::string json = "{\"recordlist\":{\"id\":" + std::to_string(next) + ",\"files\":[" + files + "]}}";
    if (Malformed) json.pop_back();
    return json;
}

void TDeviceSimulator::TImpl::Download(const std::string& name, THttpReply& res) {
    TRecording rec;
    {
        std::lock_guard lk(Mu);
        auto it = Recs.find(name);
        if (it == Recs.end()) {
            // A listed backslash path names the same recording.
            const size_t cut = name.find_last_of("\\:");
            if (cut != std::string::npos && ListedName(name.substr(cut + 1)) == name)
                it = Recs.find(name.substr(cut + 1));
        }
        if (it == Recs.end()) return SetError(res, 404);
        auto status = FileStatus.find(it->first);
        if (status != FileStatus.end()) return SetError(res, status->second);
        if (DownloadError) return SetError(res, 400);
        rec = it->second;
    }
    std::string bytes;
    if (rec.Bytes) {
        bytes = *rec.Bytes;
    } else {
        std::ifstream in(rec.Path, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        if (!in) return SetError(res, 404);
        bytes = std::move(all).str();
    }
    Succeed(TSimRequest::Record, res, std::move(bytes), "audio/x-wav");
}

void TDeviceSimulator::TImpl::Receive(const THttpRequest& req, THttpReply& res) {
    TSimUpload up;
    std::vector<TParam> params;
    ParseQuery(req.Query, params);
    up.Type = Param(params, "type") ? *Param(params, "type") : std::string();
    up.Slot = Param(params, "id") ? *Param(params, "id") : std::string();
    up.RequestContentType = req.Header("Content-Type");
    up.Version = req.Version;
    const std::string boundary = devicesim::BoundaryOf(up.RequestContentType);
    devicesim::TFormPart part;
    if (!devicesim::FirstFormPart(req.Body, boundary, part) || part.Name != "fileToUpload2" ||
        part.ContentType != "tar" || up.Type != "announcement" || !Digits(up.Slot, 1, 1) || up.Slot < "1" ||
        up.Slot > "8")
        return SetError(res, 400);
    // One part, its file followed by CR LF, then the closing delimiter: the
    // part's bytes run up to the body's last line.
    const std::string& body = req.Body;
    const std::string ending = "\r\n\r\n--" + boundary + "--";
    const size_t partEnd = body.size() >= ending.size() ? body.size() - ending.size() + 2 : 0;
    if (part.Data.size() < 2 || partEnd < part.Data.size() ||
        body.compare(partEnd - 2, std::string::npos, ending) != 0 ||
        body.compare(partEnd - part.Data.size(), part.Data.size(), part.Data) != 0)
        return SetError(res, 400);
    int status = 200;
    {
        std::lock_guard lk(Mu);
        up.File = part.Data.substr(0, part.Data.size() - 2);
        if (up.File.size() > MaxUpload) return SetError(res, 403);
        if (UploadStatus != 0) {
            status = UploadStatus;
        } else {
            up.FieldName = part.Name;
            up.FileName = part.FileName;
            up.PartContentType = part.ContentType;
            up.Data = std::move(part.Data);
            up.Body = req.Body;
            Slots[std::stoi(up.Slot)] = up.File;
            Upload = std::move(up);
            HaveUpload = true;
        }
    }
    if (status != 200) return SetError(res, status);
    Succeed(TSimRequest::Upload, res, "OK", "text/plain");
}

// The request's own parameters after nonce and response, in their order.
static bool ShapeIsRight(TSimRequest kind, const std::vector<TParam>& params) {
    std::vector<std::string> keys = Keys(params);
    if (keys.size() < 2 || keys[0] != "nonce" || keys[1] != "response") return false;
    keys.erase(keys.begin(), keys.begin() + 2);
    switch (kind) {
    case TSimRequest::SdData: return keys == std::vector<std::string>{"sd"} && *Param(params, "sd") == "1";
    case TSimRequest::RecordList: {
        size_t at = 0;
        if (at < keys.size() && keys[at] == "id") {
            if (!Digits(*Param(params, "id"), 1, 18) || *Param(params, "id") == "0") return false;
            ++at;
        }
        if (at == keys.size()) return true;
        if (std::vector<std::string>(keys.begin() + long(at), keys.end()) !=
            std::vector<std::string>{"year", "month", "day"})
            return false;
        const std::string &y = *Param(params, "year"), &m = *Param(params, "month"), &d = *Param(params, "day");
        return Digits(y, 4, 4) && Digits(m, 2, 2) && Digits(d, 2, 2) && m >= "01" && m <= "12" && d >= "01" &&
               d <= "31";
    }
    case TSimRequest::Record: return keys == std::vector<std::string>{"file"} && !Param(params, "file")->empty();
    case TSimRequest::Upload: return keys == std::vector<std::string>{"type", "id"};
    default: return keys.empty();
    }
}

void TDeviceSimulator::TImpl::Handle(const THttpRequest& req, THttpReply& res) {
    static const std::map<std::string, std::pair<TSimRequest, const char*>> kRoutes = {
        {"/preload.cgi", {TSimRequest::Preload, "GET"}}, {"/get_nonce.cgi", {TSimRequest::Nonce, "GET"}},
        {"/get_data.cgi", {TSimRequest::SdData, "GET"}}, {"/recordlist.cgi", {TSimRequest::RecordList, "GET"}},
        {"/record.cgi", {TSimRequest::Record, "GET"}},   {"/upload.cgi", {TSimRequest::Upload, "POST"}},
    };
    std::function<void(const std::string&)> hook;
    {
        std::lock_guard lk(Mu);
        hook = Hook;
        if (hook) ++HookCalls;
    }
    if (hook) {
        struct TDone {
            TImpl& Sim;
            ~TDone() {
                InHook() = false;
                {
                    std::lock_guard lk(Sim.Mu);
                    --Sim.HookCalls;
                }
                Sim.HookIdle.notify_all();
            }
        } done{*this};
        InHook() = true;
        hook(req.Method + " " + req.Target);
    }

    const auto route = kRoutes.find(req.Path);
    if (route == kRoutes.end()) {
        std::lock_guard lk(Mu);
        ++Counters.Other;
        SetError(res, 404);
    } else {
        const TSimRequest kind = route->second.first;
        TFaultRule fault;
        {
            std::lock_guard lk(Mu);
            int64_t TSimCounters::*count[] = {&TSimCounters::Preload,    &TSimCounters::Nonce,  &TSimCounters::SdData,
                                              &TSimCounters::RecordList, &TSimCounters::Record, &TSimCounters::Upload};
            ++(Counters.*count[size_t(kind)]);
            TFaultRule& rule = Faults[size_t(kind)];
            if (rule.Fault != TReplyFault::None && rule.Times != 0) {
                fault = rule;
                if (rule.Times > 0 && --rule.Times == 0) rule.Fault = TReplyFault::None;
            }
        }
        const bool dropped = Unanswered(fault.Fault);
        if (dropped)
            res.Fault = fault.Fault;  // dropped unread: no counter is used up
        else
            Serve(kind, req, res);
        if (!dropped && fault.Fault != TReplyFault::None && res.Status >= 200 && res.Status < 300) {
            res.Fault = fault.Fault;
            res.FaultAfter = fault.After;
        }
        if (res.Status >= 400) {
            std::lock_guard lk(Mu);
            if (res.Status == 400) ++Counters.Malformed;
        }
    }

    TSimLogEntry entry{req.Connection, req.Method,  req.Path, req.Query,
                       req.Version,    req.Headers, req.Body, Unanswered(res.Fault) ? 0 : res.Status};
    std::lock_guard lk(Mu);
    if (Log.size() >= kMaxLogged) Log.pop_front();
    Log.push_back(std::move(entry));
}

void TDeviceSimulator::TImpl::Serve(TSimRequest kind, const THttpRequest& req, THttpReply& res) {
    std::vector<TParam> params;
    if (req.Method != (kind == TSimRequest::Upload ? "POST" : "GET") || !ParseQuery(req.Query, params))
        return SetError(res, 400);
    if (kind == TSimRequest::Preload || kind == TSimRequest::Nonce) {
        if (!params.empty()) return SetError(res, 400);
        if (TakeRaw(kind, res)) return;
        if (kind == TSimRequest::Nonce) {
            Rescan();
            return Succeed(kind, res, NewNonce(), "text/plain");
        }
        std::string version;
        {
            std::lock_guard lk(Mu);
            version = Firmware;
        }
        return Succeed(kind, res, "{\"model\":\"Yorde PBX\",\"version\": " + JsonText(version) + "}",
                       "application/json");
    }
    if (int status = Authenticate(req, params)) return SetError(res, status);
    if (!ShapeIsRight(kind, params)) return SetError(res, 400);
    if (kind != TSimRequest::Upload && TakeRaw(kind, res)) return;
    switch (kind) {
    case TSimRequest::SdData: return Succeed(kind, res, SdJson(), "application/json");
    case TSimRequest::RecordList: return Succeed(kind, res, PageJson(params), "application/json");
    case TSimRequest::Record: return Download(*Param(params, "file"), res);
    default: return Receive(req, res);
    }
}
