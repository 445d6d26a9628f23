#pragma once
// Scopes of the translation component's file operations.
#include "localization/LxcompLang.h"

// Marks a whole-file operation for its lifetime: the per-list follow-ups
// are left to its end. The previous mark comes back however it ends.
class TlxBatchScope {
public:
    explicit TlxBatchScope(TlxCustomLang& Lang) : lang_(Lang), saved_(Lang.batch_) { Lang.batch_ = true; }
    ~TlxBatchScope() { lang_.batch_ = saved_; }
    TlxBatchScope(const TlxBatchScope&) = delete;
    TlxBatchScope& operator=(const TlxBatchScope&) = delete;

private:
    TlxCustomLang& lang_;
    bool saved_;
};
