#pragma once

#include "core/AppModel.h"
#include "ui/common/CoalescedUpdate.h"

#include <QWidget>

#include <memory>
#include <optional>

class QAction;
class QToolButton;
class TitleCell;
class TitleListModel;
class TitleTableView;

// The title pane: the list of titles under its caption row and the add
// button. It keeps no data of its own: the rows come from the published
// state, and every change goes through the model.
class TitleViewController : public QWidget {
    Q_OBJECT
public:
    // Shows the model of the shared ViewModelFactory.
    explicit TitleViewController(QWidget* parent = nullptr);
    TitleViewController(std::shared_ptr<AppModel> model, QWidget* parent = nullptr);

    TitleTableView* tableView() const { return tableView_; }
    TitleListModel* titleModel() const { return titleModel_; }
    QToolButton* addButton() const { return addButton_; }

    // The add button's action: asks for a name in an alert.
    void onButtonTapped();
    // Makes the title of a chosen row current.
    void didSelectRow(int row);
    void duplicateTitle(qint64 titleIndex);
    void deleteTitle(qint64 titleIndex);
    void editTitle(qint64 titleIndex);
    // Asks for the language of a title, and sets or clears it.
    void chooseLanguage(qint64 titleIndex);
    // Titles ▸ Language…: the same for the current title.
    QAction* languageAction() const { return languageAction_; }

Q_SIGNALS:
    // Files were dropped on the list from a file manager; the window opens
    // them as new titles.
    void filesDropped(const QStringList& paths);

private:
    void viewDidLoad();
    void reloadData();
    void highlightCurrentTitle();
    std::optional<Title> titleOnScreen(qint64 titleIndex) const;

    std::shared_ptr<AppModel> appModel_;
    Subscription subs_;
    TitleTableView* tableView_ = nullptr;
    TitleListModel* titleModel_ = nullptr;
    TitleCell* cell_ = nullptr;
    QToolButton* addButton_ = nullptr;
    QAction* languageAction_ = nullptr;
    QList<Title> lastTitles_;
    QHash<QUuid, QString> lastLanguages_;
    bool hasLastTitles_ = false;
    QUuid lastCurrentId_;
    CoalescedUpdate reload_{this, [this] { reloadData(); }};
    CoalescedUpdate highlight_{this, [this] { highlightCurrentTitle(); }};
};
