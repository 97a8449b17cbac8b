#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/EditorWindow.h"
#include "app/SequenceStrip.h"

// Tooltips, which assistive technology also reads as descriptions, and names for the controls
// whose caption is missing or says too little. The dots describe themselves (DotAccessible).
void EditorWindow::describeControls() {
    const struct {
        QWidget* control;
        const char* name;  // nullptr: the caption is the name
        const char* toolTip;
    } descriptions[] = {
        {client_->findChild<QWidget*>(QStringLiteral("Shape1")), "Grille de points",
         "Le caractère : cliquer ou glisser sur les points pour le dessiner"},
        {LNumCaractère_, nullptr, "Numéro du caractère affiché"},
        {MaitreEsclave_[0], "Rôle du module : maître", "Programmer un module maître"},
        {MaitreEsclave_[1], "Rôle du module : esclave",
         "Programmer un module esclave, en retard de quelques caractères sur le maître"},
        {Command1_, nullptr,
         "Éteindre tous les points du caractère affiché, sans rien enregistrer"},
        {LDurée_, "Durée d'affichage en secondes", "Durée d'affichage du caractère, en secondes"},
        {TDurée_, "Durée d'affichage en secondes",
         "Durée d'affichage du caractère, en secondes ; Entrée valide le caractère"},
        {CBCaracOk_, nullptr,
         "Enregistrer le caractère affiché et passer au suivant (Entrée dans la durée)"},
        {LRetard_, nullptr, "Nombre de caractères de retard du module esclave sur le maître"},
        {TRetard_, "Nombre de caractères de retard",
         "Nombre de caractères de retard du module esclave sur le maître"},
        {TTropDeCar_, "Avertissement du nombre de caractères",
         "Un avertissement paraît ici au-delà de 28 caractères"},
        {CBDescendre_, "Télécharger dans l'afficheur",
         "Télécharger la séquence dans l'afficheur : compiler puis envoyer son programme"},
        {CBPrécédent_, "Caractère précédent", "Caractère précédent (touche Page précédente)"},
        {CBDéfiler_, "Faire défiler la séquence",
         "Lancer ou arrêter le défilement de la séquence (Espace quand ce bouton est choisi)"},
        {CBSuivant_, "Caractère suivant", "Caractère suivant (touche Page suivante)"},
        {strip_, "Séquence",
         "Tous les caractères de la séquence : cliquer sur l'un pour l'afficher, le glisser pour "
         "le déplacer"},
        {RTB1_, "Messages de la compilation",
         "Ce qu'affichent la compilation et l'envoi dans l'afficheur"},
    };
    for (const auto& description : descriptions) {
        if (description.name != nullptr) {
            description.control->setAccessibleName(QString::fromUtf8(description.name));
        }
        description.control->setToolTip(QString::fromUtf8(description.toolTip));
    }
}
