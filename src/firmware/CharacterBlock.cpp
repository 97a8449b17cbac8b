#include "firmware/CharacterBlock.h"

#include "common/LeadingNumber.h"
#include "common/NumberText.h"

std::string characterBlock(Role role, std::string_view record) {
    std::string block =
        role == Role::Maitre ? "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" : "\r\n\r\n\t\tT100ms=0;";
    std::string_view rest = record;
    for (char row = '0'; row <= '6'; ++row) {
        const std::size_t semicolon = rest.find(';');
        std::string_view field;
        if (semicolon != std::string_view::npos) {
            field = rest.substr(0, semicolon + 1);
            rest.remove_prefix(semicolon + 1);
        }
        block += "\r\n\t\tValLigne[";
        block += row;
        block += "]=" + formatNumber(leadingNumber(field)) + ";";
    }
    if (role == Role::Maitre) {
        block += "\r\n\t\twhile(T100ms<" + formatNumber(leadingNumber(rest) * 10) + "){}\r\n";
    } else {
        block += "\r\n\t\twhile (T100ms < tempo){}";
    }
    return block;
}
