#include <windows.h>

#include <stdexcept>

#include "io/windows_text.h"
#include "support/process.h"

namespace marnoq::test {
namespace {

// One argument as the receiving program's command-line splitter reads it back.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

HANDLE inheritable(const std::string& path) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE handle = ::CreateFileW(io::toUtf16(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                  &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path);
    }
    return handle;
}

}  // namespace

struct Process::Child {
    PROCESS_INFORMATION info{};
};

Process::Process(const std::vector<std::string>& argv, const std::string& workdir,
                 const std::string& input)
    : child_(std::make_unique<Child>()) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (::CreatePipe(&readEnd, &writeEnd, &inherit, 0) == 0) {
        throw std::runtime_error("CreatePipe");
    }
    ::SetHandleInformation(writeEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = readEnd;
    startup.hStdOutput = inheritable(scratch_.file("out"));
    startup.hStdError = inheritable(scratch_.file("err"));
    std::wstring commandLine;
    for (const auto& argument : argv) {
        commandLine += (commandLine.empty() ? L"" : L" ") + quoted(io::toUtf16(argument));
    }
    const BOOL started =
        ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         io::toUtf16(workdir).c_str(), &startup, &child_->info);
    ::CloseHandle(readEnd);
    ::CloseHandle(startup.hStdOutput);
    ::CloseHandle(startup.hStdError);
    if (started == 0) {
        ::CloseHandle(writeEnd);
        throw std::runtime_error("cannot start " + argv.front());
    }
    // A blocking pipe takes all of it, or fails once the program has ended without reading.
    DWORD put = 0;
    ::WriteFile(writeEnd, input.data(), static_cast<DWORD>(input.size()), &put, nullptr);
    ::CloseHandle(writeEnd);
}

Process::~Process() {
    if (child_->info.hProcess != nullptr) {
        ::TerminateProcess(child_->info.hProcess, 1);
        ::WaitForSingleObject(child_->info.hProcess, INFINITE);
        ::CloseHandle(child_->info.hProcess);
        ::CloseHandle(child_->info.hThread);
    }
}

void Process::signal(int number) {
    ::TerminateProcess(child_->info.hProcess, 128 + static_cast<UINT>(number));
}

ProcessResult Process::wait() {
    ::WaitForSingleObject(child_->info.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(child_->info.hProcess, &code);
    ::CloseHandle(child_->info.hProcess);
    ::CloseHandle(child_->info.hThread);
    child_->info = {};
    ProcessResult result;
    result.status = static_cast<int>(code);
    result.out = readText(scratch_.file("out"));
    result.err = readText(scratch_.file("err"));
    return result;
}

}  // namespace marnoq::test
