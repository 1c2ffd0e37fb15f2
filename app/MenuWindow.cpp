#include "MenuWindow.h"

#include "drill/ChapterTable.h"
#include "Layout.h"
#include "quiz/QuizWindow.h"
#include "drill/FailureText.h"
#include "drill/MessageSeam.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolTip>

namespace {

const QString kTitle = QStringLiteral("ハルニレKM");
const QString kCrLf = QStringLiteral("\r\n");

QComboBox* makeSelector(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* combo = layout::place(new QComboBox(parent), name, geometry, layout::font(layout::mincho, 9));
    combo->setEditable(false);
    return combo;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry, const QFont& font,
                  const QColor& text, const QColor& background)
{
    auto* label = layout::place(new QLabel(caption, parent), name, geometry, font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout::setColours(label, text, background);
    return label;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    return layout::button(parent, name, caption, geometry, layout::font(layout::gothic, 9.75, true));
}

} // namespace

MenuWindow::MenuWindow(store::QuestionStore& store) : MenuWindow(store, Options{}) {}

MenuWindow::MenuWindow(store::QuestionStore& store, Options options)
    : m_store(store), m_options(std::move(options))
{
    if (m_options.lockFilePath.isEmpty())
        m_options.lockFilePath = defaultLockFilePath();
    setObjectName(QStringLiteral("start_gamen"));
    buildControls();
}

MenuWindow::~MenuWindow()
{
    delete m_quiz.data();
}

QString MenuWindow::defaultLockFilePath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/harunire-km.lock");
}

void MenuWindow::buildControls()
{
    using layout::twips;
    layout::makeToolWindow(this, QStringLiteral("ハルニレKM   中小企業診断士"), 8130, 3885);

    m_titleLabel = makeLabel(this, "Label1", QStringLiteral("中小企業診断士　会社法"), twips(840, 120, 5895, 495),
                         layout::font(layout::gothic, 20.25), layout::red, layout::windowColour());
    m_blankLabel = makeLabel(this, "Label4", QStringLiteral("<穴埋め>"), twips(6000, 240, 1935, 495),
                         layout::font(layout::gothic, 15.75, false, true), layout::blue, layout::windowColour());

    m_rangeFrame = layout::place(new QGroupBox(QStringLiteral("範囲"), this), "Frame1", twips(120, 720, 5040, 2295),
                             layout::font(layout::mincho, 9.75, true));
    layout::setColours(m_rangeFrame, layout::blue, layout::grey);

    const QFont labelFont = layout::font(layout::gothic, 9.75);
    makeLabel(m_rangeFrame, "Label3", QStringLiteral("編"), twips(120, 360, 375, 375), labelFont, layout::blue,
              layout::grey);
    m_partSelector = makeSelector(m_rangeFrame, "Combo1", twips(360, 360, 4575, 300));
    makeLabel(m_rangeFrame, "Label5", QStringLiteral("章"), twips(120, 1080, 375, 255), labelFont, layout::blue,
              layout::grey);
    makeLabel(m_rangeFrame, "Label6", QStringLiteral("節"), twips(120, 1800, 255, 255), labelFont, layout::blue,
              layout::grey);
    // The chapter and section lists belong to the window itself and are drawn above the frame.
    m_chapterSelector = makeSelector(this, "Combo2", twips(480, 1800, 4575, 300));
    m_sectionSelector = makeSelector(this, "Combo3", twips(480, 2520, 4575, 300));

    m_optionFrame = layout::place(new QGroupBox(QStringLiteral("オプション"), this), "Frame3", twips(5280, 720, 2640, 735),
                             layout::font(layout::mincho, 9.75, true));
    layout::setColours(m_optionFrame, layout::blue, layout::grey);
    m_excludeSeenBox = layout::place(new QCheckBox(QStringLiteral("今まで見た問題を外す"), m_optionFrame), "Check1",
                             twips(120, 240, 2415, 375), layout::font(layout::mincho, 9.75, true));
    layout::setColours(m_excludeSeenBox, QApplication::palette().color(QPalette::WindowText), layout::grey);
    {
        // The tick box itself keeps the colour of a text field.
        QPalette palette = m_excludeSeenBox->palette();
        palette.setColor(QPalette::Base, layout::windowColour());
        m_excludeSeenBox->setPalette(palette);
    }
    m_excludeSeenBox->setChecked(true);

    m_startButton = makeButton(this, "Command2", QStringLiteral("問題開始"), twips(5520, 2160, 2205, 375));
    m_clearRecordButton = makeButton(this, "Command3", QStringLiteral("記録削除"), twips(5520, 2760, 2205, 375));
    m_quitButton = makeButton(this, "Command4", QStringLiteral("終了"), twips(5520, 3360, 2205, 375));

    auto* line1 = new QWidget(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(layout::px(120), layout::px(3240), layout::px(6480) - layout::px(120), 1);
    layout::setColours(line1, {}, layout::green);

    m_chapterSelector->raise();
    m_sectionSelector->raise();

    for (QWidget* w : std::initializer_list<QWidget*>{m_titleLabel, m_blankLabel, m_rangeFrame, m_optionFrame})
        w->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(m_startButton, m_quitButton);
    QWidget::setTabOrder(m_quitButton, m_excludeSeenBox);
    QWidget::setTabOrder(m_excludeSeenBox, m_partSelector);
    QWidget::setTabOrder(m_partSelector, m_chapterSelector);
    QWidget::setTabOrder(m_chapterSelector, m_sectionSelector);
    QWidget::setTabOrder(m_sectionSelector, m_clearRecordButton);
    m_startButton->setFocus();

    connect(m_startButton, &QPushButton::clicked, this, &MenuWindow::startDrill);
    connect(m_clearRecordButton, &QPushButton::clicked, this, &MenuWindow::clearRecord);
    connect(m_quitButton, &QPushButton::clicked, this, &MenuWindow::quit);
    for (QComboBox* combo : {m_partSelector, m_chapterSelector, m_sectionSelector})
        combo->installEventFilter(this);
    // How much of the chosen range is left, counted when the tooltip is about to show.
    m_startButton->installEventFilter(this);
}

bool MenuWindow::startUp()
{
    // A second copy of the program would work on the same record.
    m_instanceLock = std::make_unique<QLockFile>(m_options.lockFilePath);
    m_instanceLock->setStaleLockTime(0);
    if (!m_instanceLock->tryLock(0)) {
        if (m_instanceLock->error() == QLockFile::LockFailedError) {
            m_instanceLock.reset();
            seam::msgBox(QStringLiteral("既に起動されています。"));
            seam::endProgram();
            return false;
        }
        // The lock folder cannot be written: one copy cannot be told from two, so the start goes on.
        m_instanceLock.reset();
    }

    if (!QFileInfo(store::databaseFileName()).isFile()) {
        seam::msgBox(QStringLiteral("★ ソラメモ.mdb が存在しません ★\r\n\r\n"
                                    "このＡＰと同じフォルダ配下に ソラメモ.mdb を置いて下さい"),
                     seam::OkOnly, kTitle);
        seam::endProgram();
        return false;
    }

    m_partSelector->addItems(chapters::partList());
    m_partSelector->setCurrentIndex(-1);

    try {
        m_store.trialOpen();
    } catch (const store::StoreError& e) {
        seam::msgBox(store::startFailureMessage(e));
        seam::endProgram();
        return false;
    }
    return true;
}

void MenuWindow::releaseResources()
{
    m_store.release();
    m_instanceLock.reset();
}

int MenuWindow::excludeSeenValue() const
{
    switch (m_excludeSeenBox->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void MenuWindow::clearRecord()
{
    if (seam::msgBox(QStringLiteral("今までの記録（どの問題を見たか）を削除してよろしいですか？"), seam::YesNo,
                     kTitle) != seam::Yes)
        return;
    try {
        m_store.clearFlag(store::Flag::Done);
    } catch (const store::StoreError& e) {
        seam::msgBox(store::failureMessage(e, true), seam::OkOnly, kTitle);
        return;
    }
    seam::msgBox(QStringLiteral("今までの記録を削除しました"), seam::OkOnly, kTitle);
}

void MenuWindow::clearRecentFlags()
{
    m_store.clearFlag(store::Flag::Recent);
}

void MenuWindow::quit()
{
    if (seam::msgBox(QStringLiteral("終了して良いですか？"), seam::YesNo, kTitle) != seam::Yes)
        return;
    try {
        clearRecentFlags();
    } catch (const store::StoreError& e) {
        // The program still ends; the questions seen in this run stay set aside until the next clean quit.
        seam::msgBox(QStringLiteral("終了時に、今回見た問題の印を外せませんでした。\r\n") +
                         store::failureMessage(e, true),
                     seam::OkOnly, kTitle);
    }
    seam::endProgram();
}

bool MenuWindow::confirmClose(bool userClosed)
{
    if (!userClosed)
        return false;
    if (seam::msgBox(QStringLiteral("終了して良いですか？"), seam::YesNo, kTitle) == seam::Yes) {
        seam::endProgram();
        return false;
    }
    return true;
}

void MenuWindow::closeEvent(QCloseEvent* event)
{
    if (event->spontaneous() && property("closeDisabled").toBool()) {
        event->ignore();
        return;
    }
    if (confirmClose(event->spontaneous()))
        event->ignore();
    else
        event->accept();
}

void MenuWindow::gfnEnableCloseButton(QWidget* form, bool enabled)
{
    if (!form)
        return;
    const bool visible = form->isVisible();
    form->setWindowFlag(Qt::WindowCloseButtonHint, enabled);
    form->setProperty("closeDisabled", !enabled);
    if (visible)
        form->show();
}

// ---- range selectors ----

QString MenuWindow::remainingText()
{
    try {
        const store::RangeCounts counts = m_store.countRange(
            store::Range{m_partSelector->currentText(), m_chapterSelector->currentText(), m_sectionSelector->currentText(), excludeSeenValue()});
        return QStringLiteral("残り %1 問 / 全 %2 問").arg(counts.open).arg(counts.total);
    } catch (const store::StoreError&) {
        return QString();
    }
}

bool MenuWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_startButton && event->type() == QEvent::ToolTip) {
        const QString text = remainingText();
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, m_startButton);
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        // Only a move of the focus to another control of this window counts as leaving a selector: opening its own
        // list, a message box or another window does not.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const bool leaves = reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
        if (leaves && isVisible()) {
            if (watched == m_partSelector)
                leavePartSelector();
            else if (watched == m_chapterSelector)
                leaveChapterSelector();
            else if (watched == m_sectionSelector)
                leaveSectionSelector();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MenuWindow::leavePartSelector()
{
    m_chapterSelector->clear();
    m_sectionSelector->clear();
    show();
    repaint();
    fillChapterList(m_partSelector->currentText());
}

void MenuWindow::leaveChapterSelector()
{
    m_sectionSelector->clear();
    show();
    repaint();
    fillSectionList(m_partSelector->currentText(), m_chapterSelector->currentText());
}

void MenuWindow::leaveSectionSelector()
{
    show();
}

void MenuWindow::fillChapterList(const QString& part)
{
    m_chapterSelector->clear();
    m_sectionSelector->clear();
    bool found = false;
    const QStringList items = chapters::chaptersOf(part, &found);
    if (found) {
        m_chapterSelector->addItems(items);
        m_chapterSelector->setCurrentIndex(-1);
    } else {
        seam::msgBox(QStringLiteral("該当の編・章を選択してください。"), seam::OkOnly, kTitle);
    }
    show();
    repaint();
}

void MenuWindow::fillSectionList(const QString& part, const QString& chapter)
{
    QStringList sections;
    try {
        sections = m_store.sections(part, chapter);
    } catch (const store::StoreError& e) {
        seam::msgBox(store::startFailureMessage(e));
        seam::endProgram();
        return;
    }
    if (!sections.isEmpty()) {
        m_sectionSelector->clear();
        m_sectionSelector->addItem(chapters::all);
        m_sectionSelector->addItems(sections);
        m_sectionSelector->setCurrentIndex(-1);
    }
    show();
    repaint();
}

// ---- drill launch ----

void MenuWindow::startDrill()
{
    try {
        const QString part = m_partSelector->currentText();
        const QString chapter = m_chapterSelector->currentText();
        const bool probe = m_store.hasSections(part, chapter);
        if (!probe && chapter != chapters::all && part != chapters::all) {
            seam::msgBox(QStringLiteral("該当の編・章を選択してください。"), seam::OkOnly, kTitle);
            m_chapterSelector->clear();
            m_sectionSelector->clear();
            m_partSelector->setFocus();
            return;
        }
        if (!chapters::partList().contains(part)) {
            seam::msgBox(QStringLiteral("対象範囲を選択してから、このボタンを押して下さい"), seam::OkOnly,
                         QStringLiteral("ハルニレ KM"));
            m_partSelector->setCurrentIndex(-1);
            m_partSelector->setFocus();
            return;
        }

        const QString section = m_sectionSelector->currentText();
        const QString tail = kCrLf + QStringLiteral("を範囲として出題します。 ") + kCrLf;
        QString t;
        if (part == chapters::all)
            t = QStringLiteral("会社法全体を範囲として出題します。 ") + kCrLf;
        else if (chapter == chapters::all)
            t = QStringLiteral("編： ") + part + kCrLf + tail;
        else if (section.isEmpty() || section == chapters::all)
            t = QStringLiteral("編： ") + part + kCrLf + QStringLiteral("章： ") + chapter + kCrLf + tail;
        else
            t = QStringLiteral("編： ") + part + kCrLf + QStringLiteral("章： ") + chapter + kCrLf +
                QStringLiteral("節： ") + section + kCrLf + tail;
        if (excludeSeenValue() == 1)
            t += kCrLf + QStringLiteral("( 今までに出た問題は除きます。)") + kCrLf;

        if (seam::msgBox(t, seam::YesNo, kTitle) != seam::Yes)
            return;

        hide();
        const int result = store::ShowNextQuestion(m_store, *this, m_partSelector->currentText(), m_chapterSelector->currentText(),
                                                   m_sectionSelector->currentText(), excludeSeenValue());
        if (result != 0) {
            show();
            m_startButton->setFocus();
        } else {
            QuizWindow& form = quiz();
            form.show();
            form.activateWindow();
            form.partLine()->setFocus();
        }
    } catch (const store::StoreError& e) {
        seam::msgBox(store::startFailureMessage(e));
        seam::endProgram();
    }
}

QuizWindow& MenuWindow::quiz()
{
    if (!m_quiz)
        m_quiz = new QuizWindow(m_store, *this);
    return *m_quiz;
}

void MenuWindow::renderQuestion(const store::Question& question)
{
    quiz().renderBlankedQuestion(question);
}

void MenuWindow::showQuestion()
{
    QuizWindow& form = quiz();
    form.show();
    form.answerButton()->setEnabled(true);
}

QuizWindow* MenuWindow::loadedQuiz() const
{
    return m_quiz.data();
}
