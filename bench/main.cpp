// The benchmark: writes question files of several sizes, times every operation of the program on each through the
// program's own screens (offscreen), beside the least work each operation needs ("limit") and the access pattern
// the program was first described with ("literal"), then times the real program from its start to its menu.

#include "Corpus.h"
#include "Operations.h"
#include "References.h"
#include "Startup.h"
#include "app/AppSetup.h"
#include "store/QuestionStore.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QLocale>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace {

struct Arguments
{
    QList<int> sizes = {1000, 10000, 100000};
    bench::Settings settings;
    int startupRuns = 9;
    QString folder; // where the files are written; a temporary folder when empty
    QString output; // also write the report here
    bool keep = false;
};

void usage()
{
    std::fputs("usage: harunire-km-bench [--sizes N,N,...] [--reps N] [--quick] [--folder DIR] [--keep]"
               " [--output FILE]\n"
               "  --sizes   question counts of the files to time (default 1000,10000,100000)\n"
               "  --reps    repetitions of each quick operation and variant (default 18)\n"
               "  --quick   few repetitions, for trying the benchmark out\n"
               "  --folder  write the question files into DIR/<size>/ and keep them, instead of a temporary folder\n"
               "  --keep    leave the temporary folder and its files behind\n"
               "  --output  also write the report to FILE (Markdown)\n",
               stderr);
}

QtMessageHandler previousHandler = nullptr;

// The offscreen platform says on every activation of a window that it cannot raise it, and on every dialog shown
// that it cannot pass on its size hints; that is no news here.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message == QLatin1String("This plugin does not support raise()") ||
        message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

bool parse(const QStringList& args, Arguments& a)
{
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& arg = args[i];
        const auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        bool ok = true;
        if (arg == QLatin1String("--sizes")) {
            a.sizes.clear();
            for (const QString& n : value().split(u',', Qt::SkipEmptyParts)) {
                const int size = n.toInt(&ok);
                if (!ok || size < 100 || size > 1000000) {
                    std::fprintf(stderr, "--sizes: %s is not a question count from 100 to 1,000,000\n", qPrintable(n));
                    return false;
                }
                a.sizes << size;
            }
            ok = !a.sizes.isEmpty();
        } else if (arg == QLatin1String("--reps")) {
            a.settings.reps = value().toInt(&ok);
            ok = ok && a.settings.reps >= 1;
        } else if (arg == QLatin1String("--quick")) {
            a.settings = {6, 3, 1, 1, a.settings.literalRowCap};
            a.startupRuns = 3;
        } else if (arg == QLatin1String("--folder")) {
            a.folder = value();
            ok = !a.folder.isEmpty();
        } else if (arg == QLatin1String("--output")) {
            a.output = value();
            ok = !a.output.isEmpty();
        } else if (arg == QLatin1String("--keep")) {
            a.keep = true;
        } else {
            ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "bad argument: %s\n", qPrintable(arg));
            usage();
            return false;
        }
    }
    return true;
}

QString group(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

void progress(const QString& text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

double peakResidentMib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// What opening the file with its passphrase costs on this machine, most of it the key derivation: the yardstick for
// the literal column.
QString keyDerivationNote(const QString& path, const QByteArray& key)
{
    bench::Samples samples;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        clock.start();
        bench::literal::trialOpen(path, key);
        samples.add(double(clock.nsecsElapsed()) / 1e6);
    }
    return QStringLiteral("opening the file with its passphrase (open, derive the key, read once, close): %1 ms")
        .arg(bench::formatSamples(samples));
}

QString verdict(bool holds, const QString& detail)
{
    return (holds ? QStringLiteral("holds") : QStringLiteral("**does not hold**")) +
           (detail.isEmpty() ? QString() : QStringLiteral(" (") + detail + QStringLiteral(")"));
}

} // namespace

int main(int argc, char** argv)
{
    // The screens are real widgets on the offscreen platform, as in the tests.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    previousHandler = qInstallMessageHandler(quietHandler);
    QApplication application(argc, argv);
    app::setupApplication(application);

    Arguments args;
    if (!parse(QCoreApplication::arguments(), args))
        return 2;

    QTemporaryDir temporary;
    QString base = args.folder;
    if (base.isEmpty()) {
        if (!temporary.isValid()) {
            std::fprintf(stderr, "cannot make a temporary folder: %s\n", qPrintable(temporary.errorString()));
            return 1;
        }
        temporary.setAutoRemove(!args.keep);
        base = temporary.path();
    }
    if (!QDir().mkpath(base)) {
        std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(base));
        return 1;
    }

    QElapsedTimer total;
    total.start();
    const QByteArray key = store::passwordOf(store::connectString());
    QStringList notes;
    QStringList problems;
    QList<bench::Row> rows;
    QString largestFolder;
    int largestSize = 0;
    try {
        for (const int size : args.sizes) {
            const QString folder = QDir(base).filePath(QString::number(size));
            if (!QDir().mkpath(folder)) {
                std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(folder));
                return 1;
            }
            const QString path = QDir(folder).filePath(store::databaseFileName());
            // Only the files a former run left; anything else in the folder stays.
            for (const QString& old : {path, path + QStringLiteral("-journal"), path + QStringLiteral(".as-written")})
                QFile::remove(old);
            QElapsedTimer clock;
            clock.start();
            const bench::CorpusShape shape = bench::writeCorpus(path, size, key);
            notes << QStringLiteral("%1 questions: file of %2 MB, %3 rows in 目次, written in %4 s")
                         .arg(group(size), QString::number(double(shape.bytes) / 1e6, 'f', 1), group(shape.tocRows),
                              QString::number(double(clock.elapsed()) / 1000, 'f', 1));
            progress(notes.last());
            notes << QStringLiteral("%1 questions: tier A on %2 rows (%3 %), %4 marked 要復習, reveals logged on %5 "
                                    "days up to %6")
                         .arg(group(size), group(shape.tierA),
                              QString::number(100.0 * shape.tierA / std::max(1, shape.questions), 'f', 1),
                              group(shape.marks), group(shape.logDays), bench::corpusDay.toString(Qt::ISODate));
            if (size == args.sizes.first())
                notes << keyDerivationNote(path, key);
            rows += bench::timeOperations(folder, size, args.settings, notes, problems);
            progress(QStringLiteral("%1 questions timed, %2 s so far")
                         .arg(group(size), QString::number(double(total.elapsed()) / 1000, 'f', 0)));
            if (size >= largestSize) {
                largestSize = size;
                largestFolder = folder;
            }
        }
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "the question file failed: %s\n", qPrintable(e.message()));
        return 1;
    }

    // The real program, from its own folder and its own question file, then on the largest file.
    struct Start
    {
        QString where;
        bench::StartupTimes times;
    };
    QList<Start> starts;
    const QString programFolder = QFileInfo(QStringLiteral(HARUNIRE_PROGRAM)).absolutePath();
    starts.append({QStringLiteral("the program's own folder and file"),
                   bench::timeStartup(QStringLiteral(HARUNIRE_PROGRAM), QStringLiteral(HARUNIRE_SHOWN_PROBE),
                                      programFolder, args.startupRuns)});
    if (!largestFolder.isEmpty())
        starts.append({QStringLiteral("a file of %1 questions").arg(group(largestSize)),
                       bench::timeStartup(QStringLiteral(HARUNIRE_PROGRAM), QStringLiteral(HARUNIRE_SHOWN_PROBE),
                                          largestFolder, args.startupRuns)});

    // ---- the report ----
    QString report;
    QTextStream out(&report);
    out << "| operation | questions | ours ms | limit ms | literal ms | ours/limit | literal/ours |\n";
    out << "|---|---:|---:|---:|---:|---:|---:|\n";
    bool anyExtrapolated = false;
    for (const bench::Row& r : rows) {
        const double oursMs = r.ours.median();
        out << "| " << r.operation << " | " << group(r.questions) << " | " << bench::formatSamples(r.ours) << " | "
            << bench::formatSamples(r.limit) << " | " << bench::formatSamples(r.literal)
            << (r.literalExtrapolated ? " *" : "") << " | " << bench::formatRatio(oursMs / r.limit.median()) << " | "
            << bench::formatRatio(r.literal.median() / oursMs) << " |\n";
        anyExtrapolated = anyExtrapolated || r.literalExtrapolated;
    }
    out << "\nTimes are the median of the repetitions, with the 10th and 90th percentile in brackets.\n";
    if (anyExtrapolated)
        out << "* The literal reset ran on the first " << group(args.settings.literalRowCap)
            << " rows only; the time shown is scaled to every row.\n";

    out << "\n**Start-up to the menu shown** (the real program, offscreen, from process creation to the menu's first"
           " paint):\n\n";
    for (const Start& s : starts) {
        if (!s.times.error.isEmpty())
            out << "- " << s.where << ": not timed: " << s.times.error << "\n";
        else
            out << "- " << s.where << ": " << bench::formatSamples(s.times.ms) << " ms over " << s.times.ms.count()
                << " starts; the program's peak resident memory then " << group(s.times.peakKib / 1024) << " MB\n";
    }
    const double peak = peakResidentMib();
    out << "\n**Peak resident memory of the benchmark process** (all files, all three variants): "
        << QString::number(peak, 'f', 1) << " MB\n";

    // ---- the goals ----
    const int largest = *std::max_element(args.sizes.cbegin(), args.sizes.cend());
    const int middle = args.sizes.contains(10000) ? 10000 : args.sizes.first();
    QStringList ratioMisses, literalMisses, frameMisses, windowTimes;
    bool windowHolds = true;
    // The goals of their own, in the order of their first row: each with the ratios of its rows.
    QStringList ownGoals;
    QHash<QString, QStringList> ownRatios;
    QSet<QString> ownMisses;
    for (const bench::Row& r : rows) {
        const bool click = r.kind == bench::Kind::Click;
        const bool window = r.kind == bench::Kind::Window;
        const double ratio = r.ours.median() / r.limit.median();
        const double gain = r.literal.median() / r.ours.median();
        if (r.questions == largest && ratio > 1.5)
            ratioMisses << QStringLiteral("%1: %2").arg(r.operation, bench::formatRatio(ratio));
        // Start-up derives the key in every variant, and a window is mostly built and painted: the literal's extra
        // opening is no measure of either.
        if (r.questions == middle && (click || r.kind == bench::Kind::Reset) && gain < 10)
            literalMisses << QStringLiteral("%1: %2").arg(r.operation, bench::formatRatio(gain));
        if (r.questions == largest && (click || r.kind == bench::Kind::StartUp) && r.ours.median() >= 16)
            frameMisses << QStringLiteral("%1: %2 ms").arg(r.operation, bench::formatMs(r.ours.median()));
        if (r.questions == largest && window) {
            windowHolds = windowHolds && r.ours.median() < 100;
            windowTimes << bench::formatMs(r.ours.median()) + QStringLiteral(" ms");
        }
        if (r.questions == largest && !r.goal.isEmpty()) {
            if (!ownGoals.contains(r.goal))
                ownGoals << r.goal;
            ownRatios[r.goal] << QStringLiteral("%1: %2").arg(r.operation, bench::formatRatio(ratio));
            if (ratio > 1.5)
                ownMisses << r.goal;
        }
    }
    out << "\n**Goals**\n\n";
    out << "- ours/limit ≤ 1.5 for every operation at " << group(largest)
        << " questions: " << verdict(ratioMisses.isEmpty(), ratioMisses.join(QStringLiteral("; "))) << "\n";
    out << "- literal/ours ≥ 10 for every operation but start-up and 学習状況 at " << group(middle)
        << " questions: " << verdict(literalMisses.isEmpty(), literalMisses.join(QStringLiteral("; "))) << "\n";
    out << "- every operation but the two resets and 学習状況 under 16 ms at " << group(largest)
        << " questions: " << verdict(frameMisses.isEmpty(), frameMisses.join(QStringLiteral("; "))) << "\n";
    for (const QString& goal : ownGoals)
        out << "- " << goal << " at " << group(largest)
            << " questions: " << verdict(!ownMisses.contains(goal), ownRatios[goal].join(QStringLiteral("; "))) << "\n";
    if (!windowTimes.isEmpty())
        out << "- the 学習状況 window opened (read, built, shown, painted) under 100 ms at " << group(largest)
            << " questions: " << verdict(windowHolds, windowTimes.join(QStringLiteral("; "))) << "\n";
    if (starts.first().times.error.isEmpty()) {
        const double ms = starts.first().times.ms.median();
        out << "- start-up to the menu under 0.3 s: "
            << verdict(ms < 300, QStringLiteral("%1 ms").arg(bench::formatMs(ms))) << "\n";
    } else {
        out << "- start-up to the menu under 0.3 s: not timed\n";
    }
    out << "- peak memory under 80 MB: " << verdict(peak < 80, QStringLiteral("%1 MB").arg(peak, 0, 'f', 1)) << "\n";

    if (!notes.isEmpty())
        out << "\n**Notes**\n\n- " << notes.join(QStringLiteral("\n- ")) << "\n";
    if (!problems.isEmpty())
        out << "\n**Problems**\n\n- " << problems.join(QStringLiteral("\n- ")) << "\n";
    out << "\nWhole run: " << QString::number(double(total.elapsed()) / 1000, 'f', 0) << " s.\n";
    out.flush();

    std::fputs(report.toUtf8().constData(), stdout);
    if (!args.output.isEmpty()) {
        QFile file(args.output);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(report.toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(args.output));
            return 1;
        }
    }
    if (args.keep && args.folder.isEmpty())
        progress(QStringLiteral("the question files stay in %1").arg(base));
    return problems.isEmpty() ? 0 : 1;
}
