// File helpers the tests of several folders share: names in the test's temporary folder,
// whole-file reads and writes.
#ifndef WORDMERE_ENGINE_TESTING_LXTEST_FILES_H
#define WORDMERE_ENGINE_TESTING_LXTEST_FILES_H

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A file name in the temporary folder, prefixed with the running test suite's name so that
// test programs run side by side never share a file.
inline std::string tempPath(const std::string &name)
{
    const ::testing::TestSuite *suite = ::testing::UnitTest::GetInstance()->current_test_suite();
    std::string path = ::testing::TempDir() + "wm_";
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
