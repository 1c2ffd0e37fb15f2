#include "FailureText.h"

namespace store {

QString damagedFileMessage()
{
    return QStringLiteral("この　ソラメモ.mdb　は壊れています。　再度ダウンロードしてください");
}

QString failureMessage(const StoreError& error, bool wrote)
{
    QString text;
    switch (error.kind()) {
    case FailureKind::FileMissing:
        text = QStringLiteral("ソラメモ.mdb が見つかりません。\r\n"
                              "ファイルが移動または削除されていないか確認してください。");
        break;
    case FailureKind::NotADatabase:
    case FailureKind::SchemaMissing:
        text = damagedFileMessage();
        break;
    case FailureKind::NullField:
        text = QStringLiteral("この問題のデータが壊れているため、表示できません。\r\n"
                              "メニュー画面に戻り、範囲を変えてください。");
        break;
    case FailureKind::ReadOnly:
        text = QStringLiteral("ソラメモ.mdb に書き込めません。\r\n"
                              "ソラメモ.mdb とそのフォルダが読み取り専用になっていないか確認してください。");
        break;
    case FailureKind::Busy:
        text = QStringLiteral("ソラメモ.mdb は他のプログラムが使用中です。\r\n"
                              "しばらく待ってから、もう一度操作してください。");
        break;
    case FailureKind::Other:
        text = QStringLiteral("ソラメモ.mdb を読み書きできませんでした。\r\n（%1）").arg(error.message());
        break;
    }
    if (wrote)
        text += QStringLiteral("\r\n今までの記録は変更されていません。");
    return text;
}

} // namespace store
