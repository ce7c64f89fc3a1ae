// A shell on POSIX; on Windows, where the shell reads other quotes, the words are split here and
// the program started directly.
#include "program_run.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace tavrel::testing {

#ifndef _WIN32

int runProgram(const std::string& program, const std::string& arguments, const ProgramRun& run) {
    const std::string command = "cd '" + run.folder.string() + "' && " + run.environment + " " +
                                program + " " + arguments + " >" + run.out + " 2>" + run.err;
    return WEXITSTATUS(std::system(command.c_str()));
}

#else

namespace {

std::vector<std::wstring> shellWords(const std::string& text) {
    std::vector<std::wstring> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (const char c : text) {
        if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '\'' || c == '"')) {
            quote = c;
            inWord = true;
        } else if (quote == 0 && (c == ' ' || c == '\t')) {
            if (inWord)
                words.push_back(std::filesystem::path(std::u8string(word.begin(), word.end())));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0)
        throw std::invalid_argument("a quote is left open: " + text);
    if (inWord)
        words.push_back(std::filesystem::path(std::u8string(word.begin(), word.end())));
    return words;
}

// One word of a command line as the C runtime's argument parser reads it back.
std::wstring quoted(const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos)
        return word;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        result += c;
        backslashes = 0;
    }
    return result.append(2 * backslashes, L'\\') + L'"';
}

HANDLE inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE file = ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open " + path.string());
    return file;
}

}  // namespace

int runProgram(const std::string& program, const std::string& arguments, const ProgramRun& run) {
    if (!run.environment.empty())
        throw std::invalid_argument("no environment for a Windows program: " + run.environment);
    const std::filesystem::path path = std::filesystem::absolute(program);
    std::wstring line = quoted(path.wstring());
    for (const std::wstring& word : shellWords(arguments)) line += L" " + quoted(word);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = inheritable(run.folder / run.out, GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = inheritable(run.folder / run.err, GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(path.c_str(), line.data(), nullptr, nullptr, TRUE, 0,
                                          nullptr, run.folder.c_str(), &startup, &process);
    for (const HANDLE file : {startup.hStdInput, startup.hStdOutput, startup.hStdError})
        ::CloseHandle(file);
    if (!started)
        throw std::runtime_error("cannot start " + path.string());
    DWORD status = 0;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::GetExitCodeProcess(process.hProcess, &status);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

#endif

}  // namespace tavrel::testing
