#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/ApplicationTitle.h"
#include "app/EditorWindow.h"
#include "app/QtWindowSeam.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);

    // Qt's own dialogs ("Ouvrir", "Annuler") in French, whatever the desktop's language.
    QTranslator qtFrench;
    if (qtFrench.load(QStringLiteral("qtbase_fr"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }

    QtWindowSeam seam;
    EditorWindow window(QApplication::applicationDirPath(), seam);
    window.show();
    return QApplication::exec();
}
