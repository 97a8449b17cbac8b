#include <grp.h>
#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QApplication>
#include <filesystem>

// Classroom tests play a pupil on a shared install. A root test run drops to "nobody" first, so
// that a folder without write permission is read-only here as it is for a pupil; the fixture
// skips where that could not be had. Linking this main keeps AppTestMain's out of the program.
int main(int argc, char* argv[]) {
    if (::geteuid() == 0) {
        const bool dropped =
            ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        (void)dropped;  // the fixture checks what matters: that the folder is read-only
    }
    char home[] = "/tmp/vexlo-eleve-XXXXXX";
    if (::mkdtemp(home) != nullptr) {
        ::setenv("HOME", home, 1);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int result = 0;
    {
        QApplication application(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
