#include "ui/titles/TitleViewController.h"

#include "base/StatusLine.h"
#include "core/ViewModelFactory.h"
#include "ui/backups/Backups.h"
#include "ui/common/Alert.h"
#include "ui/titles/TitleCell.h"
#include "ui/titles/TitleLanguageDialog.h"
#include "ui/titles/TitleListModel.h"
#include "ui/titles/TitleTableView.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

TitleViewController::TitleViewController(QWidget* parent)
    : TitleViewController(ViewModelFactory::shared().model(), parent) {}

TitleViewController::TitleViewController(std::shared_ptr<AppModel> model, QWidget* parent)
    : QWidget(parent)
    , appModel_(std::move(model)) {
    setObjectName(QStringLiteral("TitleViewController"));
    tableView_ = new TitleTableView(this);
    tableView_->setObjectName(QStringLiteral("titleTableView"));
    tableView_->setAccessibleName(tr("Titles"));
    tableView_->setAccessibleDescription(
        tr("The texts you study; files dropped here open as new titles"));
    setAccessibleName(tr("Titles"));
    titleModel_ = new TitleListModel(appModel_, this);
    cell_ = new TitleCell(this);

    addButton_ = new QToolButton(this);
    addButton_->setObjectName(QStringLiteral("addTitleButton"));
    addButton_->setText(QStringLiteral("+"));
    addButton_->setToolTip(tr("Add a title"));
    addButton_->setAccessibleName(tr("Add title"));
    addButton_->setAccessibleDescription(tr("Adds a title to the list, asking for its name"));
    addButton_->setAutoRaise(true);
    addButton_->setFixedSize(24, 22);
    connect(addButton_, &QToolButton::clicked, this, &TitleViewController::onButtonTapped);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(addButton_);
    bar->addStretch();

    tableView_->setFrameShape(QFrame::NoFrame);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setForegroundRole(QPalette::Mid);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tableView_, 1);
    layout->addWidget(line);
    layout->addLayout(bar);

    viewDidLoad();
}

void TitleViewController::viewDidLoad() {
    // Only a change of the list of titles reloads the table; a new current
    // title or new words leave it alone. Publications are coalesced: the
    // reload runs once, on the next turn of the event loop, with the latest
    // state.
    subs_ = appModel_->subscribe([this](const AppState& state) {
        QList<Title> titles = state.titles();
        if (hasLastTitles_ && titles == lastTitles_ && state.titleLanguages == lastLanguages_) {
            // Same list: only the highlight may have to follow a new current title.
            if (state.currentTitle.id != lastCurrentId_) {
                lastCurrentId_ = state.currentTitle.id;
                highlight_.schedule();
            }
            return;
        }
        lastTitles_ = std::move(titles);
        lastLanguages_ = state.titleLanguages;
        lastCurrentId_ = state.currentTitle.id;
        hasLastTitles_ = true;
        reload_.schedule();
    });

    tableView_->setItemDelegate(cell_);
    tableView_->setModel(titleModel_);
    connect(tableView_, &TitleTableView::rowChosen, this, &TitleViewController::didSelectRow);
    // A right-click highlights the row it acts on without choosing it; once
    // the menu is gone the highlight goes back to the title the panes show.
    // The chosen command has kept its row.
    connect(tableView_, &TitleTableView::contextMenuClosed, this,
            &TitleViewController::highlightCurrentTitle);
    tableView_->horizontalHeader()->hide();

    connect(tableView_, &TitleTableView::duplicateTapAction, this,
            &TitleViewController::duplicateTitle);
    connect(tableView_, &TitleTableView::deleteTapAction, this, &TitleViewController::deleteTitle);
    connect(tableView_, &TitleTableView::editTapAction, this, &TitleViewController::editTitle);
    connect(tableView_, &TitleTableView::languageTapAction, this,
            &TitleViewController::chooseLanguage);
    languageAction_ = new QAction(tr("Language\u2026"), this);
    languageAction_->setObjectName(QStringLiteral("titleLanguageAction"));
    connect(languageAction_, &QAction::triggered, this, [this] {
        chooseLanguage(appModel_->state().indexOfTitle(appModel_->state().currentTitle.id));
    });

    tableView_->setDragEnabled(true);
    tableView_->setAcceptDrops(true);
    tableView_->setDropIndicatorShown(true);
    tableView_->setDragDropOverwriteMode(false);
    tableView_->setDragDropMode(QAbstractItemView::InternalMove);
    tableView_->setDefaultDropAction(Qt::MoveAction);
    // A drop has moved a title: the rows follow at once.
    connect(titleModel_, &TitleListModel::titleMoved, this, &TitleViewController::reloadData);
    // Files dropped from a file manager become titles, through the window.
    connect(tableView_, &TitleTableView::filesDropped, this, &TitleViewController::filesDropped);
}

void TitleViewController::reloadData() {
    // The table keeps its selection across a reload, by row.
    const int selected = tableView_->selectedRow();
    titleModel_->reload(appModel_->state().titles(), appModel_->state().titleLanguages);
    if (selected >= 1 && selected < titleModel_->rowCount()) {
        tableView_->selectionModel()->setCurrentIndex(titleModel_->index(selected, 0),
                                                      QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
    }
    highlightCurrentTitle();
}

void TitleViewController::highlightCurrentTitle() {
    // The highlighted row is the title the panes show: after start-up, after a
    // deletion that moved the choice to a neighbour, after a restore. Selecting
    // by code does not choose a title, so nothing is written back.
    const QUuid current = appModel_->state().currentTitle.id;
    const QList<Title>& shown = titleModel_->titles();
    for (int i = 0; i < shown.size(); ++i) {
        if (shown[i].id == current) {
            if (tableView_->selectedRow() != i + 1)
                tableView_->selectRowOnly(i + 1);
            return;
        }
    }
    // No title is shown in the panes (a fresh store): none is highlighted.
    tableView_->clearSelection();
}

std::optional<Title> TitleViewController::titleOnScreen(qint64 titleIndex) const {
    return titleModel_->titleOnScreen(titleIndex);
}

void TitleViewController::didSelectRow(int row) {
    if (row < 1)
        return;
    const std::optional<Title> title = titleOnScreen(row - 1);
    if (!title)
        return;
    appModel_->setCurrentTitle(*title);
}

namespace {
// The name of a new title, or a new name: a question, not a warning.
Alert* makeNameAlert(QWidget* window, const QString& name) {
    auto* alert = new Alert(window, QObject::tr("Alert Title"), QObject::tr("Enter your name:"),
                            Alert::Style::question);
    alert->addTextField(QObject::tr("Name"), name);
    return alert;
}
} // namespace

void TitleViewController::onButtonTapped() {
    QWidget* window = Alert::mainWindow(this);
    if (!window)
        return;
    Alert* alert = makeNameAlert(window, QString());
    QLineEdit* field = alert->textField();
    alert->beginSheetModal([this, field](int response) {
        if (response == Alert::firstButtonReturn) {
            const QString text = field->text();
            printStatus(QStringLiteral("OK button clicked. Entered text: ") + text);
            appModel_->addTitle(text);
            // The new title is the one the panes show, so that a text pasted
            // next goes into it. It was added last.
            const QList<TitleAndWordList>& list = appModel_->state().listOfTitleAndWordList;
            if (!list.isEmpty())
                appModel_->setCurrentTitle(list.last().title);
        } else if (response == Alert::secondButtonReturn) {
            printStatus(QStringLiteral("Cancel button clicked"));
        }
    });
}

void TitleViewController::editTitle(qint64 titleIndex) {
    const std::optional<Title> title = titleOnScreen(titleIndex);
    if (!title)
        return;
    QWidget* window = Alert::mainWindow(this);
    if (!window)
        return;
    Alert* alert = makeNameAlert(window, title->title);
    QLineEdit* field = alert->textField();
    field->selectAll();
    alert->beginSheetModal([this, field, kept = *title](int response) {
        if (response == Alert::firstButtonReturn) {
            const QString text = field->text();
            printStatus(QStringLiteral("OK button clicked. Entered text: ") + text);
            appModel_->changeTitle(kept, text);
        } else if (response == Alert::secondButtonReturn) {
            printStatus(QStringLiteral("Cancel button clicked"));
        }
    });
}

void TitleViewController::chooseLanguage(qint64 titleIndex) {
    const std::optional<Title> title = titleOnScreen(titleIndex);
    if (!title)
        return;
    QWidget* window = Alert::mainWindow(this);
    if (!window)
        return;
    auto* dialog =
        new TitleLanguageDialog(window, title->title, appModel_->state().languageOf(title->id));
    connect(dialog, &TitleLanguageDialog::languageChosen, this,
            [this, id = title->id](const QString& code) { appModel_->setTitleLanguage(id, code); });
    dialog->open();
}

void TitleViewController::deleteTitle(qint64 titleIndex) {
    QWidget* window = Alert::mainWindow(this);
    if (!window)
        return;
    const std::optional<Title> title = titleOnScreen(titleIndex);
    if (!title)
        return;
    auto* alert = new Alert(window, tr("Delete Title"), tr("Are you sure?"));
    // The highlight need not be on the title the alert is about: say which goes.
    alert->setDetailText(tr("“%1”").arg(title->title));
    alert->beginSheetModal([this, id = title->id, name = title->title](int response) {
        if (response == Alert::firstButtonReturn) {
            printStatus(QStringLiteral("OK button clicked. Entered text:"));
            // A title and its words cannot be taken back: a backup can.
            std::shared_ptr<AppModel> model = appModel_;
            Backups::backUpBefore(Alert::mainWindow(this), *model,
                                  [model, id] { model->deleteTitle(id); },
                                  {BackupReason::Kind::deletingTitle, name});
        } else if (response == Alert::secondButtonReturn) {
            printStatus(QStringLiteral("Cancel button clicked"));
        }
    });
}

void TitleViewController::duplicateTitle(qint64 titleIndex) {
    if (!titleOnScreen(titleIndex))
        return;
    appModel_->duplicateTitle(titleIndex);
}
