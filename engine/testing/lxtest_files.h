// File helpers the tests of several folders share: names in a temporary folder of this
// test program's own, whole-file reads and writes.
#ifndef WORDMERE_ENGINE_TESTING_LXTEST_FILES_H
#define WORDMERE_ENGINE_TESTING_LXTEST_FILES_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

// A folder made for this run of the test program inside the system's temporary folder,
// with a name that no other run has (the same tests of another checkout running at the
// same time included), ending in a separator; removed with its contents when the program
// ends. Made on first use, so a child process that is handed its paths makes none.
inline const std::string &testRunFolder()
{
    struct Folder {
        std::string path;
        Folder()
        {
            std::random_device device;
            std::mt19937_64 rng((uint64_t(device()) << 32) ^ device() ^
                                uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()));
            const std::filesystem::path base = std::filesystem::u8path(::testing::TempDir());
            for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
                const std::filesystem::path candidate = base / ("wm_run_" + std::to_string(rng() % 1000000000000ull));
                std::error_code ec;
                // Making the folder is the claim: it fails when another run has the name.
                if (std::filesystem::create_directory(candidate, ec) && !ec)
                    path = candidate.u8string() + "/";
            }
            if (path.empty())
                ADD_FAILURE() << "no folder of its own could be made in " << ::testing::TempDir();
        }
        ~Folder()
        {
            std::error_code ec;
            if (!path.empty())
                std::filesystem::remove_all(std::filesystem::u8path(path), ec);
        }
    };
    static const Folder folder;
    return folder.path;
}

// A file name in this run's folder, prefixed with the running test suite's name so that
// the suites of one program never share a file.
inline std::string tempPath(const std::string &name)
{
    const ::testing::TestSuite *suite = ::testing::UnitTest::GetInstance()->current_test_suite();
    std::string path = testRunFolder() + "wm_";
    if (suite)
        path += std::string(suite->name()) + "_";
    return path + name;
}

// The whole file as bytes; empty when it cannot be read.
inline std::string readFile(const std::string &path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces the file with the bytes.
inline void writeFile(const std::string &path, const void *bytes, size_t size)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char *>(bytes), static_cast<std::streamsize>(size));
}

inline void writeFile(const std::string &path, const std::string &bytes)
{
    writeFile(path, bytes.data(), bytes.size());
}

inline void writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    writeFile(path, bytes.data(), bytes.size());
}

inline bool fileExists(const std::string &path)
{
    std::ifstream f(path.c_str(), std::ios::binary);
    return f.good();
}

#endif
