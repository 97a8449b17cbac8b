#include <unistd.h>

#include <gtest/gtest.h>
#include <QApplication>

#include "ChildRun.h"

// A root test run drops to "nobody", for whom a read-only folder is read-only as for a pupil.
int main(int argc, char* argv[]) {
    if (::geteuid() == 0) {
        (void)becomeNobody();  // tests that need it check the folder is read-only
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // window tests never need a display
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
