#include "common/CharacterRecord.h"

#include <gtest/gtest.h>

namespace {

// The row values a record shows, as the dot grid lights them.
std::string shown(const std::string& record) {
    const RecordFields fields = splitRecord(record);
    std::string values;
    for (const std::string& field : fields.rows) {
        int value = 0;
        const auto lit = litDotsOfField(field);
        for (int column = kColumnCount - 1; column >= 0; --column) {
            value = value * 2 + (lit[static_cast<size_t>(column)] ? 1 : 0);
        }
        values += std::to_string(value) + ";";
    }
    return values + "|" + fields.rest;
}

TEST(CharacterRecordTest, ARecordShowsItsRowsAndLeavesTheDuration) {
    const struct {
        const char* record;
        const char* expected;
    } cases[] = {{"31;1;1;15;1;1;1;1.5", "31;1;1;15;1;1;1;|1.5"},
                 {"5;3", "5;0;0;0;0;0;0;|3"},
                 {"4;10;17;17;31;17;17;0.5;9", "4;10;17;17;31;17;17;|0.5;9"},
                 {"37;-3;2.5;3.5;&H1F;99999;0;0,5", "5;3;2;4;31;0;0;|0,5"}};
    for (const auto& c : cases) {
        EXPECT_EQ(shown(c.record), c.expected) << c.record;
    }
    EXPECT_EQ(formatRecord({31, 1, 1, 15, 1, 1, 1}, "1.5"), "31;1;1;15;1;1;1;1.5");
}

}  // namespace
