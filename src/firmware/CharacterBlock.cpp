#include "firmware/CharacterBlock.h"

#include "common/CharacterRecord.h"
#include "common/LeadingNumber.h"
#include "common/NumberText.h"

std::string characterBlock(Role role, std::string_view record) {
    std::string block =
        role == Role::Maitre ? "\r\n\t\tGenererPulse();\r\n\t\tT100ms=0;" : "\r\n\r\n\t\tT100ms=0;";
    const RecordFields fields = splitRecord(record);
    for (int row = 0; row < kRowCount; ++row) {
        block += "\r\n\t\tValLigne[" + std::to_string(row) +
                 "]=" + formatNumber(leadingNumber(fields.rows[static_cast<size_t>(row)])) + ";";
    }
    if (role == Role::Maitre) {
        block +=
            "\r\n\t\twhile(T100ms<" + formatNumber(leadingNumber(fields.rest) * 10) + "){}\r\n";
    } else {
        block += "\r\n\t\twhile (T100ms < tempo){}";
    }
    return block;
}
