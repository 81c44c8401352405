// The TransferList reader: the input as a block taken from the clipboard or a drop.
#include "operations/TransferList.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<TransferListBlock> block = ReadTransferList(bytes);
    const std::optional<QByteArray> appended = AppendToTransferList(bytes, {"/appended"});
    if (!block) {
        if (appended)
            std::abort(); // a block the reader refuses must not be appended to
        return 0;
    }
    // What was read writes back to a block that reads the same.
    const std::optional<QByteArray> written = WriteTransferList(block->server, block->paths);
    if (!written || ReadTransferList(*written) != block)
        std::abort();
    if (!appended)
        return 0; // only a count that would no longer fit
    const std::optional<TransferListBlock> grown = ReadTransferList(*appended);
    if (!grown || grown->server != block->server || grown->paths.size() != block->paths.size() + 1
        || grown->paths.back() != "/appended")
        std::abort();
    return 0;
}
