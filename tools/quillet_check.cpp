// quillet-check: the editor's script checks from the command line.
//
//   quillet-check [--format text|json] [--encoding NAME] FILE|FOLDER...
//
// Each script is read as bytes, its encoding recognised as the editor recognises it
// (or taken from --encoding), and checked by the same checker the editor runs, with
// #inc files read from where the plug-in would read them. Folders are walked for
// .txt and .osc files. Text output has one line per problem in the form compilers
// use, `path:line:column: error: message`, and a summary line; JSON output is one
// object. Exit code 0: nothing found; 1: problems found; 2: a file could not be read
// (its reason is printed) or the command line is wrong.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "assist/plugin_commands.h"
#include "assist/script_check_rules.h"
#include "documents/encoding_rules.h"

namespace {

using quillet::ProblemKind;
using quillet::ScriptCheck;
using quillet::ScriptProblem;

constexpr char kUsage[] =
    "usage: quillet-check [--format text|json] [--encoding NAME] FILE|FOLDER...\n"
    "Checks OllyDbg scripts for what the ODbgScript plug-in stops at.\n"
    "Folders are walked for .txt and .osc files. Exit code 0: no problems,\n"
    "1: problems found, 2: a file could not be read.\n";

// Reads a whole file; on failure `reason` holds the system's reason.
bool ReadWholeFile(const std::string &path, std::string &bytes, std::string &reason) {
    errno = 0;
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        reason = std::strerror(errno ? errno : ENOENT);
        return false;
    }
    bytes.clear();
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    const bool failed = std::ferror(file) != 0;
    if (failed) reason = std::strerror(errno ? errno : EIO);
    std::fclose(file);
    return !failed;
}

// The path an include is opened at on this system: the plug-in's names use
// backslashes, which only Windows reads as separators.
std::string HostPath(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

class FileReader : public quillet::IncludeReader {
public:
    bool Read(const std::string &path, std::string &bytes) override {
        std::string reason;
        return ReadWholeFile(HostPath(path), bytes, reason);
    }
};

const char *KindName(ProblemKind kind) {
    switch (kind) {
    case ProblemKind::kUnknownCommand: return "unknown-command";
    case ProblemKind::kUndefinedLabel: return "undefined-label";
    case ProblemKind::kDuplicateLabel: return "duplicate-label";
    case ProblemKind::kLabelWithCommand: return "label-with-command";
    case ProblemKind::kUndeclaredVariable: return "undeclared-variable";
    case ProblemKind::kBadInclude: return "bad-include";
    case ProblemKind::kOperandCount: return "operand-count";
    case ProblemKind::kIfWithoutEndif: return "if-without-endif";
    case ProblemKind::kNoOpeningIf: return "no-opening-if";
    case ProblemKind::kExecWithoutEnde: return "exec-without-ende";
    case ProblemKind::kEndeWithoutExec: return "ende-without-exec";
    case ProblemKind::kIncludeNotFound: return "include-not-found";
    case ProblemKind::kIncludeCycle: return "include-cycle";
    case ProblemKind::kOddHexString: return "odd-hex-string";
    case ProblemKind::kUnclosedString: return "unclosed-string";
    case ProblemKind::kTypographicQuote: return "typographic-quote";
    case ProblemKind::kPrefixedNumber: return "prefixed-number";
    }
    return "problem";
}

// One problem as printed: where it lies and what the plug-in does there.
struct Finding {
    std::string path;
    std::size_t line = 0, column = 0;  // 1-based
    const char *kind = "";
    std::string message;
};

struct Unreadable {
    std::string path;
    std::string reason;
};

struct Options {
    bool json = false;
    std::optional<quillet::EncodingId> encoding;
    std::vector<std::string> inputs;
};

// A path as printed: relative to the current folder when it lies below it.
std::string Shown(const std::string &path) {
    std::error_code error;
    const std::string current = std::filesystem::current_path(error).string();
    if (error || current.empty() || path.size() <= current.size() + 1 || path.compare(0, current.size(), current) != 0)
        return path;
    const char separator = path[current.size()];
    return separator == '/' || separator == '\\' ? path.substr(current.size() + 1) : path;
}

// Checks one script and adds its findings. The script is checked under its absolute
// path, so an include that names it again is known as the same file however it is
// written.
void CheckFile(const std::string &path, const std::string &bytes, const Options &options,
               const quillet::CommandSet &commands, std::vector<Finding> &findings) {
    const std::optional<quillet::EncodingId> encoding =
        options.encoding ? options.encoding : quillet::RecogniseEncoding(bytes);
    const quillet::ScriptBytes reading = encoding ? quillet::ScriptBytesFor(*encoding) : quillet::ScriptBytes::kUnknown;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    FileReader reader;
    const ScriptCheck check =
        quillet::CheckScript(bytes, error ? path : absolute.string(), commands, &reader, reading);
    for (ScriptProblem problem : check.problems) {
        if (!problem.path.empty()) problem.path = Shown(HostPath(problem.path));
        if (!problem.placeFile.empty()) problem.placeFile = Shown(HostPath(problem.placeFile));
        Finding finding;
        finding.kind = KindName(problem.kind);
        finding.message = quillet::ProblemMessage(problem, std::string_view(bytes).substr(problem.start, problem.length));
        if (!problem.placeFile.empty()) {
            finding.path = problem.placeFile;
            finding.line = problem.placeLine + 1;
            finding.column = problem.placeColumn + 1;
        } else {
            const std::size_t lineStart = problem.start == 0 ? 0 : bytes.rfind('\n', problem.start - 1) + 1;
            finding.path = path;
            finding.line = problem.line + 1;
            finding.column = problem.start - lineStart + 1;
        }
        findings.push_back(std::move(finding));
    }
}

bool IsScriptName(const std::filesystem::path &path) {
    std::string extension = path.extension().string();
    for (char &c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension == ".txt" || extension == ".osc";
}

// The scripts named on the command line: files as given, folders walked (sorted, so
// the output is the same on every run).
std::vector<std::string> ScriptsOf(const std::vector<std::string> &inputs, std::vector<Unreadable> &unreadable) {
    std::vector<std::string> scripts;
    for (const std::string &input : inputs) {
        std::error_code error;
        if (!std::filesystem::is_directory(input, error)) {
            scripts.push_back(input);
            continue;
        }
        std::vector<std::string> found;
        std::filesystem::recursive_directory_iterator walk(input, error), end;
        for (; !error && walk != end; walk.increment(error)) {
            std::error_code typeError;
            if (walk->is_regular_file(typeError) && IsScriptName(walk->path())) found.push_back(walk->path().string());
        }
        if (error) unreadable.push_back({input, error.message()});
        std::sort(found.begin(), found.end());
        scripts.insert(scripts.end(), found.begin(), found.end());
    }
    return scripts;
}

// A JSON string of bytes: UTF-8 passes; any other byte above 127 is written as the
// character of the same number, so the output stays valid whatever the script's code page.
std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t sequence = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        bool utf8 = sequence > 1 && i + sequence <= text.size();
        for (std::size_t k = 1; utf8 && k < sequence; ++k) utf8 = (static_cast<unsigned char>(text[i + k]) >> 6) == 2;
        char escaped[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (utf8) {
            out.append(text.substr(i, sequence));
            i += sequence - 1;
        } else {
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string Summary(std::size_t problems, std::size_t scripts, std::size_t unreadable) {
    std::string summary = std::to_string(problems) + (problems == 1 ? " problem in " : " problems in ") +
                          std::to_string(scripts) + (scripts == 1 ? " script" : " scripts");
    if (unreadable > 0) summary += ", " + std::to_string(unreadable) + " could not be read";
    return summary;
}

void PrintText(const std::vector<Finding> &findings, const std::vector<Unreadable> &unreadable, std::size_t scripts) {
    for (const Unreadable &file : unreadable)
        std::fprintf(stderr, "%s: error: cannot read: %s\n", file.path.c_str(), file.reason.c_str());
    for (const Finding &finding : findings)
        std::printf("%s:%s:%s: error: %s\n", finding.path.c_str(), std::to_string(finding.line).c_str(),
                    std::to_string(finding.column).c_str(), finding.message.c_str());
    std::printf("%s\n", Summary(findings.size(), scripts, unreadable.size()).c_str());
}

void PrintJson(const std::vector<Finding> &findings, const std::vector<Unreadable> &unreadable, std::size_t scripts) {
    std::string out = "{\"problems\":[";
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Finding &finding = findings[i];
        out += (i ? ",\n" : "\n") + std::string("{\"path\":") + JsonString(finding.path) +
               ",\"line\":" + std::to_string(finding.line) + ",\"column\":" + std::to_string(finding.column) +
               ",\"kind\":\"" + finding.kind + "\",\"message\":" + JsonString(finding.message) + "}";
    }
    out += "],\n\"unreadable\":[";
    for (std::size_t i = 0; i < unreadable.size(); ++i)
        out += (i ? ",\n" : "\n") + std::string("{\"path\":") + JsonString(unreadable[i].path) +
               ",\"reason\":" + JsonString(unreadable[i].reason) + "}";
    out += "],\n\"scripts\":" + std::to_string(scripts) + ",\"summary\":" +
           JsonString(Summary(findings.size(), scripts, unreadable.size())) + "}\n";
    std::fputs(out.c_str(), stdout);
}

int Usage(const char *problem) {
    if (problem) std::fprintf(stderr, "quillet-check: %s\n", problem);
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char **argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--format" && i + 1 < argc) {
            const std::string_view format = argv[++i];
            if (format != "text" && format != "json") return Usage("--format takes text or json");
            options.json = format == "json";
        } else if (argument == "--encoding" && i + 1 < argc) {
            options.encoding = quillet::EncodingNamed(argv[++i]);
            if (!options.encoding) return Usage("unknown encoding (names as in the editor: UTF-8, GBK, Windows-1251, ...)");
        } else if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument.substr(0, 2) == "--") {
            return Usage("unknown option");
        } else {
            options.inputs.emplace_back(argument);
        }
    }
    if (options.inputs.empty()) return Usage(nullptr);

    const quillet::CommandSet commands(quillet::PluginCommandList());
    std::vector<Unreadable> unreadable;
    const std::vector<std::string> scripts = ScriptsOf(options.inputs, unreadable);
    std::vector<Finding> findings;
    std::size_t checked = 0;
    std::string bytes, reason;
    for (const std::string &script : scripts) {
        if (!ReadWholeFile(script, bytes, reason)) {
            unreadable.push_back({script, reason});
            continue;
        }
        ++checked;
        CheckFile(script, bytes, options, commands, findings);
    }
    // A fault inside an included file (a cycle closing there) is found through every
    // script that includes it: it is told once.
    std::set<std::string> told;
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [&told](const Finding &finding) {
                                      return !told
                                                  .insert(finding.path + '\n' + std::to_string(finding.line) + '\n' +
                                                          std::to_string(finding.column) + '\n' + finding.message)
                                                  .second;
                                  }),
                   findings.end());
    if (options.json)
        PrintJson(findings, unreadable, checked);
    else
        PrintText(findings, unreadable, checked);
    if (!unreadable.empty()) return 2;
    return findings.empty() ? 0 : 1;
}
