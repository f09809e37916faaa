#include "ui/common/Alert.h"

#include "ui/common/TitleRoom.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSpacerItem>
#include <QStyle>
#include <QVBoxLayout>

Alert::Alert(QWidget* window, const QString& messageText, const QString& informativeText,
             Style style)
    : QDialog(window)
    , style_(style) {
    setObjectName(QStringLiteral("Alert"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(messageText);

    QLabel* icon = makeIcon(style);
    makeTexts(messageText, informativeText);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(textColumn_, 1);
    QDialogButtonBox* buttons = makeButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(buttons);
    // The layout fixes the alert's size: the title's room is a strut in it.
    titleRoom_ =
        new QSpacerItem(TitleRoom::widthFor(this), 0, QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addItem(titleRoom_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(320);
}

QLabel* Alert::makeIcon(Style style) {
    auto* icon = new QLabel(this);
    const int iconSize = this->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    QStyle::StandardPixmap pixmap = QStyle::SP_MessageBoxWarning;
    switch (style) {
    case Style::informational:
        pixmap = QStyle::SP_MessageBoxInformation;
        break;
    case Style::critical:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case Style::question:
        pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case Style::warning:
        break;
    }
    icon->setPixmap(this->style()->standardIcon(pixmap, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return icon;
}

void Alert::makeTexts(const QString& messageText, const QString& informativeText) {
    message_ = new QLabel(messageText, this);
    QFont bold = message_->font();
    bold.setBold(true);
    message_->setFont(bold);
    message_->setTextFormat(Qt::PlainText);
    informative_ = new QLabel(informativeText, this);
    informative_->setTextFormat(Qt::PlainText);
    informative_->setWordWrap(true);
    informative_->setVisible(!informativeText.isEmpty());
    detail_ = new QLabel(this);
    detail_->setTextFormat(Qt::PlainText);
    detail_->setWordWrap(true);
    detail_->hide();

    textColumn_ = new QVBoxLayout;
    textColumn_->addWidget(message_);
    textColumn_->addWidget(informative_);
    textColumn_->addWidget(detail_);
    textColumn_->addStretch();
}

QDialogButtonBox* Alert::makeButtons() {
    auto* buttons = new QDialogButtonBox(this);
    firstButton_ = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    secondButton_ = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    firstButton_->setDefault(true);
    connect(firstButton_, &QPushButton::clicked, this, [this] { done(firstButtonReturn); });
    connect(secondButton_, &QPushButton::clicked, this, [this] { done(secondButtonReturn); });
    return buttons;
}

QLineEdit* Alert::addTextField(const QString& placeholder, const QString& text) {
    if (!textField_) {
        textField_ = new QLineEdit(this);
        textField_->setMinimumWidth(200);
        textField_->setAccessibleName(placeholder);
        textField_->setAccessibleDescription(informative_->text());
        textColumn_->insertWidget(3, textField_);
    }
    textField_->setPlaceholderText(placeholder);
    textField_->setText(text);
    textField_->setFocus();
    return textField_;
}

void Alert::removeSecondButton() {
    if (!secondButton_)
        return;
    delete secondButton_;
    secondButton_ = nullptr;
}

QString Alert::messageText() const {
    return message_->text();
}
QString Alert::informativeText() const {
    return informative_->text();
}

void Alert::setDetailText(const QString& text) {
    detail_->setText(text);
    detail_->setVisible(!text.isEmpty());
}

QString Alert::detailText() const {
    return detail_->text();
}

void Alert::beginSheetModal(std::function<void(int)> completion) {
    connect(this, &QDialog::finished, this, [completion = std::move(completion)](int response) {
        if (completion)
            completion(response);
    });
    open();
    if (textField_)
        textField_->setFocus();
}

void Alert::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (titleRoom_ &&
        (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::FontChange)) {
        titleRoom_->changeSize(TitleRoom::widthFor(this), 0, QSizePolicy::Fixed,
                               QSizePolicy::Fixed);
        layout()->invalidate();
    }
}

void Alert::reject() {
    done(secondButton_ ? secondButtonReturn : firstButtonReturn);
}

QWidget* Alert::mainWindow(const QWidget* from) {
    if (from) {
        if (auto* top = qobject_cast<QMainWindow*>(from->window()))
            return top;
    }
    if (auto* active = qobject_cast<QMainWindow*>(QApplication::activeWindow()))
        return active;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* main = qobject_cast<QMainWindow*>(w); main && main->isVisible())
            return main;
    }
    return nullptr;
}
