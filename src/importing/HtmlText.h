#pragma once

#include <QByteArray>
#include <QString>

namespace importing {

// The text of an XHTML document as a reader sees it: the words of the body,
// a blank line after each paragraph, heading or list item, a line break at
// <br>, runs of white space made one space; the head, scripts, styles and ruby annotations are left
// out. HTML's named character references are known without a DTD. On a document that is not
// well-formed XML: false, with the parser's message in error.
bool htmlText(const QByteArray& xhtml, QString* text, QString* error);

} // namespace importing
