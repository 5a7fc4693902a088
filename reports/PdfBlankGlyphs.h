#pragma once

// Mends the text maps of a PDF written by Qt: the blank's glyph is shared
// with the tab, and the writer maps it back to the lower code, so text
// copied from the file holds tabs where the report has blanks. The maps
// are plain text and the codes keep their width, so the file is mended in
// place: no offset in it moves.
namespace PdfBlankGlyphs {
// False with errno set when the file cannot be read or written.
bool mapToSpaces(int fd);
}  // namespace PdfBlankGlyphs
