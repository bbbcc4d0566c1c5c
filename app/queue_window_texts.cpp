#include "queue_window_texts.h"

#include "strings/bilingual_text.h"

namespace corvexo {

namespace {

BilingualText pairOf(QueueWindowText which)
{
    using T = QueueWindowText;
    switch (which) {
    case T::TransfersTitle: return {u"Transfers", u"転送"};
    case T::ColumnDirection: return {u"Direction", u"方向"};
    case T::ColumnSource: return {u"From", u"転送元"};
    case T::ColumnTarget: return {u"To", u"転送先"};
    case T::ColumnSize: return {u"Size", u"サイズ"};
    case T::ColumnProgress: return {u"Progress", u"進行"};
    case T::ColumnSpeed: return {u"Speed", u"速度"};
    case T::ColumnState: return {u"State", u"状態"};
    case T::Download: return {u"download", u"ダウンロード"};
    case T::Upload: return {u"upload", u"アップロード"};
    case T::Delete: return {u"delete", u"削除"};
    case T::Stop: return {u"&Stop", u"停止(&S)"};
    case T::StopAll: return {u"Stop &all", u"すべて停止(&A)"};
    case T::RetryFailed: return {u"&Retry failed", u"失敗を再試行(&R)"};
    case T::ClearDone: return {u"&Clear done", u"完了を消去(&C)"};
    case T::RemoveSelected: return {u"Re&move", u"一覧から外す(&M)"};
    case T::OptionsTitle: return {u"Options", u"オプション"};
    case T::ParallelSessions: return {u"Parallel sessions:", u"同時接続数："};
    case T::ExistingTargets: return {u"When a target exists:", u"転送先が既にあるとき："};
    case T::ExistingAsk: return {u"Ask", u"確認する"};
    case T::ExistingOverwrite: return {u"Overwrite", u"上書きする"};
    case T::ExistingNewer: return {u"Overwrite if the source is newer", u"転送元が新しければ上書きする"};
    case T::ExistingResume: return {u"Resume when the target is shorter", u"転送先が短ければ続きから転送する"};
    case T::ExistingRename: return {u"Rename", u"名前を変える"};
    case T::ExistingSkip: return {u"Skip", u"スキップする"};
    case T::Ok: return {u"OK", u"OK"};
    case T::Cancel: return {u"Cancel", u"キャンセル"};
    case T::OptionsNotSaved:
        return {u"The options could not be saved to %1: %2", u"オプションを %1 に保存できませんでした：%2"};
    case T::MenuTransfers: return {u"&Transfers", u"転送(&T)"};
    case T::MenuOptions: return {u"&Options...", u"オプション(&O)..."};
    case T::ExistingQuestion: return {u"%1 exists already. What should be done?", u"%1 は既にあります。どうしますか？"};
    case T::ForTheRest: return {u"Do the same for the rest of this queue", u"このキューの残りにも同じようにする"};
    }
    return {u"", u""};
}

} // namespace

QString queueWindowText(QueueWindowText which)
{
    return pairOf(which).inUiLanguage();
}

} // namespace corvexo
