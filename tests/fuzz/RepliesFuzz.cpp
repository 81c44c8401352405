// The PWD, PASV and EPSV reply parsers, each given the whole input as the reply text.
#include "Parsing.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string reply(reinterpret_cast<const char*>(data), size);

    // A doubled quote stands for one: the name is never longer than the reply.
    if (qorftp::ParsePwdReply(reply).size() > reply.size())
        std::abort();

    const std::string text = qorftp::PassiveAddressText(reply);
    if (text.size() > reply.size())
        std::abort();
    unsigned char host[4] = {};
    unsigned port = 0;
    if (qorftp::ParsePasvNumbers(text, host, port) && (port == 0 || port > 65535))
        std::abort();
    // The reply itself, as a server may send a bare address with no leading text.
    port = 0;
    if (qorftp::ParsePasvNumbers(reply, host, port) && (port == 0 || port > 65535))
        std::abort();

    port = 0;
    if (qorftp::ParseEpsvPort(reply, port) && (port == 0 || port > 65535))
        std::abort();
    return 0;
}
