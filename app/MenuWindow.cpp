#include "MenuWindow.h"

#include "StatusWindow.h"
#include "widgets/KeyTable.h"
#include "widgets/Layout.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>

namespace {

// A list the learner picks from and cannot type into; a screen reader names it by its label.
QComboBox* makeSelector(QWidget* parent, const char* name, const QRect& geometry, QLabel* label)
{
    auto* combo = layout::place(new QComboBox(parent), name, geometry, layout::font(layout::mincho, 9));
    combo->setEditable(false);
    label->setBuddy(combo);
    combo->setAccessibleName(label->text());
    // The list's own text colour, not the one of the frame it lies in.
    QPalette palette = combo->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, layout::palette().color(role));
    combo->setPalette(palette);
    // Its pop-up and the list in it would take the colours of a menu, as the desktop's theme gives them.
    for (QWidget* popup : {combo->view()->window(), static_cast<QWidget*>(combo->view())})
        popup->setPalette(layout::palette());
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

// An option of the menu: the default text colour on the grey of the window, the tick box the colour of a text field.
QCheckBox* makeOption(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* box = layout::place(new QCheckBox(caption, parent), name, geometry, layout::font(layout::mincho, 9.75, true));
    layout::setColours(box, layout::palette().color(QPalette::WindowText), layout::grey);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, layout::windowColour());
    box->setPalette(palette);
    return box;
}

// Puts the items into a list, and the pick, without the list telling the session back; the items are replaced only
// when they differ.
void showList(QComboBox* combo, const QStringList& items, int picked)
{
    const QSignalBlocker blocker(combo);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    if (shown != items) {
        combo->clear();
        combo->addItems(items);
    }
    combo->setCurrentIndex(picked);
}

} // namespace

MenuWindow::MenuWindow(drill::DrillSession& session, QWidget* parent) : QWidget(parent), m_session(session)
{
    setObjectName(QStringLiteral("start_gamen"));
    buildControls();
    connect(&m_session, &drill::DrillSession::selectorsChanged, this, [this] { showSelectors(m_session.selectors()); });
    showSelectors(m_session.selectors());
}

void MenuWindow::buildControls()
{
    using layout::twips;
    layout::makeToolWindow(this, QStringLiteral("ハルニレKM   中小企業診断士"), 8130, 3885);

    QLabel* title = makeLabel(this, "Label1", QStringLiteral("中小企業診断士　会社法"), twips(840, 120, 5895, 495),
                              layout::font(layout::gothic, 20.25), layout::red, layout::windowColour());
    QLabel* blanks = makeLabel(this, "Label4", QStringLiteral("<穴埋め>"), twips(6000, 240, 1935, 495),
                               layout::font(layout::gothic, 15.75, false, true), layout::blue, layout::windowColour());

    auto* rangeFrame = layout::place(new QGroupBox(QStringLiteral("範囲"), this), "Frame1", twips(120, 720, 5040, 2295),
                                     layout::font(layout::mincho, 9.75, true));
    layout::setColours(rangeFrame, layout::blue, layout::grey);

    const QFont labelFont = layout::font(layout::gothic, 9.75);
    QLabel* partLabel = makeLabel(rangeFrame, "Label3", QStringLiteral("編"), twips(120, 360, 375, 375), labelFont,
                                  layout::blue, layout::grey);
    m_partSelector = makeSelector(rangeFrame, "Combo1", twips(360, 360, 4575, 300), partLabel);
    QLabel* chapterLabel = makeLabel(rangeFrame, "Label5", QStringLiteral("章"), twips(120, 1080, 375, 255), labelFont,
                                     layout::blue, layout::grey);
    QLabel* sectionLabel = makeLabel(rangeFrame, "Label6", QStringLiteral("節"), twips(120, 1800, 255, 255), labelFont,
                                     layout::blue, layout::grey);
    // The chapter and section lists belong to the window itself and are drawn above the frame.
    m_chapterSelector = makeSelector(this, "Combo2", twips(480, 1800, 4575, 300), chapterLabel);
    m_sectionSelector = makeSelector(this, "Combo3", twips(480, 2520, 4575, 300), sectionLabel);

    auto* optionFrame = layout::place(new QGroupBox(QStringLiteral("オプション"), this), "Frame3",
                                      twips(5280, 720, 2640, 735), layout::font(layout::mincho, 9.75, true));
    layout::setColours(optionFrame, layout::blue, layout::grey);
    m_excludeSeenBox =
        makeOption(optionFrame, "Check1", QStringLiteral("今まで見た問題を外す"), twips(120, 240, 2415, 375));
    m_excludeSeenBox->setChecked(m_session.excludeSeen());
    // Below the green line: the options that narrow the drill to the questions that matter most now.
    m_importantOnlyBox =
        makeOption(this, "ImportantOnlyBox", QStringLiteral("重要問題だけ"), twips(240, 3360, 2415, 375));
    m_importantOnlyBox->setAccessibleName(QStringLiteral("重要問題だけ出題する"));
    m_importantOnlyBox->setChecked(m_session.importantOnly());
    m_markedOnlyBox = makeOption(this, "MarkedOnlyBox", QStringLiteral("要復習だけ"), twips(2760, 3360, 2415, 375));
    m_markedOnlyBox->setAccessibleName(QStringLiteral("要復習の問題だけ出題する"));
    m_markedOnlyBox->setToolTip(QStringLiteral("解答の後に X キーで「要復習」の印を付けた問題だけを出題します"));
    m_markedOnlyBox->setChecked(m_session.markedOnly());

    m_startButton = makeButton(this, "Command2", QStringLiteral("問題開始"), twips(5520, 2160, 2205, 375));
    m_clearRecordButton = makeButton(this, "Command3", QStringLiteral("記録削除"), twips(5520, 2760, 2205, 375));
    m_quitButton = makeButton(this, "Command4", QStringLiteral("終了"), twips(5520, 3360, 2205, 375));
    m_statusButton = makeButton(this, "StatusButton", QStringLiteral("学習状況"), twips(5520, 1620, 2205, 375));
    m_statusButton->setAccessibleName(QStringLiteral("学習状況を表示"));

    auto* line1 = new QWidget(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(layout::px(120), layout::px(3240), layout::px(6480) - layout::px(120), 1);
    layout::setColours(line1, {}, layout::green);

    m_chapterSelector->raise();
    m_sectionSelector->raise();

    for (QWidget* w : std::initializer_list<QWidget*>{title, blanks, rangeFrame, optionFrame})
        w->setFocusPolicy(Qt::NoFocus);
    QWidget::setTabOrder(m_startButton, m_quitButton);
    QWidget::setTabOrder(m_quitButton, m_excludeSeenBox);
    QWidget::setTabOrder(m_excludeSeenBox, m_partSelector);
    QWidget::setTabOrder(m_partSelector, m_chapterSelector);
    QWidget::setTabOrder(m_chapterSelector, m_sectionSelector);
    QWidget::setTabOrder(m_sectionSelector, m_clearRecordButton);
    QWidget::setTabOrder(m_clearRecordButton, m_importantOnlyBox);
    QWidget::setTabOrder(m_importantOnlyBox, m_markedOnlyBox);
    QWidget::setTabOrder(m_markedOnlyBox, m_statusButton);
    m_startButton->setFocus();

    drill::DrillSession* session = &m_session;
    connect(m_startButton, &QPushButton::clicked, session, &drill::DrillSession::startDrill);
    connect(m_clearRecordButton, &QPushButton::clicked, session, &drill::DrillSession::clearRecord);
    connect(m_quitButton, &QPushButton::clicked, session, &drill::DrillSession::quit);
    connect(m_excludeSeenBox, &QCheckBox::toggled, session, &drill::DrillSession::setExcludeSeen);
    connect(m_importantOnlyBox, &QCheckBox::toggled, session, &drill::DrillSession::setImportantOnly);
    connect(m_markedOnlyBox, &QCheckBox::toggled, session, &drill::DrillSession::setMarkedOnly);
    connect(m_statusButton, &QPushButton::clicked, this, &MenuWindow::showStudyStatus);
    connect(m_partSelector, &QComboBox::currentIndexChanged, session, &drill::DrillSession::pickPart);
    connect(m_chapterSelector, &QComboBox::currentIndexChanged, session, &drill::DrillSession::pickChapter);
    connect(m_sectionSelector, &QComboBox::currentIndexChanged, session, &drill::DrillSession::pickSection);
    for (QComboBox* combo : {m_partSelector, m_chapterSelector})
        combo->installEventFilter(this);
    // How much of the chosen range is left, counted when the tooltip is about to show.
    m_startButton->installEventFilter(this);
    // The menu's keys; Enter presses the focused button.
    auto* keyTable = new keys::KeyTable(
        this, {{QKeyCombination(Qt::Key_F2), [this] { showStudyStatus(); }, QStringLiteral("F2"), {m_statusButton}}});
    m_statusButton->setToolTip(keyTable->tip(m_statusButton));
}

void MenuWindow::showSelectors(const drill::Selectors& lists)
{
    showList(m_partSelector, lists.parts, lists.part);
    showList(m_chapterSelector, lists.chapters, lists.chapter);
    showList(m_sectionSelector, lists.sections, lists.section);
}

void MenuWindow::focusOn(drill::Focus focus)
{
    if (focus == drill::Focus::StartButton)
        m_startButton->setFocus();
    else if (focus == drill::Focus::PartSelector)
        m_partSelector->setFocus();
}

bool MenuWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_startButton && event->type() == QEvent::ToolTip) {
        const QString text = m_session.remainingText();
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
                m_session.leavePartSelector();
            else if (watched == m_chapterSelector)
                m_session.leaveChapterSelector();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MenuWindow::showStudyStatus()
{
    if (const std::optional<drill::StudyStatus> status = m_session.studyStatus()) {
        StatusWindow window(*status, this);
        window.exec();
    }
}

void MenuWindow::showEvent(QShowEvent* event)
{
    // A file without tiers has nothing for 重要問題だけ to choose by.
    const bool tiers = m_session.tiersAvailable();
    m_importantOnlyBox->setEnabled(tiers);
    m_importantOnlyBox->setToolTip(tiers ? QStringLiteral("重要度 A の問題（試験によく出る規定）だけを出題します")
                                         : QStringLiteral("この ソラメモ.mdb には重要度の記録がありません"));
    QWidget::showEvent(event);
}

void MenuWindow::closeEvent(QCloseEvent* event)
{
    if (m_session.closeMenu(event->spontaneous()))
        event->accept();
    else
        event->ignore();
}
