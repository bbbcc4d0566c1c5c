#pragma once
// The rows of the local list for one folder: its ordinary files by name (as
// the hidden file box lists them), each with its picture, size and time. A
// folder of many files is read a slice at a time.

#include "app/file_list_model.h"

#include <QStringList>

namespace corvexo {

class LocalFolderRows : public FileListSource {
public:
    explicit LocalFolderRows(QString folder);
    bool work(const QDeadlineTimer &deadline) override;
    QList<FileListEntry> takeRows() override { return std::move(rows_); }

private:
    QString folder_;
    bool listed_ = false;
    QStringList names_;
    QList<FileListEntry> rows_;
};

} // namespace corvexo
