// Listings as real servers send them: the line forms, links, data split
// anywhere, the order shown, and names in the Japanese legacy charsets.

#include "connection/ftp/ftp_charset.h"
#include "connection/ftp/ftp_listing.h"
#include "connection/ftp/ftp_listing_order.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_run.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <sys/stat.h>

using namespace corvexo;
using namespace corvexo::ftp;
using namespace corvexo::testing;

namespace {

using Kind = ParsedEntry::Kind;

QString kindText(Kind kind) { return kind == Kind::Folder ? "folder" : kind == Kind::Link ? "link" : "file"; }

QString entriesOf(const FtpListingParser &parser)
{
    QStringList parts;
    for (const ParsedEntry &e : parser.entries())
        parts << QString::fromUtf8(parser.name(e)) + "|" + kindText(e.kind) + "|" + QString::number(e.size);
    return parts.join(", ");
}

} // namespace

class ListingFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void lines_data()
    {
        QTest::addColumn<bool>("mlsd");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("expected");   // name|kind|size, "" for an unreadable line, "-" for one passed over
        QTest::addColumn<QString>("modified");   // UTC, "" for none
        auto row = [](const char *tag, bool mlsd, const char *line, const QString &expected, const char *time = "") {
            QTest::newRow(tag) << mlsd << QByteArray(line) << expected << QString(time);
        };
        row("unix", false, "-rw-r--r-- 1 u g 1234 Feb 14  2024 a b.txt", "a b.txt|file|1234", "2024-02-14T00:00:00");
        row("unix double blanks", false, "-rw-r--r--   1 o g  1234 Dec 06 22:30 name with  blanks.txt",
            "name with  blanks.txt|file|1234", "2023-12-06T22:30:00");
        row("unix no group", false, "drwxr-xr-x 2 ftp 4096 Jan 1 12:00 no group", "no group|folder|4096", "2024-01-01T12:00:00");
        row("unix long-iso", false, "-rw-r--r-- 1 u g 5 2024-02-14 10:30 iso.txt", "iso.txt|file|5", "2024-02-14T10:30:00");
        row("unix full-iso", false, "drwxr-xr-x 2 u g 4096 2024-02-14 10:30:59.123456789 +0900 d", "d|folder|4096",
            "2024-02-14T10:30:59");
        row("unix japanese month", false, "-rw-r--r-- 1 u g 7  3月 14  2023 月報.txt", "月報.txt|file|7",
            "2023-03-14T00:00:00");
        row("unix japanese day and year", false, "-rw-r--r-- 1 u g 7 3月 14日 2023年 x", "x|file|7", "2023-03-14T00:00:00");
        row("unix german month", false, "-rw-r--r-- 1 u g 9 Mär 14 2023 de.txt", "de.txt|file|9", "2023-03-14T00:00:00");
        row("netware", false, "d [RWCEAFMS] owner 512 Feb 14 2024 nw", "nw|folder|512", "2024-02-14T00:00:00");
        row("link without slash", false, "lrwxrwxrwx 1 u g 3 Feb 14 2024 ln -> sub", "ln|link|3", "2024-02-14T00:00:00");
        row("link with slash", false, "lrwxrwxrwx 1 u g 3 Feb 14 2024 ln -> /srv/sub/", "ln|folder|3",
            "2024-02-14T00:00:00");
        row("dos", false, "02-14-24  10:30PM                 1234 d.txt", "d.txt|file|1234", "2024-02-14T22:30:00");
        row("dos iso", false, "2024-02-14  10:30       <DIR>          iso dir", "iso dir|folder|-1", "2024-02-14T10:30:00");
        row("dos dotted", false, "14.02.2024  10:30  1.234 dotted.txt", "dotted.txt|file|1234", "2024-02-14T10:30:00");
        row("dos leading blanks", false, "02-14-2024  10:30AM       <DIR>            two", "  two|folder|-1", "2024-02-14T10:30:00");
        row("dos file leading blank", false, "02-14-24  12:05AM  17  f", " f|file|17", "2024-02-14T00:05:00");
        row("eplf file", false, "+r,s1234,m1707906600,\tepl.txt", "epl.txt|file|1234", "2024-02-14T10:30:00");
        row("eplf folder", false, "+i8388621.29609,m824255902,/,\tdev", "dev|folder|-1", "1996-02-13T23:58:22");
        row("vms file", false, "README.TXT;3   2/4   14-FEB-2024 10:30:00  [G,O]  (RWED,RWED,RE,)", "README.TXT;3|file|1024",
            "2024-02-14T10:30:00");
        row("vms folder", false, "SUB.DIR;1  1  14-FEB-2024 10:30:00 [G,O] (RWE,RWE,RE,E)", "SUB|folder|-1",
            "2024-02-14T10:30:00");
        row("unreadable", false, "this is no listing line", "");
        row("too long a name", false, QByteArray("-rw-r--r-- 1 u g 1 Feb 14 2024 " + QByteArray(4097, 'n')).constData(), "");
        row("mlsd", true, "type=file;size=5;modify=20240214103000; a;b.txt", "a;b.txt|file|5", "2024-02-14T10:30:00");
        row("mlsd folder", true, "Type=DIR;perm=el; my folder", "my folder|folder|-1");
        row("mlsd parent", true, "type=pdir; ..", "-");
        row("mlsd symlink", true, "type=OS.unix=symlink;size=3; ln", "ln|link|3");
        row("mlsd slink", true, "type=OS.unix=slink:/srv/sub;size=3; ln", "ln|link|3");
        row("mlsd without facts", true, "no facts", "");
    }

    void lines()
    {
        QFETCH(bool, mlsd);
        QFETCH(QByteArray, line);
        QFETCH(QString, expected);
        QFETCH(QString, modified);
        FtpListingParser parser(mlsd ? ListingFormat::Mlsd : ListingFormat::List,
                                QDateTime(QDate(2024, 6, 1), QTime(), Qt::UTC).toMSecsSinceEpoch());
        parser.feed(line + "\r\n");
        parser.finish();
        QCOMPARE(entriesOf(parser), expected == u"-" ? QString() : expected);
        QCOMPARE(parser.unreadable(), expected.isEmpty() ? 1 : 0);
        if (!expected.isEmpty() && expected != u"-") {
            const qint64 time = parser.entries().first().modified;
            QCOMPARE(time == ParsedEntry::NoTime ? QString()
                                                 : QDateTime::fromMSecsSinceEpoch(time, Qt::UTC).toString(Qt::ISODate).chopped(1),
                     modified);
        }
    }

    void streamedInAnyPieces()
    {
        const QByteArray listing = "total 3\r\n-rw-r--r-- 1 u g 5 Feb 14 2024 日本.txt\r\n"
                                   "drwxr-xr-x 2 u g 4096 Feb 14 2024 sub\r\n"
                                   "lrwxrwxrwx 1 u g 3 Feb 14 2024 to-sub -> sub\r\nLONG.NAME.TXT;1\r\n"
                                   "        2/4  14-FEB-2024 10:30:00 [G,O] (RWED,RWED,RE,)\r\ngarbage";
        FtpListingParser whole(ListingFormat::List);
        whole.feed(listing);
        whole.finish();
        QCOMPARE(entriesOf(whole), "日本.txt|file|5, sub|folder|4096, to-sub|link|3, LONG.NAME.TXT;1|file|1024");
        QCOMPARE(whole.unreadable(), 1);
        for (qsizetype cut = 1; cut < listing.size(); ++cut) {
            FtpListingParser pieces(ListingFormat::List);
            pieces.feed(listing.first(cut));
            for (qsizetype at = cut; at < listing.size(); at += 3) pieces.feed(listing.sliced(at, std::min<qsizetype>(3, listing.size() - at)));
            pieces.finish();
            QCOMPARE(entriesOf(pieces), entriesOf(whole));
            QCOMPARE(pieces.unreadable(), 1);
        }
        whole.resolveLinksFromListing();
        QCOMPARE(whole.entries()[2].kind, Kind::Folder);   // its target is the folder beside it
    }

    void shownFoldersFirstInNaturalOrder()
    {
        FtpListingParser parser(ListingFormat::Mlsd);
        parser.feed("type=file; file10\r\ntype=file; File3\r\ntype=file; file2\r\ntype=dir; dir b\r\n"
                    "type=file; かな.txt\r\ntype=file; あさ.txt\r\ntype=dir; Dir A\r\ntype=file; a1b01\r\ntype=file; a1b1\r\n");
        parser.finish();
        const FtpListing listing(parser, FtpCharset(), false);
        QCOMPARE(listing.text(), QByteArray("../\r\nDir A/\r\ndir b/\r\na1b1\r\na1b01\r\nfile2\r\nFile3\r\nfile10\r\n"
                                            "あさ.txt\r\nかな.txt"));
        const QList<RemoteEntry> entries = listing.remoteEntries();
        QCOMPARE(entries.size(), 9);
        QCOMPARE(entries.first().name, "Dir A");
        QVERIFY(entries.first().isFolder);
        QCOMPARE(entries.last().name, "かな.txt");
    }

    void keyedOrderSameAsPairwiseOrder()
    {
        // Case, digit runs with leading zeros and longer than any length byte, bytes beyond
        // ASCII inside names, and starts shared beyond a few bytes.
        const QList<QByteArray> pieces{"a", "B", "b", "_", ".", " ", "0", "00", "1", "01", "9", "10", "0010", "\xc3\xa9",
                                       "a start shared by many ", QByteArray(300, '7'), QByteArray(260, '0') + "5"};
        QRandomGenerator random(18);
        QList<QByteArray> bytes;
        for (int i = 0; i < 3000; ++i) {
            QByteArray name;
            for (int n = 1 + random.bounded(6); n > 0; --n) name += pieces[random.bounded(pieces.size())];
            bytes << (uchar(name[0]) >= 0x80 ? "z" + name : name);
        }
        QList<OrderedName> names;
        for (qsizetype i = 0; i < bytes.size(); ++i) names.append({bytes[i], i % 5 == 0});
        const QList<qsizetype> order = listingOrder(names);
        QList<OrderedName> expected = names;
        std::sort(expected.begin(), expected.end(), [](const OrderedName &a, const OrderedName &b) {
            return a.isFolder != b.isFolder ? a.isFolder : naturalCompare(a.utf8, b.utf8) < 0;
        });
        QCOMPARE(order.size(), names.size());
        for (qsizetype i = 0; i < order.size(); ++i) {
            QCOMPARE(names[order[i]].utf8.toByteArray(), expected[i].utf8.toByteArray());
            QCOMPARE(names[order[i]].isFolder, expected[i].isFolder);
        }
    }

    void legacyCharsetsRoundTrip()
    {
        // Bytes no charset reads, and a character that would encode to other bytes, come back as they were.
        // (Detection and decoding are seen through a real server below.)
        for (const QByteArray &raw : {QByteArray("a\xff\x82.txt"), QByteArray("\xed\x40"), QByteArray("\x93\xfa\x96\x7b\x8c\xea\x80")})
            for (auto kind : {FtpCharset::Kind::Utf8, FtpCharset::Kind::ShiftJis, FtpCharset::Kind::EucJp})
                QCOMPARE(FtpCharset(kind).encode(FtpCharset(kind).decode(raw)), raw);
    }

    void linkedFolderOverListAndPasvAddressIgnored()
    {
        FtpTestServer server;
        QVERIFY(server.writeFile("real dir/inner.txt", "in"));
        QVERIFY(server.writeFile("file.txt", "f"));
        QVERIFY(QFile::link(server.pathOf("real dir"), server.pathOf("linked dir")));
        QVERIFY(QFile::link(server.pathOf("file.txt"), server.pathOf("linked file")));
        QVERIFY(QFile::link(server.pathOf("real dir"), server.pathOf("zz")));   // no extension, but probed
        // PASV only, naming an address that leads nowhere: the control's own address is used.
        QVERIFY2(server.start({"--no-mlsd", "--no-epsv", "--masquerade", "10.255.255.1"}), qPrintable(server.errorText()));
        FtpTransferControl control;
        pointAt(control, server);
        const FtpRun list = runOn(control, TransferCommand::listing());
        QCOMPARE(list.states.last(), 12);
        QCOMPARE(list.answer, QByteArray("linked dir/\r\nreal dir/\r\nzz/\r\nfile.txt\r\nlinked file"));
        QCOMPARE(control.listedEntries().size(), 5);
        QCOMPARE(control.unreadableEntries(), 0);
        QCOMPARE(runOn(control, TransferCommand::changeDir("linked dir")).states.last(), 12);
        QCOMPARE(runOn(control, TransferCommand::listing()).answer, QByteArray("../\r\ninner.txt"));
    }

    void japaneseLegacyNames_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("folder");
        QTest::newRow("shift_jis") << QByteArray("\x93\xfa\x96\x7b.txt") << QByteArray("\x8e\x91\x97\xbf\xff");
        QTest::newRow("euc-jp") << QByteArray("\xc6\xfc\xcb\xdc.txt") << QByteArray("\xbb\xf1\xce\xc1\xff");
    }

    void japaneseLegacyNames()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, folder);
        FtpTestServer server;
        const QByteArray root = QFile::encodeName(server.root()) + "/";
        std::FILE *made = std::fopen(root + file, "wb");
        QVERIFY(made && std::fputs("japanese", made) >= 0 && std::fclose(made) == 0);
        QCOMPARE(::mkdir((root + folder).constData(), 0755), 0);
        QVERIFY2(server.start({"--legacy-bytes", "--idle-timeout", "1"}), qPrintable(server.errorText()));
        FtpTransferControl control;
        pointAt(control, server);
        const FtpRun list = runOn(control, TransferCommand::listing());
        // The folder's last byte reads in no charset: it shows as a private character and still goes back as it came.
        QCOMPARE(QString::fromUtf8(list.answer), QString("資料") + QChar(0xF7FF) + "/\r\n日本.txt");
        QTemporaryDir local;
        QCOMPARE(runOn(control, TransferCommand::get("日本.txt", local.filePath("got.txt"))).states.last(), 12);
        QCOMPARE(contentOf(local.filePath("got.txt")), QByteArray("japanese"));
        const FtpRun cd = runOn(control, TransferCommand::changeDir(QString("資料") + QChar(0xF7FF)));
        QCOMPARE(cd.states.last(), 12);
        QCOMPARE(runOn(control, TransferCommand::listing()).answer, QByteArray("../"));
        // After the server ended the idle session, the new one returns to that folder.
        QTest::qWait(2000);
        QCOMPARE(runOn(control, TransferCommand::listing()).answer, QByteArray("../"));
        // Names a QTemporaryDir cannot remove.
        QCOMPARE(std::remove(root + file) + ::rmdir(root + folder), 0);
    }
};

QTEST_GUILESS_MAIN(ListingFormatsTest)
#include "tst_listing_formats.moc"
