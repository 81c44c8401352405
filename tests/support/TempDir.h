#pragma once

#include <cstddef>
#include <string>

namespace tarvo::test {

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it on destruction.
// Its name holds the process id, so that folders left behind by a test process that died
// (no destructors ran) are removed by the next test process making a TempDir.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + rel; nothing is created.
    std::string file(const std::string& rel) const;

private:
    std::string path_;
};

// Both throw std::runtime_error on failure.
void WriteFileBytes(const std::string& path, const std::string& data);
std::string ReadFileBytes(const std::string& path);

// n pseudo-random bytes, the same for the same seed.
std::string RandomBytes(std::size_t n, unsigned seed);

} // namespace tarvo::test
