// The transfer data: the exact TransferList bytes, the reader against damaged blocks, the names
// that must not escape a local folder, and local files as text/uri-list.
#include "OperationsFixture.h"

#include "operations/LocalFiles.h"
#include "operations/LocalNames.h"
#include "operations/OperationTexts.h"
#include "operations/TransferData.h"
#include "operations/TransferList.h"

#include <QMimeData>

using namespace optest;

namespace {

QByteArray Bytes(const std::string& text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Block(std::int32_t count, const std::string& rest)
{
    std::string block(4, '\0');
    for (int i = 0; i < 4; ++i)
        block[i] = static_cast<char>((static_cast<std::uint32_t>(count) >> (8 * i)) & 0xff);
    return block + rest;
}

const std::string kZeros(5, '\0');

TEST(TransferList, TheExactLayout)
{
    const std::optional<QByteArray> block = WriteTransferList("srv", {"/a.txt", "/pub/b c"});
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, Bytes(Block(2, std::string("srv\0/a.txt\0/pub/b c\0", 20) + kZeros)));
    EXPECT_EQ(ReadTransferList(*block), (TransferListBlock{"srv", {"/a.txt", "/pub/b c"}}));

    // Only folders selected: N = 0, the server and the closing zeros.
    EXPECT_EQ(*WriteTransferList("srv", {}), Bytes(Block(0, std::string("srv\0", 4) + kZeros)));
    // A path that cannot be written is left out and not counted.
    EXPECT_EQ(ReadTransferList(*WriteTransferList("srv", {std::string("/a\0b", 4), "/c"}))->paths,
              std::vector<std::string>{"/c"});
    EXPECT_FALSE(WriteTransferList(std::string("s\0v", 3), {"/c"}));

    EXPECT_EQ(RemoteFilePath("/", "a.txt"), "/a.txt");
    EXPECT_EQ(RemoteFilePath("/pub", "a.txt"), "/pub/a.txt");

    // Append keeps the server and the order.
    const QByteArray first = *WriteTransferList("srv", {"/a", "/b"});
    EXPECT_EQ(ReadTransferList(*AppendToTransferList(first, {"/c"})), (TransferListBlock{"srv", {"/a", "/b", "/c"}}));
    EXPECT_FALSE(AppendToTransferList(first.left(first.size() - 1), {"/c"}));
}

TEST(TransferList, DamagedBlocksGiveNothing)
{
    const std::string good = Block(2, std::string("srv\0/a\0/b\0", 10) + kZeros);
    ASSERT_TRUE(ReadTransferList(Bytes(good)));
    const struct {
        const char* what;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"count only", Block(0, "")},
        {"three count bytes", good.substr(0, 3)},
        {"server without terminator", Block(0, "srv")},
        {"closing zeros missing", Block(0, std::string("srv\0", 4))},
        {"closing zeros short", Block(0, std::string("srv\0", 4) + std::string(4, '\0'))},
        {"cut inside a path", good.substr(0, 12)},
        {"cut in the zeros", good.substr(0, good.size() - 1)},
        {"count above the paths", Block(3, std::string("srv\0/a\0/b\0", 10) + kZeros)},
        {"count below the paths", Block(1, std::string("srv\0/a\0/b\0", 10) + kZeros)},
        {"negative count", Block(-1, std::string("srv\0", 4) + kZeros)},
        {"huge count", Block(0x7fffffff, std::string("srv\0/a\0", 7) + kZeros)},
        {"no terminator at all", Block(1, std::string(64, 'x'))},
    };
    for (const auto& row : rows)
        EXPECT_FALSE(ReadTransferList(Bytes(row.bytes))) << row.what;
}

TEST(LocalNames, NamesThatWouldLeaveTheFolder)
{
    for (const std::string& name : {std::string(), std::string("."), std::string(".."), std::string("a/b"),
                                    std::string("../x"), std::string("a\0b", 3), std::string("/")})
        EXPECT_FALSE(IsSafeLocalName(name)) << name;
    for (const char* name : {"a.txt", "...", ".hidden", "a b", "a\\b"})
        EXPECT_TRUE(IsSafeLocalName(name)) << name;
    EXPECT_EQ(LocalTargetPath("/tmp/in/", "a"), "/tmp/in/a");
    EXPECT_FALSE(LocalTargetPath("/tmp/in", ".."));
}

TEST(TransferPlan, ABlockBecomesOneRequestPerFileOrFolder)
{
    // A '/' at the end names a folder, which goes whole.
    const TransferListBlock block{"srv", {"/pub/a.txt", "/b", "/pub/..", "/pub/", "/pub/.", "/"}};
    const TransferPlan down = PlanTransferList(block, kMyComputer, "/home/ann/in/");
    EXPECT_EQ(
        down.requests,
        (std::vector<OperationRequest>{Request(OperationKind::Download, "srv", "/pub/a.txt", "/home/ann/in/a.txt"),
                                       Request(OperationKind::Download, "srv", "/b", "/home/ann/in/b"),
                                       Request(OperationKind::FolderDownload, "srv", "/pub", "/home/ann/in/pub")}));
    EXPECT_EQ(down.refusedNames, (std::vector<std::string>{"..", ".", ""}));

    const TransferPlan across = PlanTransferList(block, "other", "/incoming");
    const std::vector<OperationRequest> transfers
        = {Request(OperationKind::Transfer, "srv", "/pub/a.txt", "", "other", "/incoming/a.txt"),
           Request(OperationKind::Transfer, "srv", "/b", "", "other", "/incoming/b"),
           Request(OperationKind::FolderTransfer, "srv", "/pub", "", "other", "/incoming/pub")};
    EXPECT_EQ(across.requests, transfers);
    EXPECT_EQ(PlanTransferList(block, "other", "/incoming/").requests, transfers);
}

TEST(TransferPlan, AFolderIsNeverCopiedOntoOrIntoItselfOnItsServer)
{
    const TransferListBlock block{"srv", {"/pub/", "/pub/sub/", "/pubs/"}};
    const struct {
        const char* server;
        const char* folder;
        std::vector<std::string> refused;
    } rows[] = {
        {"srv", "/pub/sub/", {"/pub", "/pub/sub"}},
        {"srv", "/pub", {"/pub", "/pub/sub"}},
        {"srv", "/", {"/pub", "/pubs"}}, // their own parent: each would replace itself
        {"srv", "/pubs/x", {"/pubs"}},
        {"other", "/pub/sub", {}},
    };
    for (const auto& row : rows) {
        const TransferPlan plan = PlanTransferList(block, row.server, row.folder);
        EXPECT_EQ(plan.intoItself, row.refused) << row.server << row.folder;
        EXPECT_EQ(plan.requests.size() + plan.intoItself.size(), block.paths.size()) << row.server << row.folder;
    }
}

class TransferDataReader : public OperationsTest { };

TEST_F(TransferDataReader, RemoteFilesComeDownLocalFilesGoUpAndDamagedOrUnsafeDataStartsNothing)
{
    PyFtpd server;
    AddServer("srv", server.port(), PyFtpd::kPassword, 1);
    WriteFileBytes(server.root() + "/a.txt", "a");
    WriteFileBytes(server.root() + "/b.txt", "b");

    QMimeData damaged;
    damaged.setData(QString::fromLatin1(kTransferListMimeType), Bytes(Block(5, std::string("srv\0/a.txt\0", 11))));
    EXPECT_EQ(ExecuteTransferData(damaged, DropCopy, kMyComputer, local.path()), 0);
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"message", OperationText::kDamagedTransferData}}));
    EXPECT_TRUE(host.counts.empty());

    QMimeData good;
    good.setData(QString::fromLatin1(kTransferListMimeType), *WriteTransferList("srv", {"/a.txt", "/..", "/b.txt"}));
    EXPECT_EQ(ExecuteTransferData(good, DropMove, kMyComputer, local.path()), 2);
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
    EXPECT_EQ(ReadFileBytes(local.file("a.txt")), "a");
    EXPECT_EQ(ReadFileBytes(local.file("b.txt")), "b");
    EXPECT_EQ(interaction.asked.back(), (Asked{"message", UnsafeNameMessage("..")}));
    EXPECT_TRUE(std::filesystem::exists(server.root() + "/a.txt")) << "a remote move still copies";

    QMimeData neither;
    neither.setText(QStringLiteral("plain text"));
    EXPECT_EQ(ExecuteTransferData(neither, DropCopy, kMyComputer, local.path()), -1);

    // Local files dropped on a server are uploaded, folders whole; they win over a transfer list.
    std::filesystem::create_directories(server.root() + "/in");
    WriteFileBytes(local.file("two words.txt"), "two");
    std::filesystem::create_directories(local.file("sub/deeper"));
    WriteFileBytes(local.file("sub/deeper/c.txt"), "c");
    QMimeData files;
    SetLocalFiles(files, {local.file("a.txt"), local.file("sub"), local.file("two words.txt")});
    files.setData(QString::fromLatin1(kTransferListMimeType), *WriteTransferList("srv", {"/ignored"}));
    EXPECT_EQ(ExecuteTransferData(files, DropCopy, "srv", "/in"), 3);
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
    EXPECT_EQ(ReadFileBytes(server.root() + "/in/a.txt"), "a");
    EXPECT_EQ(ReadFileBytes(server.root() + "/in/two words.txt"), "two");
    EXPECT_EQ(ReadFileBytes(server.root() + "/in/sub/deeper/c.txt"), "c");
}

TEST_F(TransferDataReader, LocalFilesCopyAndMoveWithFreeNames)
{
    TempDir from;
    WriteFileBytes(from.file("a.txt"), "1");
    WriteFileBytes(from.file(".hidden"), "h");
    std::filesystem::create_directories(from.file("folder/inner"));
    WriteFileBytes(from.file("folder/inner/x"), "x");
    WriteFileBytes(local.file("a.txt"), "taken");
    WriteFileBytes(local.file("a (2).txt"), "taken too");

    QMimeData data;
    SetLocalFiles(data, {from.file("a.txt"), from.file(".hidden"), from.file("folder")});
    EXPECT_EQ(LocalFilesOf(data),
              (std::vector<std::string>{from.file("a.txt"), from.file(".hidden"), from.file("folder")}));
    EXPECT_EQ(ExecuteTransferData(data, DropCopy, kMyComputer, local.path()), 3);
    EXPECT_EQ(ReadFileBytes(local.file("a (3).txt")), "1");
    EXPECT_EQ(ReadFileBytes(local.file("a.txt")), "taken");
    EXPECT_EQ(ReadFileBytes(local.file(".hidden")), "h");
    EXPECT_EQ(ReadFileBytes(local.file("folder/inner/x")), "x");

    EXPECT_EQ(ExecuteTransferData(data, DropMove, kMyComputer, local.path()), 3);
    EXPECT_EQ(ReadFileBytes(local.file("a (4).txt")), "1");
    EXPECT_EQ(ReadFileBytes(local.file(".hidden (2)")), "h");
    EXPECT_EQ(ReadFileBytes(local.file("folder (2)/inner/x")), "x");
    EXPECT_FALSE(std::filesystem::exists(from.file("a.txt")));
    EXPECT_FALSE(std::filesystem::exists(from.file("folder")));

    QMimeData intoItself;
    SetLocalFiles(intoItself, {local.file("folder")});
    EXPECT_EQ(ExecuteTransferData(intoItself, DropCopy, kMyComputer, local.file("folder/inner")), 0);
    EXPECT_EQ(interaction.asked.back().first, "message");
    EXPECT_FALSE(std::filesystem::exists(local.file("folder/inner/folder")));
}

} // namespace
