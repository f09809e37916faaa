#include "ui/preferences/PreferenceView.h"

#include "base/StatusLine.h"
#include "core/UserSettings.h"
#include "core/ViewModelFactory.h"
#include "csv/CsvReader.h"
#include "text/WordFamilies.h"
#include "ui/backups/Backups.h"
#include "ui/common/Alert.h"
#include "ui/common/DialogFolder.h"
#include "ui/common/LanguageChoices.h"
#include "ui/common/SaveProgress.h"
#include "ui/common/TitleRoom.h"
#include "ui/preferences/GlossServerEditor.h"
#include "ui/preferences/LookUpAddressEditor.h"
#include "ui/preferences/PreferenceViewDelegate.h"
#include "ui_PreferenceView.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPromise>
#include <QSpinBox>
#include <QtConcurrent/QtConcurrentRun>

PreferenceView::PreferenceView(QWidget* parent)
    : PreferenceView(ViewModelFactory::shared().model(), parent) {}

PreferenceView::PreferenceView(std::shared_ptr<AppModel> model, QWidget* parent)
    : QWidget(parent)
    , ui_(std::make_unique<Ui::PreferenceView>())
    , appModel_(std::move(model)) {
    ui_->setupUi(this);
    connect(ui_->alphabetCheckbox, &QCheckBox::clicked, this,
            &PreferenceView::alphabetCheckboxToggled);
    connect(ui_->dateCheckbox, &QCheckBox::clicked, this, &PreferenceView::dateCheckboxToggled);
    connect(ui_->languageSelectButton, &QComboBox::activated, this,
            &PreferenceView::languageSelected);
    connect(ui_->restoreButton, &QPushButton::clicked, this, &PreferenceView::restore);
    awakeFromNib();
}

PreferenceView::~PreferenceView() = default;

QCheckBox* PreferenceView::dateCheckbox() const {
    return ui_->dateCheckbox;
}
QCheckBox* PreferenceView::alphabetCheckbox() const {
    return ui_->alphabetCheckbox;
}
QComboBox* PreferenceView::languageSelectButton() const {
    return ui_->languageSelectButton;
}
QPushButton* PreferenceView::restoreButton() const {
    return ui_->restoreButton;
}
QCheckBox* PreferenceView::reopenCheckbox() const {
    return reopenCheckbox_;
}

void PreferenceView::awakeFromNib() {
    ui_->alphabetCheckbox->setAccessibleDescription(tr("Sort the known words alphabetically"));
    ui_->dateCheckbox->setAccessibleDescription(tr("Sort the known words by date"));
    ui_->languageSelectButton->setAccessibleName(tr("Language"));
    ui_->languageSelectButton->setAccessibleDescription(tr("The language new titles start with"));
    ui_->restoreButton->setAccessibleDescription(
        tr("Adds the titles and words of an exported CSV file"));
    // The choices kept from the last time, alphabet and English at first.
    const bool byDate = UserSettings::knownWordsSortType() == SortType::date;
    ui_->alphabetCheckbox->setChecked(!byDate);
    ui_->dateCheckbox->setChecked(byDate);
    // English and Japanese first, then every other language, then none;
    // typing finds a language as the title's language dialog does.
    QComboBox* box = ui_->languageSelectButton;
    box->addItem(LanguageChoices::nameOf(QStringLiteral("en")), QStringLiteral("en"));
    box->addItem(LanguageChoices::nameOf(QStringLiteral("ja")), QStringLiteral("ja"));
    box->insertSeparator(box->count());
    for (const auto& language : LanguageChoices::all()) {
        if (language.code != QLatin1String("en") && language.code != QLatin1String("ja"))
            box->addItem(language.name, language.code);
    }
    box->insertSeparator(box->count());
    box->addItem(tr("No Language"), QString());
    LanguageChoices::findTypedLanguages(box);
    const int chosen = box->findData(UserSettings::newTitleLanguage());
    box->setCurrentIndex(chosen >= 0 ? chosen : 0);
    lookUpEditor_ = new LookUpAddressEditor(this);
    auto* lookUpLabel = new QLabel(tr("Look up:"), this);
    lookUpLabel->setBuddy(lookUpEditor_->languageBox());
    ui_->formLayout->insertRow(3, lookUpLabel, lookUpEditor_);
    // A start opens the first title at row 0, unless the learner asks for
    // the place of the last quit.
    reopenCheckbox_ = new QCheckBox(tr("Reopen the last title and row"), this);
    reopenCheckbox_->setObjectName(QStringLiteral("reopenCheckbox"));
    reopenCheckbox_->setAccessibleDescription(
        tr("At start, show the title and the word selected when Pramel last quit"));
    reopenCheckbox_->setChecked(UserSettings::reopensLastPlace());
    connect(reopenCheckbox_, &QCheckBox::toggled, this, &UserSettings::setReopensLastPlace);
    ui_->formLayout->insertRow(4, new QLabel(tr("Start:"), this), reopenCheckbox_);
    auto* formsLabel = new QLabel(tr("Word forms:"), this);
    ui_->formLayout->insertRow(4, formsLabel, makeFormsRow());
    formsLabel->setBuddy(formsLanguageBox_);
    glossEditor_ = new GlossServerEditor(this);
    auto* glossLabel = new QLabel(tr("Glosses:"), this);
    glossLabel->setBuddy(glossEditor_->hostEdit());
    ui_->formLayout->insertRow(5, glossLabel, glossEditor_);
    const QList<QWidget*> order{ui_->languageSelectButton,
                                lookUpEditor_->languageBox(),
                                lookUpEditor_->addressEdit(),
                                lookUpEditor_->saveButton(),
                                lookUpEditor_->defaultsButton(),
                                formsLanguageBox_,
                                formsCheckbox_,
                                glossEditor_->hostEdit(),
                                glossEditor_->portBox(),
                                glossEditor_->languageBox(),
                                glossEditor_->databaseBox(),
                                reopenCheckbox_,
                                ui_->restoreButton};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

QWidget* PreferenceView::makeFormsRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    formsLanguageBox_ = new QComboBox(row);
    formsLanguageBox_->setObjectName(QStringLiteral("formsLanguageBox"));
    formsLanguageBox_->setAccessibleName(tr("Language of the word forms"));
    formsLanguageBox_->setAccessibleDescription(
        tr("The language whose forms of a word the box beside it counts as one or apart"));
    // Only the languages whose dictionary is installed: the others count
    // every form apart whatever the box says.
    for (const auto& language : LanguageChoices::all()) {
        if (!WordFamilies::dictionaryName(language.code).isEmpty())
            formsLanguageBox_->addItem(language.name, language.code);
    }
    formsCheckbox_ = new QCheckBox(tr("Count the forms of a word as one"), row);
    formsCheckbox_->setObjectName(QStringLiteral("formsCheckbox"));
    formsCheckbox_->setAccessibleDescription(
        tr("A word known or being learned leaves its other forms out of the next split"));
    formsDictionary_ = new QLabel(row);
    formsDictionary_->setObjectName(QStringLiteral("formsDictionary"));
    layout->addWidget(formsLanguageBox_);
    layout->addWidget(formsCheckbox_);
    layout->addWidget(formsDictionary_, 1);
    if (formsLanguageBox_->count() == 0) {
        formsLanguageBox_->setEnabled(false);
        formsCheckbox_->setEnabled(false);
        formsDictionary_->setText(
            tr("No dictionary of word forms is installed (hunspell-de-de, mecab-ipadic-utf8, "
               "\u2026): every form counts apart."));
        formsDictionary_->setWordWrap(true);
        return row;
    }
    const int chosen = formsLanguageBox_->findData(UserSettings::newTitleLanguage());
    formsLanguageBox_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    connect(formsLanguageBox_, &QComboBox::currentIndexChanged, this,
            &PreferenceView::showFormsOfChosenLanguage);
    connect(formsCheckbox_, &QCheckBox::clicked, this, [this](bool on) {
        const QString language = formsLanguageBox_->currentData().toString();
        appModel_->setCountsForms(language, on);
        UserSettings::setCountsForms(language, on);
    });
    showFormsOfChosenLanguage();
    return row;
}

void PreferenceView::showFormsOfChosenLanguage() {
    const QString language = formsLanguageBox_->currentData().toString();
    formsCheckbox_->setChecked(appModel_->state().countsForms(language));
    formsDictionary_->setText(tr("dictionary: %1").arg(WordFamilies::dictionaryName(language)));
}

namespace {
// The two boxes are one choice of two: the clicked box has already flipped.
void applyCheckboxRule(QCheckBox* clicked, QCheckBox* other) {
    if (!clicked->isChecked())
        clicked->setChecked(true);
    else
        other->setChecked(false);
}
} // namespace

void PreferenceView::alphabetCheckboxToggled() {
    applyCheckboxRule(ui_->alphabetCheckbox, ui_->dateCheckbox);
    sortTypeChosen();
}

void PreferenceView::dateCheckboxToggled() {
    applyCheckboxRule(ui_->dateCheckbox, ui_->alphabetCheckbox);
    sortTypeChosen();
}

void PreferenceView::sortTypeChosen() {
    const SortType sortType = ui_->dateCheckbox->isChecked() ? SortType::date : SortType::alphabet;
    UserSettings::setKnownWordsSortType(sortType);
    appModel_->setKnownWordsSortType(sortType);
}

void PreferenceView::languageSelected() {
    const int index = ui_->languageSelectButton->currentIndex();
    if (index < 0) {
        printStatus(QStringLiteral("Selected item: nil"));
        return;
    }
    // The line names the language in English, whatever the program speaks.
    const QString language = ui_->languageSelectButton->itemData(index).toString();
    printStatus(QStringLiteral("Selected item: Optional(\"%1\")")
                    .arg(language.isEmpty() ? QStringLiteral("No Language")
                                            : LanguageChoices::englishNameOf(language)));
    UserSettings::setNewTitleLanguage(language);
    appModel_->setNewTitleLanguage(language);
}

void PreferenceView::restore() {
    auto* dialog = new QFileDialog(window(), tr("Choose a CSV file"));
    dialog->setObjectName(QStringLiteral("restoreFileDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilter(tr("CSV files (*.csv)"));
    dialog->setDefaultSuffix(QStringLiteral("csv"));
    dialog->setDirectory(DialogFolder::start());
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QFileDialog::fileSelected, this, &DialogFolder::remember);
    connect(dialog, &QFileDialog::fileSelected, this, &PreferenceView::restoreFromFile);
    dialog->open();
}

void PreferenceView::restoreFromFile(const QString& path) {
    if (path.isEmpty() || reading_)
        return;
    // Read on a thread of its own, a megabyte at a time: a file of a million
    // words takes seconds, and the window keeps painting and shows how far
    // the reading is.
    const QString fileName = QFileInfo(path).fileName();
    auto* progress = new QProgressDialog(tr("Reading \u201c%1\u201d\u2026").arg(fileName),
                                         QString(), 0, 1000, window());
    progress->setObjectName(QStringLiteral("readProgress"));
    progress->setAttribute(Qt::WA_DeleteOnClose);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(300);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    TitleRoom::keep(progress);
    reading_ = new QFutureWatcher<csv::FileReading>(this);
    connect(reading_, &QFutureWatcherBase::progressValueChanged, progress,
            &QProgressDialog::setValue);
    connect(reading_, &QFutureWatcherBase::finished, this, [this, progress, path] {
        progress->close();
        const csv::FileReading reading = reading_->result();
        reading_->deleteLater();
        reading_ = nullptr;
        restoreFromReading(path, reading);
    });
    reading_->setFuture(QtConcurrent::run([path](QPromise<csv::FileReading>& promise) {
        promise.setProgressRange(0, 1000);
        promise.addResult(csv::readCSVFile(path, shownFaults + 1, [&](qint64 done, qint64 all) {
            promise.setProgressValue(all > 0 ? int(done * 1000 / all) : 0);
        }));
    }));
}

void PreferenceView::restoreFromReading(const QString& path, const csv::FileReading& reading) {
    using Problem = csv::FileReading::Problem;
    switch (reading.problem) {
    case Problem::none:
        break;
    case Problem::cannotOpen:
        showError(tr("The file could not be read."), reading.openError);
        return;
    case Problem::notUtf8:
        showError(tr("The file could not be read."), tr("It is not UTF-8 text."));
        return;
    case Problem::noLines:
        showError(tr("The file could not be read."), tr("It holds no lines."));
        return;
    case Problem::notText:
        showError(tr("The file could not be read."), tr("It is not text."));
        return;
    }
    if (const auto* error = std::get_if<CSVParseError>(&reading.parsed)) {
        // The first faults of the file, so that one pass of repairs fixes them.
        const QList<CSVParseError>& errors = reading.firstErrors;
        QStringList lines;
        for (const CSVParseError& each :
             errors.isEmpty() ? QList{*error} : errors.mid(0, shownFaults))
            lines << (each.line > 0 ? tr("Line %1: %2").arg(each.line).arg(each.message)
                                    : each.message);
        if (errors.size() > shownFaults)
            lines << tr("and more");
        showError(tr("The file could not be restored."), lines.join(u'\n'));
        return;
    }
    const auto& titles = std::get<QList<TitleAndWordList>>(reading.parsed);
    if (titles.isEmpty()) {
        auto* alert = new Alert(window(), tr("Nothing was restored"),
                                tr("The file holds no words."), Alert::Style::informational);
        alert->removeSecondButton();
        alert->beginSheetModal({});
        return;
    }
    previewRestore(QFileInfo(path).fileName(), titles);
}

void PreferenceView::previewRestore(const QString& fileName,
                                    const QList<TitleAndWordList>& titles) {
    // What the file would change, before anything does.
    const AppModel::RestorePreview preview = appModel_->previewRestore(titles);
    const QLocale locale;
    QStringList lines;
    lines << tr("Titles added: %1").arg(locale.toString(preview.newTitles.size()))
          << tr("Titles already held, merged into: %1")
                 .arg(locale.toString(preview.mergedTitles.size()))
          << tr("Words added: %1").arg(locale.toString(preview.newWords))
          << tr("Words skipped as already held: %1").arg(locale.toString(preview.heldWords));
    auto* alert = new Alert(window(), tr("Restore from “%1”?").arg(fileName), lines.join('\n'),
                            Alert::Style::informational);
    alert->setObjectName(QStringLiteral("restorePreview"));
    QStringList names;
    for (const QString& name : preview.newTitles + preview.mergedTitles)
        names << tr("“%1”").arg(name);
    const qsizetype shown = 8;
    QString detail = QStringList(names.mid(0, shown)).join(QStringLiteral(", "));
    if (names.size() > shown)
        detail += tr(" and %1 more").arg(locale.toString(names.size() - shown));
    alert->setDetailText(detail);
    alert->firstButton()->setText(tr("Restore"));
    QPointer<PreferenceView> self(this);
    alert->beginSheetModal([self, titles, fileName](int response) {
        if (!self)
            return;
        if (response != Alert::firstButtonReturn) {
            printStatus(QStringLiteral("Restore cancelled"));
            return;
        }
        // The store as it was before, in case the file was not the one meant.
        Backups::backUpBefore(Alert::mainWindow(self), *self->appModel_,
                              [self, titles, fileName] {
                                  if (self)
                                      self->restoreTitles(titles, fileName);
                              },
                              {BackupReason::Kind::restoringFile, fileName});
    });
}

void PreferenceView::restoreTitles(const QList<TitleAndWordList>& titles, const QString& fileName) {
    const qsizetype failuresBefore = appModel_->backgroundSaves().failures.size();
    appModel_->restore(titles, fileName);
    // Success is told once the words are stored; a batch that fails is told
    // by the main window instead.
    QPointer<PreferenceView> self(this);
    SaveProgress::start(
        Alert::mainWindow(this), appModel_,
        [](qint64 words) {
            return tr("Restoring: %Ln words to store\u2026", nullptr,
                      int(std::min<qint64>(words, INT_MAX)));
        },
        Qt::NonModal,
        [self, failuresBefore] {
            if (!self)
                return;
            if (self->appModel_->backgroundSaves().failures.size() == failuresBefore &&
                self->delegate_)
                self->delegate_->restoreDidSucceed();
        });
}

void PreferenceView::showError(const QString& message, const QString& detail) {
    auto* alert = new Alert(window(), message, detail, Alert::Style::critical);
    alert->removeSecondButton();
    alert->beginSheetModal({});
}
