// The private block that carries remote files on the clipboard and in drags, under the MIME type
// below. Layout, little-endian: a signed 32-bit file count N; the server name, NUL-terminated;
// N full remote paths, each NUL-terminated; five zero bytes.
#pragma once

#include <QByteArray>

#include <optional>
#include <string>
#include <vector>

inline constexpr char kTransferListMimeType[] = "application/x-tarvo-clipboard-format";

struct TransferListBlock {
    std::string server;
    std::vector<std::string> paths;

    bool operator==(const TransferListBlock&) const = default;
};

// The remote path of `name` in `folder`: a '/' goes between them unless the folder ends with one.
std::string RemoteFilePath(const std::string& folder, const std::string& name);

// The block for `server` and `paths`, in their order. A server name or path holding a NUL cannot
// be written in this layout: such a path is left out and not counted, such a server name gives
// nothing.
std::optional<QByteArray> WriteTransferList(const std::string& server, const std::vector<std::string>& paths);

// Reads a block, checking every bound: the count, each string's terminator inside the block and
// the five closing zero bytes. Nothing for a short, negative-count or otherwise malformed block.
std::optional<TransferListBlock> ReadTransferList(const QByteArray& bytes);

// The Append command: the existing block's paths, then `paths`, under the existing server name.
// Nothing when the existing block is malformed or the count would not fit.
std::optional<QByteArray> AppendToTransferList(const QByteArray& existing, const std::vector<std::string>& paths);
