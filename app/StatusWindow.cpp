#include "StatusWindow.h"

#include "widgets/DayBars.h"
#include "widgets/Layout.h"
#include "widgets/StackedBar.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The colours of the three kinds of question, as the bars and the legend show them.
const QColor kDone = layout::blue;
const QColor kMarked = layout::red;
const QColor kOpen{255, 255, 255};

const int kTitleWidth = 230;

QLabel* makeText(const QString& text, QWidget* parent, Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(alignment);
    return label;
}

QLabel* makeNumber(int value, const QString& name, QWidget* parent)
{
    QLabel* label = makeText(QString::number(value), parent, Qt::AlignRight | Qt::AlignVCenter);
    label->setAccessibleName(name + u' ' + QString::number(value));
    label->setMinimumWidth(40);
    return label;
}

QWidget* legendItem(const QString& text, const QColor& colour, QWidget* parent)
{
    auto* item = new QWidget(parent);
    auto* row = new QHBoxLayout(item);
    row->setContentsMargins(0, 0, 8, 0);
    auto* swatch = new StackedBar({{1, colour}}, item);
    swatch->setFixedSize(22, 14);
    swatch->setAccessibleName(text);
    row->addWidget(swatch);
    row->addWidget(makeText(text, item));
    return item;
}

} // namespace

StatusWindow::StatusWindow(const drill::StudyStatus& status, QWidget* parent)
    : QDialog(parent), m_status(status), m_text(drill::statusText(status))
{
    setObjectName(QStringLiteral("StatusWindow"));
    setWindowTitle(QStringLiteral("学習状況"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFont(layout::font(layout::gothic, 9.75));
    setAccessibleDescription(m_text);
    // The program's own palette, whatever the desktop's, on the grey of its windows.
    QPalette palette = layout::palette();
    palette.setColor(QPalette::Window, layout::grey);
    setPalette(palette);
    setAutoFillBackground(true);

    auto* column = new QVBoxLayout(this);
    column->addWidget(rowTable(QStringLiteral("編ごと"), status.parts));
    if (!status.chapterPart.isEmpty() && !status.chapters.isEmpty())
        column->addWidget(rowTable(QStringLiteral("章ごと（%1）").arg(status.chapterPart), status.chapters));
    else if (status.chapterPart.isEmpty())
        column->addWidget(makeText(QStringLiteral("メニューで編を選ぶと、その章ごとの状況も表示します。"), this));

    auto* daysFrame = new QGroupBox(QStringLiteral("日ごとの解答（この%1日間）").arg(drill::StudyStatus::kDays), this);
    daysFrame->setObjectName(QStringLiteral("DaysFrame"));
    daysFrame->setFont(layout::font(layout::mincho, 9.75, true));
    layout::setColours(daysFrame, layout::blue);
    auto* days = new QVBoxLayout(daysFrame);
    auto* bars = new DayBars(status.days, status.today, daysFrame);
    bars->setFont(layout::font(layout::gothic, 9));
    bars->setAccessibleName(m_text.section(u'\n', -2, -2));
    layout::setColours(bars, QColor(0, 0, 0));
    days->addWidget(bars);
    QLabel* pace = makeText(drill::paceText(status), daysFrame);
    pace->setObjectName(QStringLiteral("Pace"));
    pace->setWordWrap(true);
    pace->setFont(layout::font(layout::gothic, 9.75));
    layout::setColours(pace, QColor(0, 0, 0));
    days->addWidget(pace);
    column->addWidget(daysFrame);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legendItem(QStringLiteral("済"), kDone, this));
    if (status.hasMarks)
        bottom->addWidget(legendItem(QStringLiteral("要復習"), kMarked, this));
    bottom->addWidget(legendItem(QStringLiteral("未"), kOpen, this));
    bottom->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setFont(layout::font(layout::gothic, 9.75, true));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    bottom->addWidget(buttons);
    column->addLayout(bottom);
}

QWidget* StatusWindow::rowTable(const QString& title, const QList<drill::StudyStatus::Row>& rows)
{
    auto* frame = new QGroupBox(title, this);
    frame->setFont(layout::font(layout::mincho, 9.75, true));
    layout::setColours(frame, layout::blue);
    auto* grid = new QGridLayout(frame);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    const QFont rowFont = layout::font(layout::gothic, 9.75);
    const QFont headFont = layout::font(layout::gothic, 9);

    // The heading row: what each column counts.
    const auto head = [&](int column, const QString& text) {
        QLabel* label = makeText(text, frame, Qt::AlignRight | Qt::AlignBottom);
        label->setFont(headFont);
        layout::setColours(label, QColor(0, 0, 0));
        grid->addWidget(label, 0, column);
    };
    const auto headCounts = [&](int column, const QString& bar) {
        head(column, bar);
        head(column + 1, QStringLiteral("済"));
        if (m_status.hasMarks)
            head(column + 2, QStringLiteral("要復習"));
        head(column + (m_status.hasMarks ? 3 : 2), QStringLiteral("未"));
    };
    const int columns = m_status.hasMarks ? 4 : 3; // a bar and its counts
    headCounts(1, QStringLiteral("全問題"));
    if (m_status.hasTiers)
        headCounts(1 + columns, QStringLiteral("重要問題"));

    for (qsizetype i = 0; i < rows.size(); ++i) {
        const drill::StudyStatus::Row& r = rows[i];
        const int row = int(i) + 1;
        QLabel* name = makeText(QFontMetrics(rowFont).elidedText(r.title, Qt::ElideRight, kTitleWidth), frame);
        name->setFont(rowFont);
        name->setToolTip(r.title);
        name->setAccessibleName(r.title);
        name->setFixedWidth(kTitleWidth);
        layout::setColours(name, QColor(0, 0, 0));
        grid->addWidget(name, row, 0);
        const auto bar = [&](int column, const store::Tally& tally, const QString& what) {
            auto* b = new StackedBar({{tally.done, kDone}, {tally.marked, kMarked}, {tally.open(), kOpen}}, frame);
            b->setAccessibleName(r.title + what + QStringLiteral("：") + drill::countsText(tally, m_status.hasMarks));
            layout::setColours(b, QColor(0, 0, 0));
            grid->addWidget(b, row, column);
            addCounts(grid, row, column + 1, tally);
        };
        bar(1, r.all, QString());
        if (m_status.hasTiers)
            bar(1 + columns, r.tierA, QStringLiteral("（重要問題）"));
    }
    grid->setColumnStretch(1, 1);
    if (m_status.hasTiers)
        grid->setColumnStretch(1 + columns, 1);
    return frame;
}

void StatusWindow::addCounts(QGridLayout* grid, int row, int column, const store::Tally& tally)
{
    QWidget* frame = grid->parentWidget();
    const QFont font = layout::font(layout::gothic, 9.75);
    QList<QLabel*> labels{makeNumber(tally.done, QStringLiteral("済"), frame)};
    if (m_status.hasMarks)
        labels << makeNumber(tally.marked, QStringLiteral("要復習"), frame);
    labels << makeNumber(tally.open(), QStringLiteral("未"), frame);
    for (QLabel* label : labels) {
        label->setFont(font);
        layout::setColours(label, QColor(0, 0, 0));
        grid->addWidget(label, row, column++);
    }
}
