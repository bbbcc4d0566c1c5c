#include "queue_messages.h"

#include "app/strings/bilingual_text.h"

namespace corvexo::queue {

namespace {

BilingualText pairOf(QueueText which)
{
    switch (which) {
    case QueueText::TargetExists: return {u"the target exists", u"転送先が既にあります"};
    case QueueText::AlreadyWhole: return {u"the target is already whole", u"転送先は既に完全です"};
    case QueueText::LinkNotFollowed: return {u"a link to a folder is not followed", u"フォルダへのリンクはたどりません"};
    case QueueText::TooDeep: return {u"folders nested too deep", u"フォルダの階層が深すぎます"};
    case QueueText::SizeDiffers:
        return {u"%1 bytes arrived, %2 expected", u"%2 バイトのはずが %1 バイトでした"};
    case QueueText::CannotPutInPlace:
        return {u"the finished file could not take its name: %1", u"完成したファイルの名前を変えられませんでした：%1"};
    case QueueText::CannotMakeFolder: return {u"cannot make the folder %1", u"フォルダ %1 を作成できませんでした"};
    case QueueText::Stopped: return {u"stopped", u"停止しました"};
    case QueueText::RetryingIn: return {u"again in %1 s: %2", u"%1 秒後に再試行：%2"};
    }
    return {u"", u""};
}

} // namespace

QString queueText(QueueText which)
{
    return pairOf(which).inUiLanguage();
}

QString stateText(ItemState state)
{
    const bool ja = uiLanguage() == UiLanguage::Japanese;
    switch (state) {
    case ItemState::Waiting: return ja ? QStringLiteral("待機中") : QStringLiteral("waiting");
    case ItemState::Running: return ja ? QStringLiteral("転送中") : QStringLiteral("running");
    case ItemState::Done: return ja ? QStringLiteral("完了") : QStringLiteral("done");
    case ItemState::Skipped: return ja ? QStringLiteral("スキップ") : QStringLiteral("skipped");
    case ItemState::Failed: return ja ? QStringLiteral("失敗") : QStringLiteral("failed");
    }
    return {};
}

} // namespace corvexo::queue
