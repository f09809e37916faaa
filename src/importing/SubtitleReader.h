#pragma once

#include <QString>

namespace importing {

// The spoken text of a subtitle file in SubRip (.srt) or WebVTT (.vtt) form,
// already decoded: the text lines of every cue, in order, one per line, and
// a blank line between cues, so that each turn of dialogue stands apart;
// a cue that ends in the middle of a sentence (with no full stop, question
// or exclamation mark or ellipsis) runs on into the next with a line break
// only, as a line of a paragraph does.
// Cue numbers and identifiers, timings, the WebVTT header and its NOTE,
// STYLE and REGION blocks, markup (<i>, <font …>, <v Speaker>, <c.class>,
// ruby annotations, {\an8}) and timestamps inside cues are left out;
// character references are replaced by their characters. Empty when the
// text holds no cue.
QString subtitleText(const QString& subtitles);

} // namespace importing
