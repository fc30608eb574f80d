#pragma once

#include <string>
#include <string_view>

namespace quorvel {

// Channel names of a playlist and of a guide meet in this form: no blanks at either end, letters
// in lower case (ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic, which cover the names
// guides use), and for a playlist's "tvg-name" underscores read as spaces. The result is written
// into out, so that a caller folding one name per programme reuses its buffer.
void FoldGuideName(std::string_view name, bool underscoresAsSpaces, std::string& out);
std::string FoldGuideName(std::string_view name, bool underscoresAsSpaces = false);

// The text cut to at most limit bytes on a character boundary, "…" marking the cut (within the
// limit); text within the limit is left as it is.
void CutText(std::string& text, std::size_t limit);

} // namespace quorvel
