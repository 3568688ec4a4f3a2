// quillet-check as a program: its output form and its three exit codes, on scripts
// written to a fresh folder (files and a folder walk, includes that loop, a file that
// cannot be read, the encoding given or recognised, JSON).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int exitCode = -1;
    std::string out;  // standard output, then standard error
};

// Runs quillet-check with `arguments` (already quoted) in `folder`.
Outcome RunCheck(const fs::path &folder, const std::string &arguments) {
    const std::string command = "cd '" + folder.string() + "' && '" QUILLET_CHECK_PROGRAM "' " + arguments + " 2>&1";
    Outcome run;
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char block[4096];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, pipe)) > 0) run.out.append(block, got);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

void Write(const fs::path &path, const std::string &bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class QuilletCheck : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("quillet-check-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    fs::path folder_;
};

TEST_F(QuilletCheck, ExitCodesAndOutput) {
    Write(folder_ / "clean.osc", "var x\r\nmov x, 1\r\nret\r\n");
    Write(folder_ / "scripts" / "\xD1\x81\xD0\xBA\xD1\x80\xD0\xB8\xD0\xBF\xD1\x82.txt", "var x\n  mov x\nret\n");
    Write(folder_ / "scripts" / "deeper" / "loop.OSC", "#inc \"loop.OSC\"\n#inc \"loop.OSC\"\n#inc \"loop.OSC\"\n");
    Write(folder_ / "scripts" / "notes.doc", "mvo\n");
    Write(folder_ / "a.osc", "#inc \"b.osc\"\nret\n");
    Write(folder_ / "b.osc", "nop:\n#inc \"a.osc\"\n");
    Write(folder_ / "quotes.txt", "msg \x93hello\x94\n");

    // Nothing found: 0, and the summary alone.
    Outcome run = RunCheck(folder_, "clean.osc");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "0 problems in 1 script\n");

    // A folder is walked for .txt and .osc (any case, not .doc); problems in compilers' form.
    run = RunCheck(folder_, "scripts");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
              "scripts/deeper/loop.OSC:1:1: error: The plug-in includes this file again here, and again, without end: "
              "scripts/deeper/loop.OSC\n"
              "scripts/deeper/loop.OSC:2:1: error: The plug-in includes this file again here, and again, without end: "
              "scripts/deeper/loop.OSC\n"
              "scripts/deeper/loop.OSC:3:1: error: The plug-in includes this file again here, and again, without end: "
              "scripts/deeper/loop.OSC\n"
              "scripts/\xD1\x81\xD0\xBA\xD1\x80\xD0\xB8\xD0\xBF\xD1\x82.txt:2:3: error: The plug-in stops here: MOV "
              "takes 2 or 3 operands, this line gives 1\n"
              "4 problems in 2 scripts\n");

    // A cycle through another file is told where it closes.
    run = RunCheck(folder_, "a.osc");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "b.osc:2:1: error: The plug-in includes this file again here, and again, without end: a.osc "
                       "(#inc in b.osc, line 2)\n1 problem in 1 script\n");

    // The encoding decides what bytes 0x93 and 0x94 are.
    run = RunCheck(folder_, "--encoding Windows-1252 quotes.txt");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("quotes.txt:1:5: error: The plug-in stops here: a typographic quote"), std::string::npos);
    run = RunCheck(folder_, "--encoding GBK quotes.txt");
    EXPECT_EQ(run.exitCode, 0) << run.out;

    // A file that cannot be read: 2 with the system's reason, the others still checked.
    run = RunCheck(folder_, "missing.osc clean.osc scripts/deeper/loop.OSC");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("missing.osc: error: cannot read: No such file or directory\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("3 problems in 2 scripts, 1 could not be read\n"), std::string::npos) << run.out;

    // JSON: one object with the same findings.
    run = RunCheck(folder_, "--format json scripts/\xD1\x81\xD0\xBA\xD1\x80\xD0\xB8\xD0\xBF\xD1\x82.txt");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "{\"problems\":[\n{\"path\":\"scripts/\xD1\x81\xD0\xBA\xD1\x80\xD0\xB8\xD0\xBF\xD1\x82.txt\","
                       "\"line\":2,\"column\":3,\"kind\":\"operand-count\",\"message\":\"The plug-in stops here: MOV "
                       "takes 2 or 3 operands, this line gives 1\"}],\n\"unreadable\":[],\n\"scripts\":1,"
                       "\"summary\":\"1 problem in 1 script\"}\n");

    // A wrong command line: 2 and the usage.
    run = RunCheck(folder_, "--format xml clean.osc");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("usage: quillet-check"), std::string::npos);
    EXPECT_EQ(RunCheck(folder_, "").exitCode, 2);
}

}  // namespace
