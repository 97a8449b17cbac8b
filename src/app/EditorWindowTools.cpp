#include <QStringList>

#include "app/EditorWindow.h"
#include "app/WindowSeam.h"
#include "firmware/ModuleTools.h"

bool EditorWindow::moduleToolsPresent() {
    const std::vector<std::string> missing = missingTools();
    if (missing.empty()) {
        return true;
    }
    QStringList names;
    for (const std::string& tool : missing) {
        names << QStringLiteral("« %1 »").arg(QString::fromStdString(tool));
    }
    seam_.MsgBox(this,
                 QStringLiteral("Il manque sur cet ordinateur : %1.\r\nCes outils fabriquent et "
                                "envoient le programme de l'afficheur : rien n'a été envoyé. "
                                "Appelle le Maître.")
                     .arg(names.join(QStringLiteral(", "))),
                 vbCritical, QStringLiteral("Outils absents"));
    return false;
}
