#include "main_window.h"
#include "data_files.h"
#include "qt_translations.h"
#include "stall_log.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "files/file_writing.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    corvexo::ignoreFileSizeSignal();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvexo"));
    QApplication::setDesktopFileName(QStringLiteral("corvexo"));
    corvexo::installQtTranslations(&app, corvexo::uiLanguage());
    QApplication::setWindowIcon(QIcon(corvexo::resourceFilePath(QStringLiteral("corvexo-app.png"))));
    auto *window = new corvexo::Form1(new corvexo::FtpTransferControl);
    window->setAttribute(Qt::WA_DeleteOnClose);
    corvexo::startStallLogIfAsked(window);
    window->show();
    return app.exec();
}
