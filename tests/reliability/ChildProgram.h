#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// One of the reliability tests' child programs (reliability_worker, reliability_instance), run with its output
// collected line by line.
class ChildProgram
{
public:
    static QString worker();
    static QString instance();

    ChildProgram(const QString& program, const QStringList& arguments);
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // Waits until the child has printed the line, or has ended, or the time is up. True when the line came.
    bool waitForLine(const QByteArray& line, int milliseconds = 30000);
    // Ends the child's input, which the holding modes take as the sign to let go, and waits for its end.
    bool finish(int milliseconds = 30000);
    // SIGKILL, then reaps the child so that nothing of it is left running.
    void kill();

    bool running() const { return m_process.state() != QProcess::NotRunning; }
    qint64 pid() const { return m_process.processId(); }
    int exitCode() const { return m_process.exitCode(); }
    QProcess::ExitStatus exitStatus() const { return m_process.exitStatus(); }
    // Everything printed so far.
    QByteArray output();
    QList<QByteArray> lines();
    QByteArray errors();

private:
    QProcess m_process;
    QByteArray m_output;
};
