#include "ui/registered/LearningPane.h"

#include "ui/common/GlossLine.h"

#include "ui/registered/LearningWordTableModel.h"
#include "ui/registered/PlainTextCell.h"

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QKeySequence>
#include <QMenu>
#include <QTableView>

namespace {
// The meaning column's editor, named for assistive technology.
class MeaningDelegate : public PlainTextCell {
public:
    using PlainTextCell::PlainTextCell;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor) {
            editor->setObjectName(QStringLiteral("meaningEditor"));
            editor->setAccessibleName(LearningPane::tr("Meaning"));
            editor->setAccessibleDescription(LearningPane::tr(
                "The meaning of the word; Return keeps it, Escape leaves it as it was"));
        }
        return editor;
    }
};
} // namespace

LearningPane::LearningPane(std::shared_ptr<AppModel> model, QTableView* table, QObject* parent)
    : QObject(parent)
    , appModel_(std::move(model))
    , table_(table) {
    model_ = new LearningWordTableModel(parent);
    setUpColumns();
    // The gloss of the word selected, under the list (the pane lays it out).
    glossLine_ = new GlossLine(Glosses::familyHeads(appModel_), table);
    glossLine_->hide();
    auto showGloss = [this] {
        const AppState& state = appModel_->state();
        const LearningWord* word = state.learningWord(selectedWord());
        glossLine_->showGlossOf(word ? word->wordText : QString(),
                                word ? state.languageOf(word->titleId) : QString());
    };
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this, showGloss);
    connect(model_, &QAbstractItemModel::modelReset, this, showGloss);
}

void LearningPane::setUpColumns() {
    using Column = LearningWordTableModel::Column;
    QTableView* table = table_;
    table->setModel(model_);
    // The meaning is edited in place: flags() lets only its column be edited.
    table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    table->setItemDelegateForColumn(Column::meaningColumn, new MeaningDelegate(table));
    table->setTextElideMode(Qt::ElideRight);
    // Five columns do not fit a narrow pane: the sentence takes what is
    // left, down to its least, and the list scrolls sideways beyond that.
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QHeaderView* header = table->horizontalHeader();
    const QFontMetrics fm = table->fontMetrics();
    const auto letters = [&](int n) { return fm.horizontalAdvance(QString(n, QLatin1Char('n'))); };
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(Column::wordColumn, letters(9) + 16);
    header->setSectionResizeMode(Column::levelColumn, QHeaderView::Fixed);
    header->resizeSection(Column::levelColumn,
                          qMax(letters(2), header->sectionSizeHint(Column::levelColumn)) + 8);
    header->resizeSection(Column::meaningColumn, letters(10) + 16);
    header->setSectionResizeMode(Column::sentenceColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(Column::dateColumn, QHeaderView::Fixed);
    header->resizeSection(
        Column::dateColumn,
        qMax(letters(1) + table->fontMetrics().horizontalAdvance(LearningWordTableModel::shortDate(
                              QDateTime(QDate(2028, 12, 28), QTime(23, 58, 58)))),
             header->sectionSizeHint(Column::dateColumn)) +
            8);

    connect(model_, &LearningWordTableModel::meaningEdited, this,
            [this](const QUuid& id, const QString& meaning) {
                appModel_->setLearningMeaning(id, meaning);
            });
    setUpActions();
    setUpMenu();
    connect(table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LearningPane::updateActions);
    connect(model_, &QAbstractItemModel::modelReset, this, &LearningPane::updateActions);
    connect(model_, &QAbstractItemModel::dataChanged, this, &LearningPane::updateActions);
    updateActions();
}

void LearningPane::setUpActions() {
    // Each command is a key of the focused list and an item of its menu.
    QTableView* table = table_;
    auto makeAction = [&](const QString& text, const QString& name,
                          const QList<QKeySequence>& keys) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        table->addAction(action);
        return action;
    };
    editMeaningAction_ = makeAction(tr("Edit Meaning"), QStringLiteral("editMeaningAction"),
                                    {QKeySequence(Qt::Key_F2)});
    // F2 edits the meaning whichever cell of the row is current.
    connect(editMeaningAction_, &QAction::triggered, this, [this] {
        const QModelIndexList rows = table_->selectionModel()->selectedRows();
        if (rows.isEmpty())
            return;
        const QModelIndex meaning =
            model_->index(rows.first().row(), LearningWordTableModel::meaningColumn);
        table_->setCurrentIndex(meaning);
        table_->edit(meaning);
    });
    auto* levels = new QActionGroup(this);
    levels->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (int level = LearningWord::minLevel; level <= LearningWord::maxLevel; ++level) {
        QAction* action =
            makeAction(tr("Level %1").arg(level), QStringLiteral("levelAction%1").arg(level),
                       {QKeySequence(Qt::Key_0 + level)});
        action->setCheckable(true);
        levels->addAction(action);
        connect(action, &QAction::triggered, this, [this, level] {
            const QUuid id = selectedWord();
            if (!id.isNull())
                appModel_->setLearningLevel(id, level);
        });
        levelActions_.append(action);
    }
    // Ctrl+K, "known": no command of the window takes it.
    promoteAction_ = makeAction(tr("Promote to Known"), QStringLiteral("promoteAction"),
                                {QKeySequence(Qt::CTRL | Qt::Key_K)});
    connect(promoteAction_, &QAction::triggered, this, [this] {
        const QUuid id = selectedWord();
        if (!id.isNull())
            appModel_->promoteLearningWord(id);
    });
    dropAction_ = makeAction(tr("Drop"), QStringLiteral("dropAction"),
                             {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::Key_Backspace)});
    dropAction_->setToolTip(tr("Stop learning the word: the next split shows it again"));
    connect(dropAction_, &QAction::triggered, this, [this] {
        const QUuid id = selectedWord();
        if (!id.isNull())
            appModel_->dropLearningWord(id);
    });
}

void LearningPane::setUpMenu() {
    QTableView* table = table_;
    menu_ = new QMenu(table);
    menu_->setObjectName(QStringLiteral("learningMenu"));
    menu_->addAction(editMeaningAction_);
    QMenu* levelMenu = menu_->addMenu(tr("Level"));
    levelMenu->setObjectName(QStringLiteral("learningLevelMenu"));
    levelMenu->addActions(levelActions_);
    menu_->addSeparator();
    menu_->addAction(promoteAction_);
    menu_->addAction(dropAction_);
    table->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { menu_->popup(table_->viewport()->mapToGlobal(pos)); });
}

QAction* LearningPane::levelAction(int level) const {
    const int i = level - LearningWord::minLevel;
    return i >= 0 && i < levelActions_.size() ? levelActions_.at(i) : nullptr;
}

QUuid LearningPane::selectedWord() const {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= model_->rowCount())
        return {};
    return model_->words().at(rows.first().row()).id;
}

void LearningPane::updateActions() {
    const QUuid id = selectedWord();
    const int row = id.isNull() ? -1 : model_->rowOf(id);
    const int level = row < 0 ? 0 : model_->words().at(row).level;
    for (QAction* action : {editMeaningAction_, promoteAction_, dropAction_})
        action->setEnabled(row >= 0);
    for (int i = 0; i < levelActions_.size(); ++i) {
        levelActions_[i]->setEnabled(row >= 0);
        levelActions_[i]->setChecked(LearningWord::minLevel + i == level);
    }
}

void LearningPane::showMatches(const QString& query, bool ignoreAccents, bool keepRow) {
    QTableView* table = table_;
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const QUuid id = selectedWord();
    const int column = qMax(0, table->selectionModel()->currentIndex().column());
    const bool reset = model_->setWords(list_.matching(query, ignoreAccents));
    // Rows changed in place keep their selection; after a reset the word
    // selected is found again.
    if (!reset || row < 0)
        return;
    int next = model_->rowOf(id);
    if (next < 0 && keepRow)
        next = qMin(row, model_->rowCount() - 1);
    if (next < 0)
        return;
    const QModelIndex index = model_->index(next, column);
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    table->scrollTo(index);
}

bool LearningPane::takeWords(const AppState& state) {
    if (!change_.in(state))
        return false;
    list_.setWords(state.languageLearningWords());
    return true;
}

qsizetype LearningPane::shownCount() const {
    return model_->words().size();
}
