// Whole folders: Tarvo's folder job (the real program, `tarvo --run-script` with get and put of a
// folder) against lftp's mirror, with its default settings and with --parallel=2, on one vsftpd
// on loopback in the same run: 2,000 files of 4 KiB in 40 folders, and 20 files of 50 MiB,
// downloaded and uploaded. The commands take turns, so a drift of the machine's speed reaches
// each alike; every figure is a median. Both clients use passive data connections, lftp's default. Run through bench/run-folders.sh; prints a table and
// checks that each copy is whole, asserts no speed.
#include "TempDir.h"
#include "Vsftpd.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace tarvo::test;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

int runs = 5;

void MakeFile(const fs::path& path, std::uint64_t size, unsigned seed)
{
    std::string block(std::min<std::uint64_t>(size, 1 << 20), '\0');
    std::uint32_t x = seed * 2654435761u + 1;
    for (char& c : block) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        c = static_cast<char>(x);
    }
    std::ofstream out(path, std::ios::binary);
    for (std::uint64_t done = 0; done < size; done += block.size())
        out.write(block.data(), static_cast<std::streamsize>(std::min<std::uint64_t>(block.size(), size - done)));
}

struct Tree {
    std::uint64_t files = 0, bytes = 0;
    bool operator==(const Tree&) const = default;
};

Tree Measure(const fs::path& root)
{
    Tree tree;
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        if (it->is_regular_file()) {
            ++tree.files;
            tree.bytes += it->file_size();
        }
    }
    return tree;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Wall seconds of one shell command; -1 when it failed.
double Time(const std::string& command)
{
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return status == 0 ? seconds : -1;
}

struct Contender {
    std::string name;
    std::string command;
    std::vector<double> seconds;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: FolderBench TARVO [runs] [small|big]\n");
        return 2;
    }
    const std::string tarvo = fs::absolute(argv[1]).string();
    if (argc > 2)
        runs = std::max(1, std::atoi(argv[2]));
    const std::string only = argc > 3 ? argv[3] : ""; // one set of files alone
    std::string whyNot;
    if (!Vsftpd::Available(whyNot)) {
        std::fprintf(stderr, "vsftpd cannot run here: %s\n", whyNot.c_str());
        return 1;
    }
    Vsftpd server;
    TempDir local;
    const fs::path root = server.root(), here = local.path();

    // The same trees on the server and here: downloads read the server's, uploads this one's.
    for (const fs::path& base : {root, here}) {
        for (int folder = 0; folder < 40; ++folder) {
            const fs::path dir = base / "small" / ("d" + std::to_string(folder));
            fs::create_directories(dir);
            for (int file = 0; file < 50; ++file)
                MakeFile(dir / ("f" + std::to_string(file)), 4096, folder * 50 + file);
        }
        fs::create_directories(base / "big");
        for (int file = 0; file < 20; ++file)
            MakeFile(base / "big" / ("f" + std::to_string(file)), 50ull << 20, 9000 + file);
    }
    // The account serving the files must be able to read them and write where uploads go.
    std::system(("chown -R " + server.user() + " " + root.string()).c_str());

    // Tarvo's own settings file, with the server in it.
    const std::string config = (here / "config").string();
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string add = tarvo + " --add-server bench 127.0.0.1:" + std::to_string(server.port()) + " "
        + server.user() + " " + server.password() + " --passive --encryption plain >/dev/null";
    if (std::system(add.c_str()) != 0) {
        std::fprintf(stderr, "tarvo --add-server failed\n");
        return 1;
    }
    const std::string lftp = "lftp -u " + server.user() + "," + server.password() + " -p "
        + std::to_string(server.port()) + " -e ";

    std::printf("| Row | Tarvo (s) | lftp mirror (s) | lftp --parallel=2 (s) | Tarvo / lftp | Tarvo / lftp -P2 |\n"
                "|---|---|---|---|---|---|\n");
    for (const std::string set : {"small", "big"}) {
        if (!only.empty() && set != only)
            continue;
        for (const bool upload : {false, true}) {
            const std::string target = upload ? (root / ("up-" + set)).string() : (here / ("dl-" + set)).string();
            const std::string source = upload ? (here / set).string() : "/" + set;
            const std::string remoteTarget = "/up-" + set;
            const std::string script = (here / (set + (upload ? "-put.ftp" : "-get.ftp"))).string();
            std::ofstream(script) << "open bench\n"
                                  << (upload ? "put " + source + " " + remoteTarget : "get " + source + " " + target)
                                  << "\nclose\n";
            const std::string clear = "rm -rf " + target + " && ";
            const std::string mirror = upload ? "mirror -R " + source + " " + remoteTarget
                                              : "mirror " + source + " " + target;
            std::vector<Contender> contenders{
                {"Tarvo", clear + tarvo + " --run-script " + script + " >/dev/null 2>&1", {}},
                {"lftp", clear + lftp + "'" + mirror + "; quit' 127.0.0.1 >/dev/null 2>&1", {}},
                {"lftp -P2", clear + lftp + "'" + "mirror --parallel=2" + mirror.substr(6) + "; quit' 127.0.0.1 >/dev/null 2>&1", {}},
            };
            const Tree expected = Measure(upload ? here / set : root / set);
            // One round not counted (caches, the first login), then `runs` rounds in turn.
            for (int round = 0; round <= runs; ++round) {
                for (Contender& contender : contenders) {
                    const double seconds = Time(contender.command);
                    const Tree got = Measure(target);
                    if (seconds < 0 || !(got == expected)) {
                        std::fprintf(stderr, "%s, %s %s: failed or incomplete (%llu of %llu files, %llu of %llu bytes)\n",
                                     contender.name.c_str(), set.c_str(), upload ? "up" : "down",
                                     static_cast<unsigned long long>(got.files),
                                     static_cast<unsigned long long>(expected.files),
                                     static_cast<unsigned long long>(got.bytes),
                                     static_cast<unsigned long long>(expected.bytes));
                        return 1;
                    }
                    if (round > 0)
                        contender.seconds.push_back(seconds);
                }
            }
            std::vector<double> ratio1, ratio2;
            for (int i = 0; i < runs; ++i) {
                ratio1.push_back(contenders[0].seconds[i] / contenders[1].seconds[i]);
                ratio2.push_back(contenders[0].seconds[i] / contenders[2].seconds[i]);
            }
            const std::string row = (set == "small" ? std::string("2,000 × 4 KiB") : std::string("20 × 50 MiB"))
                + (upload ? ", upload" : ", download");
            std::printf("| %s | %.2f | %.2f | %.2f | %.2f | %.2f |\n", row.c_str(), Median(contenders[0].seconds),
                        Median(contenders[1].seconds), Median(contenders[2].seconds), Median(ratio1), Median(ratio2));
            std::fflush(stdout);
            std::system(("rm -rf " + target).c_str());
        }
    }
    return 0;
}
