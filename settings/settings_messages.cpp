#include "settings_messages.h"
#include "app/strings/string_table.h"
#include "files/file_messages.h"

namespace corvexo {

namespace {

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

QString lineList(const QVector<int> &numbers)
{
    QStringList texts;
    for (int n : numbers) texts.append(QString::number(n));
    return texts.join(QStringLiteral(", "));
}

} // namespace

QString isFolderReason()
{
    return japanese() ? QStringLiteral("フォルダです") : QStringLiteral("it is a folder");
}

QString fileInUseReason()
{
    return japanese() ? QStringLiteral("もう一つの Corvexo が書き換えています。もう一度お試しください")
                      : QStringLiteral("another Corvexo is changing it; please try again");
}

QString lineTooLongReason(qsizetype maxBytes)
{
    if (japanese()) return QStringLiteral("どの設定よりも長い行があります：%1 バイトを超えています").arg(maxBytes);
    return QStringLiteral("a line is longer than any setting can be: over %1 bytes").arg(maxBytes);
}

QString fileTooLargeReason(qsizetype maxBytes)
{
    if (japanese()) return QStringLiteral("どの設定ファイルよりも大きいです：%1 バイトを超えています").arg(maxBytes);
    return QStringLiteral("it is larger than any settings file can be: over %1 bytes").arg(maxBytes);
}

QString cannotReadMessage(const QString &fileName, const QString &path, const QString &reason)
{
    if (japanese())
        return QStringLiteral("\"%1\" を読み込めませんでした（%2）。\r\n%3").arg(fileName, reason, path);
    return QStringLiteral("Could not read \"%1\" (%2).\r\n%3").arg(fileName, reason, path);
}

QString cannotWriteMessage(const QString &fileName, const QString &path, const QString &reason)
{
    return fileNotSavedMessage(fileName, path, reason);
}

QString badLinesMessage(const QString &fileName, const QVector<int> &lineNumbers)
{
    if (japanese())
        return QStringLiteral("\"%1\" の %2 行目は五つの項目を持たないため読み飛ばしました。ファイルは変更されていません。")
            .arg(fileName, lineList(lineNumbers));
    return QStringLiteral("Line(s) %2 of \"%1\" do not hold five fields and were skipped. "
                          "The file was left as it is.")
        .arg(fileName, lineList(lineNumbers));
}

QString tooManyRecordsMessage(const QString &fileName, int recordsRead, int recordsLeft)
{
    if (japanese())
        return QStringLiteral("\"%1\" には設定が多すぎます。最初の %2 個だけを読み込み、残りの %3 個は読み込みませんでした。ファイルは変更されていません。")
            .arg(fileName).arg(recordsRead).arg(recordsLeft);
    return QStringLiteral("\"%1\" holds too many settings: only the first %2 were read, %3 were not. "
                          "The file was left as it is.")
        .arg(fileName).arg(recordsRead).arg(recordsLeft);
}

QString listNotRewrittenMessage(const QString &fileName)
{
    if (japanese())
        return QStringLiteral("\"%1\" は全部を読み込めなかったため、書き換えません。ファイルを直すか削除してください。")
            .arg(fileName);
    return QStringLiteral("\"%1\" could not be read in full, so it is not rewritten. "
                          "Please correct or delete the file.")
        .arg(fileName);
}

QString badDefaultMessage(const QString &fileName)
{
    if (japanese())
        return QStringLiteral("\"%1\" は五つの項目を持つ行を含まないため読み込みませんでした。ファイルは変更されていません。")
            .arg(fileName);
    return QStringLiteral("\"%1\" does not hold a line of five fields and was not read. "
                          "The file was left as it is.")
        .arg(fileName);
}

QString quoteNotSavedMessage(const QString &fileName)
{
    if (japanese())
        return QStringLiteral("ダブルクォーテーション（\"）または改行を含む値は \"%1\" に保存できません。何も保存されていません。")
            .arg(fileName);
    return QStringLiteral("A value with a double quote (\") or a line break cannot be saved in \"%1\". Nothing was saved.")
        .arg(fileName);
}

QString doubleQuoteProblem(const QStringList &fieldNames)
{
    if (japanese())
        return QStringLiteral("ダブルクォーテーション（\"）と改行は保存できません。次の項目から削除してください：%1")
            .arg(fieldNames.join(QStringLiteral("、")));
    return QStringLiteral("A double quote (\") or a line break cannot be saved. Please remove it from: %1.")
        .arg(fieldNames.join(QStringLiteral(", ")));
}

QString portRangeProblem(const QString &typed)
{
    if (japanese())
        return QStringLiteral("ポート \"%1\" は使えません。1 から 65535 までの数字を入力してください。").arg(typed);
    return QStringLiteral("The port \"%1\" cannot be used. Please enter a number from 1 to 65535.").arg(typed);
}

QString hostProblem(const QString &typed)
{
    const QString forms = QStringLiteral("ftp.example.org, 192.0.2.10, [2001:db8::10], ftp://ftp.example.org:2121, "
                                         "ftpes://ftp.example.org, ftps://ftp.example.org, sftp://ftp.example.org");
    if (japanese()) {
        const QString ask = QStringLiteral("ホスト名かアドレスを入力してください。例: ") + forms;
        return typed.isEmpty() ? ask : QStringLiteral("ホストアドレス \"%1\" は使えません。").arg(typed) + ask;
    }
    const QString ask = QStringLiteral("Please enter a host name or address, for example: ") + forms;
    return typed.isEmpty() ? ask : QStringLiteral("The host address \"%1\" cannot be used. ").arg(typed) + ask;
}

} // namespace corvexo
