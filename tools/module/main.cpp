// vexlo-module: display modules emulated on screen, reached by "make program" like real ones.
//   vexlo-module [--modules N] [--headless]

#include <QApplication>
#include <QMessageBox>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>
#include <string>

#include "Headless.h"
#include "ModuleWindow.h"
#include "VirtualModule.h"
#include "common/SessionEnd.h"

namespace {

constexpr int kMostModules = 8;

void printUsage() {
    std::fprintf(stderr,
                 "Utilisation : vexlo-module [--modules N] [--headless]\n"
                 "  --modules N  une chaîne de N modules, le premier en tête (1 à %d, 1 sinon)\n"
                 "  --headless   sans fenêtre : une ligne par caractère montré\n",
                 kMostModules);
}

}  // namespace

int main(int argc, char** argv) {
    int modules = 1;
    bool headless = false;
    for (int n = 1; n < argc; ++n) {
        if (std::strcmp(argv[n], "--headless") == 0) {
            headless = true;
        } else if (std::strcmp(argv[n], "--modules") == 0 && n + 1 < argc) {
            modules = std::atoi(argv[++n]);
            if (modules < 1 || modules > kMostModules) {
                printUsage();
                return 2;
            }
        } else {
            printUsage();
            return 2;
        }
    }
    if (headless) {
        return runHeadless(modules);
    }

    // Ended by the session, the module still goes through its destructors and takes its port
    // file away.
    const SessionEnd sessionEnd;
    QApplication application(argc, argv);
    QSocketNotifier endingNotifier(sessionEnd.descriptor(), QSocketNotifier::Read);
    QObject::connect(&endingNotifier, &QSocketNotifier::activated, &application,
                     &QApplication::quit);
    VirtualModule virtualModule(modules, [](int, const ShownCharacter&) {});
    if (const std::string failure = virtualModule.open(); !failure.empty()) {
        QMessageBox::critical(nullptr, QStringLiteral("Afficheur virtuel"),
                              QStringLiteral("L'afficheur virtuel ne peut pas démarrer : %1.")
                                  .arg(QString::fromStdString(failure)));
        return 1;
    }
    ModuleWindow window(virtualModule);
    window.show();
    return application.exec();
}
