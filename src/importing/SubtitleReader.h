#pragma once

#include <QString>

namespace importing {

// The spoken text of a subtitle file in SubRip (.srt) or WebVTT (.vtt) form,
// already decoded: the text lines of every cue, in order, one per line.
// Cue numbers and identifiers, timings, the WebVTT header and its NOTE,
// STYLE and REGION blocks, markup (<i>, <font …>, <v Speaker>, <c.class>,
// ruby annotations, {\an8}) and timestamps inside cues are left out;
// character references are replaced by their characters. Empty when the
// text holds no cue.
QString subtitleText(const QString& subtitles);

} // namespace importing
