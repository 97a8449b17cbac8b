// vexlo_first_paint <program folder>: starts the window as the program does (offscreen), prints
// "painted" on its first paint and quits. The start-up benchmark times it as a child process.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>

#include "BenchSupport.h"

namespace {

class FirstPaint : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            std::puts("painted");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    bool seen_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vexlo_first_paint <program folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QuietSeam seam;
    EditorWindow window(QString::fromLocal8Bit(argv[1]), seam);
    FirstPaint probe;
    window.installEventFilter(&probe);
    window.show();
    return QApplication::exec();
}
