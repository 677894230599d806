#pragma once
// Real second processes for the platform tests: the test child copied under a
// chosen name, started with pipes on its standard input and output, and ended by
// closing its input (or killed when the object goes).

#include "platform/windows/app_data_folder.h"
#include "platform/windows/wide_text.h"

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <utility>

namespace quorlin::test {

// A fresh folder under the temporary folder, removed with everything in it.
struct WindowsTempDir {
    WindowsTempDir()
    {
        static std::atomic<int> counter{0};
        path = std::filesystem::temp_directory_path()
               / ("quorlin-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter));
        std::filesystem::create_directories(path);
    }
    ~WindowsTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

// platform_test_child.exe, built beside the test program.
inline std::filesystem::path testChild()
{
    return std::filesystem::path(widen(executableFolder())) / L"platform_test_child.exe";
}

// The test child copied into `folder` as `name`.
inline std::filesystem::path childNamed(const std::filesystem::path& folder, const std::wstring& name)
{
    const std::filesystem::path copy = folder / name;
    CopyFileW(testChild().c_str(), copy.c_str(), FALSE);
    return copy;
}

class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::wstring& arguments)
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE childInput = nullptr;
        HANDLE childOutput = nullptr;
        if (!CreatePipe(&childInput, &input_, &inherit, 0) || !CreatePipe(&output_, &childOutput, &inherit, 0))
            return;
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childInput;
        startup.hStdOutput = childOutput;
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
        std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                           nullptr, &startup, &info)) {
            process_ = info.hProcess;
            CloseHandle(info.hThread);
        }
        CloseHandle(childInput);
        CloseHandle(childOutput);
    }
    ~ChildProcess()
    {
        if (process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
        }
        for (HANDLE handle : {input_, output_, process_}) {
            if (handle != nullptr)
                CloseHandle(handle);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    HANDLE process() const { return process_; }

    // The child's first line of output (blocks until it comes or the child ends).
    std::string readLine()
    {
        std::string line;
        char c = 0;
        DWORD got = 0;
        while (ReadFile(output_, &c, 1, &got, nullptr) && got == 1 && c != '\n')
            line += c;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

    // Closes the child's input and waits for it to end; its exit code, or -1.
    int finish(DWORD timeoutMs = 10000)
    {
        if (input_ != nullptr)
            CloseHandle(std::exchange(input_, nullptr));
        return wait(timeoutMs);
    }

    int wait(DWORD timeoutMs = 10000)
    {
        DWORD code = 0;
        if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0
            || !GetExitCodeProcess(process_, &code))
            return -1;
        return static_cast<int>(code);
    }

private:
    HANDLE process_ = nullptr;
    HANDLE input_ = nullptr;   // our end of its standard input
    HANDLE output_ = nullptr;  // our end of its standard output
};

}  // namespace quorlin::test
