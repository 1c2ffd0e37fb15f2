// A child program of the reliability tests: the program's own menu and quiz screen, run offscreen in a process of
// their own.
//
//   reliability_instance run <folder> <lock file>
//       Starts like the program in <folder> and prints "loaded", or the boxes shown and "ended". Stays running, holding
//       the single-instance lock, until its input ends.
//   reliability_instance drill <place> <folder> <lock file>
//       Makes <folder> a place that cannot be written as <place> says (see prepare()) in a mount namespace of its
//       own, then starts the program there and drives one drill: start-up, launch over the whole Act, 解答, back to
//       the menu, 記録削除, 終了. Prints every box each step showed and the screens' state after it, and the SHA-1
//       of the question file before and after as seen from inside.
//
// Exit code 77: this machine cannot make the place (no mount namespaces); the output says why.

#include "support/SeamRecorder.h"

#include "app/MenuWindow.h"
#include "quiz/QuizWindow.h"
#include "store/QuestionStore.h"

#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QPushButton>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr int kUnavailable = 77;

void print(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

QByteArray hashOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "missing";
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
}

[[noreturn]] void unavailable(const char* what)
{
    print(QByteArray("unavailable: ") + what + ": " + std::strerror(errno));
    std::exit(kUnavailable);
}

void bindOnItself(const QByteArray& path)
{
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        unavailable("bind mount");
}

void remountReadOnly(const QByteArray& path)
{
    if (::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
        unavailable("read-only remount");
}

// Places, each seen only by this process and its children:
//   writable     the folder as it is
//   file         the question file read-only, its folder writable
//   folder       the folder read-only (no journal can be made beside the file), the file itself writable
//   both         the folder and the file read-only, as on a read-only medium
//   full         the folder on a small disk that is full (the file copied onto it, the rest filled up)
void prepare(const QString& place, const QString& folder)
{
    if (place == QLatin1String("writable"))
        return;
    if (::unshare(CLONE_NEWNS) != 0)
        unavailable("unshare");
    // Nothing done here may reach the tests' own view of the file system.
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        unavailable("private mounts");
    const QByteArray dir = QFile::encodeName(folder);
    const QByteArray file = QFile::encodeName(QDir(folder).filePath(store::databaseFileName()));
    if (place == QLatin1String("file")) {
        bindOnItself(file);
        remountReadOnly(file);
    } else if (place == QLatin1String("folder")) {
        bindOnItself(dir);
        bindOnItself(file);
        remountReadOnly(dir);
    } else if (place == QLatin1String("both")) {
        bindOnItself(dir);
        remountReadOnly(dir);
    } else if (place == QLatin1String("full")) {
        QFile original(QString::fromLocal8Bit(file));
        if (!original.open(QIODevice::ReadOnly))
            unavailable("reading the question file");
        const QByteArray bytes = original.readAll();
        original.close();
        if (::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k") != 0)
            unavailable("tmpfs");
        QFile copy(QString::fromLocal8Bit(file));
        if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size() || !copy.flush())
            unavailable("copying the question file");
        copy.close();
        QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly))
            unavailable("filling the disk");
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    } else {
        errno = EINVAL;
        unavailable("unknown place");
    }
}

QByteArray encoded(const QString& text)
{
    return text.toUtf8().toPercentEncoding();
}

void report(const char* step, SeamRecorder& seam, MenuWindow& menu)
{
    print(QByteArray("step ") + step);
    for (const SeamRecorder::Box& box : seam.boxes())
        print("box " + QByteArray::number(box.style) + ' ' + encoded(box.title) + ' ' + encoded(box.text));
    QuizWindow* quiz = menu.loadedQuiz();
    print(QByteArray("state quiz=") + (quiz && quiz->isVisible() ? '1' : '0') +
          " menu=" + (menu.isVisible() ? '1' : '0') +
          " command1=" + (quiz && quiz->answerButton()->isEnabled() ? '1' : '0') + " ended=" + (seam.ended() ? '1' : '0'));
    seam.clear();
}

int drill(const QString& place, const QString& folder, const QString& lockFile, int argc, char** argv)
{
    const QString database = QDir(folder).filePath(store::databaseFileName());
    prepare(place, folder);
    QApplication application(argc, argv);
    QDir::setCurrent(folder);
    print("hash " + hashOf(database));

    SeamRecorder seam;
    store::QuestionStore store;
    MenuWindow menu(store, MenuWindow::Options{lockFile});
    const bool loaded = menu.startUp();
    if (loaded)
        menu.show();
    report("load", seam, menu);
    if (loaded) {
        menu.partSelector()->setCurrentIndex(menu.partSelector()->findText(QStringLiteral("すべて")));
        seam.answerYes();
        menu.startDrill();
        report("launch", seam, menu);
        if (QuizWindow* quiz = menu.loadedQuiz()) {
            quiz->revealAnswers();
            report("reveal", seam, menu);
            quiz->backToMenu();
        }
        seam.answerYes();
        menu.clearRecord();
        report("reset", seam, menu);
        seam.answerYes();
        menu.quit();
        report("quit", seam, menu);
    }
    menu.releaseResources();
    print("hash " + hashOf(database));
    return 0;
}

int run(const QString& folder, const QString& lockFile, int argc, char** argv)
{
    QApplication application(argc, argv);
    QDir::setCurrent(folder);
    SeamRecorder seam;
    store::QuestionStore store;
    MenuWindow menu(store, MenuWindow::Options{lockFile});
    if (!menu.startUp()) {
        for (const SeamRecorder::Box& box : seam.boxes())
            print("box " + QByteArray::number(box.style) + ' ' + encoded(box.title) + ' ' + encoded(box.text));
        print("ended");
        return 0;
    }
    print("loaded");
    char buffer[64];
    while (::read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    menu.releaseResources();
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // A child of the tests never shows a window, whether or not the tests run under CTest.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "run") == 0)
        return run(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), argc, argv);
    if (argc == 5 && std::strcmp(argv[1], "drill") == 0)
        return drill(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]),
                     argc, argv);
    std::fprintf(stderr, "usage: reliability_instance run <folder> <lock file> | drill <place> <folder> <lock file>\n");
    return 64;
}
