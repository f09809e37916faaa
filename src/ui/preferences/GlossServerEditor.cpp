#include "ui/preferences/GlossServerEditor.h"

#include "core/UserSettings.h"
#include "ui/common/Glosses.h"
#include "ui/common/LanguageChoices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

GlossServerEditor::GlossServerEditor(QWidget* parent)
    : QWidget(parent)
    , hostEdit_(new QLineEdit(Glosses::host(), this))
    , portBox_(new QSpinBox(this))
    , languageBox_(new QComboBox(this))
    , databaseBox_(new QComboBox(this))
    , serverState_(new QLabel(this)) {
    hostEdit_->setObjectName(QStringLiteral("glossHostEdit"));
    hostEdit_->setAccessibleName(tr("Dictionary server"));
    hostEdit_->setAccessibleDescription(
        tr("The host of the DICT server the glosses of words are asked of"));
    hostEdit_->setPlaceholderText(QStringLiteral("localhost"));
    portBox_->setObjectName(QStringLiteral("glossPortBox"));
    portBox_->setAccessibleName(tr("Port of the dictionary server"));
    portBox_->setAccessibleDescription(tr("The DICT server's port, 2628 as a rule"));
    portBox_->setRange(1, 65535);
    portBox_->setValue(Glosses::port());
    languageBox_->setObjectName(QStringLiteral("glossLanguageBox"));
    languageBox_->setAccessibleName(tr("Language of the glosses"));
    languageBox_->setAccessibleDescription(
        tr("The language whose dictionary the box beside it chooses"));
    for (const auto& language : LanguageChoices::all())
        languageBox_->addItem(language.name, language.code);
    const int chosen = languageBox_->findData(UserSettings::newTitleLanguage());
    languageBox_->setCurrentIndex(chosen >= 0 ? chosen : 0);
    databaseBox_->setObjectName(QStringLiteral("glossDatabaseBox"));
    databaseBox_->setAccessibleName(tr("Dictionary of the language's glosses"));
    databaseBox_->setAccessibleDescription(
        tr("The server's dictionary the words of titles in that language are looked up in"));
    serverState_->setObjectName(QStringLiteral("glossServerState"));
    serverState_->setWordWrap(true);
    serverState_->setForegroundRole(QPalette::PlaceholderText);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(hostEdit_, 0, 0);
    layout->addWidget(portBox_, 0, 1);
    layout->addWidget(languageBox_, 1, 0);
    layout->addWidget(databaseBox_, 1, 1);
    layout->addWidget(serverState_, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 2);

    connect(hostEdit_, &QLineEdit::editingFinished, this, &GlossServerEditor::serverEdited);
    connect(portBox_, &QSpinBox::editingFinished, this, &GlossServerEditor::serverEdited);
    connect(languageBox_, &QComboBox::currentIndexChanged, this, &GlossServerEditor::showDatabases);
    connect(databaseBox_, &QComboBox::currentIndexChanged, this,
            &GlossServerEditor::databaseChosen);
    connect(&client_, &DictClient::databasesListed, this,
            [this](const QList<DictClient::Database>& databases) {
                databases_ = databases;
                serverState_->setText(tr("%n dictionaries on %1:%2", nullptr, int(databases.size()))
                                          .arg(client_.host())
                                          .arg(client_.port()));
                showDatabases();
            });
    connect(&client_, &DictClient::failed, this, [this](const QString& reason) {
        databases_.clear();
        serverState_->setText(tr("No dictionary server at %1:%2 (%3): install dictd and a "
                                 "dict-freedict-… package")
                                  .arg(client_.host())
                                  .arg(client_.port())
                                  .arg(reason));
        showDatabases();
    });
    showDatabases();
    listDatabases();
}

void GlossServerEditor::listDatabases() {
    serverState_->setText(tr("Asking %1:%2…").arg(Glosses::host()).arg(Glosses::port()));
    client_.setServer(Glosses::host(), Glosses::port());
    client_.listDatabases();
}

void GlossServerEditor::serverEdited() {
    const QString host = hostEdit_->text().trimmed();
    const auto port = quint16(portBox_->value());
    if (host == Glosses::host() && port == Glosses::port())
        return;
    Glosses::setServer(host, port);
    listDatabases();
}

void GlossServerEditor::showDatabases() {
    const QString language = languageBox_->currentData().toString();
    const QString current = Glosses::database(language);
    showing_ = true;
    databaseBox_->clear();
    databaseBox_->addItem(tr("None"), QString());
    for (const DictClient::Database& database : std::as_const(databases_))
        databaseBox_->addItem(QStringLiteral("%1 (%2)").arg(database.name, database.description),
                              database.name);
    // The chosen one, even when the server does not list it (yet).
    int at = databaseBox_->findData(current);
    if (at < 0 && !current.isEmpty()) {
        databaseBox_->addItem(tr("%1 (not on the server)").arg(current), current);
        at = databaseBox_->count() - 1;
    }
    databaseBox_->setCurrentIndex(std::max(0, at));
    showing_ = false;
}

void GlossServerEditor::databaseChosen() {
    if (showing_)
        return;
    Glosses::setDatabase(languageBox_->currentData().toString(),
                         databaseBox_->currentData().toString());
}
