#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cwctype>
#include <vector>

#include "common/UniqueHandle.h"
#include "common/WidePath.h"
#include "common/WindowsError.h"
#include "console/ChildProcess.h"
#include "console/CommandLine.h"
#include "console/LocaleText.h"

// On Windows `commandLine` and the queued input are in the console's code page (as
// toLocaleCharset gives them, and LocaleDecoder reads them back); the working directory and the
// environment changes are UTF-8.

namespace {

constexpr DWORD kReadSize = 256 * 1024;
constexpr DWORD kPipeSize = 1024 * 1024;

// One argument quoted so that the child's runtime (CommandLineToArgvW rules) reads it back
// unchanged: quotes around blanks and empty words, backslashes doubled before a quote.
void appendQuoted(std::wstring& line, const std::wstring& word) {
    if (!word.empty() && word.find_first_of(L" \t\"") == std::wstring::npos) {
        line += word;
        return;
    }
    line += L'"';
    size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

std::wstring nameOf(std::wstring_view entry) {
    // Entries such as "=C:=C:\dir" (each drive's current folder) start with "=".
    const size_t equals = entry.find(L'=', 1);
    std::wstring name(entry.substr(0, equals));
    std::transform(name.begin(), name.end(), name.begin(), ::towupper);
    return name;
}

// This process's environment with the changes applied (names match without regard to case),
// as the block CreateProcessW takes: "NAME=value" entries each ended by a NUL, then a NUL.
std::wstring environmentBlock(const std::vector<std::string>& changes) {
    std::vector<std::wstring> wideChanges;
    for (const std::string& change : changes)
        wideChanges.push_back(toWide(change));
    std::wstring block;
    wchar_t* const strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; entry != nullptr && *entry != L'\0';
         entry += wcslen(entry) + 1) {
        const std::wstring name = nameOf(entry);
        const bool changed =
            std::any_of(wideChanges.begin(), wideChanges.end(),
                        [&](const auto& change) { return nameOf(change) == name; });
        if (!changed)
            block.append(entry).push_back(L'\0');
    }
    FreeEnvironmentStringsW(strings);
    for (const std::wstring& change : wideChanges) {
        if (change.find(L'=') != std::wstring::npos)
            block.append(change).push_back(L'\0');
    }
    block.push_back(L'\0');
    return block;
}

struct Pipe {
    UniqueHandle read;
    UniqueHandle write;
};

// Both ends start uninheritable; the child receives its own end through an explicit list.
int makePipe(Pipe& pipe, DWORD size) {
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    if (!CreatePipe(&read, &write, nullptr, size))
        return lastWindowsError();
    pipe.read.reset(read);
    pipe.write.reset(write);
    return 0;
}

int folderError(const std::string& folder) {
    const DWORD attributes = GetFileAttributesW(toWide(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastWindowsError();
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ENOTDIR;
}

// A job that ends every process in it when its last handle closes: the run's end, KillCommand
// or the end of this program (even a crash) takes the child's whole tree with it.
UniqueHandle makeJob() {
    UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job.open())
        SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                                sizeof limits);
    return job;
}

}  // namespace

struct ChildProcess::State {
    UniqueHandle process;
    UniqueHandle job;
    bool started = false;
    bool reaped = false;
    int32_t exitCode = 0;
    UniqueHandle input;   // parent's write end of the child's standard input
    UniqueHandle output;  // parent's read end of the child's standard output
    UniqueHandle error;   // parent's read end of the child's standard error, when separate

    void reap() {
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        exitCode = static_cast<int32_t>(code);
        reaped = true;
    }
};

ChildProcess::ChildProcess() : state_(std::make_unique<State>()) {}

ChildProcess::~ChildProcess() {
    if (running())
        kill();
    close();
}

int32_t ChildProcess::start(const std::string& commandLine, const std::string& workingDirectory,
                            bool mergeErrors, const std::vector<std::string>& environmentChanges) {
    const std::vector<std::string> words = splitCommandLine(commandLine);
    if (words.empty())
        return ENOENT;
    std::wstring line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += L' ';
        LocaleDecoder decoder;
        appendQuoted(line, toWide(decoder.decode(word) + decoder.finish()));
    }
    if (!workingDirectory.empty()) {
        if (const int error = folderError(workingDirectory); error != 0)
            return error;
    }
    std::wstring environment = environmentBlock(environmentChanges);

    Pipe in, out, err;
    if (int e = makePipe(out, kPipeSize); e != 0)
        return e;
    if (int e = makePipe(in, 0); e != 0)
        return e;
    if (!mergeErrors) {
        if (int e = makePipe(err, kPipeSize); e != 0)
            return e;
    }
    DWORD noWait = PIPE_READMODE_BYTE | PIPE_NOWAIT;
    SetNamedPipeHandleState(in.write.get(), &noWait, nullptr, nullptr);
    std::vector<HANDLE> inherited{in.read.get(), out.write.get()};
    if (!mergeErrors)
        inherited.push_back(err.write.get());
    for (const HANDLE handle : inherited)
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);

    SIZE_T listSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
    std::vector<char> listMemory(listSize);
    auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listMemory.data());
    if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize))
        return lastWindowsError();
    UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited.data(),
                              inherited.size() * sizeof(HANDLE), nullptr, nullptr);

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = in.read.get();
    startup.StartupInfo.hStdOutput = out.write.get();
    startup.StartupInfo.hStdError = mergeErrors ? out.write.get() : err.write.get();
    startup.lpAttributeList = list;

    state_->job = makeJob();
    PROCESS_INFORMATION info{};
    const std::wstring folder = toWide(workingDirectory);
    const BOOL created = CreateProcessW(
        nullptr, line.data(), nullptr, nullptr, TRUE,
        CREATE_SUSPENDED | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT |
            EXTENDED_STARTUPINFO_PRESENT,
        environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &info);
    const int createError = created ? 0 : lastWindowsError();
    DeleteProcThreadAttributeList(list);
    if (!created)
        return createError;
    state_->process.reset(info.hProcess);
    const UniqueHandle thread(info.hThread);
    // Joined before it runs, so nothing it starts escapes the job.
    if (!AssignProcessToJobObject(state_->job.get(), info.hProcess))
        state_->job.reset();
    ResumeThread(info.hThread);
    state_->started = true;
    state_->input = std::move(in.write);
    state_->output = std::move(out.read);
    state_->error = std::move(err.read);
    return 0;
}

bool ChildProcess::wait(int timeoutMs) {
    State& s = *state_;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // Anonymous pipes cannot be waited on: look at them every millisecond or so.
    for (;;) {
        for (UniqueHandle* stream : {&s.output, &s.error}) {
            DWORD available = 0;
            if (stream->open() &&
                (!PeekNamedPipe(stream->get(), nullptr, 0, nullptr, &available, nullptr) ||
                 available > 0))
                return true;
        }
        flushInput();
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        if (!s.output.open() && !s.error.open()) {
            WaitForSingleObject(s.process.get(), static_cast<DWORD>(left.count()));
            return false;
        }
        Sleep(1);
    }
}

ChildProcess::ReadStatus ChildProcess::read(Stream stream, std::string& piece) {
    UniqueHandle& pipe = stream == Stream::Output ? state_->output : state_->error;
    piece.clear();
    if (!pipe.open())
        return ReadStatus::Closed;
    DWORD available = 0;
    if (!PeekNamedPipe(pipe.get(), nullptr, 0, nullptr, &available, nullptr)) {
        pipe.reset();  // every writer has closed its end and all was read
        return ReadStatus::Closed;
    }
    if (available == 0)
        return ReadStatus::Empty;
    piece.resize(std::min(available, kReadSize));
    DWORD got = 0;
    if (!ReadFile(pipe.get(), piece.data(), static_cast<DWORD>(piece.size()), &got, nullptr)) {
        piece.clear();
        pipe.reset();
        return ReadStatus::Closed;
    }
    piece.resize(got);
    return ReadStatus::Data;
}

bool ChildProcess::tryReap(int32_t& exitCode) {
    State& s = *state_;
    if (!s.started)
        return false;
    if (!s.reaped) {
        if (WaitForSingleObject(s.process.get(), 0) != WAIT_OBJECT_0)
            return false;
        s.reap();
    }
    exitCode = s.exitCode;
    return true;
}

int32_t ChildProcess::kill() {
    State& s = *state_;
    if (running()) {
        if (!s.job.open() || !TerminateJobObject(s.job.get(), 1))
            TerminateProcess(s.process.get(), 1);
        WaitForSingleObject(s.process.get(), INFINITE);
        s.reap();
    }
    close();
    return s.exitCode;
}

// The input pipe is in no-wait mode: a write takes what the pipe has room for.
std::optional<size_t> ChildProcess::writeSome(std::string_view bytes) {
    UniqueHandle& input = state_->input;
    const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), kPipeSize));
    DWORD written = 0;
    if (!WriteFile(input.get(), bytes.data(), size, &written, nullptr)) {
        input.reset();
        return std::nullopt;
    }
    return written;
}

bool ChildProcess::inputOpen() const {
    return state_->input.open();
}

void ChildProcess::closePipes() {
    state_->input.reset();
    state_->output.reset();
    state_->error.reset();
    if (state_->reaped)
        state_->job.reset();  // ends whatever the child left running
}

bool ChildProcess::running() const {
    return state_->started && !state_->reaped;
}
