#include "ui/titles/SplitViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/TitleViewController.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QEvent>
#include <QResizeEvent>
#include <QVariantAnimation>

namespace {
constexpr int animationMilliseconds = 180;
} // namespace

SplitViewController::SplitViewController(QWidget* parent)
    : SplitViewController(ViewModelFactory::shared().model(), parent) {}

SplitViewController::SplitViewController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("SplitViewController"));
    setChildrenCollapsible(false);
    // Wide enough to be found and grabbed; the line in its middle shows it.
    setHandleWidth(5);
    setStyleSheet(QStringLiteral("QSplitter::handle { background-color: qlineargradient("
                                 "x1:0, y1:0, x2:1, y2:0, stop:0 palette(window), "
                                 "stop:0.39 palette(window), stop:0.4 palette(mid), "
                                 "stop:0.6 palette(mid), stop:0.61 palette(window), "
                                 "stop:1 palette(window)); }"));

    titleViewController_ = new TitleViewController(model, this);
    leftPane_ = titleViewController_;
    makePanes(model);

    addWidget(leftPane_);
    addWidget(middlePane_);
    addWidget(rightPane_);
    // The dividers between the panes, for assistive technology.
    for (int i = 1; i < count(); ++i) {
        handle(i)->setAccessibleName(tr("Pane divider"));
        handle(i)->setAccessibleDescription(tr("Drag to change the widths of the panes"));
        handle(i)->setToolTip(tr("Drag to change the widths of the panes"));
    }
    viewDidLoad();
}

void SplitViewController::makePanes(const std::shared_ptr<AppModel>& model) {
    splitted_ = new SplittedWordViewController(model, this);
    middlePane_ = splitted_;
    middlePane_->setObjectName(QStringLiteral("middlePane"));
    middlePane_->setAccessibleName(tr("Text and split words"));
    registered_ = new RegisteredWordViewController(model, this);
    rightPane_ = registered_;
    rightPane_->setObjectName(QStringLiteral("rightPane"));
    rightPane_->setAccessibleName(tr("Registered words"));
}

void SplitViewController::viewDidLoad() {
    // The registered words open near their narrowest, leaving the room to
    // the sentences of the split list; a learner who wants more drags
    // (the switch of its lists, at least, shows whole).
    const int switchWidth = registered_->segmentedControl()->minimumWidth() + 2 * 14;
    const int rightInitialWidth = qBound(rightMinimumWidth + 20, switchWidth, rightMaximumWidth);
    left_ = {leftPane_, leftMinimumWidth, leftMaximumWidth, false, leftMinimumWidth, nullptr};
    right_ = {rightPane_, rightMinimumWidth, rightMaximumWidth, false, rightInitialWidth, nullptr};
    restoreLimits(left_);
    restoreLimits(right_);
    middlePane_->setMinimumWidth(200);

    setStretchFactor(0, 0);
    setStretchFactor(1, 1);
    setStretchFactor(2, 0);
    // The left pane opens at its narrowest.
    setSizes({leftMinimumWidth, 600, rightInitialWidth});

    rightPane_->installEventFilter(this);
}

int SplitViewController::sideWidth(Pane which) const {
    const SidePane& pane = side(which);
    const int width = pane.collapsed || pane.widget->isHidden() ? pane.widthBeforeCollapse
                                                                : sizes().at(indexOf(pane.widget));
    return qBound(pane.minimumWidth, width, pane.maximumWidth);
}

void SplitViewController::setSideWidths(int left, int right) {
    left = qBound(leftMinimumWidth, left, leftMaximumWidth);
    right = qBound(rightMinimumWidth, right, rightMaximumWidth);
    left_.widthBeforeCollapse = left;
    right_.widthBeforeCollapse = right;
    QList<int> widths = sizes();
    int total = 0;
    for (int width : widths)
        total += width;
    // Before the window is laid out the middle takes what is left once it is.
    const int middle = isVisible() ? qMax(middlePane_->minimumWidth(), total - left - right) : 600;
    setSizes({left, middle, right});
}

void SplitViewController::restoreLimits(SidePane& pane) {
    pane.widget->setMinimumWidth(pane.minimumWidth);
    pane.widget->setMaximumWidth(pane.maximumWidth);
}

bool SplitViewController::isCollapsed(Pane pane) const {
    return side(pane).collapsed;
}

bool SplitViewController::isAnimating(Pane pane) const {
    const SidePane& s = side(pane);
    return s.animation && s.animation->state() == QAbstractAnimation::Running;
}

void SplitViewController::setCollapsed(Pane which, bool collapsed) {
    SidePane& pane = side(which);
    if (pane.collapsed == collapsed)
        return;
    pane.collapsed = collapsed;

    const int current = pane.widget->isVisible() ? pane.widget->width() : 0;
    int target = 0;
    if (collapsed) {
        if (!isAnimating(which) && current > 0)
            pane.widthBeforeCollapse = current;
    } else {
        target = qBound(pane.minimumWidth, pane.widthBeforeCollapse, pane.maximumWidth);
    }

    if (!pane.animation) {
        pane.animation = new QVariantAnimation(this);
        pane.animation->setDuration(animationMilliseconds);
        pane.animation->setEasingCurve(QEasingCurve::InOutQuad);
        connect(pane.animation, &QVariantAnimation::valueChanged, this,
                [this, &pane](const QVariant& value) {
                    // While it moves the pane may be narrower than its minimum.
                    const int width = value.toInt();
                    pane.widget->setMinimumWidth(0);
                    pane.widget->setMaximumWidth(width);
                    QList<int> widths = sizes();
                    const int index = indexOf(pane.widget);
                    const int middle = indexOf(middlePane_);
                    widths[middle] += widths[index] - width;
                    widths[index] = width;
                    setSizes(widths);
                });
        connect(pane.animation, &QVariantAnimation::finished, this, [this, &pane] {
            if (pane.collapsed)
                pane.widget->hide();
            restoreLimits(pane);
        });
    }
    pane.animation->stop();
    pane.widget->setMinimumWidth(0);
    pane.widget->setMaximumWidth(current);
    pane.widget->show();
    pane.animation->setStartValue(current);
    pane.animation->setEndValue(target);
    pane.animation->start();
}

bool SplitViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == rightPane_ && event->type() == QEvent::Resize) {
        const int width = static_cast<QResizeEvent*>(event)->size().width();
        if (width != reportedRightWidth_) {
            reportedRightWidth_ = width;
            printStatus(QStringLiteral("Inspector width changed to: ") +
                        QString::number(double(width), 'f', 1));
        }
    }
    return QSplitter::eventFilter(watched, event);
}
