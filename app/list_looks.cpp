#include "list_looks.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace corvexo {

namespace {

// Widths beyond this are taken for a damaged file, not a choice.
constexpr int kWidestColumn = 2000;

int widthFrom(const QVariant &value)
{
    bool ok = false;
    const int width = value.toInt(&ok);
    return ok && width > 0 && width <= kWidestColumn ? width : 0;
}

} // namespace

QString listLooksFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("lists.ini"));
}

FileListLook readListLook(const QString &listName)
{
    QSettings file(listLooksFilePath(), QSettings::IniFormat);
    file.beginGroup(listName);
    FileListLook look;
    look.sizeWidth = widthFrom(file.value(QStringLiteral("sizeWidth")));
    look.modifiedWidth = widthFrom(file.value(QStringLiteral("modifiedWidth")));
    bool ok = false;
    const int column = file.value(QStringLiteral("sortColumn"), -1).toInt(&ok);
    look.sortColumn = ok && column >= 0 && column < FileListColumnCount ? column : -1;
    look.sortOrder = file.value(QStringLiteral("descending")).toBool() ? Qt::DescendingOrder : Qt::AscendingOrder;
    return look;
}

void writeListLook(const QString &listName, const FileListLook &look)
{
    QDir().mkpath(QFileInfo(listLooksFilePath()).absolutePath());
    QSettings file(listLooksFilePath(), QSettings::IniFormat);
    file.beginGroup(listName);
    file.setValue(QStringLiteral("sizeWidth"), look.sizeWidth);
    file.setValue(QStringLiteral("modifiedWidth"), look.modifiedWidth);
    file.setValue(QStringLiteral("sortColumn"), look.sortColumn);
    file.setValue(QStringLiteral("descending"), look.sortOrder == Qt::DescendingOrder);
}

} // namespace corvexo
