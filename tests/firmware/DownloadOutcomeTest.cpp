#include "firmware/DownloadOutcome.h"

#include <gtest/gtest.h>

TEST(DownloadOutcomeTest, CompilationSucceedsWhenAucuneFollowsTheFirstCharacter) {
    const struct {
        const char* output;
        bool expected;
    } cases[] = {
        {"avr-gcc ...\r\nErreurs : Aucune\r\n", true},
        {"erreurs : aucune", true},
        {"ERREURS : AUCUNE", true},
        {"xaucunex", true},
        {"Aucune", false},
        {"Aucune erreur", false},
        {"AfficheurCarac.c:3: error: expected ';'", false},
        {"", false},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.output);
        EXPECT_EQ(compilationReussie(box), c.expected) << c.output;
    }
}

TEST(DownloadOutcomeTest, DownloadOutputDecidesTheOutcome) {
    using enum DownloadOutcome;
    const struct {
        const char* output;
        DownloadOutcome expected;
    } cases[] = {
        {"avrdude error: programmer is not responding\r\n", ErreurCommunication},
        {"avrdude: NOT RESPONDING", ErreurCommunication},
        {"avrdude OS error: cannot open port /dev/ttyUSB0", ErreurIndefinie},
        {"avrdude: Error while writing", ErreurIndefinie},
        {"2 errors", ErreurIndefinie},
        {"une erreur s'est produite", Succes},
        {"avrdude done.  Thank you.", Succes},
        {"error at the start", Succes},
        {"", Succes},
    };
    for (const auto& c : cases) {
        TextBox box;
        box.Text(c.output);
        EXPECT_EQ(issueTelechargement(box), c.expected) << c.output;
    }
}

TEST(DownloadOutcomeTest, TheWordFoundStaysSelected) {
    TextBox box;
    box.Text("avrdude: programmer is not responding; error");
    EXPECT_EQ(issueTelechargement(box), DownloadOutcome::ErreurCommunication);
    EXPECT_EQ(box.selStart(), 23);
    EXPECT_EQ(box.selLength(), 14);
}
