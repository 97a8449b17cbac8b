// A stand-in for the console tools on Windows (make, avr-gcc, avrdude): Linux programs started
// under Wine pass no output and no exit code. It runs its arguments as steps, in order:
//   out TEXT / err TEXT   write TEXT (UTF-8 argument, written in the console's code page)
//   bytes HEX             write raw bytes to standard output ("8A41" gives 0x8A 0x41)
//   args                  write each following argument between "|", then stop
//   cwd                   write the current folder
//   env NAME              write the variable's value, or "unset"
//   line                  read standard input up to a line feed and write what came
//   hang                  wait to be ended
//   spawn                 start a grandchild that hangs, write "<own pid> <grandchild pid>\n",
//                         then wait for it
//   exit N                end with exit code N
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string consoleBytesOf(const wchar_t* wide) {
    const UINT codePage = GetConsoleOutputCP() != 0 ? GetConsoleOutputCP() : GetOEMCP();
    const int length = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, "?", nullptr);
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide, -1, text.data(), length, "?", nullptr);
    text.pop_back();
    return text;
}

void write(DWORD stream, const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

std::string readLine() {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1 &&
           c != '\n') {
        line += c;
    }
    return line;
}

void spawnGrandchild() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" hang";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ExitProcess(90);
    }
    write(STD_OUTPUT_HANDLE,
          std::to_string(GetCurrentProcessId()) + " " + std::to_string(info.dwProcessId) + "\n");
    WaitForSingleObject(info.hProcess, INFINITE);
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> words(argv + 1, argv + count);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring& step = words[i];
        const wchar_t* next = i + 1 < words.size() ? words[i + 1].c_str() : L"";
        if (step == L"out" || step == L"err") {
            write(step == L"out" ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE, consoleBytesOf(next));
            ++i;
        } else if (step == L"bytes") {
            std::string bytes;
            for (const wchar_t* p = next; p[0] != 0 && p[1] != 0; p += 2) {
                bytes += static_cast<char>(std::stoi(std::wstring(p, 2), nullptr, 16));
            }
            write(STD_OUTPUT_HANDLE, bytes);
            ++i;
        } else if (step == L"args") {
            std::string all = "|";
            for (++i; i < words.size(); ++i) {
                all += consoleBytesOf(words[i].c_str()) + "|";
            }
            write(STD_OUTPUT_HANDLE, all);
        } else if (step == L"cwd") {
            wchar_t folder[MAX_PATH];
            GetCurrentDirectoryW(MAX_PATH, folder);
            write(STD_OUTPUT_HANDLE, consoleBytesOf(folder));
        } else if (step == L"env") {
            wchar_t value[1024];
            const DWORD length = GetEnvironmentVariableW(next, value, 1024);
            write(STD_OUTPUT_HANDLE, length > 0 && length < 1024 ? consoleBytesOf(value) : "unset");
            ++i;
        } else if (step == L"line") {
            write(STD_OUTPUT_HANDLE, readLine());
        } else if (step == L"hang") {
            Sleep(INFINITE);
        } else if (step == L"spawn") {
            spawnGrandchild();
        } else if (step == L"exit") {
            return std::stoi(next);
        }
    }
    return 0;
}
