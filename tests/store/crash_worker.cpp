// The crash test's worker: reveals the open questions one by one, then clears 直近 and then 済 in every row, over
// and over, until it is killed. Prints "ready" once the file is open, then one letter per committed operation:
// r (reveal), n (直近 cleared), d (済 cleared), straight to the descriptor, so that what a killed worker printed is
// exactly what it did.
#include "store/QuestionStore.h"

#include <unistd.h>

namespace {

void say(const char* text, size_t length)
{
    while (length > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, text, length);
        if (n <= 0)
            return;
        text += n;
        length -= size_t(n);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return 64;
    try {
        store::QuestionStore store(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]));
        store.trialOpen();
        say("ready\n", 6);
        // With the option on, the next question is one with neither flag set: a state between two whole
        // operations shows in the flags of the file.
        const store::Range everything{store::kAll, {}, {}, true};
        for (;;) {
            if (const auto question = store.nextQuestion(everything)) {
                store.reveal(question->no);
                say("r", 1);
            } else {
                store.clearFlag(store::Flag::Recent);
                say("n", 1);
                store.clearFlag(store::Flag::Done);
                say("d", 1);
            }
        }
    } catch (const store::StoreError& e) {
        const QByteArray message = "\nfailed: " + e.message().toUtf8() + "\n";
        say(message.constData(), size_t(message.size()));
        return 2;
    }
}
