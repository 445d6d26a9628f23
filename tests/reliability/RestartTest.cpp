// The program closed and started again between syncs, as a process of its
// own each time: what the exchange did not give in one start (a missing
// file, a body cut on every attempt) arrives with the next start, although
// newer recordings came meanwhile.
#include "DeviceSim.h"
#include "DrivenProcess.h"
#include "SimRecordings.h"

#include <gtest/gtest.h>

#include <map>

using namespace reliability;

TEST(RestartBetweenSyncs, WhatTheExchangeOwedArrivesWithTheNextStart) {
    const std::string password = "61839274";
    TDeviceSimulator sim;
    sim.SetPassword(password);
    std::map<std::string, std::string> served;
    for (int day = 1; day <= 3; ++day)
        for (int i = 0; i < 3; ++i) {
            const std::string name =
                devicesim::RecordingName(2024, 5, day, 9, i, 0, "30" + std::to_string(i), "4" + std::to_string(day));
            served[name] = devicesim::EncipherRecording(devicesim::MakeGsmWav(2000 + 500 * i));
            sim.AddRecording(name, served[name]);
        }
    const std::string missing = served.begin()->first, cut = std::next(served.begin(), 4)->first;
    sim.SetMissing(missing);
    sim.SetRequestHook([&](const std::string& line) {
        if (line.find(cut) != std::string::npos) sim.SetFault(TSimRequest::Record, TReplyFault::CutBody, 1, 500);
    });
    std::string address, base;
    ASSERT_TRUE(StartDevice(sim, address, base));

    yorde::test::TTempFolder scratch("yorde-restart");
    const std::string folder = scratch.MakeDir("program");
    PrepareProgramFolder(folder, address, password);
    const std::map<std::string, std::string> env = {{"TEMP", scratch.MakeDir("temp")}};
    for (int start = 1; start <= 2; ++start) {
        SCOPED_TRACE("start " + std::to_string(start));
        const std::string logFile = scratch.Path("start" + std::to_string(start) + ".log");
        TDrivenProcess program;
        program.Start(folder, logFile, base, {"--exit-after-sync"}, env);
        EXPECT_EQ(program.Wait(120), 0);
        const std::vector<std::string> log = ReadLines(logFile);
        EXPECT_TRUE(HasLine(log, "driver: sync ended"));
        if (start == 1) {
            EXPECT_TRUE(HasLineStarting(log, "1021 " + missing)) << "the exchange was asked for it";
            EXPECT_TRUE(HasLine(log, "Not downloaded: " + cut));
            // The exchange is well again; the program is not told.
            sim.SetMissing(missing, false);
            sim.SetRequestHook(nullptr);
        }
    }
    for (const std::string& p : StoreProblems(folder, served)) ADD_FAILURE() << p;
    sim.Stop();
}
