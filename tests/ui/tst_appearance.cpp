// The window at twice the scale and in a dark palette (Fusion): the rows,
// their painted buttons, the caption row and the selection take their
// colours from the palette and are drawn sharp, and no painted label is cut
// off. With PRAMEL_SHOTS set to a folder, the windows are saved there as
// PNG files to look at.

#include "ModelTestSupport.h"
#include "UiTestSupport.h"
#include "core/AppModel.h"
#include "core/ViewModelFactory.h"
#include "ui/common/CellButtons.h"
#include "ui/registered/RegisteredWordViewController.h"
#include "ui/titles/SplitViewController.h"
#include "ui/titles/TitleTableView.h"
#include "ui/titles/TitleViewController.h"
#include "ui/titles/WindowController.h"
#include "ui/triage/CustomTableView.h"
#include "ui/triage/FocusDetectTextView.h"
#include "ui/triage/SplittedWordViewController.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTextCursor>
#include <QtTest>

#include <memory>

using Kind = AppState::Word::Kind;

namespace {

QPalette darkPalette() {
    QPalette p;
    const QColor window(45, 45, 48), base(30, 30, 32), text(230, 230, 230);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, window);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
    p.setColor(QPalette::Mid, QColor(80, 80, 84));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return p;
}

double luminance(QColor c) {
    return 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
}

// The share of a region's pixels far lighter than the palette's base: text
// and lines drawn in the palette's text colour.
double lightShare(const QImage& image, const QRect& region) {
    qint64 light = 0, all = 0;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            ++all;
            if (luminance(image.pixelColor(x, y)) > 0.5)
                ++light;
        }
    }
    return all ? double(light) / double(all) : 0;
}

} // namespace

class AppearanceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() {
        store_ = std::make_unique<TemporaryStore>();
        model_ = ViewModelFactory::storeBackedModel();
        model_->load();
        model_->addTitle(QStringLiteral("Die Verwandlung, erstes Kapitel"));
        startBook(*model_,
                  QStringLiteral("Als Gregor Samsa eines Morgens aus unruhigen Träumen erwachte, "
                                 "fand er sich in seinem Bett zu einem ungeheueren Ungeziefer "
                                 "verwandelt. Mathematikerinnen und Bekanntschaften."),
                  {QStringLiteral("Als"), QStringLiteral("Mathematikerinnen")},
                  {QStringLiteral("Bekanntschaften")});
        model_->splitWords();
        window_ = std::make_unique<WindowController>(model_);
        window_->resize(1100, 700);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        list()->setFocus();
        model_->setLastSelectedRow(1);
        QTest::qWait(50);
    }
    void cleanup() {
        window_.reset();
        model_.reset();
        store_.reset();
    }

    void drawnAtTheScreensScale() {
        const QPixmap shot = window_->grab();
        QCOMPARE(shot.devicePixelRatio(), 2.0);
        QCOMPARE(shot.width(), window_->width() * 2);
        save(shot, QStringLiteral("window-dark-2x.png"));
    }

    // The rows are drawn on the dark base with light text: no colour of
    // their own that would stay white, or black on black.
    void rowsFollowThePalette() {
        CustomTableView* table = list();
        const QRect row = table->visualRect(table->model()->index(0, 0));
        const QImage image = table->viewport()->grab().toImage();
        const QRect scaled(row.topLeft() * 2, row.size() * 2);
        QVERIFY2(luminance(image.pixelColor(scaled.left() + 4, scaled.center().y())) < 0.3,
                 "the row's background is not the palette's dark base");
        QVERIFY2(lightShare(image, scaled) > 0.02,
                 "the row's word and buttons are not drawn light");

        // The selected row: darker than white, lighter than the base, and
        // its text still readable.
        const QRect selected = table->visualRect(table->model()->index(1, 0));
        const QRect scaledSelected(selected.topLeft() * 2, selected.size() * 2);
        const double back =
            luminance(image.pixelColor(scaledSelected.left() + 4, scaledSelected.center().y()));
        QVERIFY2(back < 0.5, qPrintable(QString::number(back)));
        QVERIFY(lightShare(image, scaledSelected) > 0.02);
    }

    // Each painted button is wide enough for its label at this scale.
    void paintedLabelsAreWhole() {
        CustomTableView* table = list();
        auto* buttons = dynamic_cast<CellButtons*>(table->itemDelegate());
        QVERIFY(buttons);
        QStyleOptionViewItem option;
        option.initFrom(table);
        const QModelIndex index = table->model()->index(0, 0);
        option.rect = table->visualRect(index);
        for (const auto& button : buttons->cellButtons(index)) {
            const QRect rect = buttons->cellButtonRect(option, index, button.id);
            QVERIFY2(table->fontMetrics().horizontalAdvance(button.name) < rect.width(),
                     qPrintable(button.name));
            QVERIFY(option.rect.contains(rect));
        }
    }

    void captionRowIsReadable() {
        TitleTableView* titles = window_->splitViewController()->titleViewController()->tableView();
        const QModelIndex caption = titles->model()->index(0, 0);
        const QColor text = caption.data(Qt::ForegroundRole).value<QColor>();
        const QImage image = titles->viewport()->grab().toImage();
        const QRect rect = titles->visualRect(caption);
        const QRect scaled(rect.topLeft() * 2, rect.size() * 2);
        // Some of its pixels stand out from the dark base.
        double lightest = 0;
        for (int x = scaled.left(); x < scaled.right(); ++x)
            lightest = std::max(lightest, luminance(image.pixelColor(x, scaled.center().y())));
        QVERIFY2(lightest > 0.35, qPrintable(QString::number(lightest) + text.name()));
        save(window_->splitViewController()->grab(), QStringLiteral("panes-dark-2x.png"));
    }

    // The marks of the text keep its letters light on a dark tint: new words
    // ("Gregor") and unwanted ones ("Bekanntschaften") alike.
    void textMarksAreReadable() {
        auto* pane =
            qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
        FocusDetectTextView* view = pane->textView();
        for (const QString& word : {QStringLiteral("Gregor"), QStringLiteral("Bekanntschaften")}) {
            const int at = int(view->toPlainText().indexOf(word));
            QTextCursor cursor(view->document());
            cursor.setPosition(at);
            const QRect start = view->cursorRect(cursor);
            cursor.setPosition(at + int(word.size()));
            const QRect place = start.united(view->cursorRect(cursor));
            const QImage image = view->viewport()->grab(place).toImage();
            QVERIFY2(luminance(image.pixelColor(2, 2)) < 0.35, qPrintable(word));
            QVERIFY2(lightShare(image, image.rect()) > 0.05, qPrintable(word));
        }
        save(view->grab(), QStringLiteral("text-dark-2x.png"));
    }

private:
    CustomTableView* list() const {
        auto* pane =
            qobject_cast<SplittedWordViewController*>(window_->splitViewController()->middlePane());
        return pane->tableView();
    }
    static void save(const QPixmap& shot, const QString& name) {
        const QString folder = qEnvironmentVariable("PRAMEL_SHOTS");
        if (!folder.isEmpty() && QDir().mkpath(folder))
            shot.save(folder + QLatin1Char('/') + name);
    }

    std::unique_ptr<TemporaryStore> store_;
    std::shared_ptr<AppModel> model_;
    std::unique_ptr<WindowController> window_;
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(darkPalette());
    AppearanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appearance.moc"
