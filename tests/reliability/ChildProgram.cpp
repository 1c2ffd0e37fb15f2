#include "ChildProgram.h"

#include <QDeadlineTimer>

QString ChildProgram::worker()
{
    return QStringLiteral(RELIABILITY_WORKER);
}

QString ChildProgram::instance()
{
    return QStringLiteral(RELIABILITY_INSTANCE);
}

ChildProgram::ChildProgram(const QString& program, const QStringList& arguments)
{
    m_process.setProgram(program);
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    m_process.waitForStarted(30000);
}

ChildProgram::~ChildProgram()
{
    if (running())
        kill();
}

QByteArray ChildProgram::output()
{
    m_output += m_process.readAllStandardOutput();
    return m_output;
}

QList<QByteArray> ChildProgram::lines()
{
    QList<QByteArray> result = output().split('\n');
    if (!result.isEmpty() && result.last().isEmpty())
        result.removeLast();
    return result;
}

QByteArray ChildProgram::errors()
{
    return m_process.readAllStandardError();
}

bool ChildProgram::waitForLine(const QByteArray& line, int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    for (;;) {
        if (lines().contains(line))
            return true;
        if (!running() || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(int(qBound(qint64(1), deadline.remainingTime(), qint64(100))));
    }
}

bool ChildProgram::finish(int milliseconds)
{
    m_process.closeWriteChannel();
    const bool ended = m_process.waitForFinished(milliseconds);
    output();
    return ended;
}

void ChildProgram::kill()
{
    m_process.kill();
    m_process.waitForFinished(30000);
    output();
}
