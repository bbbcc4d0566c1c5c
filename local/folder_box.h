#pragma once
// Dir1, the folder box: the current folder's path with its ancestors above
// and its subfolders below, like a classic folder tree box. Its path is the
// folder shown; choosing an entry moves there.

#include <QListWidget>

namespace corvexo {

class FolderBox : public QListWidget {
    Q_OBJECT
public:
    explicit FolderBox(QWidget *parent = nullptr);

    QString path() const { return path_; }
    // Moves to a folder that can be read and emits changed(); false (and nothing
    // changes) otherwise.
    bool setPath(const QString &path);

signals:
    void changed();
    // An entry was chosen whose folder cannot be shown; the box stayed where it was.
    void pathRefused(const QString &path);

private:
    void rebuild();
    QString path_;
};

} // namespace corvexo
