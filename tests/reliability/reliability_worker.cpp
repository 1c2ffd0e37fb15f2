// A child program of the reliability tests, built on the core library alone.
//
//   reliability_worker drill <file> <key>      reveals the open questions one by one, then clears 直近 and then 済
//                                              in every row, over and over, until it is killed. Prints "ready" once
//                                              the file is open, then one letter per committed operation: r (reveal),
//                                              n (直近 cleared), d (済 cleared).
//   reliability_worker hold <file> <begin>     opens the file, runs <begin> (BEGIN IMMEDIATE or BEGIN EXCLUSIVE) and
//                                              changes every row without committing; prints "held", keeps the lock
//                                              until its input ends, rolls back and prints "released".
//
// Output goes straight to the descriptor, unbuffered, so that what a killed worker printed is exactly what it did.

#include "store/QuestionStore.h"
#include "store/Sqlite.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void say(const char* text)
{
    const size_t length = std::strlen(text);
    size_t done = 0;
    while (done < length) {
        const ssize_t n = ::write(STDOUT_FILENO, text + done, length - done);
        if (n <= 0)
            return;
        done += size_t(n);
    }
}

int drill(const QString& path, const QByteArray& key)
{
    store::QuestionStore store(path, key);
    store.trialOpen();
    say("ready\n");
    // With the option ticked, the next question is one with neither flag set: every question is revealed once, then
    // both flags are cleared, and so on. A state between two of these steps shows in the flags of the file.
    const store::Range everything{QStringLiteral("すべて"), QString(), QString(), 1};
    for (;;) {
        if (const auto question = store.nextQuestion(everything)) {
            store.reveal(QString::number(question->no));
            say("r");
        } else {
            store.clearFlag(store::Flag::Recent);
            say("n");
            store.clearFlag(store::Flag::Done);
            say("d");
        }
    }
}

int hold(const QString& path, const char* begin)
{
    store::Connection db = store::Connection::openExisting(path, store::passwordOf(store::connectString()));
    db.exec(begin);
    db.exec("UPDATE 問題 SET 済 = 1 - 済, 直近 = 1 - 直近");
    say("held\n");
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    db.exec("ROLLBACK");
    say("released\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        if (argc == 4 && std::strcmp(argv[1], "drill") == 0)
            return drill(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]));
        if (argc == 4 && std::strcmp(argv[1], "hold") == 0)
            return hold(QString::fromLocal8Bit(argv[2]), argv[3]);
    } catch (const store::StoreError& e) {
        say("\nfailed: ");
        say(e.message().toUtf8().constData());
        say("\n");
        return 2;
    }
    std::fprintf(stderr, "usage: reliability_worker drill <file> <key> | hold <file> <begin statement>\n");
    return 64;
}
