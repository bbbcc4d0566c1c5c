#include "main_window.h"
#include "connection/ftp/ftp_transfer_control.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvexo"));
    auto *window = new corvexo::Form1(new corvexo::FtpTransferControl);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return app.exec();
}
