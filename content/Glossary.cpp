#include "Glossary.h"

#include "ArticleNumber.h"

#include <QHash>
#include <QSet>
#include <algorithm>

namespace content {

const QStringList& glossaryCategories()
{
    static const QStringList categories = {
        QStringLiteral("割合"), QStringLiteral("期間"), QStringLiteral("数額"), QStringLiteral("罰則"),
        QStringLiteral("効果"), QStringLiteral("機関"), QStringLiteral("会社"), QStringLiteral("書類"),
        QStringLiteral("財産"), QStringLiteral("手続"), QStringLiteral("権利"), QStringLiteral("当事者"),
        QStringLiteral("一般"), QStringLiteral("定型"),
    };
    return categories;
}

bool isFixedPhrase(const QString& category)
{
    return category == QStringLiteral("定型");
}

int categoryRank(const QString& category)
{
    if (isNumberCategory(category))
        return 0;
    if (category == QStringLiteral("罰則") || category == QStringLiteral("効果"))
        return 1;
    if (category == QStringLiteral("機関"))
        return 2;
    return 3;
}

bool isNumberCategory(const QString& category)
{
    return glossaryCategories().indexOf(category) < 3 && glossaryCategories().contains(category);
}

const QStringList& formulaWords()
{
    static const QStringList words = {QStringLiteral("準用する"), QStringLiteral("適用しない"),
                                      QStringLiteral("適用する"), QStringLiteral("することができる")};
    return words;
}

QString answerWordProblem(const QString& word)
{
    if (word.isEmpty())
        return QStringLiteral("is empty");
    bool digitsOnly = true;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        const bool carried = i == 0 && c == columnBlank && word.size() > 1;
        if (carried) {
            digitsOnly = false;
            continue;
        }
        if (c.isSpace())
            return QStringLiteral("holds a blank");
        if (c == u',' || c == u'《' || c == u'》')
            return QStringLiteral("holds a comma or a marker bracket");
        if (!c.isDigit() && !isKanjiNumeral(c))
            digitsOnly = false;
    }
    if (digitsOnly)
        return QStringLiteral("is only digits");
    return {};
}

QString askedForm(const QString& term)
{
    const bool bare = !term.isEmpty() && std::all_of(term.begin(), term.end(), isKanjiNumeral);
    return bare ? columnBlank + term : term;
}

QList<Term> readGlossary(const QString& path, QList<TsvError>& errors)
{
    static const QStringList header = {QStringLiteral("term"), QStringLiteral("category"), QStringLiteral("level")};
    const QList<TsvRow> rows = readTsv(path, header, errors);
    QList<Term> terms;
    QSet<QString> seen;
    for (const TsvRow& row : rows) {
        Term t{row["term"], row["category"], row["level"].toInt(), row.line()};
        if (const QString problem = answerWordProblem(askedForm(t.text)); !problem.isEmpty()) {
            errors.append({path, row.line(), QStringLiteral("term 「%1」 %2").arg(t.text, problem)});
            continue;
        }
        if (!glossaryCategories().contains(t.category)) {
            errors.append({path, row.line(), QStringLiteral("unknown category 「%1」").arg(t.category)});
            continue;
        }
        if (row["level"] != QString::number(t.level) || t.level < 1 || t.level > 3) {
            errors.append({path, row.line(), QStringLiteral("level must be 1, 2 or 3: %1").arg(row["level"])});
            continue;
        }
        if (seen.contains(t.text)) {
            errors.append({path, row.line(), QStringLiteral("term 「%1」 is listed twice").arg(t.text)});
            continue;
        }
        seen.insert(t.text);
        terms.append(t);
    }
    return terms;
}

QList<ExamFact> readExamFacts(const QString& path, const QList<Term>& glossary, QList<TsvError>& errors)
{
    static const QStringList header = {QStringLiteral("paragraph"), QStringLiteral("item"), QStringLiteral("term"),
                                       QStringLiteral("note")};
    QHash<QString, const Term*> byText;
    for (const Term& t : glossary)
        byText.insert(t.text, &t);
    QList<ExamFact> facts;
    for (const TsvRow& row : readTsv(path, header, errors)) {
        const ExamFact fact{row["paragraph"], row["item"], row["term"], row["note"], row.line()};
        const Term* term = byText.value(fact.term);
        if (!parseArticleRef(fact.paragraph))
            errors.append({path, row.line(), QStringLiteral("「%1」 names no paragraph").arg(fact.paragraph)});
        else if (term && (isFiller(*term) || isFixedPhrase(term->category)))
            errors.append({path, row.line(),
                           QStringLiteral("「%1」 is a filler word or a fixed phrase of the glossary").arg(fact.term)});
        else if (const QString problem = answerWordProblem(askedForm(fact.term)); !problem.isEmpty())
            errors.append({path, row.line(), QStringLiteral("「%1」 %2").arg(fact.term, problem)});
        else
            facts.append(fact);
    }
    return facts;
}

} // namespace content
