#include "TempDir.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>
#include <random>
#include <signal.h>
#include <stdexcept>
#include <unistd.h>

namespace tarvo::test {

namespace {

constexpr const char* kPrefix = "tarvo-test-";

// Folders of test processes that died without running destructors (a crash, or ctest
// killing a test that timed out) carry the dead process's id: remove them.
void RemoveStaleFolders(const std::string& base)
{
    try {
        for (const auto& entry : std::filesystem::directory_iterator(base)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(kPrefix, 0) != 0)
                continue;
            char* end;
            long pid = std::strtol(name.c_str() + std::strlen(kPrefix), &end, 10);
            if (*end != '-' || pid <= 0 || kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
                continue;
            std::error_code error;
            std::filesystem::remove_all(entry.path(), error);
        }
    } catch (const std::filesystem::filesystem_error&) {
        // Best effort: a folder that cannot be listed holds nothing of ours to remove.
    }
}

} // namespace

TempDir::TempDir()
{
    const char* tmp = std::getenv("TMPDIR");
    const std::string base = tmp && *tmp ? tmp : "/tmp";
    static std::once_flag swept;
    std::call_once(swept, RemoveStaleFolders, base);
    path_ = base + "/" + kPrefix + std::to_string(getpid()) + "-XXXXXX";
    if (!mkdtemp(path_.data()))
        throw std::runtime_error("mkdtemp(" + path_ + "): " + std::strerror(errno));
}

TempDir::~TempDir()
{
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (error) // a destructor must not throw; say it at least
        std::cerr << "TempDir: could not remove " << path_ << ": " << error.message() << "\n";
}

std::string TempDir::file(const std::string& rel) const
{
    return path_ + "/" + rel;
}

void WriteFileBytes(const std::string& path, const std::string& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw std::runtime_error("cannot open " + path + " for writing");
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path + " for reading");
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw std::runtime_error("cannot read " + path);
    return data;
}

std::string RandomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string data(n, '\0');
    for (char& c : data)
        c = static_cast<char>(generator() & 0xff);
    return data;
}

} // namespace tarvo::test
