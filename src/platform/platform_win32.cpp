// The platform's files on Windows: UTF-8 names turned into UTF-16 for the system's wide calls.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"
#include "platform/platform_outcome.h"

namespace tavrel::sys {
namespace {

// Every open file lets others read, write, rename and delete it, as on POSIX: the change log is
// renamed and replaced while other handles are open, and other programs may read the image.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ReadFile and WriteFile take at most a DWORD's worth; a round gigabyte per call is plenty.
constexpr std::size_t kMaxCall = std::size_t{1} << 30;

constexpr OutcomeCodes<DWORD> kOutcomes[] = {
    {Outcome::NotFound,
     {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_INVALID_DRIVE, ERROR_INVALID_NAME,
      ERROR_BAD_NETPATH, ERROR_BAD_NET_NAME, ERROR_DIRECTORY}},
    {Outcome::Refused,
     {ERROR_ACCESS_DENIED, ERROR_WRITE_PROTECT, ERROR_SHARING_VIOLATION,
      ERROR_NETWORK_ACCESS_DENIED, ERROR_PRIVILEGE_NOT_HELD, ERROR_FILE_READ_ONLY}},
    {Outcome::Held, {ERROR_LOCK_VIOLATION}},
    {Outcome::NoLocks, {ERROR_NOT_SUPPORTED, ERROR_INVALID_FUNCTION, ERROR_CALL_NOT_IMPLEMENTED}},
    {Outcome::Exists, {ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS}},
};

Status lastError() {
    const DWORD error = ::GetLastError();
    return {outcomeOf(kOutcomes, error), static_cast<int>(error)};
}

Status checked(BOOL result) {
    return result ? Status{} : lastError();
}

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring wide(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), size, result.data(), length);
    return result;
}

std::string utf8(const wchar_t* text, int size) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, size, result.data(), length, nullptr, nullptr);
    return result;
}

std::string utf8(const std::wstring& text) {
    return utf8(text.data(), static_cast<int>(text.size()));
}

OVERLAPPED at(std::int64_t offset) {
    OVERLAPPED overlapped{};
    overlapped.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(offset));
    overlapped.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return overlapped;
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    return {info.dwVolumeSerialNumber,
            (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

// A plain file is a disk file that is no folder; a pipe, a console or a device is not one.
bool isPlain(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& info) {
    const DWORD notPlain = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    return ::GetFileType(handle) == FILE_TYPE_DISK && (info.dwFileAttributes & notPlain) == 0;
}

// The one byte the lock covers, 2^62, far past the end of any file: Windows locks are mandatory
// for the bytes they cover, and this way reads and writes through other handles still go
// through, as they do beside a POSIX flock.
OVERLAPPED lockedByte() {
    return at(std::int64_t{1} << 62);
}

BOOL unlockAndClose(std::intptr_t handle) {
    // Windows drops a closed handle's locks only when it gets round to it: the next opening
    // must find the image free.
    OVERLAPPED byte = lockedByte();
    ::UnlockFileEx(handleOf(handle), 0, 1, 0, &byte);
    return ::CloseHandle(handleOf(handle));
}

// Opens without ever waiting on a pipe, then keeps the handle only for a plain file. A folder
// cannot be opened as a file at all, so it is told apart by its name first.
Status openPlain(const std::string& path, DWORD access, DWORD disposition, std::intptr_t& handle) {
    const std::wstring name = wide(path);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {disposition == CREATE_NEW ? Outcome::Exists : Outcome::NotRegular, 0};
    const HANDLE file = ::CreateFileW(name.c_str(), access, kShareAll, nullptr, disposition,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return lastError();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file, &info) || !isPlain(file, info)) {
        ::CloseHandle(file);
        return {Outcome::NotRegular, 0};
    }
    handle = reinterpret_cast<std::intptr_t>(file);
    return {};
}

// A handle to whatever `path` names, to ask about it; it reads and writes nothing.
HANDLE openToInspect(const std::wstring& path) {
    return ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// "\\?\C:\x" is "C:\x", and "\\?\UNC\server\share" is "\\server\share".
std::wstring withoutLongPrefix(std::wstring path) {
    if (path.starts_with(L"\\\\?\\UNC\\"))
        return L"\\" + path.substr(7);
    if (path.starts_with(L"\\\\?\\"))
        return path.substr(4);
    return path;
}

std::wstring finalPath(HANDLE handle) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size =
            ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
        if (size == 0)
            return {};
        if (size < path.size()) {
            path.resize(size);
            return withoutLongPrefix(path);
        }
        path.resize(size);
    }
}

std::wstring fullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length =
        size == 0 ? 0 : ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    full.resize(length < size ? length : 0);
    return full;
}

}  // namespace

std::string describe(int code) {
    wchar_t* text = nullptr;
    const DWORD size = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string words =
        size != 0 ? utf8(text, static_cast<int>(size)) : "error " + std::to_string(code);
    ::LocalFree(text);
    // The system's sentences end in a full stop and a line break; strerror's words do not, and
    // the messages go on after them.
    while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' '))
        words.pop_back();
    if (words.ends_with('.'))
        words.pop_back();
    return words;
}

File::~File() {
    if (isOpen())
        unlockAndClose(handle_);
}

File::File(File&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (isOpen())
            unlockAndClose(handle_);
        handle_ = other.handle_;
        other.handle_ = -1;
    }
    return *this;
}

Status File::open(const std::string& path, Access access, File& file) {
    file = File();
    const DWORD rights = access == Access::ReadWrite ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    return openPlain(path, rights, OPEN_EXISTING, file.handle_);
}

Status File::create(const std::string& path, File& file) {
    file = File();
    return openPlain(path, GENERIC_READ | GENERIC_WRITE, CREATE_NEW, file.handle_);
}

bool File::isOpen() const {
    return handle_ != -1;
}

Status File::lock(LockKind kind) {
    OVERLAPPED byte = lockedByte();
    const DWORD flags =
        LOCKFILE_FAIL_IMMEDIATELY | (kind == LockKind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    return checked(::LockFileEx(handleOf(handle_), flags, 0, 1, 0, &byte));
}

bool File::writeProtected() const {
    BY_HANDLE_FILE_INFORMATION info{};
    return ::GetFileInformationByHandle(handleOf(handle_), &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
}

Status File::size(std::int64_t& bytes) const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(handle_), &size))
        return lastError();
    bytes = size.QuadPart;
    return {};
}

Status File::identity(FileIdentity& identity) const {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handleOf(handle_), &info))
        return lastError();
    identity = identityOf(info);
    return {};
}

Status File::readAt(std::int64_t offset, std::span<std::uint8_t> buffer, std::size_t& got) const {
    got = 0;
    while (got < buffer.size()) {
        OVERLAPPED from = at(offset + static_cast<std::int64_t>(got));
        const auto want = static_cast<DWORD>(std::min(buffer.size() - got, kMaxCall));
        DWORD read = 0;
        if (!::ReadFile(handleOf(handle_), buffer.data() + got, want, &read, &from)) {
            if (::GetLastError() == ERROR_HANDLE_EOF)
                return {Outcome::EndOfFile, 0};
            return lastError();
        }
        if (read == 0)
            return {Outcome::EndOfFile, 0};
        got += read;
    }
    return {};
}

Status File::writeAt(std::int64_t offset, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        OVERLAPPED from = at(offset + static_cast<std::int64_t>(done));
        const auto count = static_cast<DWORD>(std::min(bytes.size() - done, kMaxCall));
        DWORD put = 0;
        if (!::WriteFile(handleOf(handle_), bytes.data() + done, count, &put, &from))
            return lastError();
        if (put == 0)  // the system took nothing and gave no reason
            return {Outcome::Failed, 0};
        done += put;
    }
    return {};
}

Status File::syncData() {
    return checked(::FlushFileBuffers(handleOf(handle_)));
}

Status File::truncate(std::int64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return checked(
        ::SetFileInformationByHandle(handleOf(handle_), FileEndOfFileInfo, &end, sizeof end));
}

Status File::close() {
    const std::intptr_t handle = handle_;
    handle_ = -1;
    return checked(unlockAndClose(handle));
}

Status inspect(const std::string& path, PathInfo& info) {
    info = {};
    const HANDLE handle = openToInspect(wide(path));
    if (handle == INVALID_HANDLE_VALUE) {
        const Status status = lastError();
        return status.outcome == Outcome::NotFound ? Status{} : status;
    }
    BY_HANDLE_FILE_INFORMATION about{};
    Status status;
    if (::GetFileInformationByHandle(handle, &about)) {
        info.kind = (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Folder
                    : isPlain(handle, about)                                 ? PathKind::File
                                                                             : PathKind::Other;
        info.identity = identityOf(about);
    } else if (::GetFileType(handle) != FILE_TYPE_DISK) {
        info.kind = PathKind::Other;  // a console or device has no more to tell
    } else {
        status = lastError();
    }
    ::CloseHandle(handle);
    return status;
}

std::string resolved(const std::string& path) {
    const std::wstring name = wide(path);
    std::wstring result;
    if (const HANDLE handle = openToInspect(name); handle != INVALID_HANDLE_VALUE) {
        result = finalPath(handle);
        ::CloseHandle(handle);
    }
    if (result.empty())
        result = fullPath(name);
    return result.empty() ? path : utf8(result);
}

Status replace(const std::string& from, const std::string& to) {
    return checked(::MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

Status remove(const std::string& path) {
    return checked(::DeleteFileW(wide(path).c_str()));
}

Status listFolder(const std::string& folder, std::vector<std::string>& names) {
    names.clear();
    std::wstring pattern = wide(folder);
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/')
        pattern += L'\\';
    WIN32_FIND_DATAW entry{};
    const HANDLE search = ::FindFirstFileW((pattern + L'*').c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) {
        // A drive's root may hold no entry at all, not even "." and "..".
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? Status{} : lastError();
    }
    do {
        const std::string name = utf8(entry.cFileName);
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileW(search, &entry));
    const Status status = ::GetLastError() == ERROR_NO_MORE_FILES ? Status{} : lastError();
    ::FindClose(search);
    return status;
}

Status syncContent(const std::string&, std::span<File> files) {
    for (File& file : files) {
        if (const Status status = file.syncData(); !status.ok())
            return status;
    }
    return {};
}

// Windows has no call that puts a folder's names on the disk: NTFS keeps them in its journal,
// and a replacement is asked to go through to the disk (MOVEFILE_WRITE_THROUGH).
Status syncFolder(const std::string&) {
    return {};
}

int processId() {
    return static_cast<int>(::GetCurrentProcessId());
}

bool processRuns(int id) {
    if (id <= 0)
        return false;
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (process == nullptr)  // a process we may not ask about runs all the same
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    DWORD exitCode = 0;
    const bool runs = !::GetExitCodeProcess(process, &exitCode) || exitCode == STILL_ACTIVE;
    ::CloseHandle(process);
    return runs;
}

bool errorIsTerminal() {
    // The progress bar clears its line with a terminal's escape sequence, which a console reads
    // as one only once asked to (Windows 10 on): an older console gets no progress bar.
    const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    return ::GetConsoleMode(error, &mode) &&
           ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
            ::SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING));
}

bool outputIsTerminal() {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

std::vector<std::string> arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (words == nullptr)
        return std::vector<std::string>(argv + std::min(argc, 1), argv + argc);
    std::vector<std::string> result;
    for (int i = 1; i < count; ++i) result.push_back(utf8(words[i]));
    ::LocalFree(words);
    return result;
}

void useUtf8Console() {
    // The console's own code page comes back at the end: other programs in the same window
    // write in it.
    static const UINT previous = ::GetConsoleOutputCP();
    if (previous != 0 && previous != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8))
        std::atexit([] { ::SetConsoleOutputCP(previous); });
    // Lines end in LF alone, as on every other system: the same bytes whatever reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace tavrel::sys
