// The main of the Windows test programs. Under the emulated 32-bit Wine, GoogleTest's own
// result printer ended the process at the first failure or skip it reported, so one failing
// case stopped every later case of its program. This printer writes the same lines to
// standard output and nothing else.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class PlainPrinter : public ::testing::EmptyTestEventListener {
public:
    void OnTestProgramStart(const ::testing::UnitTest &unit) override
    {
        std::printf("[==========] Running %d tests from %d test suites.\n", unit.test_to_run_count(),
                    unit.test_suite_to_run_count());
        std::fflush(stdout);
    }
    void OnTestStart(const ::testing::TestInfo &info) override
    {
        std::printf("[ RUN      ] %s.%s\n", info.test_suite_name(), info.name());
        std::fflush(stdout);
    }
    void OnTestPartResult(const ::testing::TestPartResult &result) override
    {
        if (result.type() == ::testing::TestPartResult::kSuccess) {
            return;
        }
        const char *kind = result.skipped() ? "Skipped" : "Failure";
        if (result.file_name() != nullptr) {
            std::printf("%s:%d: %s\n%s\n", result.file_name(), result.line_number(), kind, result.message());
        } else {
            std::printf("%s\n%s\n", kind, result.message());
        }
        std::fflush(stdout);
    }
    void OnTestEnd(const ::testing::TestInfo &info) override
    {
        const ::testing::TestResult *r = info.result();
        const char *mark = r->Failed() ? "[  FAILED  ]" : r->Skipped() ? "[  SKIPPED ]" : "[       OK ]";
        std::printf("%s %s.%s (%lld ms)\n", mark, info.test_suite_name(), info.name(),
                    static_cast<long long>(r->elapsed_time()));
        if (r->Failed()) {
            failed_.push_back(std::string(info.test_suite_name()) + "." + info.name());
        }
        std::fflush(stdout);
    }
    void OnTestProgramEnd(const ::testing::UnitTest &unit) override
    {
        std::printf("[==========] %d tests from %d test suites ran. (%lld ms total)\n", unit.test_to_run_count(),
                    unit.test_suite_to_run_count(), static_cast<long long>(unit.elapsed_time()));
        std::printf("[  PASSED  ] %d tests.\n", unit.successful_test_count());
        if (unit.skipped_test_count() > 0) {
            std::printf("[  SKIPPED ] %d tests.\n", unit.skipped_test_count());
        }
        for (const std::string &name : failed_) {
            std::printf("[  FAILED  ] %s\n", name.c_str());
        }
        if (!failed_.empty()) {
            std::printf("%zu FAILED TESTS\n", failed_.size());
        }
        std::fflush(stdout);
    }

private:
    std::vector<std::string> failed_;
};

}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::TestEventListeners &listeners = ::testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listeners.Append(new PlainPrinter);
    return RUN_ALL_TESTS();
}
