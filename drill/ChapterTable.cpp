#include "ChapterTable.h"

#include <QHash>

namespace chapters {

const QStringList& partList()
{
    static const QStringList parts = {
        store::kAll,
        QStringLiteral("第一編 総則"),
        QStringLiteral("第二編 株式会社"),
        QStringLiteral("第三編 持分会社"),
        QStringLiteral("第四編 社債"),
        QStringLiteral("第五編 組織変更、合併、会社分割、株式交換及び株式移転"),
        QStringLiteral("第六編 外国会社"),
        QStringLiteral("第七編 雑則"),
        QStringLiteral("第八編 罰則"),
    };
    return parts;
}

namespace {

const QHash<QString, QStringList>& table()
{
    static const QHash<QString, QStringList> chapters = {
        {store::kAll, {}},
        {QStringLiteral("第一編 総則"),
         {QStringLiteral("第一章 通則"), QStringLiteral("第二章 会社の商号"), QStringLiteral("第三章 会社の使用人等"),
          QStringLiteral("第四章 事業の譲渡をした場合の競業の禁止等")}},
        {QStringLiteral("第二編 株式会社"),
         {QStringLiteral("第一章 設立"), QStringLiteral("第二章 株式"), QStringLiteral("第三章 新株予約権"),
          QStringLiteral("第四章 機関"), QStringLiteral("第五章 計算等"), QStringLiteral("第六章 定款の変更"),
          QStringLiteral("第七章 事業の譲渡等"), QStringLiteral("第八章 解散"), QStringLiteral("第九章 清算")}},
        {QStringLiteral("第三編 持分会社"),
         {QStringLiteral("第一章 設立"), QStringLiteral("第二章 社員"), QStringLiteral("第三章 管理"),
          QStringLiteral("第四章 社員の加入及び退社"), QStringLiteral("第五章 計算等"),
          QStringLiteral("第六章 定款の変更"), QStringLiteral("第七章 解散"), QStringLiteral("第八章 清算")}},
        {QStringLiteral("第四編 社債"),
         {QStringLiteral("第一章 総則"), QStringLiteral("第二章 社債管理者"),
          QStringLiteral("第二章の二 社債管理補助者"), QStringLiteral("第三章 社債権者集会")}},
        {QStringLiteral("第五編 組織変更、合併、会社分割、株式交換及び株式移転"),
         {QStringLiteral("第一章 組織変更"), QStringLiteral("第二章 合併"), QStringLiteral("第三章 会社分割"),
          QStringLiteral("第四章 株式交換及び株式移転"), QStringLiteral("第四章の二 株式交付"),
          QStringLiteral("第五章 組織変更、合併、会社分割、株式交換及び株式移転の手続")}},
        {QStringLiteral("第六編 外国会社"), {}},
        {QStringLiteral("第七編 雑則"),
         {QStringLiteral("第一章 会社の解散命令等"), QStringLiteral("第二章 訴訟"), QStringLiteral("第三章 非訟"),
          QStringLiteral("第四章 登記"), QStringLiteral("第五章 公告")}},
        {QStringLiteral("第八編 罰則"), {}},
    };
    return chapters;
}

} // namespace

QStringList chaptersOf(const QString& part, bool* found)
{
    const auto it = table().constFind(part);
    if (found)
        *found = it != table().constEnd();
    if (it == table().constEnd())
        return {};
    return QStringList{store::kAll} + *it;
}

} // namespace chapters
