#include "FailureText.h"

#include "Texts.h"

namespace drill {

namespace {

const QString kTryAgain = QStringLiteral("もう一度操作してください。");
const QString kStartAgain = QStringLiteral("このＡＰを起動し直してください。");

// What went wrong and how to put it right, for the causes the learner can put right; `again` ends the text: what to
// do once the cause is gone.
QString remedyText(store::FailureKind kind, const QString& again)
{
    switch (kind) {
    case store::FailureKind::FileMissing:
        return QStringLiteral("ソラメモ.mdb が見つかりません。") + texts::kLineBreak +
               QStringLiteral("このＡＰと同じフォルダに ソラメモ.mdb を戻してから、") + again;
    case store::FailureKind::ReadOnly:
        return QStringLiteral("ソラメモ.mdb が読み取り専用になっているため、記録を書き込めません。") +
               texts::kLineBreak + QStringLiteral("ソラメモ.mdb の読み取り専用の設定を外してから、") + again;
    case store::FailureKind::FolderReadOnly:
        return QStringLiteral("ソラメモ.mdb のあるフォルダに書き込めないため、記録を保存できません。") +
               texts::kLineBreak +
               QStringLiteral("このＡＰと ソラメモ.mdb を書き込みできるフォルダに移してから、起動し直してください。");
    case store::FailureKind::Busy:
        return QStringLiteral("ソラメモ.mdb を他のプログラムが使用中のため、読み書きできません。") + texts::kLineBreak +
               QStringLiteral("ソラメモ.mdb を使っている他のプログラムを終了してから、") + again;
    case store::FailureKind::DiskFull:
        return QStringLiteral("ディスクの空きが足りないため、記録を書き込めません。") + texts::kLineBreak +
               QStringLiteral("不要なファイルを削除して空きを作ってから、") + again;
    case store::FailureKind::NotADatabase:
    case store::FailureKind::SchemaMissing:
    case store::FailureKind::NullField:
    case store::FailureKind::Other:
        break;
    }
    return {};
}

} // namespace

QString damagedFileMessage()
{
    return QStringLiteral("この　ソラメモ.mdb　は壊れています。　再度ダウンロードしてください");
}

QString failureMessage(const store::StoreError& error, bool wrote)
{
    QString text = remedyText(error.kind(), kTryAgain);
    if (text.isEmpty()) {
        switch (error.kind()) {
        case store::FailureKind::NullField:
            text = QStringLiteral("この問題のデータが壊れているため、表示できません。") + texts::kLineBreak +
                   QStringLiteral("メニュー画面に戻り、範囲を変えてください。");
            break;
        case store::FailureKind::Other:
            text = QStringLiteral("ソラメモ.mdb の読み書き中に問題が起きました。") + texts::kLineBreak +
                   QStringLiteral("（%1）").arg(error.message());
            break;
        default:
            text = damagedFileMessage();
            break;
        }
    }
    if (wrote)
        text += texts::kLineBreak + QStringLiteral("今までの記録は変更されていません。");
    return text;
}

QString undoFailureMessage(const store::StoreError& error)
{
    const QString again = QStringLiteral("もう一度 Ctrl+Z キーを押してください。");
    QString text = remedyText(error.kind(), again);
    if (text.isEmpty())
        text = failureMessage(error, false) + texts::kLineBreak + QStringLiteral("原因を取り除いてから、") + again;
    return QStringLiteral("解答を取り消せませんでした。この問題は解答済みとして記録されたままです。") +
           texts::kLineBreak + text;
}

QString startFailureMessage(const store::StoreError& error)
{
    const QString remedy = remedyText(error.kind(), kStartAgain);
    return remedy.isEmpty() ? damagedFileMessage() : remedy;
}

} // namespace drill
