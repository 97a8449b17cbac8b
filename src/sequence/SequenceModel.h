#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/CharacterRecord.h"
#include "common/SystemError.h"

// Shown after a validation that reaches a position holding no record, and at start-up.
inline constexpr std::string_view kBlankRecord = "0;0;0;0;0;0;0;0.5";
// Shown by the erase button: all dots dark, "0" in the duration box; nothing is stored.
inline constexpr std::string_view kEraseRecord = "0;0;0;0;0;0;0";
// The module holds this many characters; beyond it the window warns.
inline constexpr int16_t kModuleCapacity = 28;

// What the window does after an editing action.
struct Step {
    enum Kind {
        Moved,      // show `number` on the label and `record` on the grid and duration box
        AtEnd,      // a limit was reached: beep and change nothing
        NotStored,  // the validation could not be written: tell `error`, change nothing
    } kind = Moved;
    int16_t number = 1;
    std::string record;
    SystemError error;
};

// A preview tick: show `number` and `record`, then the next tick comes after `intervalMs`
// (0: no more ticks, the timer stops).
struct Tick {
    int16_t number = 1;
    std::string record;
    int32_t intervalMs = 0;
};

// Starting or stopping the preview: a started one ticks first after `intervalMs` (0: it
// stalls); a stopped one ticks once more, on the timer already running.
struct PreviewChange {
    bool playing = false;
    int32_t intervalMs = 0;
};

// The sequence being edited and every rule about its numbers. The records live in the working
// sequence file only and are read from it each time; the model keeps:
//  - the stored count N, what "Nombre" holds: the characters 1..N are the sequence;
//  - the shown number, on the window's label, which the editing buttons act on while the
//    preview is not playing;
//  - the current number: the next character the preview shows while it plays.
// Next reaches at most the open position N + 1, Previous stops at 1, and no number passes
// 32767. The preview shows 1..N in turn, whatever happened in between, and never the open
// position; with N = 0 it shows the missing character 1, whose empty duration stalls it.
class SequenceModel {
  public:
    explicit SequenceModel(std::string workingFile);

    // Start-up and New: the working file is deleted (a file that cannot be deleted keeps its
    // records, which then count) and the blank record is shown as character 1. A playing
    // preview goes on over the new sequence.
    Step restart();
    // After a file was copied over the working file: its "Nombre" is the count, character 1 is
    // shown, and the preview starts again from character 1.
    Step loaded();
    // After a download read `storedCount` from "Nombre": the count follows it, the label stays.
    void downloaded(int16_t storedCount);

    // Stores the character shown (rows, and the typed duration through VirguleEnPoint) under
    // the shown number, writes "Nombre" = the larger of the stored count and that number, both
    // in one write, then moves to the next number and shows its record (the blank one when it
    // has none). A failed write changes nothing and names the file and the errno.
    Step validate(const std::array<int16_t, kRowCount>& rows, std::string durationText);
    Step previous();
    Step next();

    // Starts the preview (its first interval from the typed duration, comma rule included)
    // or stops it.
    PreviewChange togglePreview(std::string durationText);
    Tick tick();

    int16_t storedCount() const { return stored_; }
    int16_t shownNumber() const { return shown_; }
    int16_t currentNumber() const { return current_; }
    bool playing() const { return playing_; }
    const std::string& workingFile() const { return workingFile_; }

  private:
    std::string record(int16_t number) const;
    int16_t countInFile() const;
    int16_t openPosition() const;
    Step show(int16_t number, std::string record);

    std::string workingFile_;
    int16_t stored_ = 0;
    int16_t shown_ = 1;
    int16_t current_ = 1;
    bool playing_ = false;
};

// The pupil's message when a validation could not be stored: the file and the reason in French.
std::string notStoredMessage(const SystemError& error);
