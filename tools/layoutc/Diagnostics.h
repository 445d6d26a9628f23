#pragma once
// Errors of the layout compiler, each tied to a place in an input file.
#include <stdexcept>
#include <string>
#include <vector>

struct TLayoutDiagnostic {
    std::string File;
    int Line = 0;  // 0: the file as a whole
    std::string Message;
    // "file:line: message" ("file: message" without a line).
    std::string Text() const;
};

// A fault after which the input cannot be read any further.
class ELayoutError : public std::runtime_error {
public:
    explicit ELayoutError(TLayoutDiagnostic d) : std::runtime_error(d.Text()), Diagnostic(std::move(d)) {}
    TLayoutDiagnostic Diagnostic;
};

// Collects the faults that do not stop the checks, so an author sees them all at once.
class TDiagnostics {
public:
    void Error(const std::string& File, int Line, const std::string& Message);
    [[noreturn]] static void Fatal(const std::string& File, int Line, const std::string& Message);
    bool Empty() const { return list_.empty(); }
    const std::vector<TLayoutDiagnostic>& List() const { return list_; }
    void Add(const TLayoutDiagnostic& d) { list_.push_back(d); }

private:
    std::vector<TLayoutDiagnostic> list_;
};
