#include "ui/titles/TitleLanguageDialog.h"

#include "ui/common/LanguageChoices.h"
#include "ui/common/TitleRoom.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int codeRole = Qt::UserRole + 1;
} // namespace

TitleLanguageDialog::TitleLanguageDialog(QWidget* window, const QString& titleName,
                                         const QString& current)
    : QDialog(window) {
    setObjectName(QStringLiteral("titleLanguageDialog"));
    setWindowTitle(tr("Language"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);

    auto* message = new QLabel(tr("The language of \u201c%1\u201d:").arg(titleName), this);
    message->setWordWrap(true);
    searchField_ = new QLineEdit(this);
    searchField_->setObjectName(QStringLiteral("languageSearchField"));
    searchField_->setPlaceholderText(tr("Search"));
    searchField_->setClearButtonEnabled(true);
    searchField_->installEventFilter(this);
    searchField_->setAccessibleName(tr("Search languages"));
    searchField_->setAccessibleDescription(
        tr("Finds languages by name, in English, in this program's language and in their "
           "own, and by ISO 639 code; the closest matches come first"));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("languageList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(tr("Languages"));
    list_->setAccessibleDescription(tr("The language to give the title"));
    showLanguages({});

    auto* buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    okButton_->setAccessibleDescription(tr("Gives the title the highlighted language"));
    cancel->setAccessibleDescription(tr("Leaves the title's language as it is"));
    okButton_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(searchField_, &QLineEdit::textChanged, this, &TitleLanguageDialog::filter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message);
    layout->addWidget(searchField_);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    resize(320, 420);
    TitleRoom::keep(this);

    select(current);
    searchField_->setFocus();
}

QString TitleLanguageDialog::selectedLanguage() const {
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(codeRole).toString() : QString();
}

void TitleLanguageDialog::accept() {
    // Nothing left after a search: nothing to take.
    if (!list_->currentItem())
        return;
    Q_EMIT languageChosen(selectedLanguage());
    QDialog::accept();
}

void TitleLanguageDialog::select(const QString& code) {
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->data(codeRole).toString() == code) {
            list_->setCurrentRow(i);
            return;
        }
    }
    list_->setCurrentRow(0);
}

void TitleLanguageDialog::showLanguages(const QString& query) {
    list_->clear();
    const auto add = [this](const LanguageChoices::Language& language) {
        auto* item = new QListWidgetItem(language.name, list_);
        item->setData(codeRole, language.code);
        // What else finds it: its own name and its codes.
        const QString codes = language.codes.join(QStringLiteral(", "));
        item->setToolTip(language.ownName.isEmpty()
                             ? codes
                             : QStringLiteral("%1 (%2)").arg(language.ownName, codes));
    };
    if (query.trimmed().isEmpty()) {
        auto* none = new QListWidgetItem(tr("No Language"), list_);
        none->setData(codeRole, QString());
        for (const auto& language : LanguageChoices::all())
            add(language);
        return;
    }
    for (const LanguageChoices::Language* language : LanguageChoices::search(query))
        add(*language);
}

void TitleLanguageDialog::filter(const QString& query) {
    // Typing highlights the closest match; an emptied field shows every
    // language again, the highlighted one still highlighted.
    const QString highlighted = selectedLanguage();
    showLanguages(query);
    if (query.trimmed().isEmpty())
        select(highlighted);
    else if (list_->count() > 0)
        list_->setCurrentRow(0);
    if (QListWidgetItem* current = list_->currentItem())
        list_->scrollToItem(current);
}

bool TitleLanguageDialog::eventFilter(QObject* watched, QEvent* event) {
    // Up, Down and the page keys in the field move through the list.
    if (watched == searchField_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            QApplication::sendEvent(list_, event);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TitleLanguageDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only a list laid out at its size can put the title's language in the middle.
    if (QListWidgetItem* current = list_->currentItem())
        list_->scrollToItem(current, QAbstractItemView::PositionAtCenter);
}
