// A second process for the storage tests on Windows:
//   write PATH FIRST COUNT   sets keys FIRST .. FIRST+COUNT-1 of "Caractères" to "v", one
//                            EcrireIni each, and writes a line for each that fails
//   lock PATH                takes the lock PATH, writes "locked", and keeps it until a line
//                            arrives on its standard input
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

#include "common/WidePath.h"
#include "storage/FichIni.h"
#include "storage/FileLock.h"

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count < 3)
        return 2;
    const std::wstring mode = argv[1];
    const std::string path = fromWide(argv[2]);
    if (mode == L"write" && count == 5) {
        const int first = std::stoi(argv[3]);
        std::string failures;
        for (int key = first; key < first + std::stoi(argv[4]); ++key) {
            const SystemError error = EcrireIni("Caractères", {{std::to_string(key), "v"}}, path);
            if (error.failed())
                failures +=
                    "failed " + std::to_string(key) + ": " + frenchReason(error.number) + "\n";
        }
        std::fputs(failures.c_str(), stdout);
        return 0;
    }
    if (mode == L"lock") {
        FileLock lock;
        if (lock.wait(path) != 0)
            return 3;
        std::fputs("locked", stdout);
        std::fflush(stdout);
        char c = 0;
        while (std::fread(&c, 1, 1, stdin) == 1 && c != '\n') {
        }
        return 0;
    }
    return 2;
}
