#pragma once

#include "drill/StudyStatus.h"

#include <QDialog>

class QGridLayout;
class QLabel;

// 学習状況: how far the learner has come, by part and by chapter of the part picked on the menu, split into
// done (済), marked (要復習) and open; tier A beside where the file gives tiers; the reveals of each of the last
// days and how long the range would take at that pace. A view of the status the session read from the file.
class StatusWindow final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StatusWindow)

public:
    StatusWindow(const drill::StudyStatus& status, QWidget* parent = nullptr);

    // The window's figures as text, as a screen reader is given them.
    const QString& text() const { return m_text; }

private:
    QWidget* rowTable(const QString& title, const QList<drill::StudyStatus::Row>& rows);
    void addCounts(QGridLayout* grid, int row, int column, const store::Tally& tally);

    const drill::StudyStatus m_status;
    QString m_text;
};
