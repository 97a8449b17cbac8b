#include "firmware/PlacerTexte.h"

void PlacerTexte(TextBox& box, const std::string& lookFor, const std::string& toPlace,
                 bool& replace, int32_t& start) {
    const int32_t found = box.Find(lookFor, start, TextBox::WholeWord | TextBox::MatchCase);
    if (found == -1) {
        return;
    }
    box.SelStart(found);
    if (replace) {
        box.SelLength(static_cast<int32_t>(lookFor.size()));
    }
    box.SelText(toPlace + " ");
}
