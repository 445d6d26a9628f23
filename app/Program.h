#pragma once
// The program from start to end: the Qt application, the registrations, the
// language data module, the main window and the hidden debug log, then the
// event loop. The program's main runs it; so does the program the
// reliability tests drive, which queues its own steps in BeforeLoop.
#include <functional>

int RunProgram(int argc, char** argv, const std::function<void()>& BeforeLoop = {});
