// Nothing the user added is lost, whatever happens during a write: a child process adding
// entries to a file of 5,000 is killed (SIGKILL natively, TerminateProcess on Windows) at
// many moments of its rewrites, and after every kill the file opens and holds the old
// entries and a complete run of the new ones; writes that fail (a read-only folder, a disk
// full as far as a file-size limit goes, a file another program holds) keep the old file and
// answer false.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "format/lxcontainerwriter.h"
#include "format/lxd.h"
#include "lxadditions_fixture.h"
#include "search/lxdatamanager.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char **environ;
#endif

using namespace lxadditions;

namespace {

const char kChildFolder[] = "WORDMERE_ADDITIONS_CHILD_FOLDER";
const char kChildStart[] = "WORDMERE_ADDITIONS_CHILD_START";
const int kOldEntries = 5000;

std::string additionsPath(const std::string &folder)
{
    return folder + "english-french-additions.lxd";
}

std::string numbered(const char *stem, int i)
{
    return stem + std::to_string(i);
}

// The English headwords of the file that carry a definition.
std::set<std::string> storedHeadwords(const std::string &path)
{
    std::unique_ptr<LXDataManager> dm(LXDataManager::create());
    LXD module(dm->getCompressor(), dm->getTokenizer());
    std::set<std::string> out;
    if (!module.validate(u8(path)) || !module.open())
        return out;
    LXList<LXTerm> terms;
    module.readAllTerms(terms);
    for (LXList<LXTerm>::const_iterator t = terms.begin(); !t.isAtEnd(); ++t) {
        if (t->getLanguage() == LXEnglish && !t->getDefinitions().empty())
            out.insert(text(t->getHeadword()));
    }
    return out;
}

// How many entries "new0", "new1" ... the file holds; -1 when they are not a complete run
// or an old entry is missing.
int completeRun(const std::set<std::string> &stored)
{
    for (int i = 0; i < kOldEntries; ++i) {
        if (!stored.count(numbered("old", i)))
            return -1;
    }
    int n = 0;
    while (stored.count(numbered("new", n)))
        ++n;
    return static_cast<int>(stored.size()) == kOldEntries + n ? n : -1;
}

bool addPair(LXDataManager &dm, const std::string &folder, const std::string &headword, const std::string &translation)
{
    return dm.addTerm(u8(headword), u8("n"), 2, u8(translation), u8("n"), 2, LXEnglish, LXFrench, 10,
                      u8(folder.substr(0, folder.size() - 1)));
}

class AdditionsSafetyTest : public AdditionsTest {
protected:
    void SetUp() override
    {
        AdditionsTest::SetUp();
        LXList<LXTerm> terms;
        for (int i = 0; i < kOldEntries; ++i)
            terms.insert(userTerm(numbered("old", i), "n", numbered("ancien", i)));
        ASSERT_TRUE(dm->addTerms(terms, 10, dir()));
        path = additionsPath(folder);
        ASSERT_EQ(completeRun(storedHeadwords(path)), 0);
    }
    std::string path;
};

// ---- The child that writes until it is killed ----

TEST(AdditionsChild, AddsEntriesUntilKilled)
{
    const char *folder = std::getenv(kChildFolder);
    if (!folder)
        GTEST_SKIP() << "started by AdditionsSafetyTest.AKilledWriterNeverLosesEntries";
    const int start = std::atoi(std::getenv(kChildStart) ? std::getenv(kChildStart) : "0");
    std::unique_ptr<LXDataManager> dm = managerOf(folder);
    std::ofstream(std::string(folder) + "ready") << "ready";
    for (int i = start; i < start + 100000; ++i)
        ASSERT_TRUE(addPair(*dm, folder, numbered("new", i), numbered("neuf", i)));
}

// A wait's limit in milliseconds, longer on slow machines (WORDMERE_TEST_TIME_SCALE, as the
// test runner sets it for an emulated Windows).
int scaledMs(int ms)
{
    const char *scale = std::getenv("WORDMERE_TEST_TIME_SCALE");
    const int factor = scale ? std::atoi(scale) : 1;
    return factor > 1 ? ms * factor : ms;
}

// Polls without sleeping: a write of the new file may take less than a sleep's tick.
bool waitFor(const std::string &file, int limitMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < end) {
        if (std::filesystem::exists(file))
            return true;
        std::this_thread::yield();
    }
    return false;
}

// The time a file was last replaced or written, or nothing when it does not exist.
std::optional<std::filesystem::file_time_type> stamp(const std::string &file)
{
    std::error_code ec;
    const auto t = std::filesystem::last_write_time(file, ec);
    if (ec)
        return std::nullopt;
    return t;
}

// Waits until the file exists with another time than it had (a new one begun, or one replaced).
bool waitForChange(const std::string &file, std::optional<std::filesystem::file_time_type> before, int limitMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    while (std::chrono::steady_clock::now() < end) {
        const auto now = stamp(file);
        if (now && now != before)
            return true;
        std::this_thread::yield();
    }
    return false;
}

// Waits without sleeping, for waits shorter than a sleep's tick.
void spin(int microseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds);
    while (std::chrono::steady_clock::now() < end)
        std::this_thread::yield();
}

// Starts this test program as the child and kills it delay milliseconds after it is
// ready, or, with duringWrite, delay microseconds after it began writing a new file.
// False when the child could not be started or did not get ready.
bool runAndKill(const std::string &folder, const std::string &file, const std::string &temporary, int start,
                int delay, bool duringWrite)
{
    const std::string ready = folder + "ready";
    std::filesystem::remove(ready);
    // A temporary file a killed child left behind, and the module as it stands, are told apart from
    // the ones this child makes by their times.
    const auto temporaryBefore = stamp(temporary), fileBefore = stamp(file);
    const std::string filter = "--gtest_filter=AdditionsChild.AddsEntriesUntilKilled";
#ifdef _WIN32
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    SetEnvironmentVariableA(kChildFolder, folder.c_str());
    SetEnvironmentVariableA(kChildStart, std::to_string(start).c_str());
    std::wstring command = L"\"" + std::wstring(exe) + L"\" " + std::wstring(filter.begin(), filter.end());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    const bool started = CreateProcessW(exe, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA(kChildFolder, nullptr);
    SetEnvironmentVariableA(kChildStart, nullptr);
    if (!started)
        return false;
#else
    char exe[4096];
    const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
        return false;
    exe[n] = 0;
    std::vector<std::string> env;
    for (char **e = environ; *e; ++e)
        env.push_back(*e);
    env.push_back(std::string(kChildFolder) + "=" + folder);
    env.push_back(std::string(kChildStart) + "=" + std::to_string(start));
    std::vector<char *> envp, argv = {exe, const_cast<char *>(filter.c_str()), nullptr};
    for (std::string &e : env)
        envp.push_back(&e[0]);
    envp.push_back(nullptr);
    pid_t pid;
    if (posix_spawn(&pid, exe, nullptr, nullptr, argv.data(), envp.data()) != 0)
        return false;
#endif
    // A kill during a write comes once this child has begun its own new file; any other kill comes
    // at a random moment after its first complete write, so that the children always make progress
    // however slow the machine is.
    const bool gotReady = waitFor(ready, scaledMs(60000));
    if (gotReady && duringWrite && waitForChange(temporary, temporaryBefore, scaledMs(10000)))
        spin(delay);
    else if (gotReady && !duringWrite && waitForChange(file, fileBefore, scaledMs(60000)))
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
#ifdef _WIN32
    TerminateProcess(pi.hProcess, 9);
    WaitForSingleObject(pi.hProcess, INFINITE);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
#else
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
#endif
    return gotReady;
}

TEST_F(AdditionsSafetyTest, AKilledWriterNeverLosesEntries)
{
    // One rewrite of the file, to spread the kills over a few of them.
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(addPair(*dm, folder, "probe", "sonde"));
    const int rewriteMs = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count());
    ASSERT_TRUE(deleteUserDefinition(*dm, "probe", LXEnglish, LXFrench));
    dm.reset();   // the children write alone

#ifdef _WIN32
    const int kills = 12;
#else
    const int kills = 24;
#endif
    // Every other kill comes at a random moment of a few rewrites, the others at a random
    // moment after a new file was begun.
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> anyTime(0, 4 * (rewriteMs + 1)), inWrite(0, 1000);
    const std::string temporary = text(LXContainerWriter::temporaryPath(u8(path)));
    int written = 0, midWrite = 0;
    for (int k = 0; k < kills; ++k) {
        const bool duringWrite = k % 2 == 1;
        ASSERT_TRUE(runAndKill(folder, path, temporary, written,
                               duringWrite ? inWrite(random) : anyTime(random), duringWrite))
            << "the child did not start, kill " << k;
        if (std::filesystem::exists(temporary))
            ++midWrite;   // killed while the new file was being written
        const int run = completeRun(storedHeadwords(path));
        ASSERT_GE(run, written) << "kill " << k << ": entries lost or the file damaged";
        written = run;
    }
    std::printf("%d kills, %d of them while a new file was being written, %d entries added\n", kills, midWrite,
                written);
    EXPECT_GT(written, 0) << "the children never finished a write";
    EXPECT_GT(midWrite, 0) << "no kill came during a write";
    // A write after the kills takes the place of the left-over temporary file.
    std::unique_ptr<LXDataManager> after = managerOf(folder);
    ASSERT_TRUE(addPair(*after, folder, numbered("new", written), numbered("neuf", written)));
    EXPECT_EQ(completeRun(storedHeadwords(path)), written + 1);
    EXPECT_FALSE(std::filesystem::exists(temporary));
}

// ---- Writes that fail ----

// The old file is kept byte for byte, the answer is false, nothing is left beside it, and
// the module still reads the old entries.
void expectRefusedWrite(LXDataManager &dm, const std::string &folder, const std::string &path,
                        const std::string &before)
{
    EXPECT_FALSE(addPair(dm, folder, "cup", "tasse"));
    EXPECT_EQ(dm.getLastAdditionsResult(), LXDataManager::AdditionsNotWritten);
    EXPECT_TRUE(fileBytes(path) == before) << "the old file changed";
    EXPECT_FALSE(std::filesystem::exists(text(LXContainerWriter::temporaryPath(u8(path)))));
    EXPECT_EQ(lookUp(dm, "old7", LXEnglish, LXFrench), "old7 [n]: ancien7/100");
    EXPECT_EQ(lookUp(dm, "cup", LXEnglish, LXFrench), "");
}

#ifndef _WIN32
// Runs body in a child process; the test fails when it does not end with 0.
template <typename Body>
void inChild(Body body)
{
    fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0)
        _exit(body() && !::testing::Test::HasFailure() ? 0 : 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST_F(AdditionsSafetyTest, AFullDiskKeepsTheOldFile)
{
    const std::string before = fileBytes(path);
    inChild([&] {
        signal(SIGXFSZ, SIG_IGN);   // writes beyond the limit fail instead of ending the process
        struct rlimit limit = {4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        expectRefusedWrite(*dm, folder, path, before);
        return true;
    });
    EXPECT_TRUE(fileBytes(path) == before) << "the old file changed";
}

TEST_F(AdditionsSafetyTest, AReadOnlyFolderKeepsTheOldFile)
{
    const std::string before = fileBytes(path);
    const std::string folderName = folder.substr(0, folder.size() - 1);
    chmod(folderName.c_str(), 0555);
    inChild([&] {
        // Permissions do not hold for the superuser: the write is tried as nobody.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return false;
        expectRefusedWrite(*dm, folder, path, before);
        return true;
    });
    chmod(folderName.c_str(), 0755);
    EXPECT_TRUE(fileBytes(path) == before) << "the old file changed";
}

TEST_F(AdditionsSafetyTest, AnAdditionThatFailedIsNotWrittenByTheNextOne)
{
    // In this process: the manager keeps the module's terms between changes, and one
    // change fails for a full disk. The next change writes the file as it was plus itself.
    ASSERT_TRUE(addPair(*dm, folder, "warm", "chaud"));
    const std::string before = fileBytes(path);
    struct rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*handler)(int) = signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit = saved;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    expectRefusedWrite(*dm, folder, path, before);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, handler);

    ASSERT_TRUE(addPair(*dm, folder, "mug", "chope"));
    const std::set<std::string> stored = storedHeadwords(path);
    EXPECT_TRUE(stored.count("warm") && stored.count("mug") && stored.count("old4999"));
    EXPECT_FALSE(stored.count("cup")) << "the refused addition was written after all";
    EXPECT_EQ(stored.size(), static_cast<size_t>(kOldEntries + 2));
}
#else
TEST_F(AdditionsSafetyTest, AFileInUseKeepsTheOldFile)
{
    const std::string before = fileBytes(path);
    // Another program reads the file and lets nobody change or replace it meanwhile.
    HANDLE held = CreateFileW(std::filesystem::u8path(path).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    expectRefusedWrite(*dm, folder, path, before);
    CloseHandle(held);
    ASSERT_TRUE(addPair(*dm, folder, "cup", "tasse"));
    EXPECT_EQ(lookUp(*dm, "cup", LXEnglish, LXFrench), "cup [n]: tasse/100");
}
#endif

} // namespace
