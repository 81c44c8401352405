// Listing lines as real servers write them, and the replies whose text the library takes apart.
#include "ListFormats.h"
#include "Parsing.h"
#include "Facts.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

using namespace qorftp;

namespace {

// One LIST line as a server writes it and the record it gives, read in 2026. `who` is the
// permissions, owner and group joined by "|".
struct ListLineCase {
    const char* line;
    const char* name; // empty: no entry
    std::uint64_t size;
    int type;
    const char* date;
    const char* who;
};

// ctest names the cases by the line rather than by its bytes.
void PrintTo(const ListLineCase& c, std::ostream* out)
{
    *out << '"' << c.line << '"';
}

class ListLine : public ::testing::TestWithParam<ListLineCase> { };

TEST_P(ListLine, GivesTheRecord)
{
    const ListLineCase& c = GetParam();
    const _Qor_Ftp_FileData rec = ParseListLine(c.line, 2026);
    EXPECT_EQ(rec.Name, c.name);
    EXPECT_EQ(rec.Size, c.size);
    EXPECT_EQ(rec.Type, c.type);
    EXPECT_EQ(rec.Date, c.date);
    EXPECT_EQ(rec.Permissions + "|" + rec.Owner + "|" + rec.Group, c.who);
}

using L = ListLineCase;
INSTANTIATE_TEST_SUITE_P(
    ServerLines, ListLine,
    ::testing::Values(
        // vsftpd, pyftpdlib, proftpd, pure-ftpd: ls -l, names from one blank after the date on
        L{"-rw-r--r--    1 1000     1000         4096 Mar 03 12:34 notes.txt", "notes.txt", 4096, 0, "Mar 03 12:34",
          "rw-r--r--|1000|1000"},
        L{"drwxr-xr-x    2 0        0            4096 Jan 01  2020 my folder", "my folder", 4096, 1, "Jan 01 2020",
          "rwxr-xr-x|0|0"},
        L{"lrwxrwxrwx    1 0        0               7 Dec 24 23:59 link -> target", "link -> target", 7, 2,
          "Dec 24 23:59", "rwxrwxrwx|0|0"},
        L{"-rw-r--r--   1 user     group    5368709120 Nov 30 08:15 big.iso", "big.iso", 5368709120ULL, 0,
          "Nov 30 08:15", "rw-r--r--|user|group"},
        L{"prw-r--r--   1 root     root            0 Feb 02 10:00 fifo", "fifo", 0, 3, "Feb 02 10:00",
          "rw-r--r--|root|root"},
        L{"crw-rw-rw-   1 root     root       1,   3 Apr  1  2021 null", "null", 1, 3, "Apr 1 2021",
          "rw-rw-rw-|root|root"},
        L{"srwxrwxrwx 1 a b 0 May 5 2022 sock", "sock", 0, 3, "May 5 2022", "rwxrwxrwx|a|b"},
        L{"-rw-r--r-- 1 a b 10 Jun 6 06:06 two  spaces.txt", "two  spaces.txt", 10, 0, "Jun 6 06:06", "rw-r--r--|a|b"},
        L{"-rw-r--r--   1 ftp      ftp             0 Dec 07 06:22  leading space.txt", " leading space.txt", 0, 0,
          "Dec 07 06:22", "rw-r--r--|ftp|ftp"},
        L{"-rw-r--r--   1 ftp      ftp             0 Dec 07 06:22 trailing space.txt ", "trailing space.txt ", 0, 0,
          "Dec 07 06:22", "rw-r--r--|ftp|ftp"},
        // ls variants: ISO and numeric dates, no group, an extra column, ACL marks, sizes in units
        L{"-rw-r--r-- 1 anna staff 1234 2026-12-07 06:22 iso.txt", "iso.txt", 1234, 0, "Dec 07 06:22",
          "rw-r--r--|anna|staff"},
        L{"-rw-r--r-- 1 anna staff 1 2025-01-31 23:59:59.123456789 +0100 full iso", "full iso", 1, 0, "Jan 31 2025",
          "rw-r--r--|anna|staff"},
        L{"-rw-r--r--   1 root     other        531 09-26 2000 dashed", "dashed", 531, 0, "Sep 26 2000",
          "rw-r--r--|root|other"},
        L{"dr-xr-xr-x   2 root                  512 Apr  8  1994 no group", "no group", 512, 1, "Apr 8 1994",
          "r-xr-xr-x|root|"},
        L{"-rw-r--r--   1 group domain user 531 Jan 29 03:26 extra column", "extra column", 531, 0, "Jan 29 03:26",
          "rw-r--r--|group|domain"},
        L{"-rw-r--r--+  1 anna staff 10 Dec  7 06:22 acl.txt", "acl.txt", 10, 0, "Dec 7 06:22", "rw-r--r--|anna|staff"},
        L{"drwxr-xr-x. 2 root root 6 Dec  7 2019 selinux", "selinux", 6, 1, "Dec 7 2019", "rwxr-xr-x|root|root"},
        L{"-rw-r--r--@ 1 anna staff 10 Dec  7 06:22:33 2026 macos.txt", "macos.txt", 10, 0, "Dec 07 06:22",
          "rw-r--r--|anna|staff"},
        L{"-rw-r--r--   1 root     other  33.5k Oct 5 21:22 named size", "named size", 34304, 0, "Oct 5 21:22",
          "rw-r--r--|root|other"},
        // VShell, the newer form with year and time, and the older one without modes
        L{"-rwxr-xr-x    1 user group        9 Oct 08, 2002 09:47 vshell new", "vshell new", 9, 0, "Oct 08 2002",
          "rwxr-xr-x|user|group"},
        L{"206876  Apr 04, 2000 21:06 vshell old", "vshell old", 206876, 0, "Apr 04 2000", "||"},
        L{"0  Dec 12, 2026 02:13 vshell dir/", "vshell dir", 0, 1, "Dec 12 02:13", "||"},
        // Windows/IIS: 12- and 24-hour times, grouped sizes, 2- and 4-digit years
        L{"12-07-26  06:22AM       <DIR>          My Folder", "My Folder", 0, 1, "Dec 07 06:22", "||"},
        L{"12-07-26  12:05PM            1,234,567 grouped.zip", "grouped.zip", 1234567, 0, "Dec 07 12:05", "||"},
        L{"12-07-2026  18:48                 9730 twenty four.txt", "twenty four.txt", 9730, 0, "Dec 07 18:48", "||"},
        L{"01-31-19  12:15AM                  512 old.txt", "old.txt", 512, 0, "Jan 31 2019", "||"},
        L{"2026-12-07  06:22       <JUNCTION>     Documents", "Documents", 0, 2, "Dec 07 06:22", "||"},
        // NetWare
        L{"d [R----F--] supervisor            512       Jan 16 18:53    login", "login", 512, 1, "Jan 16 18:53",
          "|supervisor|"},
        L{"- [RWCEAFMS] rhesus             214059       Oct 20  2025    cx.exe", "cx.exe", 214059, 0, "Oct 20 2025",
          "|rhesus|"},
        // EPLF: times in seconds since 1970, UTC
        L{"+i8388621.48594,m825718503,r,s280,up644,\tdjb.html", "djb.html", 280, 0, "Mar 01 1996", "rw-r--r--||"},
        L{"+i8388621.50690,m824255907,/,\tspool", "spool", 0, 1, "Feb 13 1996", "||"},
        // OS/2, whose years past 1999 count from 1900
        L{"36611      A    04-23-103  10:57  os2 file", "os2 file", 36611, 0, "Apr 23 2003", "||"},
        L{"    0 DIR       02-11-103  16:15  os2 dir", "os2 dir", 0, 1, "Feb 11 2003", "||"},
        // VMS: sizes in blocks of 512 bytes, directories as NAME.DIR;1
        L{"SUBDIR.DIR;1  1/3  7-DEC-2026 06:22:00  [STAFF,ANNA]  (RWED,RWED,RE,)", "SUBDIR", 512, 1, "Dec 07 06:22",
          "|ANNA|STAFF"},
        L{"NOTES.TXT;3       155   2-JUL-2003 10:30:13.64", "NOTES.TXT;3", 79360, 0, "Jul 02 2003", "||"},
        L{"FILE.TXT;1    2/8    15-JAN-2000    [IV2_XXX]   (RWED,RWED,RE,)", "FILE.TXT;1", 1024, 0, "Jan 15 2000",
          "|IV2_XXX|"},
        // MVS datasets and members of a partitioned one
        L{"WYOSPT 3420   2026/12/07  1   15  FB      80  6160  PO  SOME.PDS", "SOME.PDS", 0, 1, "Dec 07 2026", "||"},
        L{"SMS001 3390   2025/05/21  1  200  FB      80  8053  PS  MY.DATA.SET", "MY.DATA.SET", 0, 0, "May 21 2025",
          "||"},
        L{"Migrated                                                 OLD.DATA", "OLD.DATA", 0, 0, "", "||"},
        L{"Pseudo Directory                                              SUBDIR", "SUBDIR", 0, 1, "", "||"},
        L{"MEMBER1  01.03 2026/12/01 2026/12/07 06:22    10    10     0 USER1", "MEMBER1", 0, 0, "Dec 07 06:22",
          "|USER1|"},
        // AS/400
        L{"QSYS            77824 12/07/26 06:22:00 *DIR       QOpenSys/", "QOpenSys", 77824, 1, "Dec 07 06:22",
          "|QSYS|"},
        L{"USER1            4096 07.12.25 06:22:00 *STMF      file.txt", "file.txt", 4096, 0, "Dec 07 2025", "|USER1|"},
        L{"QPGMR                                  *MEM       QGPL/QCLSRC.FILE/MEMBER.MBR",
          "QGPL/QCLSRC.FILE/MEMBER.MBR", 0, 0, "", "|QPGMR|"},
        // no entries
        L{"total 12", "", 0, 0, "", "||"}, L{"", "", 0, 0, "", "||"}));

// A VMS listing: headings and totals name nothing, a long name wraps onto a line of its own, and
// only the line no format reads counts as unread.
TEST(Listing, ReadsEntriesOverTwoLinesAndCountsUnreadOnes)
{
    const std::string lines = "Directory DISK$USER:[ANNA]\n"
                              "A_VERY_LONG_FILE_NAME_INDEED.TXT;1\n"
                              "                      2/4          7-DEC-2026 06:22:00  [ANNA]  (RWED,RWED,RE,)\n"
                              "SHORT.TXT;3           1/3          7-DEC-2026 06:22:00  [ANNA]  (RWED,RWED,RE,)\n"
                              "%RMS-E-PRV, insufficient privilege or file protection violation\n"
                              "Total of 2 files, 3/7 blocks.\n"
                              "LAST.TXT;1\n";
    std::vector<std::string> names;
    std::vector<ListingLine> kinds;
    _Qor_Ftp_FileData rec;
    for (std::size_t at = 0; at < lines.size();) {
        kinds.push_back(ReadListEntry(lines, at, rec, 2026));
        names.push_back(rec.Name + " " + std::to_string(rec.Size));
    }
    using K = ListingLine;
    EXPECT_EQ(kinds, (std::vector<K>{K::Noise, K::Entry, K::Entry, K::Unread, K::Noise, K::Unread}));
    EXPECT_EQ(names[1], "A_VERY_LONG_FILE_NAME_INDEED.TXT;1 1024");
    EXPECT_EQ(names[2], "SHORT.TXT;3 512");
    EXPECT_EQ(CountUnreadLines(lines), 2u);
    EXPECT_EQ(CountUnreadLines("total 0\n"), 0u);
}

TEST(Listing, SplitsAtCrLfLfOrNulWhereverTheDataIsCut)
{
    const std::string longName(400, 'x');
    // A NUL ends its line like an LF: what follows it is a line of its own. Blank lines go.
    const std::string data = "total 1\r\n-rw-r--r-- 1 a b 1 Jan 1 2020 " + longName
        + "\r\n-rw-r--r-- 1 a b 2 Jan 1 2020 lf-only\n\r\n-rw-r--r-- 1 a b 4 Jan 1 2020 nul" + std::string(1, '\0')
        + "hidden\r\n-rw-r--r-- 1 a b 3 Jan 1 2020 last";
    for (std::size_t piece : {data.size(), std::size_t(7), std::size_t(1)}) {
        SCOPED_TRACE(piece);
        std::string stored;
        ListingCollector collector(stored);
        for (std::size_t at = 0; at < data.size(); at += piece)
            collector.Add(std::string_view(data).substr(at, piece));
        collector.Finish();
        std::vector<std::string> names;
        for (std::size_t at = 0, end; (end = stored.find('\n', at)) != std::string::npos; at = end + 1)
            names.push_back(ParseListLine(std::string_view(stored).substr(at, end - at)).Name);
        EXPECT_EQ(collector.Count(), names.size());
        EXPECT_EQ(names, (std::vector<std::string>{"", longName, "lf-only", "nul", "", "last"}));
    }
    std::string none;
    ListingCollector empty(none);
    empty.Finish();
    EXPECT_EQ(empty.Count(), 0u);
}

TEST(Replies, PwdNames)
{
    EXPECT_EQ(ParsePwdReply("257 \"/pub/incoming\" is the current directory"), "/pub/incoming");
    EXPECT_EQ(ParsePwdReply("257 \"/\""), "/");
    // A doubled quote stands for one quote of the name.
    EXPECT_EQ(ParsePwdReply("257 \"/say \"\"hi\"\"\" is current"), "/say \"hi\"");
    EXPECT_EQ(ParsePwdReply("257 \"/with space\""), "/with space");
    EXPECT_EQ(ParsePwdReply("257"), "");
    EXPECT_EQ(ParsePwdReply("257 \"/unterminated"), "/unterminated");
}

// A 227 or 229 reply as OpenDataPort takes it apart; port 0 means the reply is refused.
struct PassiveCase {
    const char* reply;
    unsigned port;
    const char* host; // 227 only
};

void PrintTo(const PassiveCase& c, std::ostream* out)
{
    *out << '"' << c.reply << '"';
}

class PassiveReply : public ::testing::TestWithParam<PassiveCase> { };

TEST_P(PassiveReply, GivesThePortOrIsRefused)
{
    const PassiveCase& c = GetParam();
    const std::string reply = c.reply;
    unsigned port = 0;
    unsigned char host[4] = {};
    const bool parsed = reply.rfind("227", 0) == 0 ? ParsePasvNumbers(PassiveAddressText(reply), host, port)
                                                   : ParseEpsvPort(reply, port);
    ASSERT_EQ(parsed, c.port != 0);
    if (!parsed)
        return;
    EXPECT_EQ(port, c.port);
    char shown[INET_ADDRSTRLEN];
    EXPECT_STREQ(c.host ? inet_ntop(AF_INET, host, shown, sizeof shown) : nullptr, c.host);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, PassiveReply,
    ::testing::Values(PassiveCase{"227 Entering Passive Mode (127,0,0,1,195,80).", 195 * 256 + 80, "127.0.0.1"},
                      PassiveCase{"227 Entering Passive Mode 10,0,0,2,4,1", 4 * 256 + 1, "10.0.0.2"},
                      PassiveCase{"227 Entering Passive Mode (255,255,255,255,255,255)", 65535, "255.255.255.255"},
                      PassiveCase{"227 Entering Passive Mode (1,2,3,4,0,1)", 1, "1.2.3.4"},
                      PassiveCase{"227 Entering Passive Mode (256,0,0,2,4,1)", 0, nullptr},
                      PassiveCase{"227 Entering Passive Mode (10,0,0,2,256,1)", 0, nullptr},
                      PassiveCase{"227 Entering Passive Mode (10,0,0,2,4,256)", 0, nullptr},
                      PassiveCase{"227 Entering Passive Mode (1,2,3,4,0,0)", 0, nullptr},
                      PassiveCase{"227 Entering Passive Mode (10,0,0,2,4)", 0, nullptr},
                      PassiveCase{"227 no digits", 0, nullptr},
                      PassiveCase{"229 Entering Extended Passive Mode (|||50123|)", 50123, nullptr},
                      PassiveCase{"229 Entering Extended Passive Mode (|||65535|)", 65535, nullptr},
                      PassiveCase{"229 Entering Extended Passive Mode (|||1|)", 1, nullptr},
                      PassiveCase{"229 Entering Extended Passive Mode (|||65536|)", 0, nullptr},
                      PassiveCase{"229 Entering Extended Passive Mode (|||0|)", 0, nullptr},
                      PassiveCase{"229 (|1|2|)", 0, nullptr}));

} // namespace

namespace {

// MLSD lines as servers write them: exact names, the facts in any case and order, the mode
// letters from UNIX.mode (pyftpdlib's "0o" form too) or else from perm. Owner and group as given.
class MlsdLine : public ::testing::TestWithParam<ListLineCase> { };

TEST_P(MlsdLine, GivesTheRecord)
{
    const ListLineCase& c = GetParam();
    _Qor_Ftp_FileData rec;
    ASSERT_EQ(ParseMlsdLine(c.line, rec), *c.name != '\0');
    if (*c.name) {
        EXPECT_EQ(rec.Name, c.name);
        EXPECT_EQ(rec.Size, c.size);
        EXPECT_EQ(rec.Type, c.type);
        EXPECT_EQ(rec.Date, c.date);
        EXPECT_EQ(rec.Permissions + "|" + rec.Owner + "|" + rec.Group, c.who);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ServerLines, MlsdLine,
    ::testing::Values(
        ListLineCase{
            "type=file;size=1234;modify=20200102120000;UNIX.mode=0644;UNIX.owner=ann;UNIX.group=staff; notes.txt",
            "notes.txt", 1234, 0, "Jan 02 2020", "rw-r--r--|ann|staff"},
        ListLineCase{"modify=20200102120000.123;perm=radfwMT;size=3;type=file;unix.mode=0o4755;   two leading.txt ",
                     "  two leading.txt ", 3, 0, "Jan 02 2020", "rwsr-xr-x||"},
        ListLineCase{"Type=dir;Sizd=4096;Modify=20200102120000;Perm=flcdmpe; sub dir", "sub dir", 4096, 1,
                     "Jan 02 2020", "rwx------||"},
        ListLineCase{"type=file;size=9;perm=r; read only", "read only", 9, 0, "", "r--------||"},
        ListLineCase{"type=OS.unix=symlink;size=7; link", "link", 7, 2, "", "||"},
        ListLineCase{"type=OS.unix=slink:/target; other", "other", 0, 2, "", "||"},
        ListLineCase{"type=cdir;modify=20200102120000; .", "", 0, 0, "", "||"},
        ListLineCase{"type=pdir; ..", "", 0, 0, "", "||"}, ListLineCase{"no facts at all", "", 0, 0, "", "||"},
        ListLineCase{"type=file;modify=2020; bad date", "bad date", 0, 0, "", "||"}));

TEST(Features, FeatReplyAndTheFactsAskedFor)
{
    const std::string reply = "211-Features:\n MDTM\n MLST type*;perm*;size*;modify*;unique*;unix.mode;\n"
                              " REST STREAM\n SIZE\n UTF8\n211 End\n";
    const Features features = ReadFeatures(reply);
    EXPECT_TRUE(features.utf8 && features.mlst && features.size && features.mdtm && features.restStream);
    EXPECT_FALSE(features.epsv || features.sscn || features.authTls);
    EXPECT_EQ(WantedFacts(features.mlstFacts), "type;perm;size;modify;unix.mode;");
    EXPECT_FALSE(ReadFeatures("211-Features:\nUTF8 in the text\n211 End\n").utf8)
        << "a feature line starts with a blank";
}

} // namespace
