#pragma once
// An SD-card import's sink that shows nothing and never asks it to stop.
#include "store/CardImport.h"

namespace reliability {

struct TQuietCardSink : ICardImportSink {
    void Log(const AnsiString&) override {}
    void Progress(int) override {}
    void Reload() override {}
    bool StopRequested() override { return false; }
};

}  // namespace reliability
