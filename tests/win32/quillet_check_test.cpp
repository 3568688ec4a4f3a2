// quillet-check.exe, the Windows console program: its exit codes and output form on
// scripts in a fresh folder, with Windows paths (includes named with a backslash and
// relative to the including script).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

using namespace quillet::testing_support;

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out;  // standard output and standard error
};

// Runs quillet-check.exe from beside this test program with `arguments`, in `folder`.
Outcome RunCheck(const std::string &folder, const std::string &arguments) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string program = self;
    program = program.substr(0, program.find_last_of('\\') + 1) + "quillet-check.exe";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    Outcome outcome;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return outcome;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + program + "\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, folder.c_str(), &startup, &process);
    CloseHandle(writeEnd);
    if (started) {
        char block[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, block, sizeof block, &got, nullptr) && got > 0) outcome.out.append(block, got);
        WaitForSingleObject(process.hProcess, 60000);
        GetExitCodeProcess(process.hProcess, &outcome.exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    CloseHandle(readEnd);
    return outcome;
}

TEST(QuilletCheckProgram, ExitCodesAndOutputUnderWindows) {
    const std::string folder = NewTestFolder("qcheck");
    CreateDirectoryA((folder + "lib").c_str(), nullptr);
    WriteBytes(folder + "clean.osc", "#inc \"lib\\helpers.osc\"\r\ncall helper\r\nret\r\n");
    WriteBytes(folder + "lib\\helpers.osc", "helper:\r\n#inc \"" + folder + "clean.osc\"\r\nret\r\n");
    WriteBytes(folder + "faults.txt", "mov eax\r\nfind eip, #6A0#\r\n");

    // The include names a folder, so it is taken as it is; the file it includes back closes a cycle.
    Outcome run = RunCheck(folder, "clean.osc");
    EXPECT_EQ(run.exitCode, 1u) << run.out;
    EXPECT_EQ(run.out.rfind("lib\\helpers.osc:2:1: error: The plug-in includes this file again here, and again, "
                            "without end: ", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("clean.osc (#inc in lib\\helpers.osc, line 2)\r\n1 problem in 1 script\r\n"),
              std::string::npos) << run.out;

    run = RunCheck(folder, "faults.txt");
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.out, "faults.txt:1:1: error: The plug-in stops here: MOV takes 2 or 3 operands, this line gives 1\r\n"
                       "faults.txt:2:11: error: The plug-in stops here: a hex byte string needs an even number of "
                       "digits: #6A0#\r\n2 problems in 1 script\r\n");

    WriteBytes(folder + "lib\\helpers.osc", "helper:\r\nret\r\n");
    run = RunCheck(folder, "lib");
    EXPECT_EQ(run.exitCode, 0u) << run.out;
    EXPECT_EQ(run.out, "0 problems in 1 script\r\n");

    run = RunCheck(folder, "missing.osc");
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.out.find("missing.osc: error: cannot read: "), std::string::npos) << run.out;
    RemoveFolder(folder);
}

}  // namespace
