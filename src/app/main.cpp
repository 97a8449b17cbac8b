#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/ApplicationTitle.h"
#include "app/EditorWindow.h"
#include "app/QtWindowSeam.h"
#include "app/TerminationSignals.h"
#include "firmware/ModuleTools.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    useToolsFolder(QApplication::applicationDirPath().toStdString());

    // Qt's own dialogs ("Ouvrir", "Annuler") in French, whatever the desktop's language.
    QTranslator qtFrench;
    if (qtFrench.load(QStringLiteral("qtbase_fr"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtFrench);
    }

    const TerminationSignals endOfSession;
    QtWindowSeam seam;
    EditorWindow window(QApplication::applicationDirPath(), seam);
    window.show();
    // A sequence file named on the command line (opened from the file manager) is loaded as
    // File > Load loads the file the pupil picks. Its name is taken as the system's bytes: a
    // name that is not UTF-8 would not survive a trip through QString.
    if (argc > 1) {
        window.chargerFichier(std::string(argv[1]));
    }
    return QApplication::exec();
}
