#pragma once
// A main window on a scripted transfer control for the edit tests, with the
// message boxes answered and recorded.

#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "remote_ops/name_dialog.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidgetItem>
#include <QToolBar>

#include <memory>

namespace corvexo::testing {

class EditWindow {
public:
    EditWindow()
    {
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            messages << request;
            return request.yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
        });
        inet = new ScriptedTransferControl;
        window = std::make_unique<Form1>(inet);
    }
    ~EditWindow()
    {
        window.reset();
        setMessageBoxAnswerer({});
    }

    // The ready state after a listing: connected, commands on, the lists filled.
    void connectedWith(const QStringList &remote, const QStringList &local = {})
    {
        window->Connected = true;
        window->EItem();
        fill(window->ListView2, remote);
        fill(window->ListView1, local);
    }

    static void fill(FileListWidget *list, const QStringList &texts)
    {
        list->clear();
        for (const QString &t : texts) list->addItem(t);
    }

    // Makes the remote entry current and highlighted, as a click would.
    void selectRemote(const QString &text)
    {
        const auto found = window->ListView2->findItems(text, Qt::MatchExactly);
        Q_ASSERT(!found.isEmpty());
        window->ListView2->setCurrentItem(found.first());
        found.first()->setSelected(true);
    }

    Form3 *dialog() const { return window->form3; }

    // UpL DownL CupD Refr FrDRname FMkD Fdelete button5 button6, 1 = enabled.
    QString availability() const
    {
        QString out;
        for (QAction *a : {window->UpL, window->DownL, window->CupD, window->Refr, window->FrDRname,
                           window->FMkD, window->Fdelete, window->toolbarButton(5), window->toolbarButton(6)})
            out += a->isEnabled() ? u'1' : u'0';
        return out;
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const auto &m : messages) out << m.text;
        return out;
    }

    ScriptedTransferControl *inet = nullptr;
    std::unique_ptr<Form1> window;
    QList<MessageBoxRequest> messages;

private:
    TestDataDir data_;
};

} // namespace corvexo::testing
