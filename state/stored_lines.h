#pragma once
// How the text of a stored file falls into lines and fields: the one rule every reader of the
// program's files follows (FDX::LoadTextFile, the scale tag files).
//
// CR and LF both end a line and empty lines are dropped, so that files written with CR LF, LF or
// CR all read alike. A value may be quoted with " or ' (a quote opens a stretch unless a
// backslash stands before it) to hold line ends, and the separator of a line's fields where a
// file has them; the quotes are not kept, and inside them \" (or \') and \\ stand for the second
// character. The bytes are code page 1251 or the UTF-8 text made of them: the quotes, the
// backslash, CR, LF and TAB are the ASCII ones in both and never part of another character, so
// splitting cannot cut one.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Calls part(raw, endsLine) for every piece of `text` in order, `raw` the piece with its quotes
// taken out (a std::string& the call may take from): endsLine when a line end, or the end of the
// text, closes it; false when `separator`, standing outside a quoted stretch, does.
template <class Part>
void ForEachStoredPart(std::string_view text, std::optional<char> separator, Part part) {
    std::string raw;
    char quote = 0;  // quote character of the open stretch; 0 outside one
    const auto close = [&](bool endsLine) {
        part(raw, endsLine);
        raw.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quote != 0) {
            const bool escape =
                c == '\\' && i + 1 < text.size() && (text[i + 1] == quote || text[i + 1] == '\\');
            if (escape) {
                raw += text[++i];
            } else if (c == quote) {
                quote = 0;
            } else {
                raw += c;
            }
        } else if (c == '\r' || c == '\n') {
            close(true);
        } else if (separator && c == *separator) {
            close(false);
        } else if ((c == '"' || c == '\'') && (i == 0 || text[i - 1] != '\\')) {
            quote = c;
        } else {
            raw += c;
        }
    }
    close(true);
}

// The lines of `text`, each cut into its fields at `separator` (a TAB) where it stands outside a
// quoted stretch, so that quoted text keeps the separators it holds. A line that is empty (no
// field text and no separator) is dropped.
std::vector<std::vector<std::string>> SplitStoredFields(std::string_view text, char separator);
