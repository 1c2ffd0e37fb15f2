// harunire-km-content: builds the question file from the reviewable tables kept in content/.
#include "ContentTsv.h"
#include "store/DatabaseBuilder.h"
#include "store/QuestionStore.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

int build(const QStringList& args)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds an encrypted question file."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("questions"), QStringLiteral("Question table."), QStringLiteral("tsv")});
    parser.addOption({QStringLiteral("toc"), QStringLiteral("Table of contents."), QStringLiteral("tsv")});
    parser.addOption({{QStringLiteral("o"), QStringLiteral("output")}, QStringLiteral("File to write."),
                      QStringLiteral("file")});
    parser.process(args);
    const QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty() || !parser.isSet(QStringLiteral("questions")) || !parser.isSet(QStringLiteral("toc"))) {
        err() << "build: --questions, --toc and --output are required\n";
        return 2;
    }
    QList<content::TsvError> errors;
    const auto questions = content::readQuestions(parser.value(QStringLiteral("questions")), errors);
    const auto contents = content::readContents(parser.value(QStringLiteral("toc")), errors);
    if (!errors.isEmpty()) {
        for (const auto& e : errors)
            err() << e.toString() << '\n';
        return 1;
    }
    const QString temporary = output + QStringLiteral(".new");
    QFile::remove(temporary);
    try {
        store::DatabaseBuilder builder(temporary, store::passwordOf(store::connectString()));
        for (const auto& q : questions)
            builder.addQuestion(q);
        for (const auto& e : contents)
            builder.addContents(e);
        builder.finish();
    } catch (const store::StoreError& e) {
        QFile::remove(temporary);
        err() << "build: " << e.message() << '\n';
        return 1;
    }
    QFile::remove(output);
    if (!QFile::rename(temporary, output)) {
        err() << "build: cannot move the new file into place: " << output << '\n';
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("harunire-km-content"));
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        err() << "usage: harunire-km-content build --questions FILE --toc FILE --output FILE\n";
        return 2;
    }
    const QString command = args.at(1);
    QStringList rest = args;
    rest.removeAt(1);
    if (command == QStringLiteral("build"))
        return build(rest);
    err() << "unknown command: " << command << '\n';
    return 2;
}
