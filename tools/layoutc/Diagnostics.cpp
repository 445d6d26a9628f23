#include "Diagnostics.h"

std::string TLayoutDiagnostic::Text() const {
    if (Line > 0) return File + ":" + std::to_string(Line) + ": " + Message;
    return File + ": " + Message;
}

void TDiagnostics::Error(const std::string& File, int Line, const std::string& Message) {
    list_.push_back(TLayoutDiagnostic{File, Line, Message});
}

void TDiagnostics::Fatal(const std::string& File, int Line, const std::string& Message) {
    throw ELayoutError(TLayoutDiagnostic{File, Line, Message});
}
