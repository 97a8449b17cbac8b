#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "firmware/TextFile.h"

// The output box in which the firmware source is assembled and the build tool's output is
// collected: a plain text buffer with the operations of a rich-text box that the generation and
// the download use, and a selection (caret plus length) that they move.
//
// The text is UTF-8. Every index and length counts BYTES of that UTF-8 text, 0-based. The words
// the program looks for are ASCII, so for them bytes and characters agree up to the first
// non-ASCII character; a search never matches in the middle of a character because a UTF-8
// text's first byte is never a continuation byte. Only the first 2^31 - 1 bytes are reachable by
// an index; text beyond them is kept and saved but never found or selected.
class TextBox {
  public:
    // Find options, combined with "|". Other bits are ignored.
    static constexpr int WholeWord = 2;
    static constexpr int MatchCase = 4;
    // The one SaveFile format: plain text (no rich text).
    static constexpr int PlainText = 1;

    // Loads a Windows-1252 file; on success the whole text becomes the file's text (as UTF-8)
    // and the selection is empty at 0. On failure the text and selection are left as they were.
    SystemError FileName(const std::string& path);

    // Searches from byte index `start` to the end of the text and returns the index of the first
    // match, or -1 (also for an empty `what` or a `start` outside 0..size). A match selects it.
    // Without MatchCase, ASCII letters match in any case (other characters match exactly).
    // With WholeWord, a match counts only when the character just before it and the character
    // just after it are not word characters, or it touches the text's start or end; word
    // characters are ASCII letters and digits, "_" and the letters of Windows-1252 (À to ÿ
    // except × and ÷, Š, Œ, Ž, š, œ, ž, Ÿ, ƒ, ª, µ, º). The check looks at the whole text, not
    // only at the part from `start`.
    int32_t Find(std::string_view what, int32_t start, int options);

    // Puts the caret at `index` (clamped to 0..size) and empties the selection.
    void SelStart(int32_t index);
    // Selects `length` bytes from the caret (clamped to 0..what is left after the caret).
    void SelLength(int32_t length);
    // Replaces the selection, or inserts at the caret when it is empty; the caret then stands
    // after the new text and the selection is empty.
    void SelText(std::string_view text);

    // Writes the text as Windows-1252 (a character with no Windows-1252 byte becomes "?") to
    // `path`, replacing the file only once the whole text is written (temporary file in the
    // same folder, then rename). `format` must be PlainText; any other value writes nothing
    // and fails.
    SystemError SaveFile(const std::string& path, int format) const;

    const std::string& Text() const { return text_; }
    // Replaces the whole text; the selection becomes empty at 0.
    void Text(std::string text);
    // Adds a chunk at the end (amortised linear, for output arriving piece by piece); the
    // selection is left as it was.
    void append(std::string_view chunk);

    int32_t selStart() const { return selStart_; }
    int32_t selLength() const { return selLength_; }

  private:
    int32_t size32() const;

    std::string text_;
    int32_t selStart_ = 0;
    int32_t selLength_ = 0;
};
