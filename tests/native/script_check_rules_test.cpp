// Tests of the script checker: its rules on small scripts, go-to-label's operand
// lookup, and every script of the shared corpus, whose reports must each be a fault
// the plug-in would stop for.
#include "assist/script_check_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "assist/keyword_file.h"
#include "documents/encoding_rules.h"

namespace quillet {
namespace {

std::string ReadFile(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const CommandSet &ShippedCommands() {
    static const CommandSet commands(ParseKeywordFile(ReadFile(QUILLET_SOURCE_DIR "/data/qkeywords.txt")).keyword_list);
    return commands;
}

// Included scripts held in memory, by resolved path.
class MemoryReader : public IncludeReader {
public:
    explicit MemoryReader(std::map<std::string, std::string> files) : files_(std::move(files)) {}
    bool Read(const std::string &path, std::string &bytes) override {
        const auto found = files_.find(path);
        if (found == files_.end()) return false;
        bytes = found->second;
        return true;
    }

private:
    std::map<std::string, std::string> files_;
};

// Reads included scripts from disk; Windows separators are turned into the host's.
class DiskReader : public IncludeReader {
public:
    bool Read(const std::string &path, std::string &bytes) override {
        std::string hostPath = path;
        for (char &c : hostPath)
            if (c == '\\') c = '/';
        std::ifstream in(hostPath, std::ios::binary);
        if (!in) return false;
        std::ostringstream content;
        content << in.rdbuf();
        bytes = content.str();
        return true;
    }
};

// A problem as "kind:underlined text".
std::string Describe(std::string_view script, const ScriptProblem &problem) {
    static const char *const kinds[] = {"command", "label", "twice", "alone", "var",   "inc",   "count", "if",
                                        "noif",    "exec",  "ende",  "nofile", "cycle", "hex",   "string", "quote",
                                        "number"};
    return std::string(kinds[static_cast<int>(problem.kind)]) + ":" +
           std::string(script.substr(problem.start, problem.length));
}

// The problems of a check, each as Describe() gives it, in text order.
std::vector<std::string> Problems(std::string_view script, const ScriptCheck &check) {
    std::vector<std::string> found;
    for (const ScriptProblem &problem : check.problems) found.push_back(Describe(script, problem));
    return found;
}

struct RuleCase {
    const char *name;
    std::string script;
    std::vector<std::string> expected;  // Problems() of its check
    ScriptBytes bytes = ScriptBytes::kUnknown;
};

// Checks each case's script as C:\scripts\main.osc, with `lib` as the lib.osc beside it.
void ExpectReports(const std::vector<RuleCase> &cases, const std::string &lib) {
    for (const RuleCase &test : cases) {
        MemoryReader reader({{"C:\\scripts\\lib.osc", lib}});
        const ScriptCheck check =
            CheckScript(test.script, "C:\\scripts\\main.osc", ShippedCommands(), &reader, test.bytes);
        EXPECT_EQ(Problems(test.script, check), test.expected) << test.name;
    }
}

// Names: commands, labels, variables, and what comments, includes and encodings hide or add.
TEST(ScriptCheck, Rules) {
    ExpectReports({
        {"commands in any case", "MoV eax, 1\nrun\nEsTo\n", {}},
        {"unknown command and a comma glued to the name", "mvo eax, 1\nmov, eax, 1\n",
         {"command:mvo", "command:mov,"}},
        {"labels: defined, jumped to, case kept",
         "@loop:\njmp @loop\nje  Start\nStart:\ncall start\nbpgoto 401000, @gone\n",
         {"label:start", "label:@gone"}},
        {"label operand held by a variable or a string", "var t\nmov t, \"x\"\njmp t\ngoto \"x\"\njmp $RESULT\n", {}},
        {"label defined twice: the second is marked", "a:\nnop:\na:\n", {"twice:a"}},
        {"label and command on one line", "var x\nloop: inc x\n", {"alone:loop:"}},
        {"undeclared variables", "add counter, 1\nmov [base+10], eax\n", {"var:counter", "var:base"}},
        {"words that are not variables",
         "mov eax, cafe\nmov EAX, [esp+4]\nmov !ZF, 1\nitoa 10., 10.\nfind eip, #6A??E8#\nmov f, st(0)\n"
         "gmi eip, CODEBASE\nlog \"a, b\"\nmov x, $RESULT_1\ncmp x, -1\nmov y, 5.0\n",
         {}},
        {"text operands are not judged, the others are", "gpa VirtualAlloc, kernel32.dll\ndm eip, 10, dump.bin\n"
         "log eax, prefix\nlog total\n", {"var:total"}},
        {"implicit declarations by MOV, TICK and POP", "mov total, 0\ntick t0\npop top\nadd total, t0\nadd top, 1\n",
         {}},
        {"comments by the plug-in's rules",
         "; mvo\n// mvo\n/* mvo\nmvo\nmvo */\nmvo /* note */\nmov eax, 1 ; bad words\nx\nlog \"http://x\"\n"
         "findcmd eip, \"nop;nop\"\nbad /* cut */ var\n",
         {"command:bad"}},
        {"a quoted marker keeps a later one as code: not judged, but declares",
         "log \"a;b\" ; mvo\nmov text, \"a;b\" ; note\nlog text\n", {}},
        {"assembler block", "exec\nmov eax, foo\nfoo:\nende\njmp foo\n", {"label:foo"}},
        {"include: labels and variables of the included script", "#inc \"lib.osc\"\ncall helper\nadd shared, 1\n", {}},
        {"include found inside a comment", "; #inc \"lib.osc\"\ncall helper\n", {}},
        {"unreadable include: reported, and only commands are checked",
         "#inc \"missing.osc\"\njmp nowhere\nadd zz, 1\nmvo\n", {"nofile:#inc \"missing.osc\"", "command:mvo"}},
        {"bad include directive", "#INC lib.osc\n", {"inc:#INC"}},
        {"#log line removed", "#log\nmov eax, 1\n", {}},
        {"byte order mark", "\xEF\xBB\xBFmov eax, 1\n", {"command:\xEF\xBB\xBF"}},
        {"CR CR LF and CR-only line ends", "mov eax, 1\r\r\nmvo\r\n", {"command:mvo"}},
    }, "var shared\nhelper:\nret\n");
}

// What the plug-in stops at beyond names: each fault in a small script, and the lines
// beside it that the plug-in accepts.
TEST(ScriptCheck, PluginStops) {
    ExpectReports({
        {"operand counts, optional operands and the lenient readings",
         "mov eax\nmov eax, 1, 4\nmov eax, 1, 4, 5\ncmp eax\nfind eip, #90#, 100\nbpx \"GetVersion\", 1\n"
         "bc\nrun 1\neob\nifeq\nendif\nifeq eax\nendif\nlog \"a, b\"\nitoa 10., 10.\ngmemi eip, MEMORYBASE, 1\n",
         {"count:mov eax", "count:mov eax, 1, 4, 5", "count:cmp eax", "count:ifeq eax", "count:gmemi eip, MEMORYBASE, 1"}},
        {"an empty operand is not counted", "mov eax, , 1\nmov eax,\n", {}},
        {"IFxx, ELSE and ENDIF pairing", "ifeq eax, 1\nifa\nelse\nendif\nendif\nendif\nelse\nifb eax, 2\n",
         {"noif:endif", "noif:else", "if:ifb"}},
        {"a label starting with if takes the ENDIF", "ifeq eax, 1\nifound:\nendif\nret\n", {"if:ifeq"}},
        {"an if label outside blocks changes nothing", "ifound:\nifeq eax, 1\nendif\njmp ifound\n", {}},
        {"a comment that looks like a block line: pairing not judged", "/*\nif it fails\n*/\nifeq eax, 1\n", {}},
        {"EXEC and ENDE pairing; nothing inside EXEC is judged",
         "exec\nmov eax, 0x10\npush \"x\nfoo eax\nende\nende\nexec\nmov eax, 1\n", {"ende:ende", "exec:exec"}},
        {"hex byte strings", "find eip, #6A0#\nfind eip, #6A??E8#\nmov x, ##\nfind eip, #6A?#\n",
         {"hex:#6A0#", "hex:#6A?#"}},
        {"unclosed strings, also after a removed comment", "msg \"hello\nlog \"a;b\nlog \"a\" ; note\n",
         {"string:\"hello", "string:\"a"}},
        {"0x and h numbers outside strings", "mov eax, 0x10\nadd eax, [esp+1Ch]\ncmp eax, -0X1f\nlog \"0x10\"\n"
         "mov ah, 1\nmov eax, 10.\nvar 0Ah\nmov 0Ah, 1\n",
         {"number:0x10", "number:1Ch", "number:-0X1f"}},
        {"typographic quotes in UTF-8", "msg \xE2\x80\x9Chello\xE2\x80\x9D\nmsg \"\xE2\x80\x9Cquoted\xE2\x80\x9D\"\n",
         {"quote:\xE2\x80\x9C", "quote:\xE2\x80\x9D"}, ScriptBytes::kUtf8},
        {"typographic quotes of a Windows code page", "msg \x93hello\x94\n// \x93note\x94\n",
         {"quote:\x93", "quote:\x94"}, ScriptBytes::kWindowsSingleByte},
        {"the same bytes in an unknown (double-byte) encoding are text", "msg \x93hello\x94\n", {}},
        {"a missing include is reported, a present one not", "#inc \"lib.osc\"\n#inc \"gone.osc\"\n",
         {"nofile:#inc \"gone.osc\""}},
        {"a clean script", "var x\nmov x, 10\nifeq x, 10\n  log x\nelse\n  msg \"no\"\nendif\nexec\npush 0\nende\n"
         "find eip, #6A00E8#\nbphws eip, \"x\"\ngpa \"VirtualAlloc\", \"kernel32.dll\"\nret\n",
         {}},
    }, "ret\n");
}

// What the user reads for each report, and the line (from 0) it is on.
TEST(ScriptCheck, ProblemsCarryLinesAndMessages) {
    const struct {
        const char *path;
        std::string script;
        std::vector<std::string> expected;  // "line: message"
    } cases[] = {
        {"", "var x\n\nmov x, 1\ngoto there\n", {"3: Label not defined: there"}},
        {"C:\\s\\main.osc", "mov eax\nifeq eax, 1\nifx:\nendif\nmov eax, 0x1F\n",
         {"0: The plug-in stops here: MOV takes 2 or 3 operands, this line gives 1",
          "1: No ENDIF closes this block: the plug-in stops here when the condition is false: ifeq (the plug-in "
          "counts line 3 as an IF because it starts with \"if\", and gives it this block's ENDIF)",
          "4: The plug-in stops here: numbers are hex without 0x or h (write 1F): 0x1F"}},
    };
    for (const auto &c : cases) {
        const ScriptCheck check = CheckScript(c.script, c.path, ShippedCommands(), nullptr);
        std::vector<std::string> messages;
        for (const ScriptProblem &problem : check.problems)
            messages.push_back(std::to_string(problem.line) + ": " +
                               ProblemMessage(problem, c.script.substr(problem.start, problem.length)));
        EXPECT_EQ(messages, c.expected) << c.script;
    }
}

TEST(ScriptCheck, LabelsOfIncludesAndOperandLookup) {
    MemoryReader reader({{"C:\\s\\lib.osc", "\n\nhelper:\nret\n"}, {"D:\\other\\deep.osc", "deep:\n"}});
    const std::string script = "#inc \"lib.osc\"\n#inc \"D:\\other\\deep.osc\"\nstart:\n  call  helper ; go\n"
                               "bpgoto eip, deep\n";
    const ScriptCheck check = CheckScript(script, "C:\\s\\main.osc", ShippedCommands(), &reader);
    EXPECT_TRUE(check.problems.empty());
    ASSERT_EQ(check.labels.count("helper"), 1u);
    EXPECT_EQ(check.labels.at("helper").file, "C:\\s\\lib.osc");
    EXPECT_EQ(check.labels.at("helper").line, 2u);
    EXPECT_EQ(check.labels.at("deep").file, "D:\\other\\deep.osc");
    EXPECT_EQ(check.labels.at("start").file, "");
    EXPECT_EQ(check.labels.at("start").position, script.find("start:"));

    const std::size_t helper = script.find("helper ;");
    EXPECT_EQ(LabelOperandAt(script, helper).value_or("-"), "helper");
    EXPECT_EQ(LabelOperandAt(script, helper + 6).value_or("-"), "helper");  // just after the name
    EXPECT_FALSE(LabelOperandAt(script, script.find("call")).has_value());
    EXPECT_FALSE(LabelOperandAt(script, script.find("; go") + 2).has_value());
    EXPECT_EQ(LabelOperandAt(script, script.find("deep\n")).value_or("-"), "deep");
    EXPECT_FALSE(LabelOperandAt(script, script.find("eip")).has_value());
}

// Counts the reads of each included file.
class CountingReader : public MemoryReader {
public:
    using MemoryReader::MemoryReader;
    bool Read(const std::string &path, std::string &bytes) override {
        ++reads[path];
        return MemoryReader::Read(path, bytes);
    }
    std::map<std::string, int> reads;
};

// Each included file is read once per check, however often and deep it is included,
// and every include cycle is reported where it closes.
TEST(ScriptCheck, IncludesReadOnceAndCycles) {
    // A script naming itself three times: three cycles, no read at all.
    const std::string self = "#inc \"main.osc\"\n#inc \"main.osc\"\n#INC \"C:\\S\\MAIN.OSC\"\nret\n";
    CountingReader selfReader(std::map<std::string, std::string>{{"C:\\s\\main.osc", self}});
    ScriptCheck check = CheckScript(self, "C:\\s\\main.osc", ShippedCommands(), &selfReader);
    EXPECT_EQ(Problems(self, check), (std::vector<std::string>{"cycle:#inc \"main.osc\"", "cycle:#inc \"main.osc\"",
                                               "cycle:#INC \"C:\\S\\MAIN.OSC\""}));
    EXPECT_TRUE(selfReader.reads.empty());
    EXPECT_EQ(ProblemMessage(check.problems[0], "#inc \"main.osc\""),
              "The plug-in includes this file again here, and again, without end: C:\\s\\main.osc");

    // Two files including each other, both included twice; a chain of 40 includes whose
    // last one defines a label; a diamond (two paths to one file) is no cycle.
    std::map<std::string, std::string> files = {
        {"C:\\s\\a.osc", "#inc \"b.osc\"\na_label:\n"},
        {"C:\\s\\b.osc", "\n#inc \"a.osc\"\n#inc \"d.osc\"\n"},
        {"C:\\s\\c.osc", "#inc \"d.osc\"\n"},
        {"C:\\s\\d.osc", "#inc \"chain0.osc\"\n"},
    };
    for (int i = 0; i < 40; ++i)
        files["C:\\s\\chain" + std::to_string(i) + ".osc"] =
            i < 39 ? "#inc \"chain" + std::to_string(i + 1) + ".osc\"\n" : std::string("deepest:\nret\n");
    CountingReader reader(files);
    const std::string script = "#inc \"a.osc\"\n#inc \"b.osc\"\n#inc \"a.osc\"\n#inc \"c.osc\"\n"
                               "call deepest\njmp a_label\n";
    check = CheckScript(script, "C:\\s\\main.osc", ShippedCommands(), &reader);
    ASSERT_EQ(check.problems.size(), 1u);
    const ScriptProblem &cycle = check.problems[0];
    EXPECT_EQ(Describe(script, cycle), "cycle:#inc \"a.osc\"");  // the checked script's line that leads there
    EXPECT_EQ(cycle.line, 0u);
    EXPECT_EQ(cycle.placeFile, "C:\\s\\b.osc");  // where it closes
    EXPECT_EQ(cycle.placeLine, 1u);
    EXPECT_EQ(cycle.placeColumn, 0u);
    EXPECT_EQ(ProblemMessage(cycle, "#inc \"a.osc\""),
              "The plug-in includes this file again here, and again, without end: C:\\s\\a.osc (#inc in "
              "C:\\s\\b.osc, line 2)");
    EXPECT_EQ(reader.reads.size(), files.size());
    for (const auto &[path, reads] : reader.reads) EXPECT_EQ(reads, 1) << path;
}

// Serves a text in blocks of a fixed size; stops answering after `answers` blocks.
class BlockSource : public TextSource {
public:
    BlockSource(std::string_view text, std::size_t blockSize, int answers = -1)
        : text_(text), blockSize_(blockSize), answers_(answers) {}
    bool Append(std::size_t offset, std::string &buffer) override {
        if (answers_-- == 0) return false;
        if (offset < text_.size()) buffer.append(text_.substr(offset, blockSize_));
        return true;
    }

private:
    std::string_view text_;
    std::size_t blockSize_;
    int answers_;
};

// Everything a check answers, as text.
std::string Answer(std::string_view script, const ScriptCheck &check) {
    std::ostringstream out;
    for (const ScriptProblem &problem : check.problems)
        out << problem.start << ' ' << problem.line << ' ' << Describe(script, problem) << ' '
            << ProblemMessage(problem, script.substr(problem.start, problem.length)) << '\n';
    for (const auto &[name, place] : check.labels) out << name << '@' << place.file << ':' << place.position << '\n';
    for (const auto &[start, length] : check.labelLinks) out << "link " << start << ' ' << length << '\n';
    out << check.includesRead << check.complete;
    return out.str();
}

// A check that reads its text block by block (lines split across blocks, a block
// boundary between CR and LF, an unterminated last line) answers what the check of the
// whole text answers; a source that stops answering makes the check incomplete.
TEST(ScriptCheck, TextReadInBlocksAnswersAsTheWholeText) {
    std::string script;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLET_CORPUS_DIR))
        if (entry.path().extension() == ".osc") script += ReadFile(entry.path()) + "\r\n";
    script += "a:\nmvo\r\nloop: inc x\n#inc lib.osc\n#inc \"lib.osc\"\ncall helper\nadd shared, 1\nmvo /* x */";
    MemoryReader reader({{"C:\\s\\lib.osc", std::string("var shared\nhelper:\nret\n")}});
    const ScriptCheck whole = CheckScript(script, "C:\\s\\main.osc", ShippedCommands(), &reader);
    ASSERT_GT(whole.problems.size(), 10u);
    for (std::size_t blockSize : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, script.size()}) {
        BlockSource source(script, blockSize);
        const ScriptCheck inBlocks = CheckScript(source, "C:\\s\\main.osc", ShippedCommands(), &reader);
        EXPECT_EQ(Answer(script, inBlocks), Answer(script, whole)) << "blocks of " << blockSize;
    }
    BlockSource stopping(script, 4096, 3);
    const ScriptCheck stopped = CheckScript(stopping, "C:\\s\\main.osc", ShippedCommands(), &reader);
    EXPECT_FALSE(stopped.complete);
    EXPECT_TRUE(stopped.problems.empty());
}

// Every report on the corpus: file, lines (1-based, at LF), kind and underlined text,
// with the reason the plug-in would stop there.
struct ExplainedReport {
    const char *file;
    std::vector<int> lines;
    const char *problem;
    const char *reason;
};

const char kExecryptor[] = "apuromafo__OllydbgScript__E__EXECRYPTOR__EXECryptor_v2.x.x_MSVC_APIs_Retriever.osc";
const char kThemidaUnpacker[] = "apuromafo__OllydbgScript__W__WinLicence__Themida_1.9.5.0_Unpacker_v0.2.txt";

// The tracing routine of the EXECryptor retriever calls labels the script never defines,
// EXECryptor_<name>_t, one a line from line 1840 on.
const char *const kExecryptorUndefined[] = {
    "EncryptStr", "DecryptStr", "EncryptStrW", "DecryptStrW", "GetTrialDaysLeft", "GetTrialRunsLeft", "SecureWrite",
    "SecureRead", "SecureWriteW", "SecureReadW", "MessageBoxA", "GetProcAddr", "AntiDebug", "ProtectImport",
    "VerifySerialNumber", "VerifySerialNumberW", "DecodeSerialNumber", "DecodeSerialNumberW", "SetCodeKey",
    "IsRegistered", "RegConst_0", "RegConst_1", "RegConst_2", "RegConst_3", "RegConst_4", "RegConst_5", "RegConst_6",
    "RegConst_7",
};

const ExplainedReport kExplained[] = {
    {"BKHONEL__OllyDBG-Script__Asprotect__ASProtect.Unpacking.Scripts.by.vnekrilov__IAT_APIs-u8c0aef.osc", {735},
     "twice:error", "second `error:` (first on line 459): jumps land on the first one and its message"},
    {kExecryptor, {1985}, "label:newimplementation",
     "the script never defines `newimplementation` (the branch is taken when tracing_version is 0)"},
    {"apuromafo__OllydbgScript__E__Enigma__Enigma_1.12_OEP_Finder_Fix_Imports.txt", {5, 6, 7, 48, 49},
     "command:setexc", "`setexc` is not a command of the plug-in"},
    {"apuromafo__OllydbgScript__E__ExeStealth__EXEStealth_2.75a.txt", {7}, "command:zyzygy,B@S",
     "a line of the greetings header lost its `//`: the plug-in runs it as a command"},
    {"apuromafo__OllydbgScript__V__Visage_visual_protect__visavev0.osc", {33, 41}, "var:len",
     "`len` is never declared (nor a number): READSTR cannot read its length operand"},
    {kThemidaUnpacker, {648, 677, 705}, "twice:loopoepvc60",
     "second, third and fourth `loopoepvc60:` (first on line 621): each loop jumps back to the first one"},
    {kThemidaUnpacker, {896, 959}, "twice:findebx",
     "second and third `findebx:` (first on line 889): jumps land on the first one"},
    {kThemidaUnpacker, {971}, "twice:findedx", "second `findedx:` (first on line 903): jumps land on the first one"},
    {kThemidaUnpacker, {977}, "twice:findecx", "second `findecx:` (first on line 910): jumps land on the first one"},
    {kThemidaUnpacker, {1517}, "command:odbgver\xA3\xBA",
     "label written with a full-width colon (GBK A3 BA): not a label, an unknown command"},
    {"apuromafo__OllydbgScript__Z__Zprotect__ZProtect_1.4.x_HWID_Inline_Patcher_v1.4.txt", {1400}, "twice:SEARCH_7",
     "second `SEARCH_7:` (first on line 1395): its loop jumps back to the first one"},
    {kExecryptor, {1010}, "hex:#E9????????01145#",
     "17 digits: FINDMEM refuses a byte pattern of odd length (a byte cut in half)"},
    {kExecryptor, {1013}, "hex:#E9??????????01145#", "19 digits: FINDMEM refuses a byte pattern of odd length"},
    {kExecryptor, {1016}, "hex:#E9????????????01145#", "21 digits: FINDMEM refuses a byte pattern of odd length"},
    {"dubuqingfeng__ollydbg-script__ASProtect__Aspr2.XX_unpacker_v1.13SC_CRC_-ucb4327.osc", {3012, 3378, 3770},
     "hex:#030000000#", "9 digits written to memory, three times: MOV refuses a byte string of odd length (4 bytes "
     "were meant)"},
    {"dubuqingfeng__ollydbg-script__Obsidium__Obsidium_1.3.0.x_OEP_Finder_Find_Stolen_Code_Fix_IAT_.txt", {17},
     "nofile:#inc \"Get.eXe.PE.Information.osc\"",
     "the included script was published without it: beside the script there is no such file, so the plug-in "
     "includes nothing"},
    {"dubuqingfeng__ollydbg-script__Armadillo__Armadillo_4.42_CopyMem2_Decrypt_Code_Sections.txt", {208},
     "command:ret[QUOTE]", "forum markup left in the script: `ret[QUOTE]` is no command"},
    {"dubuqingfeng__ollydbg-script__ThemidaScript__TMD_-u33ab7e.osc", {21}, "label:odbgver",
     "the script never defines `odbgver`"},
    {"dubuqingfeng__ollydbg-script__ThemidaScript__TMD_-u33ab7e.osc", {45, 53, 63, 82}, "label:stop",
     "the script never defines `stop`"},
    {"dubuqingfeng__ollydbg-script__ThemidaScript__TMD_-u33ab7e.osc", {134}, "label:notlb",
     "the script never defines `notlb`"},
    {"dubuqingfeng__ollydbg-script__Themida__themida.txt", {1}, "command:\xEF\xBB\xBF",
     "UTF-8 byte order mark: the plug-in reads it as a command in front of the `//` comment"},
    {"dubuqingfeng__ollydbg-script__Themida__themida.txt", {28}, "label:odbgver", "the script never defines `odbgver`"},
    {"dubuqingfeng__ollydbg-script__ZProtect__ZProtect_1.4_Unpacker.txt", {415}, "twice:finiat2",
     "second `finiat2:` (first on line 263): jumps land on the first one"},
    {"dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt", {19}, "command:vae", "`vae` is a misspelt `var`"},
    {"dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt", {38, 76}, "label:startfix",
     "the script never defines `startfix`"},
    {"dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt", {88}, "twice:startfind",
     "second `startfind:` (first on line 50): the second loop jumps back into the first"},
    {"dubuqingfeng__ollydbg-script__ZProtect__anti-hook-u07be12.txt", {94}, "twice:fixing",
     "second `fixing:` (first on line 56): the second pass jumps into the first"},
};

TEST(ScriptCheck, CorpusReportsAreExplainedFaults) {
    using Report = std::tuple<std::string, int, std::string>;
    std::set<Report> explained;
    for (const ExplainedReport &report : kExplained)
        for (int line : report.lines) explained.emplace(report.file, line, report.problem);
    for (std::size_t i = 0; i < std::size(kExecryptorUndefined); ++i)
        explained.emplace(kExecryptor, 1840 + static_cast<int>(i),
                          std::string("label:EXECryptor_") + kExecryptorUndefined[i] + "_t");

    std::set<Report> found;
    DiskReader reader;
    int scripts = 0;
    for (const auto &entry : std::filesystem::directory_iterator(QUILLET_CORPUS_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".txt" && entry.path().extension() != ".osc") continue;
        ++scripts;
        const std::string text = ReadFile(entry.path());
        const std::optional<EncodingId> encoding = RecogniseEncoding(text);
        const ScriptCheck check = CheckScript(text, entry.path().string(), ShippedCommands(), &reader,
                                              encoding ? ScriptBytesFor(*encoding) : ScriptBytes::kUnknown);
        for (const ScriptProblem &problem : check.problems) {
            const Report report{name, static_cast<int>(problem.line) + 1, Describe(text, problem)};
            found.insert(report);
            EXPECT_TRUE(explained.count(report)) << "unexplained report: " << name << ":" << problem.line + 1 << ": "
                                                 << ProblemMessage(problem, text.substr(problem.start, problem.length));
        }
    }
    EXPECT_EQ(scripts, 54);
    for (const Report &report : explained)
        EXPECT_TRUE(found.count(report)) << "explained report no longer found: " << std::get<0>(report) << ":"
                                         << std::get<1>(report) << " " << std::get<2>(report);
}

}  // namespace
}  // namespace quillet
