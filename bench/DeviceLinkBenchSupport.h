#pragma once
// What the device-link benchmarks share: the simulated exchange as a process
// of its own (so the benchmark's process holds the client alone), program
// folders with their databases, one sync run to its end, and the peak
// resident memory of this process.
#include <cstdint>
#include <string>
#include <vector>

namespace linkbench {

class TSimProcess {
public:
    // tools/devicesim with Args and "--port 0"; Ok() tells whether it listens.
    explicit TSimProcess(const std::vector<std::string>& Args);
    ~TSimProcess();
    TSimProcess(const TSimProcess&) = delete;
    TSimProcess& operator=(const TSimProcess&) = delete;
    bool Ok() const { return !Base.empty(); }
    std::string Base;  // "http://127.0.0.1:PORT"

private:
    int Pid = -1;
};

// A new program folder (files/, data.db, tmp.db) below Parent; removed by
// RemoveFolder.
std::string MakeProgramFolder(const std::string& Parent);
void RemoveFolder(const std::string& Folder);

struct TRunResult {
    bool Finished = false;
    int64_t FilesStepped = 0;  // files the run went through
    std::string Message;       // the key left on the status labels
};
// One sync run against Base, waited for.
// QuotaSteps: the storage quota of the run's end (64 steps, the most the
// settings offer, sums the folder without deleting anything here).
TRunResult RunSync(const std::string& Base, const std::string& Password, const std::string& Folder,
                   int64_t QuotaSteps = 64);

// Peak resident memory of this process since the last reset, in MiB.
void ResetPeakRss();
double PeakRssMiB();
// CPU time of this process (all threads), in ms.
double ProcessCpuMs();
// CPU time of the programs this process ran and waited for, in ms.
double ChildrenCpuMs();

// Runs a program and waits for it; its exit status. With Output, its
// standard output goes to that file.
int RunProgram(const std::vector<std::string>& Argv, const std::string& Output = {});

}  // namespace linkbench
