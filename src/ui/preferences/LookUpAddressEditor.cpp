#include "ui/preferences/LookUpAddressEditor.h"

#include "base/StatusLine.h"
#include "core/LookUpAddress.h"
#include "core/UserSettings.h"
#include "ui/common/LanguageChoices.h"
#include "ui/common/LookUp.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

LookUpAddressEditor::LookUpAddressEditor(QWidget* parent)
    : QWidget(parent)
    , languageBox_(new QComboBox(this))
    , addressEdit_(new QPlainTextEdit(this))
    , saveButton_(new QPushButton(tr("Save Addresses"), this))
    , defaultsButton_(new QPushButton(tr("Defaults"), this))
    , problemLabel_(new QLabel(this)) {
    languageBox_->setObjectName(QStringLiteral("lookUpLanguageBox"));
    languageBox_->setAccessibleName(tr("Look-up language"));
    languageBox_->setAccessibleDescription(tr("The language whose look-up addresses are shown"));
    languageBox_->addItem(tr("No Language"), QString());
    for (const auto& each : LanguageChoices::all())
        languageBox_->addItem(each.name, each.code);
    LanguageChoices::findTypedLanguages(languageBox_);
    addressEdit_->setObjectName(QStringLiteral("lookUpAddressEdit"));
    addressEdit_->setAccessibleName(tr("Look-up addresses"));
    addressEdit_->setAccessibleDescription(tr(
        "One web address per line with {word} where the word goes; the first is used by Look Up"));
    addressEdit_->setTabChangesFocus(true);
    addressEdit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    addressEdit_->setFixedHeight(addressEdit_->fontMetrics().lineSpacing() * 4 + 12);
    addressEdit_->setMinimumWidth(addressEdit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) *
                                  44);
    saveButton_->setObjectName(QStringLiteral("lookUpSaveButton"));
    defaultsButton_->setObjectName(QStringLiteral("lookUpDefaultsButton"));
    saveButton_->setAccessibleDescription(tr("Keeps the addresses once every one can be used"));
    defaultsButton_->setAccessibleDescription(tr("Shows the usual Wiktionary addresses again"));
    problemLabel_->setObjectName(QStringLiteral("lookUpProblem"));
    problemLabel_->setWordWrap(true);
    problemLabel_->setStyleSheet(QStringLiteral("color: #b00020;"));
    // Room for the reason is kept, so that the window need not grow for it.
    problemLabel_->setMinimumHeight(problemLabel_->fontMetrics().lineSpacing() * 2);
    problemLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveButton_);
    buttons->addWidget(defaultsButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(languageBox_);
    layout->addWidget(addressEdit_);
    layout->addLayout(buttons);
    layout->addWidget(problemLabel_);

    const int start = languageBox_->findData(UserSettings::newTitleLanguage());
    shownIndex_ = start >= 0 ? start : 0;
    languageBox_->setCurrentIndex(shownIndex_);
    showAddresses();
    connect(languageBox_, &QComboBox::activated, this, &LookUpAddressEditor::languageChosen);
    connect(saveButton_, &QPushButton::clicked, this, &LookUpAddressEditor::save);
    connect(defaultsButton_, &QPushButton::clicked, this, &LookUpAddressEditor::showDefaults);
}

QString LookUpAddressEditor::language() const {
    return languageBox_->itemData(shownIndex_).toString();
}

void LookUpAddressEditor::showAddresses() {
    addressEdit_->setPlainText(LookUp::addresses(language()).join(u'\n'));
    problemLabel_->clear();
}

void LookUpAddressEditor::showDefaults() {
    addressEdit_->setPlainText(LookUp::defaultAddresses(language()).join(u'\n'));
    problemLabel_->clear();
}

bool LookUpAddressEditor::save() {
    QStringList list;
    const QStringList lines = addressEdit_->toPlainText().split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString address = lines[i].trimmed();
        if (address.isEmpty())
            continue;
        const QString problem = LookUpAddress::problemWith(address);
        if (!problem.isEmpty()) {
            problemLabel_->setText(tr("Line %1: %2").arg(i + 1).arg(problem));
            return false;
        }
        list << address;
    }
    // The defaults are not written down, so that better ones reach the user.
    LookUp::setAddresses(language(),
                         list == LookUp::defaultAddresses(language()) ? QStringList() : list);
    showAddresses();
    printStatus(QStringLiteral("Look-up addresses saved"));
    return true;
}

bool LookUpAddressEditor::isEdited() const {
    QStringList shown;
    for (const QString& line : addressEdit_->toPlainText().split(u'\n'))
        if (!line.trimmed().isEmpty())
            shown << line.trimmed();
    return shown != LookUp::addresses(language());
}

void LookUpAddressEditor::languageChosen(int index) {
    if (index == shownIndex_)
        return;
    // Edits are not lost by looking at another language; a list that cannot
    // be kept stays in front of the user.
    if (isEdited() && !save()) {
        languageBox_->setCurrentIndex(shownIndex_);
        return;
    }
    shownIndex_ = index;
    showAddresses();
}

void LookUpAddressEditor::hideEvent(QHideEvent* event) {
    if (isEdited())
        save();
    QWidget::hideEvent(event);
}
