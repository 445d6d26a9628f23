#pragma once
// One HTTP request's state and the libcurl callbacks that fill it. Private to
// this folder: it includes curl.
#include "HttpClient.h"

#include <curl/curl.h>

#include <chrono>
#include <exception>

class TMultipartForm;

namespace yorde_net {

using Clock = std::chrono::steady_clock;

// One request's state, shared with the curl callbacks.
struct TTransfer {
    THttpClient* Client = nullptr;
    CURL* Easy = nullptr;
    AnsiString* Text = nullptr;                // text GET and POST: the body goes here
    const THttpClient::TSink* Sink = nullptr;  // sink GET
    const TMultipartForm* Form = nullptr;      // POST
    int64_t FormPos = 0;
    int64_t Cap = 0;

    bool Connected = false;  // the connection is made (or reused): read time-out applies
    int Sends = 0;           // times the request went out (the library resends on a dead reused connection)
    Clock::time_point LastActivity = Clock::now();
    bool HeadersDone = false;  // the final reply's headers are in
    bool Success = false;      // ... with a 2xx status
    int Status = 0;
    AnsiString StatusLine;
    AnsiString ErrorBody;
    int64_t BodyBytes = 0;
    bool TooLarge = false;
    std::exception_ptr Failure;  // thrown by a handler, the sink or the form
};

// Installs the callbacks on a handle; each request points their data at its TTransfer.
void InstallTransferCallbacks(CURL* easy);

}  // namespace yorde_net
