#include "HttpTransfer.h"

#include "Multipart.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace yorde_net {

namespace {

// The body of an error reply is only searched for a few digits; more than
// this is not kept.
constexpr int64_t kMaxErrorBody = 1 << 20;

size_t OnHeader(char* p, size_t size, size_t count, void* data) {
    auto& t = *static_cast<TTransfer*>(data);
    size_t len = size * count;
    t.LastActivity = Clock::now();
    try {
        std::string_view line(p, len);
        if (line.substr(0, 5) == "HTTP/") {
            // A new reply begins (an interim 1xx one may come first).
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
            t.StatusLine.assign(line);
            t.HeadersDone = false;
            return len;
        }
        // The blank line that ends the headers (not the one after chunked trailers).
        if ((line == "\r\n" || line == "\n") && !t.HeadersDone) {
            long code = 0;
            curl_easy_getinfo(t.Easy, CURLINFO_RESPONSE_CODE, &code);
            if (code >= 100 && code < 200) return len;
            t.Status = int(code);
            t.HeadersDone = true;
            t.Success = code >= 200 && code < 300;
            if (t.Success) {
                curl_off_t expected = -1;
                curl_easy_getinfo(t.Easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &expected);
                if (t.Cap > 0 && expected > t.Cap) {
                    t.TooLarge = true;
                    return 0;
                }
                if (t.Client->OnWorkBegin) t.Client->OnWorkBegin(int64_t(expected));
            }
        }
        return len;
    } catch (...) {
        t.Failure = std::current_exception();
        return 0;
    }
}

size_t OnBody(char* p, size_t size, size_t count, void* data) {
    auto& t = *static_cast<TTransfer*>(data);
    size_t len = size * count;
    t.LastActivity = Clock::now();
    try {
        if (!t.Success) {
            int64_t limit = t.Cap > 0 ? std::min(t.Cap, kMaxErrorBody) : kMaxErrorBody;
            if (int64_t(t.ErrorBody.size() + len) > limit) {
                t.TooLarge = true;
                return 0;
            }
            t.ErrorBody.append(p, len);
            return len;
        }
        if (t.Cap > 0 && t.BodyBytes + int64_t(len) > t.Cap) {
            t.TooLarge = true;
            return 0;
        }
        if (t.Sink)
            (*t.Sink)(p, len);
        else
            t.Text->append(p, len);
        t.BodyBytes += int64_t(len);
        if (t.Client->OnWork) t.Client->OnWork(t.BodyBytes);
        return len;
    } catch (...) {
        t.Failure = std::current_exception();
        return 0;
    }
}

size_t OnUpload(char* buf, size_t size, size_t count, void* data) {
    auto& t = *static_cast<TTransfer*>(data);
    try {
        size_t got = t.Form->Read(t.FormPos, buf, size * count);
        t.FormPos += int64_t(got);
        t.LastActivity = Clock::now();
        return got;
    } catch (...) {
        t.Failure = std::current_exception();
        return CURL_READFUNC_ABORT;
    }
}

int OnSeek(void* data, curl_off_t offset, int origin) {
    auto& t = *static_cast<TTransfer*>(data);
    if (origin != SEEK_SET || offset < 0 || offset > t.Form->Size()) return CURL_SEEKFUNC_CANTSEEK;
    t.FormPos = offset;
    return CURL_SEEKFUNC_OK;
}

// Called once the connection is made or reused, before the request is sent:
// from here on silence counts against the read time-out.
int OnConnected(void* data, char*, char*, int, int) {
    auto& t = *static_cast<TTransfer*>(data);
    t.Connected = true;
    ++t.Sends;
    t.LastActivity = Clock::now();
    return CURL_PREREQFUNC_OK;
}

}  // namespace

void InstallTransferCallbacks(CURL* e) {
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(e, CURLOPT_READFUNCTION, OnUpload);
    curl_easy_setopt(e, CURLOPT_SEEKFUNCTION, OnSeek);
    curl_easy_setopt(e, CURLOPT_PREREQFUNCTION, OnConnected);
}

}  // namespace yorde_net
