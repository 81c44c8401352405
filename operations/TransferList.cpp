#include "TransferList.h"

#include <QtEndian>

#include <cstdint>
#include <limits>

namespace {

constexpr int kCountSize = 4;
constexpr int kClosingZeros = 5;

bool HoldsNul(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

void AppendString(QByteArray& block, const std::string& text)
{
    block.append(text.data(), static_cast<qsizetype>(text.size()));
    block.append('\0');
}

// The NUL-terminated string at `at`, moving `at` past its terminator; nothing when the block ends
// before a terminator.
std::optional<std::string> TakeString(const QByteArray& bytes, qsizetype& at)
{
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0)
        return std::nullopt;
    std::string text(bytes.constData() + at, static_cast<std::size_t>(end - at));
    at = end + 1;
    return text;
}

} // namespace

std::string RemoteFilePath(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

std::optional<QByteArray> WriteTransferList(const std::string& server, const std::vector<std::string>& paths)
{
    if (HoldsNul(server))
        return std::nullopt;
    std::vector<const std::string*> written;
    for (const std::string& path : paths)
        if (!HoldsNul(path))
            written.push_back(&path);
    if (written.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;

    QByteArray block(kCountSize, '\0');
    qToLittleEndian<std::int32_t>(static_cast<std::int32_t>(written.size()), block.data());
    AppendString(block, server);
    for (const std::string* path : written)
        AppendString(block, *path);
    block.append(kClosingZeros, '\0');
    return block;
}

std::optional<TransferListBlock> ReadTransferList(const QByteArray& bytes)
{
    if (bytes.size() < kCountSize + 1 + kClosingZeros)
        return std::nullopt;
    const std::int32_t count = qFromLittleEndian<std::int32_t>(bytes.constData());
    if (count < 0)
        return std::nullopt;

    TransferListBlock block;
    qsizetype at = kCountSize;
    std::optional<std::string> server = TakeString(bytes, at);
    if (!server)
        return std::nullopt;
    block.server = std::move(*server);
    // No reservation by the count: a forged count must not allocate before the paths are seen.
    for (std::int32_t i = 0; i < count; ++i) {
        std::optional<std::string> path = TakeString(bytes, at);
        if (!path)
            return std::nullopt;
        block.paths.push_back(std::move(*path));
    }
    // The closing zeros also catch a count smaller than the paths that follow it.
    if (bytes.size() - at < kClosingZeros)
        return std::nullopt;
    for (int i = 0; i < kClosingZeros; ++i)
        if (bytes[at + i] != '\0')
            return std::nullopt;
    return block;
}

std::optional<QByteArray> AppendToTransferList(const QByteArray& existing, const std::vector<std::string>& paths)
{
    std::optional<TransferListBlock> block = ReadTransferList(existing);
    if (!block)
        return std::nullopt;
    block->paths.insert(block->paths.end(), paths.begin(), paths.end());
    return WriteTransferList(block->server, block->paths);
}
