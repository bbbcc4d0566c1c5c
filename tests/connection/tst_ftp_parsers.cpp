// The pure parts of the FTP engine: the reply reader with its caps, the
// values in particular replies, and the listing parsers and text.

#include "connection/ftp/ftp_listing.h"
#include "connection/ftp/ftp_reply.h"
#include "connection/ftp/ftp_reply_fields.h"

#include <QTest>

using namespace corvexo::ftp;

namespace {

FtpReply reply(int code, QStringList lines) { return FtpReply{code, std::move(lines)}; }

QList<FtpReply> readAll(FtpReplyReader &reader)
{
    QList<FtpReply> replies;
    while (reader.hasReply()) replies << reader.takeReply();
    return replies;
}

} // namespace

class FtpParsersTest : public QObject {
    Q_OBJECT
private slots:
    void replyReaderJoinsPiecesAndMultiLineReplies()
    {
        FtpReplyReader reader;
        const QByteArray stream = "220 ready\r\n211-Features:\r\n MLST type*;\r\n211-not the end\r\n211 end\r\n200\r\n";
        for (char byte : stream) QVERIFY(reader.feed(QByteArray(1, byte)));   // split anywhere
        const QList<FtpReply> replies = readAll(reader);
        QCOMPARE(replies.size(), 3);
        QCOMPARE(replies[0].code, 220);
        QCOMPARE(replies[0].text(), QStringLiteral("ready"));
        QCOMPARE(replies[1].code, 211);
        QCOMPARE(replies[1].lines, QStringList({"Features:", " MLST type*;", "211-not the end", "end"}));
        QCOMPARE(replies[2].code, 200);
        QCOMPARE(replies[2].text(), QString());

        // Another code followed by a blank does not end a multi-line reply; bare LF ends lines.
        FtpReplyReader other;
        QVERIFY(other.feed("150-first\n226 inner\n150 last\n"));
        const QList<FtpReply> one = readAll(other);
        QCOMPARE(one.size(), 1);
        QCOMPARE(one[0].lines.size(), 3);
    }

    void replyReaderRefusesHostileOrBrokenStreams()
    {
        FtpReplyReader longLine;
        QVERIFY(!longLine.feed(QByteArray(FtpReplyReader::MaxLineBytes + 10, 'a')));
        QVERIFY(longLine.failed());
        QVERIFY(!longLine.feed("220 ok\r\n"));   // nothing more once broken

        FtpReplyReader endless;
        bool sound = endless.feed("230-start\r\n");
        for (int i = 0; sound && i < FtpReplyReader::MaxReplyLines + 5; ++i) sound = endless.feed("more text\r\n");
        QVERIFY(!sound);
        QVERIFY(!endless.hasReply());

        FtpReplyReader garbage;
        QVERIFY(!garbage.feed("hello\r\n"));
        FtpReplyReader noSeparator;
        QVERIFY(!noSeparator.feed("220xready\r\n"));
    }

    void valuesOfReplies()
    {
        QCOMPARE(folderOfPwdReply(reply(257, {"\"/\" is the current directory."})), QStringLiteral("/"));
        QCOMPARE(folderOfPwdReply(reply(257, {"\"/a \"\"b\"\" c\" here"})), QStringLiteral("/a \"b\" c"));
        QCOMPARE(folderOfPwdReply(reply(257, {"\"/unterminated"})), std::nullopt);
        QCOMPARE(folderOfPwdReply(reply(550, {"\"/\""})), std::nullopt);

        QCOMPARE(portOfEpsvReply(reply(229, {"Entering extended passive mode (|||40123|)."})), quint16(40123));
        QCOMPARE(portOfEpsvReply(reply(229, {"Entering extended passive mode (!!!21!)"})), quint16(21));
        QCOMPARE(portOfEpsvReply(reply(229, {"(|||99999|)"})), std::nullopt);
        QCOMPARE(portOfEpsvReply(reply(229, {"no port"})), std::nullopt);

        QCOMPARE(portOfPasvReply(reply(227, {"Entering passive mode (10,1,2,3,156,64)."})), quint16(156 * 256 + 64));
        QCOMPARE(portOfPasvReply(reply(227, {"=192,168,0,1,4,1"})), quint16(1025));
        QCOMPARE(portOfPasvReply(reply(227, {"(1,2,3,4,300,1)"})), std::nullopt);

        const QSet<QString> features = featuresOfFeatReply(reply(211, {"Features:", " EPSV", " mlst type*;size*;", " UTF8", "End"}));
        QCOMPARE(features, QSet<QString>({"EPSV", "MLST", "UTF8"}));
        QVERIFY(featuresOfFeatReply(reply(500, {"unknown"})).isEmpty());
    }

    void mlsdLinesKeepNamesWhole()
    {
        QCOMPARE(parseMlsdLine("type=file;size=5;modify=20260101000000; a b;c.txt"), (ListingEntry{"a b;c.txt", false}));
        QCOMPARE(parseMlsdLine("Type=DIR;perm=el; my folder"), (ListingEntry{"my folder", true}));
        QCOMPARE(parseMlsdLine(" no facts.txt"), (ListingEntry{"no facts.txt", false}));
        QCOMPARE(parseMlsdLine("type=cdir; /home/u"), std::nullopt);
        QCOMPARE(parseMlsdLine("type=pdir; .."), std::nullopt);
        QCOMPARE(parseMlsdLine("type=dir; ."), std::nullopt);
        QCOMPARE(parseMlsdLine("garbage"), std::nullopt);
    }

    void unixListLines()
    {
        QCOMPARE(parseUnixListLine("-rw-r--r--   1 owner group     1234 Dec 06 22:30 name with  blanks.txt"),
                 (ListingEntry{"name with  blanks.txt", false}));
        QCOMPARE(parseUnixListLine("drwxr-xr-x   2 0 0 4096 Jan  1  2020 pub"), (ListingEntry{"pub", true}));
        QCOMPARE(parseUnixListLine("drwxr-xr-x 2 ftp 4096 Jan 1 12:00 no group"), (ListingEntry{"no group", true}));
        QCOMPARE(parseUnixListLine("-rw-r--r-- 1 jan feb 10 Mar 10 10:10 Apr 1 12:00 odd"),
                 (ListingEntry{"Apr 1 12:00 odd", false}));
        QCOMPARE(parseUnixListLine("lrwxrwxrwx 1 u g 7 Feb 29 2024 latest -> releases/2.0"),
                 (ListingEntry{"latest", false}));
        QCOMPARE(parseUnixListLine("lrwxrwxrwx 1 u g 7 Feb 29 2024 up -> ../"), (ListingEntry{"up", true}));
        QCOMPARE(parseUnixListLine("-rw-r--r--+ 1 u g 0 Oct 31 08:05:59 acl.txt"), (ListingEntry{"acl.txt", false}));
        QCOMPARE(parseUnixListLine("total 48"), std::nullopt);
        QCOMPARE(parseUnixListLine("drwxr-xr-x 2 u g 4096 Jan 1 12:00 .."), std::nullopt);
        QCOMPARE(parseUnixListLine("-rw-r--r-- 1 u g 12 Jan 1 12:00"), std::nullopt);
    }

    void dosListLines()
    {
        QCOMPARE(parseDosListLine("12-06-26  10:30PM       <DIR>          My Documents"), (ListingEntry{"My Documents", true}));
        QCOMPARE(parseDosListLine("01-02-2026  09:05              1234 report 2026.xls"), (ListingEntry{"report 2026.xls", false}));
        QCOMPARE(parseListLine("03-04-25  11:00AM  17 a.txt"), (ListingEntry{"a.txt", false}));
        QCOMPARE(parseDosListLine("12-06-26  10:30PM  <DIR>  ."), std::nullopt);
        QCOMPARE(parseDosListLine("not a dos line"), std::nullopt);
    }

    void listingDropsUnsendableNamesAndBuildsTheText()
    {
        const QByteArray mlsd = "type=cdir; /x\r\ntype=dir; sub\r\ntype=file; a/b\r\ntype=file; f.txt\r\n\r\n";
        const QList<ListingEntry> entries = parseListing(mlsd, ListingFormat::Mlsd);
        QCOMPARE(entries, (QList<ListingEntry>{{"sub", true}, {"f.txt", false}}));
        QCOMPARE(listingText(entries, true), QByteArray("sub/\r\nf.txt"));
        QCOMPARE(listingText(entries, false), QByteArray("../\r\nsub/\r\nf.txt"));
        QCOMPARE(listingText({}, true), QByteArray());
        QCOMPARE(listingText({}, false), QByteArray("../"));

        const QByteArray list = "total 2\r\n-rw-r--r-- 1 u g 3 Jan 1 12:00 日本語.txt\r\n"
                                "08-09-26  01:00AM  <DIR>  dos dir\r\nbroken line\r\n";
        QCOMPARE(parseListing(list, ListingFormat::List),
                 (QList<ListingEntry>{{QStringLiteral("日本語.txt"), false}, {"dos dir", true}}));
    }

    void largeListing()
    {
        // Not a timing test: a sanity check that every one of many lines is kept.
        QByteArray answer;
        for (int i = 0; i < 20000; ++i) answer += "type=file;size=1; file " + QByteArray::number(i) + ".txt\r\n";
        const QList<ListingEntry> entries = parseListing(answer, ListingFormat::Mlsd);
        QCOMPARE(entries.size(), 20000);
        QCOMPARE(entries.last().name, QStringLiteral("file 19999.txt"));
    }
};

QTEST_GUILESS_MAIN(FtpParsersTest)
#include "tst_ftp_parsers.moc"
