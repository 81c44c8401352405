// Listing lines as real servers write them, and the replies whose text the library takes apart.
#include "Parsing.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

using namespace qorftp;

namespace {

struct ListLineCase {
    const char* line;
    int type;
    const char* permissions;
    const char* owner;
    const char* group;
    std::uint64_t size;
    const char* date;
    const char* name;
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
    _Qor_Ftp_FileData rec = ParseListLine(c.line);
    EXPECT_EQ(rec.Type, c.type);
    EXPECT_EQ(rec.Permissions, c.permissions);
    EXPECT_EQ(rec.Owner, c.owner);
    EXPECT_EQ(rec.Group, c.group);
    EXPECT_EQ(rec.Size, c.size);
    EXPECT_EQ(rec.Date, c.date);
    EXPECT_EQ(rec.Name, c.name);
}

INSTANTIATE_TEST_SUITE_P(ServerLines, ListLine,
                         ::testing::Values(
                             // vsftpd
                             ListLineCase{"-rw-r--r--    1 1000     1000         4096 Mar 03 12:34 notes.txt", 0,
                                          "rw-r--r--", "1000", "1000", 4096, "Mar 03 12:34", "notes.txt"},
                             ListLineCase{"drwxr-xr-x    2 0        0            4096 Jan 01  2020 my folder", 1,
                                          "rwxr-xr-x", "0", "0", 4096, "Jan 01 2020", "my folder"},
                             ListLineCase{"lrwxrwxrwx    1 0        0               7 Dec 24 23:59 link -> target", 2,
                                          "rwxrwxrwx", "0", "0", 7, "Dec 24 23:59", "link -> target"},
                             // pyftpdlib
                             ListLineCase{"-rw-r--r--   1 user     group    5368709120 Nov 30 08:15 big.iso", 0,
                                          "rw-r--r--", "user", "group", 5368709120ULL, "Nov 30 08:15", "big.iso"},
                             ListLineCase{"prw-r--r--   1 root     root            0 Feb 02 10:00 fifo", 3, "rw-r--r--",
                                          "root", "root", 0, "Feb 02 10:00", "fifo"},
                             // ls -l writes a device's numbers in place of its size
                             ListLineCase{"crw-rw-rw-   1 root     root       1,   3 Apr  1  2021 null", 3, "rw-rw-rw-",
                                          "root", "root", 1, "Apr 1 2021", "null"},
                             ListLineCase{"srwxrwxrwx 1 a b 0 May 5 2022 sock", 3, "rwxrwxrwx", "a", "b", 0,
                                          "May 5 2022", "sock"},
                             // names keep their inner and trailing runs of spaces only inside
                             ListLineCase{"-rw-r--r-- 1 a b 10 Jun 6 06:06 two  spaces.txt", 0, "rw-r--r--", "a", "b",
                                          10, "Jun 6 06:06", "two  spaces.txt"},
                             ListLineCase{"", 0, "", "", "", 0, "", ""}));

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
