#include "download/DownloadMessages.h"

#include "common/ModuleLimits.h"
#include "firmware/BuildOutputView.h"
#include "firmware/ModuleCapacity.h"

namespace {

using Icon = DownloadMessage::Icon;

const std::string kNothingSent = "Rien n'a été envoyé à l'afficheur.";

std::string seconds(std::chrono::milliseconds bound) {
    return std::to_string((bound.count() + 999) / 1000) + " s";
}

std::string durationProblem(DurationFault fault) {
    switch (fault) {
        case DurationFault::Empty:
            return "n'a pas de durée";
        case DurationFault::Unreadable:
            return "a une durée illisible";
        case DurationFault::NotPositive:
            return "a une durée nulle ou négative";
        case DurationFault::TooLong:
            return "a une durée trop longue";
        case DurationFault::None:
            break;
    }
    return "a une durée incorrecte";
}

}  // namespace

DownloadMessage refusalMessage(const GenerationResult& refused, const std::string& typedDelay) {
    switch (refused.kind) {
        case GenerationResult::DelayRefused:
            return {"Retard incorrect",
                    "Le retard « " + typedDelay +
                        " » n'est pas un nombre de caractères que l'afficheur esclave sait "
                        "compter.\r\nTape un nombre entier de 0 à 32 767, ou laisse la case vide "
                        "pour aucun retard. " +
                        kNothingSent,
                    Icon::Exclamation};
        case GenerationResult::CountRefused:
            return {"Séquence illisible",
                    "Le nombre de caractères enregistré dans la séquence (« " + refused.countText +
                        " ») n'est pas un nombre de 0 à 32 767.\r\nCharge une autre séquence ou "
                        "recommence-la. " +
                        kNothingSent,
                    Icon::Exclamation};
        case GenerationResult::TooManyCharacters:
            return {"Séquence trop longue",
                    "La séquence compte " + std::to_string(refused.characterCount) +
                        " caractères : la mémoire de l'afficheur en contient au plus " +
                        std::to_string(kMaxFirmwareCharacters) + ".\r\nRaccourcis la séquence. " +
                        kNothingSent,
                    Icon::Exclamation};
        case GenerationResult::DurationRefused:
            return {"Durée incorrecte",
                    "Le caractère " + std::to_string(refused.character) + " " +
                        durationProblem(refused.fault) +
                        " : l'afficheur ne peut pas l'attendre.\r\n" + durationAdvice() +
                        ", valide ce caractère de nouveau, puis recommence. " + kNothingSent,
                    Icon::Exclamation};
        default:
            return fileErrorMessage(refused);
    }
}

DownloadMessage fileErrorMessage(const GenerationResult& failed) {
    const std::string what =
        failed.kind == GenerationResult::TemplateUnreadable
            ? "Le modèle du programme « " + failed.file.path + " » ne peut pas être lu : "
            : "Le programme « " + failed.file.path + " » ne peut pas être écrit : ";
    return {
        "Erreur de fichier",
        what + frenchReason(failed.file.number) + ".\r\n" + kNothingSent + " Appelle le Maître.",
        Icon::Critical};
}

DownloadMessage compileErrorMessage(const std::string& shown) {
    return {"Erreur de compilation",
            "Erreur de compilation.\r\nL'erreur est la suivante :\r\n" + shown +
                "\r\nAppelle le Maître.",
            Icon::CriticalSystemModal};
}

std::string notStartedText(const SystemError& error) {
    return "L'outil de construction ne peut pas être lancé (" + frenchDescription(error) + ").";
}

std::string compileStoppedText(bool silent, std::chrono::milliseconds bound) {
    return silent ? "L'outil de construction n'a rien écrit pendant " + seconds(bound) +
                        " : il a été arrêté."
                  : "La compilation a duré plus de " + seconds(bound) + " : elle a été arrêtée.";
}

std::string compileExcerptText(const std::string& head, bool cut) {
    bool excerptCut = false;
    std::string shown = compileErrorExcerpt(head, excerptCut);
    if (cut || excerptCut)
        shown += "\r\n[…] La suite est dans la zone de sortie, à droite de la fenêtre.";
    return shown;
}

DownloadMessage communicationMessage(bool noModule, std::chrono::milliseconds stoppedAfter) {
    std::string text =
        "L'afficheur ne répond pas. \r\n\r\nVérifie la connexion du câble au PC et que la pile "
        "est bien branchée.";
    if (noModule) {
        text +=
            "\r\nAucun afficheur n'est branché : vérifie le câble USB ou lance l'afficheur "
            "virtuel.";
    }
    if (stoppedAfter.count() > 0) {
        text += "\r\nL'envoi est resté sans réponse pendant " + seconds(stoppedAfter) +
                " : il a été arrêté.";
    }
    return {"Erreur de communication", text, Icon::CriticalSystemModal};
}

DownloadMessage undefinedMessage() {
    return {"", "Une erreur indéfinie s'est produite.\r\n Appelle le Maître.", Icon::None};
}

DownloadMessage successMessage() {
    return {"", "Programmation réussie.\r\nRegarde ton afficheur.", Icon::None};
}
