// harunire-km-content: makes the drill's question file from the Act and the glossary kept in content/, checks it
// and reads a learner's record back out of it.
#include "ContentCommands.h"
#include "store/QuestionStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#ifndef HARUNIRE_CONTENT_DIR
#define HARUNIRE_CONTENT_DIR "content"
#endif

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString contentDir()
{
    return QStringLiteral(HARUNIRE_CONTENT_DIR);
}

QString contentFile(const char* name)
{
    return QDir(QStringLiteral(HARUNIRE_CONTENT_DIR)).filePath(QString::fromUtf8(name));
}

const char* const usage = "usage: harunire-km-content <command> [options]\n"
                          "commands:\n"
                          "  generate  the Act and the glossary -> question table (questions.tsv)\n"
                          "  build     question table and table of contents -> question file\n"
                          "  lint      check a question table or a question file\n"
                          "  report    the measures of a question table or file, and a sample of its questions\n"
                          "  export    question file -> question table with the progress flags\n"
                          "  merge     a newer question file -> a learner's file, keeping the learner's progress\n"
                          "'harunire-km-content <command> --help' describes the options of a command.\n";

// A parser for one command; false with a message on err when the arguments do not fit.
class Command
{
public:
    Command(const QString& name, const QString& description, const QString& positional = {}) : m_name(name)
    {
        m_parser.setApplicationDescription(description);
        m_parser.addHelpOption();
        if (!positional.isEmpty())
            m_parser.addPositionalArgument(positional, QStringLiteral("The file to read."));
    }

    void option(const QString& name, const QString& description, const QString& defaultFile = {},
                const QString& valueName = QStringLiteral("file"))
    {
        QCommandLineOption o(name, description, valueName);
        if (!defaultFile.isEmpty()) {
            o.setDescription(description + QStringLiteral(" Default: ") + defaultFile);
            o.setDefaultValue(defaultFile);
        }
        m_parser.addOption(o);
    }

    void flag(const QString& name, const QString& description) { m_parser.addOption({name, description}); }

    bool parse(QStringList args, int positionals)
    {
        args[0] = QStringLiteral("harunire-km-content ") + m_name;
        if (!m_parser.parse(args))
            return complain(m_parser.errorText());
        if (m_parser.isSet(QStringLiteral("help")))
            m_parser.showHelp(0);
        if (m_parser.positionalArguments().size() != positionals)
            return complain(positionals == 0 ? QStringLiteral("no file arguments are taken")
                                             : QStringLiteral("name exactly one file"));
        return true;
    }

    QString value(const QString& name) const { return m_parser.value(name); }
    bool isSet(const QString& name) const { return m_parser.isSet(name); }
    QString file() const { return m_parser.positionalArguments().value(0); }

    // The key: --password, or the one of the program's connect string.
    QByteArray key() const
    {
        return isSet(QStringLiteral("password")) ? value(QStringLiteral("password")).toUtf8()
                                                 : store::passwordOf(store::connectString());
    }

private:
    bool complain(const QString& message)
    {
        err() << m_name << ": " << message << " (see --help)\n";
        return false;
    }

    QString m_name;
    QCommandLineParser m_parser;
};

const QString passwordHelp = QStringLiteral("Password of the question file (default: the program's own).");
const QString contentHelp = QStringLiteral("The folder with the Act, its tables, the glossary and the exam facts.");

int generate(const QStringList& args)
{
    Command c(QStringLiteral("generate"), QStringLiteral("Makes the question table from the Act and the glossary."));
    c.option(QStringLiteral("content"), contentHelp, contentDir(), QStringLiteral("folder"));
    c.option(QStringLiteral("output"), QStringLiteral("The question table to write."), contentFile("questions.tsv"));
    if (!c.parse(args, 0))
        return 2;
    return content::commands::generate(content::ContentFolder(c.value(QStringLiteral("content"))),
                                       c.value(QStringLiteral("output")), out(), err());
}

int build(const QStringList& args)
{
    Command c(
        QStringLiteral("build"),
        QStringLiteral("Builds the encrypted question file. An existing file is replaced only once the new "
                       "one is complete, and the progress it holds (済, 直近, 要復習, 解答記録) is kept by Ｎｏ."));
    c.option(QStringLiteral("questions"), QStringLiteral("The question table."), contentFile("questions.tsv"));
    c.option(QStringLiteral("toc"), QStringLiteral("The table of contents."), contentFile("toc.tsv"));
    c.option(QStringLiteral("output"), QStringLiteral("The question file to write (required)."));
    c.flag(QStringLiteral("discard-progress"),
           QStringLiteral("Do not keep the progress of the file being replaced; the flags come from the table."));
    if (!c.parse(args, 0))
        return 2;
    if (c.value(QStringLiteral("output")).isEmpty()) {
        err() << "build: --output is required (see --help)\n";
        return 2;
    }
    const auto progress =
        c.isSet(QStringLiteral("discard-progress")) ? content::Progress::Discard : content::Progress::Keep;
    return content::commands::build(c.value(QStringLiteral("questions")), c.value(QStringLiteral("toc")),
                                    c.value(QStringLiteral("output")), store::passwordOf(store::connectString()),
                                    progress, out(), err());
}

int lint(const QStringList& args)
{
    Command c(QStringLiteral("lint"),
              QStringLiteral("Checks a question table or a question file; prints one line per finding and exits "
                             "with 1 when there is any."),
              QStringLiteral("file"));
    c.option(QStringLiteral("content"), contentHelp, contentDir(), QStringLiteral("folder"));
    c.option(QStringLiteral("password"), passwordHelp, {}, QStringLiteral("password"));
    if (!c.parse(args, 1))
        return 2;
    return content::commands::lint(c.file(), content::ContentFolder(c.value(QStringLiteral("content"))), c.key(), out(),
                                   err());
}

int report(const QStringList& args)
{
    Command c(QStringLiteral("report"),
              QStringLiteral("Prints how well a question table or file teaches: the measures over the whole set, "
                             "then a sample of its questions as the quiz screen shows them."),
              QStringLiteral("file"));
    c.option(QStringLiteral("content"), contentHelp, contentDir(), QStringLiteral("folder"));
    c.option(QStringLiteral("password"), passwordHelp, {}, QStringLiteral("password"));
    c.option(QStringLiteral("sample"), QStringLiteral("How many questions to show, spread evenly (default 0)."), {},
             QStringLiteral("count"));
    c.option(QStringLiteral("tier"), QStringLiteral("Draw the sample from the questions of this tier (A, B or C)."), {},
             QStringLiteral("tier"));
    c.option(QStringLiteral("seed"),
             QStringLiteral("Draw the sample at random, the same questions for the same seed (a whole number)."), {},
             QStringLiteral("seed"));
    if (!c.parse(args, 1))
        return 2;
    content::commands::SampleOptions sample;
    bool ok = true;
    const QString count = c.value(QStringLiteral("sample"));
    sample.count = count.isEmpty() ? 0 : count.toInt(&ok);
    if (!ok || sample.count < 0) {
        err() << "report: --sample takes a count (see --help)\n";
        return 2;
    }
    sample.tier = c.value(QStringLiteral("tier"));
    if (!sample.tier.isEmpty() && !content::tierNames().contains(sample.tier)) {
        err() << "report: --tier takes A, B or C (see --help)\n";
        return 2;
    }
    if (c.isSet(QStringLiteral("seed"))) {
        sample.seed = c.value(QStringLiteral("seed")).toUInt(&ok);
        if (!ok) {
            err() << "report: --seed takes a whole number (see --help)\n";
            return 2;
        }
    }
    return content::commands::report(c.file(), content::ContentFolder(c.value(QStringLiteral("content"))), c.key(),
                                     sample, out(), err());
}

int exportTable(const QStringList& args)
{
    Command c(QStringLiteral("export"),
              QStringLiteral("Writes a question file out as a question table with 重要度, 済, 直近 and 要復習, "
                             "followed by the reveal log 解答記録."),
              QStringLiteral("file"));
    c.option(QStringLiteral("output"), QStringLiteral("The table to write (default: standard output)."));
    c.option(QStringLiteral("password"), passwordHelp, {}, QStringLiteral("password"));
    if (!c.parse(args, 1))
        return 2;
    return content::commands::exportTable(c.file(), c.value(QStringLiteral("output")), c.key(), out(), err());
}

int merge(const QStringList& args)
{
    Command c(QStringLiteral("merge"),
              QStringLiteral("Brings the questions of a newer question file into a learner's file, keeping the "
                             "learner's progress (済, 直近, 要復習) by Ｎｏ and the reveal log 解答記録. The learner's "
                             "file is replaced only once the "
                             "new one is complete."));
    c.option(QStringLiteral("from"), QStringLiteral("The newer question file (required)."));
    c.option(QStringLiteral("into"), QStringLiteral("The learner's question file (required)."));
    if (!c.parse(args, 0))
        return 2;
    if (c.value(QStringLiteral("from")).isEmpty() || c.value(QStringLiteral("into")).isEmpty()) {
        err() << "merge: --from and --into are required (see --help)\n";
        return 2;
    }
    return content::commands::merge(c.value(QStringLiteral("from")), c.value(QStringLiteral("into")),
                                    store::passwordOf(store::connectString()), out(), err());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harunire-km-content"));
    QStringList args = QCoreApplication::arguments();
    const QString command = args.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out() << usage;
        return 0;
    }
    if (args.size() > 1)
        args.removeAt(1);
    if (command == QLatin1String("generate"))
        return generate(args);
    if (command == QLatin1String("build"))
        return build(args);
    if (command == QLatin1String("lint"))
        return lint(args);
    if (command == QLatin1String("report"))
        return report(args);
    if (command == QLatin1String("export"))
        return exportTable(args);
    if (command == QLatin1String("merge"))
        return merge(args);
    err() << (command.isEmpty() ? QStringLiteral("no command given") : QStringLiteral("unknown command: ") + command)
          << '\n'
          << usage;
    return 2;
}
