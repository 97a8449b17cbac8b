#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "ModuleKit.h"
#include "firmware/DownloadOutcome.h"

using enum DownloadOutcome;

// The real Makefile with stand-in tools first on PATH: shell scripts that print what the real
// ones print, then end as the case says. A tool that crashes or is killed never passes for a
// success, nor for a module that does not answer.
TEST(ModuleToolFaults, OnlyAToolEndingWellIsASuccess) {
    const Kit kit(Role::Maitre, {fj4[0]});
    ASSERT_NE(kit.make("all").find("aucune"), std::string::npos);
    const TempFolder tools;
    const Environment path = {"PATH=" + tools.path() + ":" + std::getenv("PATH")};
    const std::string ready =
        "echo 'avrdude: AVR device initialized and ready to accept "
        "instructions' >&2; printf 'Writing | ######' >&2; ";
    // Tool, make's target, the stand-in's script, how the window reads the output.
    const std::tuple<const char*, const char*, std::string, DownloadOutcome> cases[] = {
        {"avrdude", "program", ready + "kill -SEGV $$", ErreurIndefinie},
        {"avrdude", "program",
         "echo 'avrdude error: programmer is not responding' >&2; kill -KILL $$", ErreurIndefinie},
        {"avrdude", "program", ready + "echo 'flash verified' >&2; exit 1", ErreurIndefinie},
        {"avrdude", "program", ready + "exec sleep 60", ErreurCommunication},  // silent for ever
        {"avrdude", "program", ready + "echo 'flash verified' >&2", Succes},
        {"avr-gcc", "all", "echo 'compiling aucune ###'; kill -SEGV $$", ErreurIndefinie},
        {"avr-objcopy", "all", "kill -TERM $$", ErreurIndefinie},
    };
    for (const auto& [tool, target, script, outcome] : cases) {
        SCOPED_TRACE(std::string(tool) + ": " + script);
        writeBytes(tools.file(tool), "#!/bin/sh\n" + script + "\n");
        ASSERT_EQ(chmod(tools.file(tool).c_str(), 0755), 0);
        const MakeRun make = kit.run(std::string(target) + " PORT=net:127.0.0.1:9", path);
        std::remove(tools.file(tool).c_str());
        TextBox box;
        box.Text(make.output);
        const bool succeeds = outcome == Succes;
        EXPECT_EQ(make.status == 0, succeeds) << make.output;
        if (std::string(target) == "all") {
            EXPECT_FALSE(compileSucceeded(box)) << make.output;
            continue;
        }
        EXPECT_EQ(downloadOutcome(box), outcome) << make.output;
        EXPECT_EQ(make.output.find("Envoi terminé : le module est programmé et vérifié.") !=
                      std::string::npos,
                  succeeds)
            << make.output;
    }
}
