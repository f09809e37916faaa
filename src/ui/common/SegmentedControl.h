#pragma once

#include <QList>
#include <QString>

class QButtonGroup;
class QWidget;

namespace SegmentedControl {

struct Segment {
    QString text;
    QString objectName;
    QString accessibleDescription;
};

// Segments side by side, equal, each wide enough for the longest text, the
// first of them checked; group (exclusive) numbers them from 0. The control
// is named "segmentedControl".
QWidget* make(const QList<Segment>& segments, QButtonGroup* group);

} // namespace SegmentedControl
