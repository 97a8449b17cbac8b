#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/CharacterRecord.h"
#include "common/SystemError.h"

// Shown after a validation that reaches a position holding no record, and at start-up.
inline constexpr std::string_view kBlankRecord = "0;0;0;0;0;0;0;0.5";
// Shown by the erase button: all dots dark, "0" in the duration box; nothing is stored.
inline constexpr std::string_view kEraseRecord = "0;0;0;0;0;0;0";
// The module holds this many characters; beyond it the window warns.
inline constexpr int16_t kModuleCapacity = 28;
// Changes of the stored sequence that Undo can take back, the oldest forgotten first, and the
// memory they may hold: 100 changes of a real sequence (a few kilobytes) take far less, while
// changes of files padded to 1 MB keep fewer steps instead of filling the memory.
inline constexpr size_t kUndoDepth = 100;
inline constexpr size_t kUndoBytes = 64 * 1024 * 1024;
// A sequence file is a few kilobytes; anything above this is not one.
inline constexpr size_t kLargestSequenceFile = 1024 * 1024;

// What the window does after an action on the sequence.
struct Step {
    enum Kind {
        Moved,      // show `number` on the label and `record` on the grid and duration box
        AtEnd,      // nothing to act on (a limit, nothing to undo...): beep and change nothing
        NotStored,  // the file could not be written or read: tell `message`, change nothing
        Refused,    // the input cannot be stored (duration, file, text): tell `message`,
                    // nothing stored, the drawing and the duration box kept as they are
    } kind = Moved;
    int16_t number = 1;
    std::string record;
    SystemError error;  // NotStored: the file at fault and why
    // French text for an "Attention" box: always set for NotStored and Refused; set with Moved
    // when the window must also tell something (a working file that start-up could not empty).
    std::string message;
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

// The sequence being edited and every rule about its numbers. The working sequence file is the
// store: every change is written to it (whole, through a renamed temporary file, without waiting
// for the disk: start-up deletes it anyway) before the model takes it, so a change that cannot
// be written leaves both as they were, and whatever reads the file (the download) sees what the
// window shows. The model is the file's only writer (the working folder
// is locked per window) and keeps what it last wrote in memory, so reading records costs no
// file access. It keeps:
//  - the stored count N, what "Nombre" holds: the characters 1..N are the sequence;
//  - the shown number, on the window's label, which the editing actions act on while the
//    preview is not playing;
//  - the current number: the next character the preview shows while it plays;
//  - the changes that Undo and Redo walk, kUndoDepth of them at most.
// Next reaches at most the open position N + 1, Previous stops at 1, and no number passes
// 32767. The preview shows 1..N in turn, whatever happened in between, and never the open
// position; with N = 0 it shows the missing character 1, whose empty duration stalls it.
//
// Paths are bytes as the system names files (on POSIX, whatever the bytes, UTF-8 or not).
class SequenceModel {
  public:
    explicit SequenceModel(std::string workingFile);

    // Start-up: the working file left by an earlier run is deleted and the blank record is
    // shown as character 1; nothing to undo. A file that cannot be deleted keeps its records,
    // which then count: character 1 is shown and `message` says why.
    Step restart();

    // File > New: an empty sequence, the blank record shown as character 1; one undo step. A
    // working file that cannot be deleted: NotStored, the sequence kept as it is. A playing
    // preview goes on over the new sequence.
    Step newSequence();
    // File > Load: the file at `path` replaces the working file byte for byte; its "Nombre" is
    // the count, character 1 is shown, the preview starts again from 1; one undo step.
    // Refused (nothing replaced): an empty path ("Pas de fichier à ouvrir !!!"), a file above
    // kLargestSequenceFile, a "Nombre" outside 0..32767. NotStored: the file cannot be read or
    // the working file cannot be written.
    Step load(const std::string& path);
    // File > Save: the working file copied to `path` whole or not at all. Temporary files that
    // an earlier Save killed midway left in that folder go first (only ours, only stale ones).
    // Returns the French message of a failure, or empty text; nothing to save is a failure.
    std::string save(const std::string& path);

    // After a download read `storedCount` from "Nombre": the count follows it (within the
    // records the model holds, which the file holds too), the label stays.
    void downloaded(int16_t storedCount);

    // Stores the character shown (rows, and the typed duration through VirguleEnPoint) under
    // the shown number, writes "Nombre" = the larger of the stored count and that number, both
    // in one write, then moves to the next number and shows its record (the blank one when it
    // has none). The rest of the file is kept as it is. A duration the module cannot wait
    // (empty, not a number, zero or less, above 6 553,5 s) is Refused; a failed write is
    // NotStored; both change nothing. One undo step when the file changed.
    Step validate(const std::array<int16_t, kRowCount>& rows, std::string durationText);
    Step previous();
    Step next();

    // Edits of the stored sequence, each one undo step, each acting on the shown number and
    // writing the whole sequence in the program's own layout (Windows-1252, only the section
    // "Caractères"). AtEnd when there is nothing to act on (the open position for delete,
    // duplicate and moves, a move past either end, a sequence already 32767 long); NotStored
    // when the file cannot be written. Each shows, when it succeeds:
    //  - insertBlank: a blank character inserted before the shown one (at the open position,
    //    appended); the new blank one;
    //  - deleteShown: the shown character removed, the following ones move up; the character
    //    now at its number (the open position after the last);
    //  - duplicateShown: a copy inserted after the shown one; the copy;
    //  - moveShown(-1 / +1): the shown character swapped with the one before or after; it,
    //    at its new number;
    //  - move(from, to): character `from` taken out and put back so that it is number `to`,
    //    the ones between shifting by one (dragging in the strip); it, at number `to`.
    Step insertBlank();
    Step deleteShown();
    Step duplicateShown();
    Step moveShown(int delta);
    Step move(int16_t from, int16_t to);

    // Appends the letters of a UTF-8 text as characters drawn in the built-in font (see
    // TextFont.h), each lasting `durationText` (VirguleEnPoint applied); one undo step; shows
    // the first character added. Refused, nothing added: an empty text, a duration the module
    // cannot wait, letters the font does not draw (named in the message), or a sequence that
    // would pass 32767 characters.
    Step appendText(std::string_view text, std::string durationText);

    // Undo takes back the last change of the stored sequence (validation, New, Load, edit) and
    // shows the number that was shown before it; Redo makes it again and shows the number shown
    // after it. AtEnd when there is none; NotStored when the file cannot be written (the change
    // stays where it was). A new change forgets what could be redone.
    Step undo();
    Step redo();
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // Starts the preview (its first interval from the typed duration, comma rule included)
    // or stops it.
    PreviewChange togglePreview(std::string durationText);
    Tick tick();

    // Records of characters 1..N, as the file holds them ("" for a missing one), for the strip.
    const std::vector<std::string>& records() const { return records_; }
    int16_t storedCount() const { return stored_; }
    int16_t shownNumber() const { return shown_; }
    int16_t currentNumber() const { return current_; }
    bool playing() const { return playing_; }
    const std::string& workingFile() const { return workingFile_; }
    // Characters stored and changed since the last Save or Load (or since start-up): closing
    // would lose them.
    bool modified() const;

  private:
    // What the working file holds: its bytes, or null when there is no file.
    using Content = std::shared_ptr<const std::string>;
    struct Change {
        Content before;
        Content after;
        int16_t shownBefore = 1;
        int16_t shownAfter = 1;
    };

    std::string record(int16_t number) const;
    int16_t openPosition() const;
    Step show(int16_t number, std::string record);
    Step showStored(int16_t number);
    Step notStored(const SystemError& error, std::string_view what) const;
    // Puts `content` in the working file (written or deleted) and takes it as the sequence.
    SystemError store(const Content& content);
    void take(const Content& content);
    // Stores `content` as one undo step and shows `shownAfter`.
    Step change(Content content, int16_t shownAfter, std::string_view what);
    void forgetOldestChanges();
    Step rewrite(const std::vector<std::string>& records, int16_t shownAfter);
    Step restore(const Content& content, int16_t shown);
    // Takes the last change of `from` back (`back`) or again, and hands it to `to`.
    Step replay(std::deque<Change>& from, std::deque<Change>& to, bool back);

    std::string workingFile_;
    Content content_;
    Content saved_;
    std::vector<std::string> records_;
    std::deque<Change> undo_;
    std::deque<Change> redo_;
    int16_t stored_ = 0;
    int16_t shown_ = 1;
    int16_t current_ = 1;
    bool playing_ = false;
};

// The pupil's message when a validation could not be stored: the file and the reason in French.
std::string notStoredMessage(const SystemError& error);
