#include "firmware/DownloadOutcome.h"

#include <gtest/gtest.h>

TEST(DownloadOutcomeTest, CompilationSucceedsWhenAucuneFollowsTheFirstCharacter) {
    const struct {
        const char* output;
        bool expected;
    } cases[] = {{"Erreurs : AUCUNE\r\n", true},
                 {"xaucunex", true},
                 {"Aucune erreur", false},
                 {"c:3: error: expected", false},
                 {"", false}};
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.output);
        EXPECT_EQ(compileSucceeded(box), c.expected) << c.output;
    }
}

TEST(DownloadOutcomeTest, TheDownloadOutputDecidesTheOutcome) {
    using enum DownloadOutcome;
    const struct {
        const char* output;
        DownloadOutcome expected;
    } cases[] = {{"avrdude: NOT RESPONDING; error", ErreurCommunication},
                 {"avrdude OS error: cannot open port", ErreurIndefinie},
                 {"2 errors", ErreurIndefinie},
                 {"une erreur s'est produite", Succes},
                 {"error at the start", Succes},
                 {"", Succes}};
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.output);
        EXPECT_EQ(downloadOutcome(box), c.expected) << c.output;
    }
}

TEST(DownloadOutcomeTest, TheWordFoundStaysSelected) {
    TextBox box;
    box.Text("avrdude: programmer is not responding; error");
    EXPECT_EQ(downloadOutcome(box), DownloadOutcome::ErreurCommunication);
    EXPECT_EQ(box.selStart(), 23);
    EXPECT_EQ(box.selLength(), 14);
}
