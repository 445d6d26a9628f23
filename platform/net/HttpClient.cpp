#include "HttpClient.h"

#include "HttpTransfer.h"
#include "Multipart.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <string>

using namespace yorde_net;

namespace {

struct TEasyDeleter {
    void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct TMultiDeleter {
    void operator()(CURLM* h) const { curl_multi_cleanup(h); }
};
struct TSlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using TEasy = std::unique_ptr<CURL, TEasyDeleter>;
using TMulti = std::unique_ptr<CURLM, TMultiDeleter>;
using TSlist = std::unique_ptr<curl_slist, TSlistDeleter>;

// The transfer loop wakes at least this often to check its timers.
constexpr int kTickMs = 100;

std::once_flag g_netInit;

TMulti NewMulti() {
    TMulti m(curl_multi_init());
    if (!m) throw EHttpOther("Cannot create an HTTP connection pool");
    return m;
}

}  // namespace

void NetInit() {
    std::call_once(g_netInit, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw EHttpOther("Cannot set up the HTTP library");
    });
}

struct THttpClient::TImpl {
    TEasy Easy;
    std::mutex MultiMutex;  // Cancel wakes the pool from another thread
    TMulti Multi;
    std::atomic<bool> CancelFlag{false};
    char ErrorText[CURL_ERROR_SIZE] = {};
    int LastCode = 0;
    AnsiString LastText;
    bool LastTruncated = false;
    int LastSends = 0;

    void Run(THttpClient& client, TTransfer& t, const AnsiString& url);
    [[noreturn]] void Raise(TTransfer& t, CURLcode rc);
};

THttpClient::THttpClient() : impl_(std::make_unique<TImpl>()) {
    NetInit();
    impl_->Easy.reset(curl_easy_init());
    if (!impl_->Easy) throw EHttpOther("Cannot create an HTTP client");
    impl_->Multi = NewMulti();
    CURL* e = impl_->Easy.get();
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_HTTP09_ALLOWED, 0L);
    curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L);  // the URL goes out as built
    curl_easy_setopt(e, CURLOPT_COOKIEFILE, "");  // in-memory jar, nothing persisted
    curl_easy_setopt(e, CURLOPT_BUFFERSIZE, 4096L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, impl_->ErrorText);
    InstallTransferCallbacks(e);
}

THttpClient::~THttpClient() = default;

void THttpClient::TImpl::Run(THttpClient& client, TTransfer& t, const AnsiString& url) {
    LastCode = 0;
    LastText.clear();
    LastTruncated = false;
    LastSends = 0;
    if (CancelFlag) throw EHttpCancelled("Request cancelled");

    CURL* e = Easy.get();
    t.Client = &client;
    t.Easy = e;
    t.Cap = client.MaxResponseSize;
    ErrorText[0] = '\0';
    curl_easy_setopt(e, CURLOPT_URL, url.c_str());
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(std::max(client.ConnectTimeout, 0)));
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(e, CURLOPT_READDATA, &t);
    curl_easy_setopt(e, CURLOPT_SEEKDATA, &t);
    curl_easy_setopt(e, CURLOPT_PREREQDATA, &t);

    CURLM* m = Multi.get();
    if (curl_multi_add_handle(m, e) != CURLM_OK) throw EHttpOther("Cannot start the HTTP request");

    enum class TAbort { None, Cancelled, ReadTimeout } abort = TAbort::None;
    CURLcode rc = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(m, &running) != CURLM_OK) {
            rc = CURLE_FAILED_INIT;
            break;
        }
        bool done = false;
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(m, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == e) {
                rc = msg->data.result;
                done = true;
            }
        }
        if (done) break;
        if (CancelFlag) {
            abort = TAbort::Cancelled;
            break;
        }
        int wait = kTickMs;
        if (t.Connected) {
            int limit = t.HeadersDone && !t.Success ? client.ErrorBodyTimeout : client.ReadTimeout;
            if (limit > 0) {
                auto idle =
                    std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t.LastActivity).count();
                if (idle >= limit) {
                    abort = TAbort::ReadTimeout;
                    break;
                }
                wait = int(std::min<int64_t>(wait, limit - idle));
            }
        }
        curl_multi_poll(m, nullptr, 0, std::max(wait, 1), nullptr);
    }
    // Removing an unfinished transfer closes its connection.
    curl_multi_remove_handle(m, e);

    LastCode = t.Status;
    LastText = t.StatusLine;
    LastSends = t.Sends;
    if (t.Failure) std::rethrow_exception(t.Failure);
    if (abort == TAbort::Cancelled) throw EHttpCancelled("Request cancelled");
    if (abort == TAbort::ReadTimeout) throw EHttpReadTimeout("Read timed out");
    if (rc == CURLE_OK && t.Success) return;
    if (rc == CURLE_PARTIAL_FILE && t.HeadersDone && t.Success && t.Text) {
        LastTruncated = true;  // a text reply keeps what arrived
        return;
    }
    Raise(t, rc);
}

void THttpClient::TImpl::Raise(TTransfer& t, CURLcode rc) {
    AnsiString detail = ErrorText[0] ? AnsiString(ErrorText) : AnsiString(curl_easy_strerror(rc));
    switch (rc) {
    case CURLE_OK: throw EHttpProtocolError(t.Status, t.StatusLine, t.ErrorBody);
    case CURLE_PARTIAL_FILE:
        if (t.HeadersDone && !t.Success) throw EHttpProtocolError(t.Status, t.StatusLine, t.ErrorBody);
        throw EHttpTruncated(t.BodyBytes);
    case CURLE_GOT_NOTHING: throw EHttpClosedGracefully("Connection Closed Gracefully");
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR: {
        long osError = 0;
        curl_easy_getinfo(Easy.get(), CURLINFO_OS_ERRNO, &osError);
        throw EHttpSocketError(int(osError), detail);
    }
    case CURLE_OPERATION_TIMEDOUT:
        if (t.Connected) throw EHttpReadTimeout("Read timed out");
        throw EHttpConnectTimeout();
    case CURLE_WRITE_ERROR:
        if (t.TooLarge) throw EHttpTooLarge("The reply is larger than allowed");
        throw EHttpOther(detail);
    case CURLE_WEIRD_SERVER_REPLY: throw EHttpProtocolError(-1, t.StatusLine, AnsiString());
    case CURLE_UNSUPPORTED_PROTOCOL:
        // After connecting this is an HTTP/0.9 reply; before, a scheme other than http.
        if (t.Connected) throw EHttpProtocolError(-1, t.StatusLine, AnsiString());
        throw EHttpOther(detail);
    default: throw EHttpOther(detail);
    }
}

AnsiString THttpClient::Get(const AnsiString& url) {
    CURL* e = impl_->Easy.get();
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
    curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, FreshConnection ? 1L : 0L);
    AnsiString body;
    TTransfer t;
    t.Text = &body;
    impl_->Run(*this, t, url);
    return body;
}

void THttpClient::Get(const AnsiString& url, const TSink& sink) {
    CURL* e = impl_->Easy.get();
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
    curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, FreshConnection ? 1L : 0L);
    TTransfer t;
    t.Sink = &sink;
    impl_->Run(*this, t, url);
}

AnsiString THttpClient::PostMultipart(const AnsiString& url, const TMultipartForm& form) {
    Disconnect();
    TSlist headers;
    auto add = [&headers](const AnsiString& line) {
        curl_slist* l = curl_slist_append(headers.get(), line.c_str());
        if (!l) throw EHttpOther("Out of memory building the request");
        (void)headers.release();
        headers.reset(l);
    };
    add("Content-Type: " + form.RequestContentType());
    add("Connection: keep-alive");
    add("Expect:");

    CURL* e = impl_->Easy.get();
    curl_easy_setopt(e, CURLOPT_POST, 1L);
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, static_cast<char*>(nullptr));
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(form.Size()));
    curl_easy_setopt(e, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(e, CURLOPT_FRESH_CONNECT, 1L);
    AnsiString body;
    TTransfer t;
    t.Text = &body;
    t.Form = &form;
    try {
        impl_->Run(*this, t, url);
    } catch (...) {
        curl_easy_setopt(e, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
        throw;
    }
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, static_cast<curl_slist*>(nullptr));
    return body;
}

void THttpClient::Disconnect() {
    TMulti fresh = NewMulti();
    std::lock_guard<std::mutex> lock(impl_->MultiMutex);
    impl_->Multi = std::move(fresh);  // the old pool closes its connections
}

void THttpClient::Cancel() {
    impl_->CancelFlag = true;
    std::lock_guard<std::mutex> lock(impl_->MultiMutex);
    if (impl_->Multi) curl_multi_wakeup(impl_->Multi.get());
}

void THttpClient::ResetCancel() { impl_->CancelFlag = false; }
bool THttpClient::Cancelled() const { return impl_->CancelFlag; }
int THttpClient::ResponseCode() const { return impl_->LastCode; }
const AnsiString& THttpClient::ResponseText() const { return impl_->LastText; }
bool THttpClient::LastReplyTruncated() const { return impl_->LastTruncated; }
int THttpClient::LastRequestSends() const { return impl_->LastSends; }
