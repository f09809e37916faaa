#pragma once

#include "importing/ImportedText.h"

#include <QString>

namespace importing {

// The text of an EPUB book: its chapters in the order of the spine (the
// reading order), text only, a blank line between chapters. Chapters the
// spine marks as not in the reading order (linear="no") and items that are
// no XHTML are left out. The language is the one the package document
// declares (its first dc:language), when Qt knows it. A file that is no ZIP archive, lacks the
// container or the package document, or holds a chapter that is not well-formed, fails with a
// sentence saying so.
ImportedText readEpub(const QString& path);

} // namespace importing
