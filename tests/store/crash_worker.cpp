// The crash test's worker: reveals the open questions one by one, then clears 直近 and then 済 in every row. It dies
// inside its n-th write into the file (n its third argument): half of the bytes written, then SIGKILL. Prints one
// letter per committed operation (r reveal, n 直近 cleared, d 済 cleared) straight to the descriptor.
#include "store/QuestionStore.h"

#include <csignal>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long long writesLeft = 0;
ino_t fileInode = 0;
ssize_t (*realPwrite)(int, const void*, size_t, off_t) = nullptr;

ssize_t pwriteOrDie(int fd, const void* data, size_t size, off_t offset)
{
    struct stat written = {};
    if (::fstat(fd, &written) == 0 && written.st_ino == fileInode && --writesLeft == 0) {
        realPwrite(fd, data, size / 2, offset);
        std::raise(SIGKILL);
    }
    return realPwrite(fd, data, size, offset);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 64;
    writesLeft = std::atoll(argv[3]);
    struct stat file = {};
    ::stat(argv[1], &file);
    fileInode = file.st_ino;
    sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
    realPwrite = reinterpret_cast<decltype(realPwrite)>(vfs->xGetSystemCall(vfs, "pwrite64"));
    vfs->xSetSystemCall(vfs, "pwrite64", reinterpret_cast<sqlite3_syscall_ptr>(pwriteOrDie));
    const auto say = [](const QByteArray& text) { return ::write(STDOUT_FILENO, text.constData(), text.size()); };
    try {
        store::QuestionStore store(QString::fromLocal8Bit(argv[1]), QByteArray(argv[2]));
        store.trialOpen();
        // With the option on, the next question has neither flag set: a half-done operation shows in the flags.
        while (const auto question = store.nextQuestion({store::kAll, {}, {}, true})) {
            store.reveal(question->no, QDate(2026, 12, 7));
            say("r");
        }
        store.clearFlag(store::Flag::Recent);
        say("n");
        store.clearFlag(store::Flag::Done);
        say("d");
    } catch (const store::StoreError& e) {
        say("\nfailed: " + e.message().toUtf8() + "\n");
        return 2;
    }
}
