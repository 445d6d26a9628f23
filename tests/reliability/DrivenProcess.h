#pragma once
// The driven program (DrivenProgram.cpp) as a child process of a test: a
// program folder prepared so that it logs in and connects by itself, the
// process started, killed or waited for, and its log read back.
#include "TempFolder.h"

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

namespace reliability {

// A program folder that logs in as "admin" (password AdminPassword) and
// connects to Address with DevicePassword; the refresh loop waits two hours,
// so each start makes one run.
void PrepareProgramFolder(const std::string& Folder, const std::string& Address, const std::string& DevicePassword);
inline const std::string AdminPassword = "Adm1n-Secret";

class TDrivenProcess {
public:
    TDrivenProcess() = default;
    ~TDrivenProcess();
    TDrivenProcess(const TDrivenProcess&) = delete;
    TDrivenProcess& operator=(const TDrivenProcess&) = delete;

    // Starts the driven program on Folder; Env is added to the test's own
    // environment (an empty value removes the variable). Base, when not
    // empty, stands for the device's address (the device is not on port 80).
    void Start(const std::string& Folder, const std::string& LogFile, const std::string& Base,
               const std::vector<std::string>& Extra = {}, const std::map<std::string, std::string>& Env = {});
    pid_t Pid() const { return pid_; }
    bool Running();
    void Kill();
    // Waits for the end; the exit code, or -1 when it did not end within
    // Seconds (it is then killed) or died of a signal.
    int Wait(int Seconds);

private:
    pid_t pid_ = -1;
    int status_ = 0;
};

// The lines of a file; none when it cannot be read.
std::vector<std::string> ReadLines(const std::string& Path);
bool HasLine(const std::vector<std::string>& Lines, const std::string& Line);
bool HasLineStarting(const std::vector<std::string>& Lines, const std::string& Prefix);

}  // namespace reliability

class TDeviceSimulator;

namespace reliability {

// Starts Sim where the program can reach it: port 80 of a loopback address
// when the test may bind one (Address is then that device address and Base
// empty), else any free port (Address is a valid stand-in and Base the
// simulator's own base URL, which the driven program then uses).
bool StartDevice(TDeviceSimulator& Sim, std::string& Address, std::string& Base);

// What a program folder holds after a sync, against the recordings the
// device served (name -> bytes). Each problem is one line; none when the
// store is whole: every recording once in "files" and in Files, byte for
// byte, no other file or row, no ".part" left or registered, and
// "PRAGMA integrity_check" ok.
std::vector<std::string> StoreProblems(const std::string& Folder, const std::map<std::string, std::string>& Expected);

}  // namespace reliability
