// Runs the test program again as a copy in the temporary folder whose
// HKCU\Software\Wine\AppDefaults\<copy>.exe value "Version" gives the Windows version Wine
// reports to it (winxp, win2k, nt40, win98, winme), with a gtest filter and an environment
// variable that tells the copy which version it runs under. The copy reports into this run's
// output; the answer is its exit code (0 when its tests passed, negative when it could not run).
#ifndef WORDMERE_SKIN_CORE_TESTS_VERSION_COPY_WIN_H
#define WORDMERE_SKIN_CORE_TESTS_VERSION_COPY_WIN_H

#include <windows.h>

#include <cstdlib>
#include <string>

inline int runCopyUnderWindowsVersion(const std::string &version, const std::wstring &filter, const char *variable)
{
    const std::wstring v(version.begin(), version.end());
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring exe = L"wm_copy_" + v + L"_" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    const std::wstring copy = std::wstring(temp) + exe;
    if (!CopyFileW(self, copy.c_str(), FALSE)) {
        return -1;
    }
    const std::wstring key = L"Software\\Wine\\AppDefaults\\" + exe;
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) == ERROR_SUCCESS) {
        RegSetValueExW(k, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(v.c_str()),
                       static_cast<DWORD>((v.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(k);
    }
    SetEnvironmentVariableA(variable, version.c_str());
    std::wstring command = L"\"" + copy + L"\" --gtest_filter=" + filter + L" --gtest_brief=1";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    DWORD code = static_cast<DWORD>(-2);
    const char *scale = std::getenv("WORDMERE_TEST_TIME_SCALE");
    const DWORD factor = scale && std::atoi(scale) > 1 ? static_cast<DWORD>(std::atoi(scale)) : 1;
    if (CreateProcessW(copy.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        if (WaitForSingleObject(pi.hProcess, 600000u * factor) != WAIT_OBJECT_0) {
            TerminateProcess(pi.hProcess, static_cast<UINT>(-3));
            WaitForSingleObject(pi.hProcess, 10000);
        }
        GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    SetEnvironmentVariableA(variable, nullptr);
    RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    DeleteFileW(copy.c_str());
    return static_cast<int>(code);
}

#endif
