#include "servers/ServerMap.h"

ServerTable ServerMap;

bool GetServerRecord(const std::string& name, ServerRecord& out)
{
    const auto found = ServerMap.find(name);
    if (found == ServerMap.end())
        return false;
    out = found->second;
    return true;
}
