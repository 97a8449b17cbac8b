#include "common/CharacterRecord.h"

#include "common/LeadingNumber.h"

RecordFields splitRecord(std::string_view record) {
    RecordFields fields;
    std::string_view left = record;
    for (auto& row : fields.rows) {
        const size_t semicolon = left.find(';');
        if (semicolon == std::string_view::npos) {
            continue;  // row stays empty; what is left is kept for the duration
        }
        row = std::string(left.substr(0, semicolon + 1));
        left.remove_prefix(semicolon + 1);
    }
    fields.rest = std::string(left);
    return fields;
}

std::array<bool, kColumnCount> litDotsOfField(std::string_view field) {
    int value = roundToInt16(leadingNumber(field));
    std::array<bool, kColumnCount> lit{};
    for (bool& dot : lit) {
        dot = value % 2 != 0;
        value /= 2;
    }
    return lit;
}

std::string formatRecord(const std::array<int16_t, kRowCount>& rows, std::string_view duration) {
    std::string record;
    for (int16_t row : rows) {
        record += std::to_string(row);
        record += ';';
    }
    record += duration;
    return record;
}
