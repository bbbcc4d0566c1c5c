#include "passphrase_prompt.h"

#include "app/message_box.h"
#include "app/strings/string_table.h"

#include <QDir>
#include <QInputDialog>

namespace corvexo {

namespace {

PassphraseAnswerer &answerer()
{
    static PassphraseAnswerer instance;
    return instance;
}

} // namespace

QString passphraseQuestionText(const QString &keyPath)
{
    const bool japanese = uiLanguage() == UiLanguage::Japanese;
    return (japanese ? QStringLiteral("鍵 %1 のパスフレーズを入力してください（保存はされません）。")
                     : QStringLiteral("Enter the passphrase of the key %1 (it is not stored)."))
        .arg(QDir::toNativeSeparators(keyPath));
}

std::optional<QString> askPassphrase(QWidget *parent, const QString &keyPath)
{
    const QString text = passphraseQuestionText(keyPath);
    if (answerer()) return answerer()(text);
    bool given = false;
    const QString passphrase =
        QInputDialog::getText(parent, kApplicationTitle, text, QLineEdit::Password, QString(), &given);
    return given ? std::optional<QString>(passphrase) : std::nullopt;
}

void setPassphraseAnswerer(PassphraseAnswerer newAnswerer)
{
    answerer() = std::move(newAnswerer);
}

} // namespace corvexo
