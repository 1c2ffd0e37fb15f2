#pragma once

#include "ContentFolder.h"
#include "ContentTsv.h"
#include "Statute.h"

#include <QList>

namespace content {

// The Act as the questions show it: articles.tsv completed by the tables kept beside it.
//  - item_columns.tsv (reviewed): where each two-column item splits, as its first and second column; every item of a
//    paragraph worded 「…当該各号に定める…」 that the data set runs together needs a row;
//  - subitems.tsv (data set): the sub-items of an item, run together without labels;
//  - subitem_lines.tsv (reviewed): the same sub-items one per row with their labels (イ, ロ, …, （１）); a row may keep
//    two columns apart with an ideographic blank. Joined without those blanks, the rows of an item must give the text
//    of subitems.tsv exactly, and every item there needs rows;
//  - short_texts.tsv (reviewed): shortened sentences of a paragraph, or a shortened item (item column set), where the
//    whole is too long for the passage box; every piece between the （略） marks must stand in the original in the
//    same order;
//  - captions.tsv (reviewed): the caption of every article without one of its own, each with its reason: the caption
//    printed before it that it shares, the title of the division it opens (the data set names no 目, so a 目's title
//    is given here), or none. An article without a caption and without a row is an error, and so is a row for an
//    article with a caption of its own.
// Each row that names no item of the Act, or does not agree with the data, is an error.
QList<Paragraph> readAct(const ContentFolder& folder, QList<TsvError>& errors);

// The omission mark of a shortened text.
inline const QString omission = QStringLiteral("（略）");

} // namespace content
