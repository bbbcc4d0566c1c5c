// What rename, folder creation and deletion decide for each state of the remote side.

#include "remote_ops/edit_command_plan.h"

#include <QtTest>

using namespace corvexo;

namespace {

RemoteEditContext ready(const QString &entry, int entries = 3)
{
    return {true, false, entries, entry};
}

QString describe(const EditPlan &plan)
{
    switch (plan.outcome) {
    case EditPlan::Outcome::Send: return QStringLiteral("send ") + plan.command.text();
    case EditPlan::Outcome::Refuse: return QStringLiteral("refuse %1").arg(plan.message);
    case EditPlan::Outcome::NeedName: return QStringLiteral("need name");
    case EditPlan::Outcome::Ignore: return QStringLiteral("ignore");
    }
    return {};
}

} // namespace

class EditCommandPlanTest : public QObject {
    Q_OBJECT
private slots:
    void deletion_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file") << true << false << 3 << "a.txt" << "send delete a.txt";
        QTest::newRow("folder keeps its slash") << true << false << 3 << "pub/" << "send rmdir pub/";
        QTest::newRow("name with blanks") << true << false << 3 << "my file.txt" << "send delete my file.txt";
        QTest::newRow("parent") << true << false << 3 << "../" << "refuse 137";
        QTest::newRow("self") << true << false << 3 << "./" << "refuse 137";
        QTest::newRow("empty entry") << true << false << 3 << "" << "refuse 138";
        QTest::newRow("empty list") << true << false << 0 << "" << "refuse 138";
        QTest::newRow("busy") << true << true << 3 << "a.txt" << "refuse 145";
        QTest::newRow("not connected") << false << false << 3 << "a.txt" << "refuse 176";
    }
    void deletion()
    {
        QFETCH(bool, connected);
        QFETCH(bool, busy);
        QFETCH(int, entries);
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QCOMPARE(describe(planDelete({connected, busy, entries, entry})), expected);
    }

    void rename_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("file") << true << false << 3 << "a.txt" << "b.txt" << "send RENAME a.txt b.txt";
        QTest::newRow("folder") << true << false << 3 << "pub/" << "public" << "send RENAME pub/ public";
        QTest::newRow("blanks as typed") << true << false << 3 << "a.txt" << "my file.txt" << "send RENAME a.txt my file.txt";
        QTest::newRow("empty name") << true << false << 3 << "a.txt" << "" << "need name";
        QTest::newRow("empty entry") << true << false << 3 << "" << "b" << "ignore";
        QTest::newRow("empty list") << true << false << 0 << "" << "b" << "refuse 138";
        QTest::newRow("parent") << true << false << 3 << "../" << "b" << "refuse 137";
        QTest::newRow("busy") << true << true << 3 << "a.txt" << "b" << "refuse 145";
        QTest::newRow("not connected") << false << false << 0 << "" << "b" << "refuse 176";
    }
    void rename()
    {
        QFETCH(bool, connected);
        QFETCH(bool, busy);
        QFETCH(int, entries);
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(describe(planRename({connected, busy, entries, entry}, name)), expected);
    }

    void folderCreation()
    {
        QCOMPARE(describe(planMakeDir(ready("a.txt"), QStringLiteral("new"))), QStringLiteral("send mkdir new"));
        QCOMPARE(describe(planMakeDir(ready({}, 0), QStringLiteral("new dir"))), QStringLiteral("send mkdir new dir"));
        QCOMPARE(describe(planMakeDir(ready("a.txt"), {})), QStringLiteral("need name"));
        QCOMPARE(describe(planMakeDir({true, true, 3, {}}, QStringLiteral("new"))), QStringLiteral("refuse 145"));
        QCOMPARE(describe(planMakeDir({false, false, 3, {}}, QStringLiteral("new"))), QStringLiteral("refuse 176"));
    }

    void operandsTravelWhole()
    {
        const EditPlan plan = planRename(ready("a b.txt"), QStringLiteral("c d.txt"));
        QCOMPARE(plan.command.operands, (QStringList{QStringLiteral("a b.txt"), QStringLiteral("c d.txt")}));
        QCOMPARE(plan.command.verb, TransferCommand::Verb::Rename);
    }
};

QTEST_GUILESS_MAIN(EditCommandPlanTest)
#include "tst_edit_command_plan.moc"
