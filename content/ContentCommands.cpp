#include "ContentCommands.h"

#include "ActTables.h"
#include "ContentReview.h"
#include "Glossary.h"
#include "ImportanceTiers.h"
#include "QuestionGenerator.h"
#include "Statute.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace content::commands {

namespace {

QString storeMessage(const QString& path, const store::StoreError& e)
{
    switch (e.kind()) {
    case store::FailureKind::FileMissing:
        return QStringLiteral("%1: cannot open: %2").arg(path, e.message());
    case store::FailureKind::NotADatabase:
        return QStringLiteral("%1: %2 (wrong password, or not a question file)").arg(path, e.message());
    case store::FailureKind::SchemaMissing:
        return QStringLiteral("%1: %2 (not a question file)").arg(path, e.message());
    default:
        return QStringLiteral("%1: %2").arg(path, e.message());
    }
}

bool writeWhole(const QString& path, const QByteArray& data, QString& error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        error = QStringLiteral("%1: cannot write: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

// One line on err; the exit status of a failure.
int fail(QTextStream& err, const QString& command, const QString& message)
{
    err << command << ": " << message << '\n';
    err.flush();
    return 1;
}

} // namespace

bool isQuestionTable(const QString& path)
{
    if (path.endsWith(QLatin1String(".tsv"), Qt::CaseInsensitive))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray start = file.read(16);
    if (start.startsWith("\xEF\xBB\xBF"))
        start.remove(0, 3);
    return start.startsWith(QStringLiteral("Ｎｏ\t").toUtf8());
}

namespace {

// What generate, lint and report read from the content folder.
struct Sources
{
    QList<Paragraph> act;
    QList<Term> glossary;
    QList<ExamFact> facts;
    QHash<QString, QString> formulaOnly;
    ImportanceTiers tiers;
};

bool readSources(const ContentFolder& folder, Sources& sources, QString& error)
{
    QList<TsvError> errors;
    sources.act = readAct(folder, errors);
    if (errors.isEmpty())
        sources.glossary = readGlossary(folder.terms(), errors);
    if (errors.isEmpty())
        sources.facts = readExamFacts(folder.examFacts(), sources.glossary, errors);
    if (errors.isEmpty())
        sources.formulaOnly = readFormulaOnly(folder.formulaOnly(), errors);
    if (errors.isEmpty())
        sources.tiers = ImportanceTiers::read(folder.tiers(), StatuteIndex(sources.act), errors);
    error = summarize(errors);
    return errors.isEmpty();
}

} // namespace

int generate(const ContentFolder& folder, const QString& output, QTextStream& out, QTextStream& err)
{
    const QString command = QStringLiteral("generate");
    Sources sources;
    QString error;
    if (!readSources(folder, sources, error))
        return fail(err, command, error);
    const QList<store::Question> questions =
        generateQuestions(sources.act, sources.glossary, sources.facts, sources.tiers);
    if (!writeWhole(output, questionTable(questions, TableColumns::Questions), error))
        return fail(err, command, error);
    out << output << ": " << questions.size() << " questions from " << sources.act.size() << " paragraphs\n";
    return 0;
}

int build(const QString& questionsPath, const QString& tocPath, const QString& output, const QByteArray& key,
          Progress progress, QTextStream& out, QTextStream& err)
{
    const QString command = QStringLiteral("build");
    QList<TsvError> errors;
    const QList<QuestionRecord> questions = readQuestions(questionsPath, errors);
    if (!errors.isEmpty())
        return fail(err, command, summarize(errors));
    const QList<RevealDay> log = readRevealLog(questionsPath, errors);
    if (!errors.isEmpty())
        return fail(err, command, summarize(errors));
    const QList<ContentsRecord> contents = readContents(tocPath, errors);
    if (!errors.isEmpty())
        return fail(err, command, summarize(errors));
    try {
        const BuildReport report =
            buildDatabase(output, questionsOf(questions), entriesOf(contents), log, key, progress);
        if (report.replacedProgress) {
            out << output << ": kept the progress of " << report.keptQuestions << " questions";
            if (!report.unplaced.isEmpty())
                out << "; " << report.unplaced.size() << " questions with progress are no longer there";
            out << '\n';
        }
    } catch (const ProgressUnreadable& e) {
        return fail(err, command,
                    storeMessage(output, e) + QStringLiteral("; its progress cannot be kept: remove the file or "
                                                             "build with --discard-progress"));
    } catch (const store::StoreError& e) {
        return fail(err, command, storeMessage(output, e));
    }
    return 0;
}

int merge(const QString& from, const QString& into, const QByteArray& key, QTextStream& out, QTextStream& err)
{
    const QString command = QStringLiteral("merge");
    DatabaseContent newer;
    try {
        newer = readDatabase(from, key);
    } catch (const store::StoreError& e) {
        return fail(err, command, storeMessage(from, e));
    }
    // The newer file brings questions, tiers and 目次; the progress, marks and log are the learner's.
    QList<store::Question> questions = questionsOf(newer.questions);
    for (store::Question& q : questions) {
        q.done = q.recent = 0;
        q.markedOn.clear();
    }
    try {
        const BuildReport report = buildDatabase(into, questions, entriesOf(newer.contents), {}, key, Progress::Keep);
        out << into << ": " << questions.size() << " questions, kept the progress of " << report.keptQuestions
            << " questions\n";
        out.flush();
        if (!report.unplaced.isEmpty()) {
            QStringList numbers;
            for (const qint64 no : report.unplaced)
                numbers << QString::number(no);
            err << command << ": " << into << ": the progress of " << report.unplaced.size()
                << " questions found no question to go to (Ｎｏ " << numbers.join(QStringLiteral(", ")) << ")\n";
            err.flush();
        }
    } catch (const store::StoreError& e) {
        return fail(err, command, storeMessage(into, e) + QStringLiteral("; the file is left as it was"));
    }
    return 0;
}

namespace {

// The questions and table of contents of a question table (with the folder's toc.tsv) or of a question file. Rows
// of the table that cannot be read go to findings; false with a message when the input cannot be read at all.
bool readInput(const QString& file, const ContentFolder& folder, const QByteArray& key, LintInput& input,
               QStringList& findings, QString& error)
{
    if (!QFileInfo::exists(file)) {
        error = QStringLiteral("%1: no such file").arg(file);
        return false;
    }
    QList<TsvError> errors;
    if (isQuestionTable(file)) {
        input.questionSource = file;
        input.contentsSource = folder.contents();
        input.questions = readQuestions(file, errors);
        for (const TsvError& e : std::as_const(errors)) {
            if (e.line <= 1) {
                error = e.toString();
                return false;
            }
            findings << e.toString();
        }
        errors.clear();
        input.contents = readContents(folder.contents(), errors);
        error = summarize(errors);
        return errors.isEmpty();
    }
    try {
        DatabaseContent content = readDatabase(file, key);
        input.questionSource = input.contentsSource = file;
        input.questions = std::move(content.questions);
        input.contents = std::move(content.contents);
    } catch (const store::StoreError& e) {
        error = storeMessage(file, e);
        return false;
    }
    return true;
}

} // namespace

int lint(const QString& file, const ContentFolder& folder, const QByteArray& key, QTextStream& out, QTextStream& err)
{
    const QString command = QStringLiteral("lint");
    LintInput input;
    QStringList findings;
    QString error;
    Sources sources;
    if (!readInput(file, folder, key, input, findings, error) || !readSources(folder, sources, error))
        return fail(err, command, error);
    const StatuteIndex act(sources.act);
    const Vocabulary vocabulary(sources.glossary);
    findings += lintContent(input, {act, vocabulary, sources.facts, sources.formulaOnly});
    for (const QString& finding : std::as_const(findings))
        out << finding << '\n';
    out.flush();
    return findings.isEmpty() ? 0 : 1;
}

int report(const QString& file, const ContentFolder& folder, const QByteArray& key, const SampleOptions& sample,
           QTextStream& out, QTextStream& err)
{
    const QString command = QStringLiteral("report");
    LintInput input;
    QStringList unreadable;
    QString error;
    Sources sources;
    if (!readInput(file, folder, key, input, unreadable, error) || !readSources(folder, sources, error))
        return fail(err, command, error);
    if (!unreadable.isEmpty())
        return fail(err, command, unreadable.first());
    const StatuteIndex act(sources.act);
    const Vocabulary vocabulary(sources.glossary);
    const Standards standards{act, vocabulary, sources.facts, sources.formulaOnly};
    printReview(reviewQuestions(input.questions, input.questionSource, standards), standards.limits, out);
    if (sample.count > 0) {
        QList<QuestionRecord> drawn = input.questions;
        if (!sample.tier.isEmpty())
            drawn.removeIf([&](const QuestionRecord& r) { return r.question.tier != sample.tier; });
        out << '\n';
        printSample(drawn, sample.count, sample.seed, out);
    }
    return 0;
}

int exportTable(const QString& database, const QString& output, const QByteArray& key, QTextStream& out,
                QTextStream& err)
{
    const QString command = QStringLiteral("export");
    if (!QFileInfo::exists(database))
        return fail(err, command, QStringLiteral("%1: no such file").arg(database));
    QByteArray table;
    try {
        const DatabaseContent content = readDatabase(database, key);
        table = questionTable(questionsOf(content.questions), TableColumns::Record, content.log);
    } catch (const store::StoreError& e) {
        return fail(err, command, storeMessage(database, e));
    }
    if (output.isEmpty()) {
        out << QString::fromUtf8(table);
        out.flush();
        return 0;
    }
    QString error;
    if (!writeWhole(output, table, error))
        return fail(err, command, error);
    return 0;
}

} // namespace content::commands
