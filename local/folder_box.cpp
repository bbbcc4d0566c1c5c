#include "folder_box.h"

#include "local_paths.h"

#include <QDir>
#include <QFileInfo>

namespace corvexo {

FolderBox::FolderBox(QWidget *parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        const QString folder = item->data(Qt::UserRole).toString();
        if (!setPath(folder)) emit pathRefused(folder);
    });
}

bool FolderBox::setPath(const QString &path)
{
    if (checkFolder(path) != FolderCheck::Usable) return false;
    path_ = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    rebuild();
    emit changed();
    return true;
}

void FolderBox::rebuild()
{
    clear();
    QStringList ancestors;
    for (QDir dir(path_);; ) {
        ancestors.prepend(dir.absolutePath());
        if (!dir.cdUp()) break;
    }
    int depth = 0;
    for (const QString &folder : ancestors) {
        const QString name = folder == QLatin1String("/") ? folder : QFileInfo(folder).fileName();
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, this);
        item->setData(Qt::UserRole, folder);
        ++depth;
    }
    setCurrentRow(count() - 1);
    const QStringList subfolders =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, this);
        item->setData(Qt::UserRole, QDir(path_).filePath(name));
    }
}

} // namespace corvexo
