#include "ui/common/SegmentedControl.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QToolButton>

QWidget* SegmentedControl::make(const QList<Segment>& segments, QButtonGroup* group) {
    auto* control = new QWidget;
    control->setObjectName(QStringLiteral("segmentedControl"));
    auto* layout = new QHBoxLayout(control);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    group->setExclusive(true);
    // Every segment as wide as the widest label needs, and not too small a target.
    int segmentWidth = 80;
    for (const Segment& segment : segments) {
        auto* button = new QToolButton;
        button->setObjectName(segment.objectName);
        button->setText(segment.text);
        button->setCheckable(true);
        button->setAutoRaise(false);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setAccessibleDescription(segment.accessibleDescription);
        group->addButton(button, int(group->buttons().size()));
        layout->addWidget(button);
        segmentWidth = qMax(segmentWidth, button->sizeHint().width());
    }
    control->setFixedWidth(int(segments.size()) * segmentWidth);
    if (!group->buttons().isEmpty())
        group->buttons().first()->setChecked(true);
    return control;
}
