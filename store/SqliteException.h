#pragma once
// The database layer's error. It stands outside the run-time library's
// Exception hierarchy on purpose: a handler meant for database failures names
// this type, and a handler for Exception alone does not see it.
#include <memory>

// Code of the errors the layer raises itself (no connection, no statement,
// bad column index).
constexpr int DBLAYER_ERROR = 1000;

class SqliteException {
public:
    // The text is "<code name>[<code>]: <msg>" (an absent msg gives an empty
    // last part). With freeMsg the layer owns msg, an SQLite-allocated text,
    // and releases it.
    SqliteException(int code, const char* msg, bool freeMsg);
    SqliteException(const SqliteException& other);
    SqliteException& operator=(const SqliteException& other);
    virtual ~SqliteException();

    int Code() const { return code_; }
    // Never null: an empty text when the message could not be built.
    const char* Message() const { return message_ ? message_.get() : ""; }

    static const char* ErrorCodeAsString(int code);

private:
    struct Free {
        void operator()(char* p) const;
    };
    int code_;
    std::unique_ptr<char, Free> message_;
};
