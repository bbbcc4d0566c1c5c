#pragma once
// A main window on a scripted transfer control, with its own data folder and
// every message box recorded instead of shown.

#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "local/file_icons.h"
#include "settings/settings_store.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QListWidgetItem>
#include <QStringList>

#include <memory>

namespace corvexo::testing {

struct WindowFixture {
    TestDataDir data;
    ScriptedTransferControl *inet = new ScriptedTransferControl;
    std::unique_ptr<Form1> window;
    QList<MessageBoxRequest> boxes;
    MessageBoxAnswer answer = MessageBoxAnswer::Ok;

    WindowFixture()
    {
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            boxes << request;
            return request.yesNo ? answer : MessageBoxAnswer::Ok;
        });
        CurrentSetting = {};
        window = std::make_unique<Form1>(inet);
        useSetting(QStringLiteral("ftp.test"), QStringLiteral("pw"), QStringLiteral("joe"), QString());
    }
    ~WindowFixture()
    {
        window.reset();
        setMessageBoxAnswerer({});
        CurrentSetting = {};
    }

    static void useSetting(const QString &host, const QString &password, const QString &user, const QString &port)
    {
        CurrentSetting[1] = host;
        CurrentSetting[2] = password;
        CurrentSetting[3] = user;
        CurrentSetting[4] = port;
        CurrentSetting[5] = QStringLiteral("test");
    }

    // Connects and lets the control log in and answer "dir " with the listing.
    void connectWithListing(const QByteArray &listing)
    {
        window->Connect();
        inet->report({1, 2, 3, 4});
        inet->completeWithAnswer(listing);
    }

    QStringList remoteEntries() const
    {
        QStringList texts;
        for (int i = 0; i < window->ListView2->count(); ++i) texts << window->ListView2->item(i)->text();
        return texts;
    }
    QList<int> remoteImages() const
    {
        QList<int> images;
        for (int i = 0; i < window->ListView2->count(); ++i)
            images << window->ListView2->item(i)->data(kImageNumberRole).toInt();
        return images;
    }
    void selectRemote(const QString &entryText)
    {
        const auto found = window->ListView2->findItems(entryText, Qt::MatchExactly);
        if (found.isEmpty()) return;
        window->ListView2->setCurrentItem(found.first());
        found.first()->setSelected(true);
    }
    QString caption() const { return window->windowTitle(); }
    QString status() const { return window->statusText(); }
};

} // namespace corvexo::testing
