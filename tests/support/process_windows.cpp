#include <windows.h>

#include <filesystem>
#include <random>
#include <stdexcept>

#include "io/utf8_path.h"
#include "io/windows_text.h"
#include "support/process.h"
#include "support/temp_dir.h"

namespace marnoq::test {
namespace {

std::string scratchFile(const char* name) {
    std::random_device device;
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string("marnoq-") + name + "-" + std::to_string(device()));
    writeText(io::utf8Text(path), "");
    return io::utf8Text(path);
}

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
    : child_(std::make_unique<Child>()),
      outPath_(scratchFile("out")),
      errPath_(scratchFile("err")) {
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
    startup.hStdOutput = inheritable(outPath_);
    startup.hStdError = inheritable(errPath_);
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
    for (std::size_t done = 0; done < input.size();) {
        DWORD put = 0;
        if (::WriteFile(writeEnd, input.data() + done, static_cast<DWORD>(input.size() - done),
                        &put, nullptr) == 0) {
            break;
        }
        done += put;
    }
    ::CloseHandle(writeEnd);
}

Process::~Process() {
    if (child_->info.hProcess != nullptr) {
        ::TerminateProcess(child_->info.hProcess, 1);
        ::WaitForSingleObject(child_->info.hProcess, INFINITE);
        ::CloseHandle(child_->info.hProcess);
        ::CloseHandle(child_->info.hThread);
    }
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(io::toUtf16(outPath_)), ignored);
    std::filesystem::remove(std::filesystem::path(io::toUtf16(errPath_)), ignored);
}

int Process::id() const {
    return static_cast<int>(child_->info.dwProcessId);
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
    result.out = readText(outPath_);
    result.err = readText(errPath_);
    return result;
}

}  // namespace marnoq::test
