#include "app/AppSetup.h"
#include "quiz/QuizWindow.h"
#include "support/MenuFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using fixture::MenuFixture;

namespace {

QRect twips(int l, int t, int w, int h)
{
    return QRect(qRound(l / 15.0), qRound(t / 15.0), qRound(w / 15.0), qRound(h / 15.0));
}

QString captionOf(QWidget* w)
{
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    return {};
}

// One control as the layout table gives it.
void addControl(const char* name, const char* kind, const QString& parent, const QString& caption, QRect geometry,
                const QString& face, qreal points, bool bold, bool italic, QColor text, QColor background,
                const char* state)
{
    QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(kind) << parent << caption << geometry
                        << face << points << bold << italic << text << background << QString::fromLatin1(state);
}

const QString G = QStringLiteral("ＭＳ Ｐゴシック");
const QString M = QStringLiteral("ＭＳ Ｐ明朝");
const QColor grey(192, 192, 192), blue(0, 0, 255), red(255, 0, 0);

void addColumns()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("parent");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("face");
    QTest::addColumn<qreal>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<QColor>("text");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("state");
}

void checkControl(QWidget* window)
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, parent);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);
    QFETCH(QString, face);
    QFETCH(qreal, points);
    QFETCH(bool, bold);
    QFETCH(bool, italic);
    QFETCH(QColor, text);
    QFETCH(QColor, background);
    QFETCH(QString, state);

    auto* w = window->findChild<QWidget*>(name);
    QVERIFY2(w, "no such control");
    QVERIFY2(w->inherits(kind.toLatin1().constData()), w->metaObject()->className());
    QCOMPARE(w->parentWidget()->objectName(), parent);
    QCOMPARE(captionOf(w), caption);
    QCOMPARE(w->geometry(), geometry);
    if (!face.isEmpty()) {
        QCOMPARE(w->font().family(), face);
        QCOMPARE(w->font().pointSizeF(), points);
        QCOMPARE(w->font().bold(), bold);
        QCOMPARE(w->font().italic(), italic);
        // The Japanese proportional faces stand in for the missing ones.
        QVERIFY2(QFontInfo(w->font()).family().startsWith(QStringLiteral("IPAP")),
                 qPrintable(QFontInfo(w->font()).family()));
    }
    if (text.isValid())
        QCOMPARE(w->palette().color(w->foregroundRole()), text);
    if (background.isValid()) {
        QVERIFY(w->autoFillBackground());
        QCOMPARE(w->palette().color(w->backgroundRole()), background);
    }
    if (state == QLatin1String("hidden"))
        QVERIFY(w->isHidden());
    else
        QVERIFY(!w->isHidden());
    QCOMPARE(w->isEnabled(), state != QLatin1String("disabled"));
    if (state == QLatin1String("ticked"))
        QCOMPARE(qobject_cast<QCheckBox*>(w)->checkState(), Qt::Checked);
}

QList<QWidget*> controlsOf(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            controls << w;
    }
    return controls;
}

} // namespace

class TestLayout final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void menuControls_data();
    void menuControls();
    void menuWindow();
    void quizControls_data();
    void quizControls();
    void quizWindow();
    void menuTabOrder();
    void resizingMovesNothing();
};

void TestLayout::menuControls_data()
{
    addColumns();
    const QString win = QStringLiteral("start_gamen");
    const QString f1 = QStringLiteral("Frame1");
    const QString f3 = QStringLiteral("Frame3");
    const QColor window = QApplication::palette().color(QPalette::Base);
    addControl("Label1", "QLabel", win, "中小企業診断士　会社法", twips(840, 120, 5895, 495), G, 20.25, false, false, red, window, "");
    addControl("Label4", "QLabel", win, "<穴埋め>", twips(6000, 240, 1935, 495), G, 15.75, false, true, blue, window, "");
    addControl("Frame1", "QGroupBox", win, "範囲", twips(120, 720, 5040, 2295), M, 9.75, true, false, blue, grey, "");
    addControl("Label3", "QLabel", f1, "編", twips(120, 360, 375, 375), G, 9.75, false, false, blue, grey, "");
    addControl("Combo1", "QComboBox", f1, "", twips(360, 360, 4575, 300), M, 9, false, false, {}, {}, "");
    addControl("Label5", "QLabel", f1, "章", twips(120, 1080, 375, 255), G, 9.75, false, false, blue, grey, "");
    addControl("Label6", "QLabel", f1, "節", twips(120, 1800, 255, 255), G, 9.75, false, false, blue, grey, "");
    addControl("Combo2", "QComboBox", win, "", twips(480, 1800, 4575, 300), M, 9, false, false, {}, {}, "");
    addControl("Combo3", "QComboBox", win, "", twips(480, 2520, 4575, 300), M, 9, false, false, {}, {}, "");
    addControl("Frame3", "QGroupBox", win, "オプション", twips(5280, 720, 2640, 735), M, 9.75, true, false, blue, grey, "");
    addControl("Check1", "QCheckBox", f3, "今まで見た問題を外す", twips(120, 240, 2415, 375), M, 9.75, true, false, {}, grey, "ticked");
    addControl("Command2", "QPushButton", win, "問題開始", twips(5520, 2160, 2205, 375), G, 9.75, true, false, {}, {}, "");
    addControl("Command3", "QPushButton", win, "記録削除", twips(5520, 2760, 2205, 375), G, 9.75, true, false, {}, {}, "");
    addControl("Command4", "QPushButton", win, "終了", twips(5520, 3360, 2205, 375), G, 9.75, true, false, {}, {}, "");
    addControl("Line1", "QWidget", win, "", QRect(8, 216, 424, 1), {}, 0, false, false, {}, QColor(0, 192, 0), "");
}

void TestLayout::menuControls()
{
    MenuFixture app;
    QVERIFY(app.load());
    checkControl(app.menu.get());
}

void TestLayout::menuWindow()
{
    MenuFixture app;
    QVERIFY(app.load());
    MenuWindow* w = app.menu.get();
    QCOMPARE(w->windowTitle(), QStringLiteral("ハルニレKM   中小企業診断士"));
    QCOMPARE(w->size(), QSize(542, 259));
    QCOMPARE(w->palette().color(QPalette::Window), grey);
    QVERIFY(w->windowFlags() & Qt::Tool);
    QVERIFY(w->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(controlsOf(w).size(), 15);
    // The chapter and section lists lie over the frame and are drawn above it.
    const QWidgetList order = w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QVERIFY(order.indexOf(w->chapterSelector()) > order.indexOf(w->findChild<QWidget*>(QStringLiteral("Frame1"))));
    QVERIFY(w->chapterSelector()->geometry().intersects(w->findChild<QWidget*>(QStringLiteral("Frame1"))->geometry()));
    for (QComboBox* c : {w->partSelector(), w->chapterSelector(), w->sectionSelector()})
        QVERIFY2(!c->isEditable(), "the learner picks, never types");
    QCOMPARE(QApplication::focusWidget(), w->startButton());
}

void TestLayout::quizControls_data()
{
    addColumns();
    const QString win = QStringLiteral("Form1");
    addControl("Text1", "QLineEdit", win, "", twips(120, 50, 8775, 255), M, 9, false, false, blue, grey, "");
    addControl("Text2", "QLineEdit", win, "", twips(120, 300, 8775, 255), M, 9, false, false, blue, grey, "");
    addControl("Text3", "QLineEdit", win, "", twips(120, 550, 8775, 255), M, 9, false, false, blue, grey, "");
    addControl("RichTextBox1", "QTextEdit", win, "", twips(120, 960, 8655, 5535), M, 11.25, false, false, {}, grey, "");
    addControl("Command1", "QPushButton", win, "解答", twips(360, 6720, 1455, 495), G, 9, true, false, {}, {}, "");
    addControl("Command4", "QPushButton", win, "今の問題をもう一度", twips(1920, 6720, 1455, 495), G, 9, true, false, {}, {}, "hidden");
    addControl("Command2", "QPushButton", win, "次の問題へ", twips(3480, 6720, 1455, 495), G, 9, true, false, {}, {}, "disabled");
    addControl("Command3", "QPushButton", win, "メニュ画面へ", twips(5040, 6720, 1455, 495), G, 9, true, false, {}, {}, "");
    addControl("Text4", "QLineEdit", win, "Text4", twips(6960, 6600, 1455, 330), {}, 0, false, false, {}, {}, "hidden");
}

void TestLayout::quizControls()
{
    MenuFixture app;
    QVERIFY(app.load());
    checkControl(&app.menu->quiz());
}

void TestLayout::quizWindow()
{
    MenuFixture app;
    QVERIFY(app.load());
    QuizWindow& f = app.menu->quiz();
    QCOMPARE(f.windowTitle(), QStringLiteral("ハルニレ　KM"));
    QCOMPARE(f.size(), QSize(590, 483));
    QCOMPARE(f.font().family(), M);
    QCOMPARE(f.font().pointSizeF(), 11.25);
    QVERIFY(f.windowFlags() & Qt::Tool);
    QCOMPARE(controlsOf(&f).size(), 9);
    // The learner reads the boxes, never writes into them.
    for (QLineEdit* e : f.findChildren<QLineEdit*>())
        QVERIFY(e->isReadOnly());
    QVERIFY(f.findChild<QTextEdit*>()->isReadOnly());
    // Tab order: RichTextBox1, Command3, Command2, Command1, Text1 … Text4, Command4.
    const QStringList order = {"RichTextBox1", "Command3", "Command2", "Command1", "Text1",
                               "Text2",        "Text3",    "Text4",    "Command4"};
    for (int i = 0; i + 1 < order.size(); ++i) {
        QWidget* w = f.findChild<QWidget*>(order[i]);
        QWidget* next = w->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || next->objectName().startsWith(QLatin1String("qt_")))
            next = next->nextInFocusChain();
        QCOMPARE(next->objectName(), order[i + 1]);
    }
}

void TestLayout::menuTabOrder()
{
    MenuFixture app;
    QVERIFY(app.load());
    QVERIFY(QTest::qWaitForWindowActive(app.menu.get()));
    app.menu->startButton()->setFocus();
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
    const QStringList expected = {"Command4", "Check1", "Combo1", "Combo2", "Combo3", "Command3", "Command2"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        fixture::pressTab(app.menu.get());
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestLayout::resizingMovesNothing()
{
    MenuFixture app;
    QVERIFY(app.load());
    for (QWidget* window : {static_cast<QWidget*>(app.menu.get()), static_cast<QWidget*>(&app.menu->quiz())}) {
        QHash<QString, QRect> before;
        for (QWidget* w : controlsOf(window))
            before.insert(w->objectName(), w->geometry());
        for (const QSize size : {window->size() * 2, window->size() / 2}) {
            window->resize(size);
            QCOMPARE(window->size(), size);
            for (QWidget* w : controlsOf(window))
                QCOMPARE(w->geometry(), before.value(w->objectName()));
        }
    }
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
