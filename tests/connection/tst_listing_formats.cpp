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
#include <unistd.h>

using namespace corvexo;
using namespace corvexo::ftp;
using namespace corvexo::testing;

namespace {

using Kind = ParsedEntry::Kind;

QString kindText(Kind kind) { return kind == Kind::Folder ? "folder" : kind == Kind::Link ? "link" : "file"; }

QString entriesOf(const FtpListingParser &parser, qsizetype from = 0)
{
    QStringList parts;
    for (const ParsedEntry &e : parser.entries().sliced(from))
        parts << QString::fromUtf8(parser.name(e)) + "|" + kindText(e.kind) + "|" + QString::number(e.size);
    return parts.join(", ");
}

const qint64 June2024 = QDateTime(QDate(2024, 6, 1), QTime(), Qt::UTC).toMSecsSinceEpoch();

// Rows: a line, the entry it gives (name|kind|size; "" for an unreadable line,
// "-" for one passed over) and its time (UTC, "" for none).
void lineColumns()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("modified");
}

void lineRow(const char *tag, const QByteArray &line, const QString &expected, const char *time = "")
{
    QTest::newRow(tag) << line << expected << QString(time);
}

// earlier: a line of the same listing before it, whose family is then tried first.
void checkLine(ListingFormat format, const QByteArray &earlier = {})
{
    QFETCH(QByteArray, line);
    QFETCH(QString, expected);
    QFETCH(QString, modified);
    FtpListingParser parser(format, June2024);
    parser.feed(earlier + line + "\r\n");
    parser.finish();
    const qsizetype from = earlier.isEmpty() ? 0 : 1;
    QCOMPARE(entriesOf(parser, from), expected == u"-" ? QString() : expected);
    QCOMPARE(parser.unreadable(), expected.isEmpty() ? 1 : 0);
    if (!expected.isEmpty() && expected != u"-") {
        const qint64 time = parser.entries()[from].modified;
        QCOMPARE(time == ParsedEntry::NoTime ? QString()
                                             : QDateTime::fromMSecsSinceEpoch(time, Qt::UTC).toString(Qt::ISODate).chopped(1),
                 modified);
    }
}

// Any family may have read the line before: the reading stays the same.
void checkLineAfterEachForm()
{
    static const char *const earlier[] = {
        "-rw-r--r-- 1 u g 1 24-04-2003 variant", "02-14-24  10:30PM                 1234 d.txt",
        "+r,s1234,m1707906600,\tepl.txt", "README.TXT;3  2/4  14-FEB-2024 10:30:00  [G,O]  (RWED,RWED,RE,)",
        "   20480  Mar 07, 2004 18:02 ssh.txt", "     0           DIR   04-11-95   16:26  OS2",
        "CLERK       1234567 03/15/24 10:30:00 *STMF      ibm.csv", "WRK001 3390   2023/10/12  1   15  FB      80  6160  PS  PAY",
        "  0.0   99/12/31 2359  ----r-wr     5F0     400  os9.cfg", "    1876    MAR-02-2009  08:15:40   vx.cfg",
        "type=file;size=5; facts"};
    checkLine(ListingFormat::List);
    for (const char *line : earlier)
        if (!QTest::currentTestFailed()) checkLine(ListingFormat::List, QByteArray(line) + "\r\n");
}

} // namespace

class ListingFormatsTest : public QObject {
    Q_OBJECT
private slots:
    void commonForms_data()
    {
        lineColumns();
        lineRow("unix", "-rw-r--r-- 1 u g 1234 Feb 14  2024 a b.txt", "a b.txt|file|1234", "2024-02-14T00:00:00");
        lineRow("unix double blanks", "-rw-r--r--   1 o g  1234 Dec 06 22:30 name with  blanks.txt",
                "name with  blanks.txt|file|1234", "2023-12-06T22:30:00");
        lineRow("unix future date with its year", "-rw-r--r-- 1 u g 1 Dec 24  2024 later", "later|file|1", "2024-12-24T00:00:00");
        lineRow("unix no group", "drwxr-xr-x 2 ftp 4096 Jan 1 12:00 no group", "no group|folder|4096", "2024-01-01T12:00:00");
        lineRow("unix no owner, no group", "-rw-r--r-- 1 77 Jan 1 2020 7 up", "7 up|file|77", "2020-01-01T00:00:00");
        lineRow("unix long-iso", "-rw-r--r-- 1 u g 5 2024-02-14 10:30 iso.txt", "iso.txt|file|5", "2024-02-14T10:30:00");
        lineRow("unix full-iso", "drwxr-xr-x 2 u g 4096 2024-02-14 10:30:59.123456789 +0900 d", "d|folder|4096",
                "2024-02-14T10:30:59");
        lineRow("unix japanese month", "-rw-r--r-- 1 u g 7  3月 14  2023 月報.txt", "月報.txt|file|7", "2023-03-14T00:00:00");
        lineRow("unix japanese day and year", "-rw-r--r-- 1 u g 7 3月 14日 2023年 x", "x|file|7", "2023-03-14T00:00:00");
        lineRow("unix german month", "-rw-r--r-- 1 u g 9 Mär 14 2023 de.txt", "de.txt|file|9", "2023-03-14T00:00:00");
        lineRow("unix digits after the date", "-rw-r--r-- 1 u g 5 Jan 1 2020 3 29 03:26", "3 29 03:26|file|5", "2020-01-01T00:00:00");
        lineRow("bsd full time", "-rw-r--r-- 1 u g 5 Jan  1 10:30:15 2020 2021 plan", "2021 plan|file|5", "2020-01-01T10:30:15");
        lineRow("netware", "d [RWCEAFMS] owner 512 Feb 14 2024 nw", "nw|folder|512", "2024-02-14T00:00:00");
        lineRow("netware unpadded", "-[R----F--] admin 1234 Feb 14 10:30 nw.dat", "nw.dat|file|1234", "2024-02-14T10:30:00");
        lineRow("link without slash", "lrwxrwxrwx 1 u g 3 Feb 14 2024 ln -> sub", "ln|link|3", "2024-02-14T00:00:00");
        lineRow("link with slash", "lrwxrwxrwx 1 u g 3 Feb 14 2024 ln -> /srv/sub/", "ln|folder|3", "2024-02-14T00:00:00");
        lineRow("dos", "02-14-24  10:30PM                 1234 d.txt", "d.txt|file|1234", "2024-02-14T22:30:00");
        lineRow("dos iso", "2024-02-14  10:30       <DIR>          iso dir", "iso dir|folder|-1", "2024-02-14T10:30:00");
        lineRow("dos dotted", "14.02.2024  10:30  1.234 dotted.txt", "dotted.txt|file|1234", "2024-02-14T10:30:00");
        lineRow("dos leading blanks", "02-14-2024  10:30AM       <DIR>            two", "  two|folder|-1", "2024-02-14T10:30:00");
        lineRow("dos file leading blank", "02-14-24  12:05AM  17  f", " f|file|17", "2024-02-14T00:05:00");
        lineRow("eplf file", "+r,s1234,m1707906600,\tepl.txt", "epl.txt|file|1234", "2024-02-14T10:30:00");
        lineRow("eplf folder", "+i8388621.29609,m824255902,/,\tdev", "dev|folder|-1", "1996-02-13T23:58:22");
        lineRow("unreadable", "this is no listing line", "");
        lineRow("too long a name", "-rw-r--r-- 1 u g 1 Feb 14 2024 " + QByteArray(4097, 'n'), "");
        lineRow("total", "total 120", "-");
        lineRow("japanese total utf-8", "合計 120", "-");
        lineRow("japanese total euc-jp", "\xb9\xe7\xb7\xd7 120", "-");
        lineRow("japanese total shift_jis", "\x8d\x87\x8c\x76 120", "-");
        lineRow("facts answering LIST, before 1970", "type=file;size=5;modify=19650101120000; old", "old|file|5",
                "1965-01-01T12:00:00");
    }
    void commonForms() { checkLineAfterEachForm(); }

    void unixVariants_data()
    {
        lineColumns();
        lineRow("numeric month", "-rw-r--r-- 1 u g 1234 3 29 03:26 numeric", "numeric|file|1234", "2024-03-29T03:26:00");
        lineRow("month-day and year", "-rw-r--r-- 1 u g 1234 09-26 2000 md", "md|file|1234", "2000-09-26T00:00:00");
        lineRow("month-day and clock", "-rw-r--r-- 1 u g 1234 09-26 13:45 md", "md|file|1234", "2023-09-26T13:45:00");
        lineRow("year first slashed", "drwxr-xr-x 2 u g 512 1999/10/12 slashed", "slashed|folder|512", "1999-10-12T00:00:00");
        lineRow("day first dashed", "-rw-r--r-- 1 u g 10 24-04-2003 dashed", "dashed|file|10", "2003-04-24T00:00:00");
        lineRow("year first dotted", "-rw-r--r-- 1 u g 10 2004.07.15 dotted", "dotted|file|10", "2004-07-15T00:00:00");
        lineRow("named month in a word", "-rw-r--r-- 1 u g 10 01-jun-99 12:00 named", "named|file|10", "1999-06-01T12:00:00");
        lineRow("day first, a year in the name", "-rw-r--r-- 1 u g 10 01 oct 2004 2005 plan.txt", "2005 plan.txt|file|10",
                "2004-10-01T00:00:00");
        // A clock after a day-first date's year is the date's.
        lineRow("day first, year and clock", "-rw-r--r-- 1 u g 10 01 oct 2004 10:30 name", "name|file|10", "2004-10-01T10:30:00");
        lineRow("german day, year and clock", "-rw-r--r-- 1 u g 10 26. Juli 2003 10:30 juli", "juli|file|10",
                "2003-07-26T10:30:00");
        lineRow("german dotted month, year and clock", "-rw-r--r-- 1 u g 10 2. Okt. 2003 10:30:15 okt", "okt|file|10",
                "2003-10-02T10:30:15");
        lineRow("day first with a clock, a year in the name", "-rw-r--r-- 1 u g 10 01 oct 10:30 2005 plan", "2005 plan|file|10",
                "2023-10-01T10:30:00");
        // Year first with the marks of the East Asian locales, in UTF-8 and legacy bytes.
        lineRow("japanese year first", "-rw-r--r-- 1 u g 7 2003年 4月 18日 ja", "ja|file|7", "2003-04-18T00:00:00");
        lineRow("japanese year first, joined, clock", "-rw-r--r-- 1 u g 7 2003年4月18日 10:30 ja", "ja|file|7",
                "2003-04-18T10:30:00");
        lineRow("shift_jis year first", "-rw-r--r-- 1 u g 7 2003\x94N 4\x8c\x8e 18\x93\xfa sjis", "sjis|file|7",
                "2003-04-18T00:00:00");
        lineRow("euc-jp year first, joined", "-rw-r--r-- 1 u g 7 2003\xc7\xaf" "4\xb7\xee" "18\xc6\xfc 10:30 ej", "ej|file|7",
                "2003-04-18T10:30:00");
        lineRow("euc-kr year first", "-rw-r--r-- 1 u g 7 2003\xb3\xe2 10\xbf\xf9 14\xc0\xcf kr", "kr|file|7", "2003-10-14T00:00:00");
        lineRow("gbk year first, joined", "-rw-r--r-- 1 u g 7 2003\xc4\xea" "04\xd4\xc2" "18\xc8\xd5 gb", "gb|file|7",
                "2003-04-18T00:00:00");
        lineRow("big5 year first", "-rw-r--r-- 1 u g 7 2003\xa6~ 4\xa4\xeb 18\xa4\xe9 b5", "b5|file|7", "2003-04-18T00:00:00");
        lineRow("month and day joined, clock", "-rw-r--r-- 1 u g 7 4月18日 10:30 md", "md|file|7", "2024-04-18T10:30:00");
        lineRow("no date, a name like a year", "-rw-r--r-- 1 u g 7 2003年度 4月 報告", "2003年度 4月 報告|file|7");
        lineRow("comma after the day", "-rw-r--r-- 1 u g 10 Oct 08, 2002 09:47 comma", "comma|file|10", "2002-10-08T09:47:00");
        lineRow("german full month", "-rw-r--r-- 1 u g 10 26. Juli 2003 juli", "juli|file|10", "2003-07-26T00:00:00");
        lineRow("german short month", "-rw-r--r-- 1 u g 10 2. Okt. 10:30 okt", "okt|file|10", "2023-10-02T10:30:00");
        lineRow("french month", "-rw-r--r-- 1 u g 10 14 févr. 2023 fr", "fr|file|10", "2023-02-14T00:00:00");
        lineRow("korean utf-8", "-rw-r--r-- 1 u g 7 10월 14일 10:30 ko", "ko|file|7", "2023-10-14T10:30:00");
        lineRow("shift_jis", "-rw-r--r-- 1 u g 7 4\x8c\x8e 18\x93\xfa 2003\x94N sjis", "sjis|file|7", "2003-04-18T00:00:00");
        lineRow("euc-kr", "-rw-r--r-- 1 u g 7 10\xbf\xf9 14\xc0\xcf 2003 kr", "kr|file|7", "2003-10-14T00:00:00");
        lineRow("big5", "-rw-r--r-- 1 u g 7 4\xa4\xeb 18\xa4\xe9 2003\xa6~ b5", "b5|file|7", "2003-04-18T00:00:00");
        lineRow("euc-jp", "-rw-r--r-- 1 u g 7 4\xb7\xee 18\xc6\xfc 2003\xc7\xaf ej", "ej|file|7", "2003-04-18T00:00:00");
        lineRow("gbk with a clock", "-rw-r--r-- 1 u g 7 4\xd4\xc2 18\xc8\xd5 10:30 gb", "gb|file|7", "2024-04-18T10:30:00");
        lineRow("size in k", "-rw-r--r-- 1 u g 33.5k Jan 1 2020 unit", "unit|file|34304", "2020-01-01T00:00:00");
        lineRow("size in M", "-rw-r--r-- 1 u g 1.2M Jan 1 2020 mega", "mega|file|1258291", "2020-01-01T00:00:00");
        lineRow("octal mode", "644 1 u g 1234 Jan 1 2020 octal", "octal|file|1234", "2020-01-01T00:00:00");
        lineRow("octal folder", "40755 2 u g 512 Jan 1 2020 octal dir", "octal dir|folder|512", "2020-01-01T00:00:00");
        lineRow("group and size run together", "-rw-r--r-- 1 someowner somegroup123456789 Jan 1 2020 big",
                "big|file|123456789", "2020-01-01T00:00:00");
        lineRow("no date", "-rw-r--r-- 1 u g 1234 plain", "plain|file|1234");
        lineRow("no date, no group", "-rw-r--r-- 1 owner 1234 name no date", "name no date|file|1234");
        lineRow("ls -F executable", "-rwxr-xr-x 1 u g 10 Jan 1 2020 run*", "run|file|10", "2020-01-01T00:00:00");
        lineRow("ls -F star kept", "-rw-r--r-- 1 u g 10 Jan 1 2020 star*", "star*|file|10", "2020-01-01T00:00:00");
        lineRow("ls -F folder", "drwxr-xr-x 2 u g 10 Jan 1 2020 dir/", "dir|folder|10", "2020-01-01T00:00:00");
        lineRow("ls -F link", "lrwxrwxrwx 1 u g 10 Jan 1 2020 ln@", "ln|link|10", "2020-01-01T00:00:00");
        lineRow("mode alone", "drwxr-xr-x", "");
        // Nothing after the date: no name, so no entry.
        lineRow("no name after the date", "-rw-r--r-- 1 owner 1234 Jan 1 2020", "");
        lineRow("no name after a day-first date", "-rw-r--r-- 1 owner 1234 01 oct 2004", "");
        lineRow("no name after a year and clock", "-rw-r--r-- 1 u g 10 01 oct 2004 10:30", "");
        lineRow("no name after an iso date and clock", "-rw-r--r-- 1 u g 10 2024-02-14 10:30", "");
        lineRow("no name after a year-first date", "-rw-r--r-- 1 u g 7 2003年4月18日", "");
    }
    void unixVariants() { checkLineAfterEachForm(); }

    void vms_data()
    {
        lineColumns();
        lineRow("size first", "README.TXT;3  2/4  14-FEB-2024 10:30:00  [GROUP,OWNER]  (RWED,RWED,RE,)",
                "README.TXT;3|file|1024", "2024-02-14T10:30:00");
        lineRow("date first, owner with a blank", "DATA.CSV;12  14-FEB-2024 10:30  [GROUP, OWNER]  17/20  (RWED,RWED,RE,)",
                "DATA.CSV;12|file|8704", "2024-02-14T10:30:00");
        lineRow("owner first, folder", "LOGS.DIR;1  [SYSTEM]  1/3  1-JAN-2024 00:00:00  (RWE,RWE,RE,E)", "LOGS|folder|-1",
                "2024-01-01T00:00:00");
        lineRow("no date", "NOTES.TXT;1  %RMS-E-PRV, insufficient privilege", "");
    }
    void vms() { checkLineAfterEachForm(); }

    void mainframes_data()
    {
        lineColumns();
        lineRow("mvs header", "Volume Unit    Referred Ext Used Recfm Lrecl BlkSz Dsorg Dsname", "-");
        lineRow("mvs sequential", "WRK001 3390   2023/10/12  1   15  FB      80  6160  PS  PAY.JAN.DATA", "PAY.JAN.DATA|file|-1",
                "2023-10-12T00:00:00");
        lineRow("mvs partitioned", "WRK002 3390   2023/10/11  2   30  FB      80 27920  PO  PAY.SOURCE", "PAY.SOURCE|folder|-1",
                "2023-10-11T00:00:00");
        lineRow("mvs pds/e, volume like a mode", "DLB003 3390   **NONE**    1    4  U        0 32760  PO-E  'PAY.LOAD'",
                "PAY.LOAD|folder|-1");
        lineRow("mvs without a unit column", "WRK004 2008/10/31  1    1  VB     256  6233  PS  PAY.FEB.LOG", "PAY.FEB.LOG|file|-1",
                "2008-10-31T00:00:00");
        lineRow("mvs two-digit year", "WRK005 3380D 07/16/97  1  1  FB  80  8800  PS  PAY.OLD.RPT", "PAY.OLD.RPT|file|-1",
                "1997-07-16T00:00:00");
        lineRow("mvs no date at all", "WRK006 3390   SOMEDAY  1   15  FB      80  6160  PS  PAY.X", "");
        lineRow("mvs migrated", "Migrated                                                 OLD.PAY.DATA", "OLD.PAY.DATA|file|-1");
        lineRow("mvs on tape", "ARCIVE Not Direct Access Device                           TAPE.PAY.DATA", "TAPE.PAY.DATA|file|-1");
        lineRow("member header", " Name     VV.MM   Created       Changed      Size  Init   Mod   Id", "-");
        lineRow("member", "PAYROLL   01.03 2002/03/19 2023/10/12 10:48    13    13     0 CLERK", "PAYROLL|file|-1",
                "2023-10-12T10:48:00");
        lineRow("member like a mode", "DATA1     01.00 2002/03/19 2002/03/20 09:00     5     5     0 CLERK", "DATA1|file|-1",
                "2002-03-20T09:00:00");
        lineRow("load module", "IEFBR14   000010   00000F  00 FO  31 ANY", "IEFBR14|file|16");
        lineRow("ibm i stream file", "CLERK       1234567 03/15/24 10:30:00 *STMF      report.csv", "report.csv|file|1234567",
                "2024-03-15T10:30:00");
        lineRow("ibm i folder", "QSYS          77824 02/23/00 15:09:55 *DIR       QSYS/", "QSYS|folder|-1", "2000-02-23T15:09:55");
        lineRow("ibm i file with members", "PAYROLL       12288 15.03.24 10.30.00 *FILE      PAYROLL.FILE", "PAYROLL.FILE|folder|-1",
                "2024-03-15T10:30:00");
        lineRow("ibm i save file, blank in name", "CLERK        5263360 06/11/97 12:27:39 *FILE      SAVED DATA",
                "SAVED DATA|file|5263360", "1997-06-11T12:27:39");
        lineRow("ibm i member", "                                      *MEM       PAYROLL.FILE/JAN.MBR", "JAN.MBR|file|-1");
    }
    void mainframes() { checkLineAfterEachForm(); }

    void others_data()
    {
        lineColumns();
        lineRow("os/2 folder", "     0           DIR   04-11-95   16:26  BACKUP", "BACKUP|folder|-1", "1995-04-11T16:26:00");
        lineRow("os/2 file", "  1234     A     07-28-95   16:45  notes.txt", "notes.txt|file|1234", "1995-07-28T16:45:00");
        lineRow("os/2 no attributes", "   345                05-10-94   11:22  plain", "plain|file|345", "1994-05-10T11:22:00");
        lineRow("os-9 folder", "  1.12  24/03/15 1030  d-ewrewr    3A2     1C0  LOGS", "LOGS|folder|-1", "2024-03-15T10:30:00");
        lineRow("os-9 file", "  0.0   99/12/31 2359  ----r-wr     5F0     400  boot.cfg", "boot.cfg|file|1024",
                "1999-12-31T23:59:00");
        // SSH servers for Windows, through an FTP front: their own form, and ls forms with a short or numeric column.
        lineRow("windows ssh file", "   20480  Mar 07, 2004 18:02 setup log.txt", "setup log.txt|file|20480", "2004-03-07T18:02:00");
        lineRow("windows ssh folder", "       0  Nov 21, 2003 09:15:30 Backups/", "Backups|folder|-1", "2003-11-21T09:15:30");
        lineRow("windows ssh, size like a mode", "640 Oct 8, 2002 09:47 report 2002.doc", "report 2002.doc|file|640",
                "2002-10-08T09:47:00");
        lineRow("windows ssh without the comma", "   20480  Mar 07 2004 18:02 no comma", "");
        lineRow("windows ssh bad day", "   20480  Mar 32, 2004 18:02 no day", "");
        lineRow("windows ssh nine-letter mode", "-rw-rw-rw   1     admin     admin     2210 Apr 24 14:58 sales.csv",
                "sales.csv|file|2210", "2024-04-24T14:58:00");
        lineRow("windows ssh numeric owner", "-rw-rw-rw-    1          0         90112 Nov 28 18:16 trace.etl",
                "trace.etl|file|90112", "2023-11-28T18:16:00");
        // VxWorks, as Nortel switches run it: the header passed over, names padded to their column.
        lineRow("vxworks header", "  size          date       time       name", "-");
        lineRow("vxworks rule", "--------       ------     ------    --------", "-");
        lineRow("vxworks file", "    1876    MAR-02-2009  08:15:40   config.cfg        ", "config.cfg|file|1876",
                "2009-03-02T08:15:40");
        lineRow("vxworks folder", "     512    Jan-15-2008  10:00:00   logs              <DIR>", "logs|folder|-1",
                "2008-01-15T10:00:00");
        lineRow("vxworks long name with blanks", "   20064    SEP-30-2007  23:59:59   release notes 4.1.txt  ",
                "release notes 4.1.txt|file|20064", "2007-09-30T23:59:59");
        lineRow("vxworks size fills its column", "12345678    DEC-01-2006  00:00:00   big.img           ", "big.img|file|12345678",
                "2006-12-01T00:00:00");
        lineRow("vxworks bad day", "    1876    MAR-32-2009  08:15:40   bad day", "");
        lineRow("vxworks short year", "    1876    MAR-02-09  08:15:40   short year", "");
    }
    void others() { checkLineAfterEachForm(); }

    void mlsd_data()
    {
        lineColumns();
        lineRow("file", "type=file;size=5;modify=20240214103000; a;b.txt", "a;b.txt|file|5", "2024-02-14T10:30:00");
        lineRow("folder", "Type=DIR;perm=el; my folder", "my folder|folder|-1");
        lineRow("parent", "type=pdir; ..", "-");
        lineRow("symlink", "type=OS.unix=symlink;size=3; ln", "ln|link|3");
        lineRow("slink", "type=OS.unix=slink:/srv/sub;size=3; ln", "ln|link|3");
        lineRow("slink without target", "type=OS.unix=slink:;size=3;modify=19691231235959; link_to_dir", "link_to_dir|link|3",
                "1969-12-31T23:59:59");
        lineRow("without facts", "no facts", "");
    }
    void mlsd() { checkLine(ListingFormat::Mlsd); }

    void streamedInAnyPieces()
    {
        const QByteArray listing = "total 3\r\n-rw-r--r-- 1 u g 5 Feb 14 2024 日本.txt\r\n"
                                   "drwxr-xr-x 2 u g 4096 Feb 14 2024 sub\r\n"
                                   "lrwxrwxrwx 1 u g 3 Feb 14 2024 to-sub -> sub\r\nLONE\r\nLONG.NAME.TXT;1\r\n"
                                   "        2/4  14-FEB-2024 10:30:00 [G,O] (RWED,RWED,RE,)\r\ngarbage";
        FtpListingParser whole(ListingFormat::List);
        whole.feed(listing);
        whole.finish();
        QCOMPARE(entriesOf(whole), "日本.txt|file|5, sub|folder|4096, to-sub|link|3, LONG.NAME.TXT;1|file|1024");
        QCOMPARE(whole.unreadable(), 2);   // "LONE" and "garbage": a bare word is no entry here
        for (qsizetype cut = 1; cut < listing.size(); ++cut) {
            FtpListingParser pieces(ListingFormat::List);
            pieces.feed(listing.first(cut));
            for (qsizetype at = cut; at < listing.size(); at += 3) pieces.feed(listing.sliced(at, std::min<qsizetype>(3, listing.size() - at)));
            pieces.finish();
            QCOMPARE(entriesOf(pieces), entriesOf(whole));
            QCOMPARE(pieces.unreadable(), 2);
        }
        whole.resolveLinksFromListing();
        // A member's name alone counts only among members.
        FtpListingParser members(ListingFormat::List);
        members.feed(" Name     VV.MM   Created       Changed      Size  Init   Mod   Id\r\nPLAIN\r\n"
                     "PAYROLL   01.03 2002/03/19 2023/10/12 10:48    13    13     0 CLERK\r\nBARE1\r\n");
        QCOMPARE(entriesOf(members), "PLAIN|file|-1, PAYROLL|file|-1, BARE1|file|-1");
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

    void charsetDecidedPerListing()
    {
        // The first folder's only name reads as UTF-8 and as Shift_JIS alike; the
        // second folder's are Shift_JIS, though FEAT offers UTF8.
        FtpTestServer server;
        const QByteArray root = QFile::encodeName(server.root()) + "/";
        QCOMPARE(::mkdir(root + "a", 0755) + ::mkdir(root + "b", 0755), 0);
        for (const QByteArray &name : {QByteArray("a/caf\xc3\xa9.txt"), QByteArray("b/\x93\xfa\x96\x7b.txt")}) {
            std::FILE *made = std::fopen(root + name, "wb");
            QVERIFY(made && std::fputs(name.constData(), made) >= 0 && std::fclose(made) == 0);
        }
        QVERIFY2(server.start({"--legacy-bytes", "--claim-utf8"}), qPrintable(server.errorText()));
        FtpTransferControl control;
        pointAt(control, server);
        QCOMPARE(runOn(control, TransferCommand::changeDir("a")).states.last(), 12);
        QCOMPARE(QString::fromUtf8(runOn(control, TransferCommand::listing()).answer), "../\r\ncafé.txt");
        QCOMPARE(runOn(control, TransferCommand::changeDir("/b")).states.last(), 12);
        QCOMPARE(QString::fromUtf8(runOn(control, TransferCommand::listing()).answer), "../\r\n日本.txt");
        QTemporaryDir local;
        QCOMPARE(runOn(control, TransferCommand::get("日本.txt", local.filePath("got"))).states.last(), 12);
        QCOMPARE(contentOf(local.filePath("got")), QByteArray("b/\x93\xfa\x96\x7b.txt"));
        QCOMPARE(std::remove(root + "a/caf\xc3\xa9.txt") + std::remove(root + "b/\x93\xfa\x96\x7b.txt"), 0);
    }

    void newNamesWaitForTheCharset_data()
    {
        QTest::addColumn<QString>("verb");
        QTest::addColumn<QByteArray>("made");   // as the server must get it
        QTest::newRow("mkdir") << "mkdir" << QByteArray("\x90\x56\x8b\x4b");                 // 新規
        QTest::newRow("put") << "put" << QByteArray("\x90\x56\x8b\x4b.txt");                  // 新規.txt
        QTest::newRow("rename") << "rename" << QByteArray("\x90\x56\x96\xbc.txt");            // 新名.txt
    }

    void newNamesWaitForTheCharset()
    {
        // The first command of the session names something new beyond ASCII; the
        // folder's names are Shift_JIS, so the new name must go out in Shift_JIS too.
        QFETCH(QString, verb);
        QFETCH(QByteArray, made);
        FtpTestServer server;
        const QByteArray root = QFile::encodeName(server.root()) + "/";
        for (const QByteArray &name : {QByteArray("\x8e\x91\x97\xbf.txt"), QByteArray("old.txt")}) {   // 資料.txt
            std::FILE *file = std::fopen(root + name, "wb");
            QVERIFY(file && std::fputs("x", file) >= 0 && std::fclose(file) == 0);
        }
        QVERIFY2(server.start({"--legacy-bytes"}), qPrintable(server.errorText()));
        FtpTransferControl control;
        pointAt(control, server);
        QTemporaryDir local;
        QFile up(local.filePath("up"));
        QVERIFY(up.open(QIODevice::WriteOnly) && up.write("up") == 2);
        up.close();
        const TransferCommand command = verb == u"mkdir" ? TransferCommand::makeDir("新規")
            : verb == u"put"                             ? TransferCommand::put(local.filePath("up"), "新規.txt")
                                                         : TransferCommand::rename("old.txt", "新名.txt");
        QCOMPARE(runOn(control, command).states.last(), 12);
        QVERIFY2(::access(root + made, F_OK) == 0, made.toHex().constData());   // the bytes as they came

        const int removed = verb == u"mkdir" ? ::rmdir(root + made) : std::remove(root + made);
        QCOMPARE(removed + std::remove(root + "\x8e\x91\x97\xbf.txt"), 0);
    }
};

QTEST_GUILESS_MAIN(ListingFormatsTest)
#include "tst_listing_formats.moc"
