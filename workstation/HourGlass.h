#pragma once
// The hourglass over the whole program for as long as the object lives.
#include "vcl/Forms.h"

class THourGlass {
public:
    THourGlass() {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~THourGlass() {
        if (Screen) Screen->SetCursor(saved_);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor saved_ = Screen ? Screen->Cursor() : crDefault;
};
