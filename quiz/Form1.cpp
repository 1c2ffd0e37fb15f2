#include "Form1.h"

#include "Module1.h"
#include "RichTextBox.h"
#include "drill/PassageText.h"
#include "app/Layout.h"
#include "app/start_gamen.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"
#include "store/ShowNextQuestion.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("ハルニレKM");
const QString kGap = QStringLiteral("  ");

QLineEdit* makeTextBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = layout::place(new QLineEdit(parent), name, geometry, layout::font(layout::mincho, 9));
    box->setReadOnly(true);
    layout::setColours(box, layout::blue, layout::grey);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left)
{
    return layout::button(parent, name, caption, layout::twips(left, 6720, 1455, 495),
                          layout::font(layout::gothic, 9, true));
}

} // namespace

Form1::Form1(store::QuestionStore& store, start_gamen& menu) : m_store(store), m_menu(menu)
{
    setObjectName(QStringLiteral("Form1"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void Form1::buildControls()
{
    using layout::twips;
    layout::makeToolWindow(this, QStringLiteral("ハルニレ　KM"), 8850, 7245);
    setFont(layout::font(layout::mincho, 11.25));

    m_text1 = makeTextBox(this, "Text1", twips(120, 50, 8775, 255));
    m_text2 = makeTextBox(this, "Text2", twips(120, 300, 8775, 255));
    m_text3 = makeTextBox(this, "Text3", twips(120, 550, 8775, 255));

    m_richTextBox1 = layout::place(new RichTextBox(this), "RichTextBox1", twips(120, 960, 8655, 5535),
                                   layout::font(layout::mincho, 11.25));
    layout::setColours(m_richTextBox1, {}, layout::grey);

    m_command1 = makeButton(this, "Command1", QStringLiteral("解答"), 360);
    m_command4 = makeButton(this, "Command4", QStringLiteral("今の問題をもう一度"), 1920);
    m_command2 = makeButton(this, "Command2", QStringLiteral("次の問題へ"), 3480);
    m_command3 = makeButton(this, "Command3", QStringLiteral("メニュ画面へ"), 5040);

    m_text4 = new QLineEdit(QStringLiteral("Text4"), this);
    m_text4->setObjectName(QStringLiteral("Text4"));
    m_text4->setGeometry(twips(6960, 6600, 1455, 330));
    m_text4->setReadOnly(true);
    m_text4->hide();

    m_command4->hide();
    m_command2->setEnabled(false);

    QWidget::setTabOrder(m_richTextBox1, m_command3);
    QWidget::setTabOrder(m_command3, m_command2);
    QWidget::setTabOrder(m_command2, m_command1);
    QWidget::setTabOrder(m_command1, m_text1);
    QWidget::setTabOrder(m_text1, m_text2);
    QWidget::setTabOrder(m_text2, m_text3);
    QWidget::setTabOrder(m_text3, m_text4);
    QWidget::setTabOrder(m_text4, m_command4);

    m_command1->setToolTip(QStringLiteral("Space または Enter キー"));
    m_command2->setToolTip(QStringLiteral("Space または Enter キー（解答の後）"));
    m_command4->setToolTip(QStringLiteral("R キー"));
    m_command3->setToolTip(QStringLiteral("Esc キー"));
    m_richTextBox1->setToolTip(QStringLiteral("空欄をクリックするか、その番号（1～9）のキーを押すと、その語だけを表示します"));

    // The drill's keys work wherever the focus is on this screen.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    connect(m_richTextBox1, &RichTextBox::clicked, this, &Form1::uncoverAt);

    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(m_command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_command4, &QPushButton::clicked, this, &Form1::Command4_Click);
}

void Form1::setHeadings(const store::Question& q)
{
    m_text1->setText(q.hen + kGap + q.sho);
    m_text2->setText(q.teigi);
    m_text3->setText(q.setsu + kGap + q.kan + kGap + q.jo);
    m_text1->setCursorPosition(0);
    m_text2->setCursorPosition(0);
    m_text3->setCursorPosition(0);
}

void Form1::RenderQuestion(const store::Question& q)
{
    setHeadings(q);
    m_text4->setText(QString::number(q.no));
    showBlanked(quiz::BreakSentences(q.mondai), quiz::answerList(q.kaitou));
}

void Form1::showBlanked(const QString& display, const QStringList& answers)
{
    Module1::showBlanked(*m_richTextBox1, display, answers);
    m_runs = quiz::blankRuns(display, answers);
    m_uncovered.clear();
    m_blanked = true;
}

void Form1::uncover(int number)
{
    if (!m_blanked || m_uncovered.contains(number))
        return;
    if (std::none_of(m_runs.begin(), m_runs.end(), [number](const quiz::Run& r) { return r.number == number; }))
        return;
    m_uncovered.append(number);
    RichTextBox::Batch batch(*m_richTextBox1);
    QList<quiz::Blank> blanks;
    const QString text = quiz::layOutBlanks(m_runs, m_uncovered, &blanks);
    m_richTextBox1->setText(text);
    m_richTextBox1->select(0, text.size());
    m_richTextBox1->applyPlainStyle();
    for (const quiz::Blank& blank : blanks) {
        m_richTextBox1->select(blank.span.start, blank.span.length);
        m_richTextBox1->applyHighlightStyle();
    }
}

void Form1::uncoverAt(qsizetype position)
{
    if (!m_blanked)
        return;
    QList<quiz::Blank> blanks;
    quiz::layOutBlanks(m_runs, m_uncovered, &blanks);
    for (const qsizetype at : {position, position - 1}) {
        for (const quiz::Blank& blank : blanks) {
            if (!blank.uncovered && at >= blank.span.start && at < blank.span.start + blank.span.length) {
                uncover(blank.number);
                return;
            }
        }
    }
}

bool Form1::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    switch (key) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_command1->isEnabled())
            m_command1->click();
        else if (m_command2->isEnabled())
            m_command2->click();
        return true;
    case Qt::Key_R:
        if (m_command4->isVisible())
            m_command4->click();
        return true;
    case Qt::Key_Escape:
        m_command3->click();
        return true;
    default:
        if (key >= Qt::Key_1 && key <= Qt::Key_9) {
            uncover(key - Qt::Key_0);
            return true;
        }
        return false;
    }
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key(), key->modifiers()))
            return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps the boxes' own bindings (Esc, digits) from taking the drill's keys.
        auto* key = static_cast<QKeyEvent*>(event);
        const int k = key->key();
        if (k == Qt::Key_Escape || k == Qt::Key_Space || k == Qt::Key_R || (k >= Qt::Key_1 && k <= Qt::Key_9)) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::reportFailure(const store::StoreError& error, bool wrote)
{
    seam::msgBox(store::failureMessage(error, wrote), seam::OkOnly, kTitle);
    m_command3->setFocus();
}

void Form1::Command1_Click()
{
    m_command1->setEnabled(false);
    std::optional<store::Revealed> revealed;
    try {
        revealed = m_store.reveal(m_text4->text());
    } catch (const store::StoreError& e) {
        // Nothing was written: the learner may try again or go back to the menu.
        m_command1->setEnabled(true);
        reportFailure(e, true);
        return;
    }
    const QString display = revealed ? quiz::BreakSentences(revealed->mondai) : QString();
    const QStringList answers = revealed ? quiz::answerList(revealed->kaitou) : QStringList();
    Module1::showRevealed(*m_richTextBox1, display, answers);
    m_blanked = false;
    m_command2->setEnabled(true);
    m_command4->show();
}

void Form1::Command2_Click()
{
    const bool command4WasShown = m_command4->isVisible();
    m_command2->setEnabled(false);
    m_command4->hide();
    int result = 1;
    try {
        result = store::ShowNextQuestion(m_store, m_menu, m_menu.combo1()->currentText(),
                                         m_menu.combo2()->currentText(), m_menu.combo3()->currentText(),
                                         m_menu.check1Value());
    } catch (const store::StoreError& e) {
        // The question on show stays; 次の問題へ can be pressed again, or the learner goes back to the menu.
        m_command2->setEnabled(true);
        m_command4->setVisible(command4WasShown);
        reportFailure(e, false);
        return;
    }
    if (result == 0) {
        m_text1->setFocus();
        return;
    }
    hide();
    m_menu.show();
    m_menu.activateWindow();
    m_menu.command2()->setFocus();
}

void Form1::Command4_Click()
{
    const bool command1WasEnabled = m_command1->isEnabled();
    m_command1->setEnabled(false);
    std::optional<store::Question> row;
    try {
        row = m_store.findShown(m_text4->text());
    } catch (const store::StoreError& e) {
        m_command1->setEnabled(command1WasEnabled);
        reportFailure(e, false);
        return;
    }
    QString display;
    QStringList answers;
    if (row) {
        setHeadings(*row);
        display = quiz::BreakSentences(row->mondai);
        answers = quiz::answerList(row->kaitou);
    }
    showBlanked(display, answers);
    m_command1->setEnabled(true);
    m_command2->setEnabled(true);
    m_command4->hide();
    m_command1->setFocus();
}

void Form1::backToMenu()
{
    hide();
    m_menu.show();
    m_menu.activateWindow();
}

void Form1::Command3_Click()
{
    m_command2->setEnabled(false);
    m_command4->hide();
    backToMenu();
}

bool Form1::Form_QueryUnload(bool userClosed)
{
    if (!userClosed)
        return false;
    if (seam::msgBox(QStringLiteral("メニュー画面に戻りますか？"), seam::YesNo, kTitle) != seam::Yes)
        return true;
    backToMenu();
    return false;
}

void Form1::closeEvent(QCloseEvent* event)
{
    if (Form_QueryUnload(event->spontaneous()))
        event->ignore();
    else
        event->accept();
}
