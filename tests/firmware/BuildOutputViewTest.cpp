#include "firmware/BuildOutputView.h"

#include <gtest/gtest.h>

TEST(BuildOutputViewTest, TheExcerptKeepsTheFirstLinesAndSaysWhenItCut) {
    const std::string longLine = std::string(119, 'x') + "é";  // é straddles byte 120
    const struct {
        std::string output;
        std::string excerpt;
        bool cut;
    } cases[] = {
        {"", "", false},
        {"a.c:1: error: x\na.c:2: note: y", "a.c:1: error: x\na.c:2: note: y", false},
        {longLine, std::string(119, 'x') + "…", true},
        {std::string(25, '\n') + "z", std::string(20, '\n'), true},
    };
    for (const auto& c : cases) {
        bool cut = !c.cut;
        EXPECT_EQ(compileErrorExcerpt(c.output, cut), c.excerpt) << c.output;
        EXPECT_EQ(cut, c.cut) << c.output;
    }
}

TEST(BuildOutputViewTest, TheProgressIsAvrdudesLastBar) {
    const std::string written = "Writing | " + std::string(50, '#') + " | 100% 0.19s\n\n";
    const struct {
        std::string output;
        std::string progress;
    } cases[] = {
        {"avrdude: AVR device initialized\n", ""},
        {"Writing | ####################", "écriture 40 %"},
        {written + "avrdude: 892 bytes of flash written\n", "écriture 100 %"},
        {written + "Reading | #####", "vérification 10 %"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sendingProgress(c.output), c.progress) << c.output;
    }
}
