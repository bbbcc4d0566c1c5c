#pragma once
// A main window for one test: its own data folder, a fresh settings store,
// every message box recorded and answered from a script, and a scripted or a
// real transfer control.

#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QListWidget>
#include <QStringList>

#include <memory>

namespace corvexo::testing {

class FtpTestServer;

// Forgets every setting held in memory and closes the settings window.
void resetSettingsStore();
// Types a setting into the settings window's fields.
void typeSetting(Form2 *w, const QString &host, const QString &password, const QString &user,
                 const QString &port, const QString &name);

class WindowFixture {
public:
    enum class Start { Now, Later };
    explicit WindowFixture(Start when = Start::Now);
    ~WindowFixture();

    // Creates the window (after the test has written its data files); a null
    // control means a scripted one, reachable as inet.
    Form1 &start(TransferControl *control = nullptr);

    TestDataDir data;
    ScriptedTransferControl *inet = nullptr;
    std::unique_ptr<Form1> window;
    QList<MessageBoxRequest> boxes;  // every box shown, in order
    QList<bool> answers;             // Yes (true) or No for the next questions; No once used up
    QStringList texts() const;       // the boxes' texts

    static void useSetting(const QString &host, const QString &password, const QString &user,
                           const QString &port, const QString &name = QStringLiteral("test"));
    void useServer(const FtpTestServer &server);
    // Scripted: connects (to ftp.test when no host is set) and lets the control log in and answer the listing.
    void connectWithListing(const QByteArray &listing);
    // Real: waits until nothing runs and the last listing is shown, or the connection ended.
    bool settle(int timeoutMs = 30000);

    static QStringList entries(const QListWidget *list);
    static QStringList entries(const FileListWidget *list);
    QStringList remoteEntries() const { return entries(window->ListView2); }
    void select(FileListWidget *list, const QString &text);  // current and highlighted, no events
    void click(FileListWidget *list, const QString &text, Qt::MouseButton button = Qt::LeftButton);
    static void dropOn(FileListWidget *list);
    // UpL DownL CupD Refr FrDRname FMkD Fdelete button5 button6, 1 = enabled.
    QString availability() const;
};

} // namespace corvexo::testing
