// The crash test's worker: reveals the open questions one by one, then clears 直近 and then 済 in every row, over
// and over, until it is killed. Prints "ready" once the file is open, then one letter per committed operation
// (r reveal, n 直近 cleared, d 済 cleared) straight to the descriptor, so that what it printed is what it did.
#include "store/QuestionStore.h"

#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 64;
    const auto say = [](const QByteArray& text) { return ::write(STDOUT_FILENO, text.constData(), text.size()); };
    try {
        store::QuestionStore store(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]));
        store.trialOpen();
        say("ready\n");
        // With the option on, the next question has neither flag set: a half-done operation shows in the flags.
        for (;;) {
            if (const auto question = store.nextQuestion({store::kAll, {}, {}, true})) {
                store.reveal(question->no);
                say("r");
            } else {
                store.clearFlag(store::Flag::Recent);
                say("n");
                store.clearFlag(store::Flag::Done);
                say("d");
            }
        }
    } catch (const store::StoreError& e) {
        say("\nfailed: " + e.message().toUtf8() + "\n");
        return 2;
    }
}
