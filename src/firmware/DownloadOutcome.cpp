#include "firmware/DownloadOutcome.h"

namespace {

constexpr int anyCaseInsideWords = 0;

bool holds(TextBox& box, std::string_view word) {
    return box.Find(word, 1, anyCaseInsideWords) != -1;
}

}  // namespace

bool compileSucceeded(TextBox& RTB1) {
    return holds(RTB1, "Aucune");
}

DownloadOutcome downloadOutcome(TextBox& RTB1) {
    if (holds(RTB1, "not responding")) {
        return DownloadOutcome::ErreurCommunication;
    }
    if (holds(RTB1, "error")) {
        return DownloadOutcome::ErreurIndefinie;
    }
    return DownloadOutcome::Succes;
}
