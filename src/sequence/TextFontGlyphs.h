#pragma once

#include <string_view>
#include <vector>

// One letter of the built-in font as drawn: seven rows of five marks, "#" lit and "." dark,
// separated by "|".
struct FontDrawing {
    char32_t letter;
    std::string_view rows;
};

const std::vector<FontDrawing>& fontDrawings();
