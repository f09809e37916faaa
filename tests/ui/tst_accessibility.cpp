// What a screen reader finds in the window: every control with a name and
// a description, and the buttons painted in the rows as buttons of their
// own that say what they act on and can be pressed.

#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/preferences/PreferenceWindowController.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleLanguageDialog.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QTableView>
#include <QtTest>

#include <memory>

using Kind = AppState::Word::Kind;

namespace {

// Roles a user acts on; containers and labels are left alone.
bool isControl(QAccessible::Role role) {
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Cell:
    case QAccessible::MenuItem:
    case QAccessible::PageTab:
    case QAccessible::Grip:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

// Every visible control below iface lacking a name or a description, as
// "role 'name' in parent". Long lists are read as far as their first rows.
// Qt's menu items have no description to give: their name and shortcut
// are what a screen reader says of them.
void findUnnamed(QAccessibleInterface* iface, QStringList& out, int depth = 0) {
    if (!iface || depth > 20 || iface->state().invisible)
        return;
    const bool describable = iface->role() != QAccessible::MenuItem;
    if (isControl(iface->role()) &&
        (iface->text(QAccessible::Name).trimmed().isEmpty() ||
         (describable && iface->text(QAccessible::Description).trimmed().isEmpty()))) {
        QAccessibleInterface* parent = iface->parent();
        out << QStringLiteral("%1 '%2' (description '%3') in %4 '%5'")
                   .arg(int(iface->role()), 0, 16)
                   .arg(iface->text(QAccessible::Name), iface->text(QAccessible::Description))
                   .arg(parent ? int(parent->role()) : 0, 0, 16)
                   .arg(parent ? parent->text(QAccessible::Name) : QString());
    }
    const int children = std::min(iface->childCount(), 60);
    for (int i = 0; i < children; ++i)
        findUnnamed(iface->child(i), out, depth + 1);
}

QAccessibleInterface* buttonNamed(QAccessibleInterface* cell, const QString& name) {
    for (int i = 0; i < cell->childCount(); ++i) {
        if (cell->child(i)->text(QAccessible::Name) == name)
            return cell->child(i);
    }
    return nullptr;
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;

    SplittedWordViewController* middle() const {
        return qobject_cast<SplittedWordViewController*>(
            window_->splitViewController()->middlePane());
    }
    RegisteredWordViewController* right() const {
        return qobject_cast<RegisteredWordViewController*>(
            window_->splitViewController()->rightPane());
    }
    QAccessibleInterface* splitList() const {
        middle()->flushPendingUpdate();
        return QAccessible::queryAccessibleInterface(middle()->tableView());
    }
    QStringList splitWords() const {
        const AppState& s = model_->state();
        return s.languageStateList.value(s.currentTitle).splittedWords.toStringList();
    }

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        window_ = std::make_unique<WindowController>(model_);
        window_->resize(1100, 700);
        window_->show();
        model_->load();
        startBook(*model_, "Der Hund und die Katze, der Hund schläft.", {"die"}, {"und"});
        model_->splitWords();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() {
        window_.reset();
        ViewModelFactory::waitForBackgroundSaves();
        model_.reset();
        store_.reset();
    }

    void everyControlHasANameAndADescription() {
        QStringList unnamed;
        middle()->flushPendingUpdate();
        right()->flushPendingUpdate();
        findUnnamed(QAccessible::queryAccessibleInterface(window_.get()), unnamed);
        // The unwanted list, behind its switch.
        right()->segment(1)->click();
        findUnnamed(QAccessible::queryAccessibleInterface(right()->unwantedWordTableView()),
                    unnamed);
        PreferenceWindowController preferences(model_);
        preferences.show();
        findUnnamed(QAccessible::queryAccessibleInterface(&preferences), unnamed);
        // A title with a language: the box for the whole language's words shows.
        model_->setTitleLanguage(model_->state().currentTitle.id, QStringLiteral("de"));
        right()->flushPendingUpdate();
        QVERIFY(right()->wholeLanguageCheckbox()->isVisible());
        findUnnamed(QAccessible::queryAccessibleInterface(right()), unnamed);
        TitleLanguageDialog dialog(window_.get(), QStringLiteral("Book"), QStringLiteral("de"));
        dialog.show();
        findUnnamed(QAccessible::queryAccessibleInterface(&dialog), unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join('\n')));
    }

    void rowButtonsSayWhatTheyActOn() {
        QAccessibleInterface* list = splitList();
        QCOMPARE(list->role(), QAccessible::Table);
        QCOMPARE(list->text(QAccessible::Name), QString("Split words"));
        QAccessibleInterface* cell = list->tableInterface()->cellAt(1, 0);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QString("Hund"));
        // Numbered as QTableView numbers the cells in its focus events.
        QCOMPARE(list->indexOfChild(cell), (1 + 1) * 2 + 0 + 1);
        QCOMPARE(list->child(list->indexOfChild(cell)), cell);
        QCOMPARE(cell->childCount(), 4);
        QStringList announced;
        for (int i = 0; i < cell->childCount(); ++i) {
            QAccessibleInterface* button = cell->child(i);
            QCOMPARE(button->role(), QAccessible::Button);
            QCOMPARE(button->parent(), cell);
            QVERIFY(!button->rect().isEmpty());
            QVERIFY(cell->rect().contains(button->rect()));
            QCOMPARE(cell->childAt(button->rect().center().x(), button->rect().center().y()),
                     button);
            announced << button->text(QAccessible::Name) + ", button, " +
                             button->text(QAccessible::Description);
        }
        QCOMPARE(announced.mid(1), QStringList({"Learn, button, Hund", "Unwanted, button, Hund",
                                                "Remove, button, Hund"}));
        QVERIFY(announced.first().startsWith("Hund, button, "));
    }

    void pressingARowButtonTriages_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("known");
        QTest::addColumn<QStringList>("unwanted");
        QTest::newRow("the word button registers it as known")
            << "Hund" << QStringList({"die", "Hund"}) << QStringList({"und"});
        QTest::newRow("Unwanted registers it as unwanted")
            << "Unwanted" << QStringList({"die"}) << QStringList({"Hund", "und"});
        QTest::newRow("Remove sets it aside")
            << "Remove" << QStringList({"die"}) << QStringList({"und"});
        QTest::newRow("Learn keeps it to learn")
            << "Learn" << QStringList({"die"}) << QStringList({"und"});
    }
    void pressingARowButtonTriages() {
        QFETCH(QString, button);
        QFETCH(QStringList, known);
        QFETCH(QStringList, unwanted);
        QCOMPARE(splitWords(), QStringList({"Der", "Hund", "Katze", "der", "Hund", "schläft"}));
        QAccessibleInterface* cell = splitList()->tableInterface()->cellAt(1, 0);
        QAccessibleInterface* pressed = buttonNamed(cell, button);
        QVERIFY(pressed);
        QCOMPARE(pressed->actionInterface()->actionNames(),
                 QStringList(QAccessibleActionInterface::pressAction()));
        pressed->actionInterface()->doAction(QAccessibleActionInterface::pressAction());

        QCOMPARE(splitWords(), QStringList({"Der", "Katze", "der", "schläft"}));
        QCOMPARE(wordTexts(model_->state().knownWords()), known);
        QCOMPARE(wordTexts(model_->state().unwantedWords()), unwanted);
        QCOMPARE(model_->state().learningWords.size(), button == "Learn" ? 1 : 0);
        // The list was made anew: its cells tell the new rows.
        QCOMPARE(splitList()->tableInterface()->cellAt(1, 0)->text(QAccessible::Name),
                 QString("Katze"));
        QCOMPARE(splitList()->childCount(), (4 + 1) * 2);
    }

    void deleteButtonOfARegisteredWord() {
        right()->flushPendingUpdate();
        QAccessibleInterface* known =
            QAccessible::queryAccessibleInterface(right()->knownWordTableView());
        QCOMPARE(known->text(QAccessible::Name), QString("Known words"));
        QAccessibleInterface* cell = known->tableInterface()->cellAt(0, 0);
        QCOMPARE(cell->text(QAccessible::Name), QString("die"));
        QAccessibleInterface* button = buttonNamed(cell, "Delete");
        QVERIFY(button);
        QCOMPARE(button->text(QAccessible::Description), QString("die"));
        // The date column paints no button.
        QCOMPARE(known->tableInterface()->cellAt(0, 1)->childCount(), 0);
        button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QVERIFY(model_->state().knownWords().isEmpty());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
