#include "file_icons.h"

#include "app/file_list_widget.h"
#include "app/image_list.h"
#include "app/main_window.h"

#include "local/local_paths.h"

#include <QFileInfo>

#include <utility>

namespace corvexo {

namespace {

using ExtensionRow = std::pair<const char16_t *, int>;

// Tested top to bottom; the first equal row wins.
constexpr ExtensionRow kLocalTable[] = {
    {u".txt", Image::Text},    {u".TXT", Image::Text},    {u".bmp", Image::Picture},
    {u".BMP", Image::Picture}, {u".GIF", Image::Picture}, {u".gif", Image::Picture},
    {u".jpg", Image::Picture}, {u".JPG", Image::Picture}, {u".ocx", Image::ControlFile},
    {u".OCX", Image::ControlFile}, {u".htm", Image::WebPage}, {u".HTM", Image::WebPage},
    {u"html", Image::WebPage}, {u"HTML", Image::WebPage}, {u".mid", Image::Sound},
    {u".mp3", Image::Sound},   {u".wav", Image::Sound},
};

constexpr ExtensionRow kRemoteTable[] = {
    {u".txt", Image::Text},    {u".bmp", Image::Picture}, {u".gif", Image::Picture},
    {u".jpg", Image::Picture}, {u".ocx", Image::ControlFile}, {u".htm", Image::WebPage},
    {u"html", Image::WebPage}, {u".mid", Image::Sound},   {u".mp3", Image::Sound},
    {u".wav", Image::Sound},
};

template <std::size_t N>
int imageByLastFour(const QString &name, const ExtensionRow (&table)[N])
{
    if (name.size() < 4) return Image::OtherFile;
    const QString lastFour = name.right(4);
    for (const auto &[extension, image] : table) {
        if (lastFour == QStringView(extension)) return image;
    }
    return Image::OtherFile;
}

} // namespace

int localImageFor(const QString &fileName)
{
    return imageByLastFour(fileName, kLocalTable);
}

int remoteImageFor(const QString &entry)
{
    if (entry.endsWith(u'/')) return Image::Folder;
    return imageByLastFour(entry, kRemoteTable);
}

void Form1::ITYPE()
{
    // A name already listed (an older file replaced) shows its new size and time in its row.
    ListView1->putEntry(localListEntry(QFileInfo(localFilePath(File1Path, LFileName))));
}

FileListEntry localListEntry(const QFileInfo &file)
{
    const QString name = file.fileName();
    if (!file.exists()) return {name, localImageFor(name)};
    return {name, localImageFor(name), file.size(), file.lastModified()};
}

} // namespace corvexo
