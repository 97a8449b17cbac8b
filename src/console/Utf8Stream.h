#pragma once

#include <string>
#include <string_view>

// Checks UTF-8 that arrives in pieces. Valid text passes through unchanged; each invalid
// sequence (its maximal valid prefix, or a lone bad byte) becomes U+FFFD, so no byte is dropped
// silently. A sequence cut at the end of a piece is held back and completed by the next piece.
class Utf8Stream {
  public:
    // Returns the text of `bytes` that is complete so far.
    std::string decode(std::string_view bytes);

    // Ends the stream: a sequence still held back becomes U+FFFD. The stream can then be reused.
    std::string finish();

  private:
    std::string pending_;  // at most three bytes of a cut sequence
};
