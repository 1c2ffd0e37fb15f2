#pragma once

#include <QDir>
#include <QString>

namespace content {

// The folder that holds the content: the Act, the reviewed tables that complete it, the glossary, the exam facts, the
// table of contents and the question table made of them (content/ of the sources unless told otherwise).
class ContentFolder
{
public:
    explicit ContentFolder(const QString& path) : m_dir(path) {}

    QString articles() const { return file("articles.tsv"); }
    QString subItems() const { return file("subitems.tsv"); }
    QString itemColumns() const { return file("item_columns.tsv"); }
    QString subItemLines() const { return file("subitem_lines.tsv"); }
    QString shortTexts() const { return file("short_texts.tsv"); }
    QString captions() const { return file("captions.tsv"); }
    QString formulaOnly() const { return file("formula_only.tsv"); }
    QString tiers() const { return file("tiers.tsv"); }
    QString terms() const { return file("terms.tsv"); }
    QString examFacts() const { return file("exam_facts.tsv"); }
    QString contents() const { return file("toc.tsv"); }
    QString questions() const { return file("questions.tsv"); }

private:
    QString file(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

    QDir m_dir;
};

} // namespace content
