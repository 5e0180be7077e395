#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cerrno>

#include "io/absolute_path.h"
#include "io/file_error.h"
#include "io/file_system.h"
#include "io/windows_file_api.h"
#include "io/windows_text.h"
#include "jobs/job_fixture.h"
#include "jobs/messages.h"
#include "jobs/path_functions.h"
#include "window_model/command_line_split.h"

namespace marnoq {
namespace {

class WindowsFilesTest : public test::JobTest {
  protected:
    static void setAttributes(const std::string& path, DWORD attributes) {
        ASSERT_NE(::SetFileAttributesW(io::longPath(path).c_str(), attributes), 0);
    }
};

// Command lines as Windows writes them (quotes only around blanks) reach the window's lists
// item by item, and the absolute-path step the window shares with the command line leaves
// network, verbatim and device forms as they are.
TEST(CommandLinePaths, SplitAsWindowsDoesAndKeptAbsoluteAsGiven) {
    using Items = std::vector<std::string>;
    const struct {
        const wchar_t* commandLine;
        Items encrypt, decrypt;
    } cases[] = {
        {LR"(C:\Daten\brief.txt "C:\Daten\Rechnung Januar 2025.pdf" b.aes)",
         {R"(C:\Daten\brief.txt)", R"(C:\Daten\Rechnung Januar 2025.pdf)"},
         {R"(C:\Daten\b.aes)"}},
        {LR"("C:\a\x.txt" "" "C:\b\y.aes")", {R"(C:\a\x.txt)"}, {R"(C:\b\y.aes)"}},
        {L"\u00dcbersicht.txt .\\Gr\u00fc\u00dfe.aes",
         {"C:\\Daten\\\xc3\x9c"
          "bersicht.txt"},
         {"C:\\Daten\\Gr\xc3\xbc\xc3\x9f"
          "e.aes"}},
        {LR"(\\server\freigabe\x.aes //server/freigabe/y.txt)",
         {R"(\\server\freigabe\y.txt)"},
         {R"(\\server\freigabe\x.aes)"}},
        {LR"(\\?\C:\Daten\a.txt \\?\UNC\server\freigabe\a/b.aes \\.\COM1)",
         {R"(\\?\C:\Daten\a.txt)", R"(\\.\COM1)"},
         {R"(\\?\UNC\server\freigabe\a/b.aes)"}},
        {LR"(C:x.txt \Temp\y.txt C:/Daten/sub/../z.txt "C:\Ordner mit \"Anf\"")",
         {R"(C:\Daten\x.txt)", R"(C:\Temp\y.txt)", R"(C:\Daten\sub\..\z.txt)",
          R"(C:\Ordner mit "Anf")"},
         {}},
    };
    for (const auto& c : cases) {
        const auto files =
            window_model::sortCommandLine(io::commandLineArguments(c.commandLine), R"(C:\Daten)");
        EXPECT_EQ(files.encrypt, c.encrypt) << io::toUtf8(c.commandLine);
        EXPECT_EQ(files.decrypt, c.decrypt) << io::toUtf8(c.commandLine);
    }
}

// The command line expands "*" and "?" itself, as a Unix shell would, but not inside quotes
// nor in the prefix of a verbatim name, and leaves a pattern that matches nothing for the
// command line to name.
TEST_F(WindowsFilesTest, WildcardsExpandUnlessQuoted) {
    for (const char* name : {"b.aes", "a.aes", "c.txt"}) {
        test::writeText(dir.file(name), "x");
    }
    const std::string d = dir.path() + "\\";
    const std::wstring w = io::toUtf16(d);
    using Items = std::vector<std::string>;
    const std::pair<std::wstring, Items> cases[] = {
        {L"info " + w + L"*.aes", {"info", d + "a.aes", d + "b.aes"}},
        {L"info \"" + w + L"*.aes\" " + w + L"?.txt", {"info", d + "*.aes", d + "c.txt"}},
        {L"info " + w + L"*.pdf", {"info", d + "*.pdf"}},
        // The "?" of a verbatim name is no pattern.
        {L"info \\\\?\\" + w + L"c.txt", {"info", R"(\\?\)" + d + "c.txt"}},
    };
    for (const auto& [commandLine, items] : cases) {
        EXPECT_EQ(io::expandedArguments(commandLine), items) << io::toUtf8(commandLine);
    }
}

// Names as Windows users type them: back and forward slashes, wide characters, and a path
// beyond the 260 characters of the old limit. Each encrypts and decrypts to the same bytes.
TEST_F(WindowsFilesTest, PathsAsUsersTypeThemRoundTrip) {
    std::string deep = dir.path();
    for (int i = 0; i < 6; ++i) {
        deep += "\\" + std::string(50, static_cast<char>('a' + i));
        test::makeFolder(deep);
    }
    const std::string paths[] = {dir.path() + "\\backslash.txt", dir.path() + "/forward.txt",
                                 dir.path() + "\\Grüße €.txt", dir.path() + "\\日本語 ñ.txt",
                                 deep + "\\lang.txt"};
    const auto bytes = test::randomBytes(40017);
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        test::writeBytes(path, bytes);
        ASSERT_TRUE(test::runJob(view, test::Job::Encrypt, {path}).allDone());
        ASSERT_TRUE(test::runJob(view, test::Job::Decrypt, {path + ".aes"}).allDone());
        EXPECT_EQ(test::readBytes(jobs::decryptedName(path + ".aes", true, "-dec")), bytes);
        EXPECT_TRUE(view.boxes.empty());
    }
}

// An old output that is read-only, hidden or a system file is replaced all the same, and the
// new file is an ordinary one; no temporary file stays behind.
TEST_F(WindowsFilesTest, OldOutputWithAttributesIsReplaced) {
    for (DWORD old :
         {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN},
          DWORD{FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY}}) {
        SCOPED_TRACE(old);
        const std::string plain = dir.file("p.txt");
        test::writeText(plain, "neu");
        test::writeText(plain + ".aes", "alter Inhalt, der verschwinden muss");
        setAttributes(plain + ".aes", old);
        ASSERT_TRUE(test::runJob(view, test::Job::Encrypt, {plain}).allDone());
        EXPECT_EQ(test::readBytes(plain + ".aes").size(), 31u + 16u);
        EXPECT_EQ(::GetFileAttributesW(io::longPath(plain + ".aes").c_str()) & old, 0u);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"p.txt", "p.txt.aes"}));
    }
}

// Hidden and system files do not pass the existence test: the job skips them silently.
TEST_F(WindowsFilesTest, HiddenAndSystemSourcesAreSkipped) {
    for (DWORD hidden : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(hidden);
        const std::string plain = dir.file("versteckt.txt");
        test::writeText(plain, "x");
        setAttributes(plain, hidden);
        auto report = test::runJob(view, test::Job::Encrypt, {plain});
        ASSERT_EQ(report.files.size(), 1u);
        EXPECT_EQ(report.files[0].outcome, jobs::FileOutcome::Skipped);
        EXPECT_FALSE(io::exists(plain + ".aes"));
        setAttributes(plain, FILE_ATTRIBUTE_NORMAL);
    }
}

// Decrypted files are private as Windows keeps a user's own: the user, SYSTEM and Administrators,
// nothing inherited. Read back from the request (Wine keeps no lists on files): a list the
// system cannot parse would leave the file with its folder's access, unnoticed.
TEST(CreationSecurity, PrivateFilesGetOwnerSystemAndAdministratorsOnly) {
    EXPECT_EQ(io::CreationSecurity(0644).attributes(), nullptr);
    io::CreationSecurity security(0600);
    ASSERT_NE(security.attributes(), nullptr);
    wchar_t* text = nullptr;
    ASSERT_NE(::ConvertSecurityDescriptorToStringSecurityDescriptorW(
                  security.attributes()->lpSecurityDescriptor, SDDL_REVISION_1,
                  DACL_SECURITY_INFORMATION, &text, nullptr),
              0);
    const std::string rules = io::toUtf8(text);
    ::LocalFree(text);
    EXPECT_TRUE(rules.starts_with("D:P(A;;FA;;;S-1-5-")) << rules;
    EXPECT_TRUE(rules.ends_with(")(A;;FA;;;SY)(A;;FA;;;BA)")) << rules;
    EXPECT_EQ(std::count(rules.begin(), rules.end(), '('), 3) << rules;
}

// Files other programs hold open: a destination opened without sharing is reported as in use,
// naming it, and the job leaves neither a partial output nor a temporary file; an input
// another program is writing (with the sharing a log writer gives) is read as Explorer would.
TEST_F(WindowsFilesTest, FilesOpenInOtherPrograms) {
    const std::string plain = dir.file("p.txt");
    test::writeText(plain, "Inhalt");
    test::writeText(plain + ".aes", "gesperrt");
    // Held: the output without sharing (refused), the input for writing with sharing (read).
    const std::pair<std::string, DWORD> cases[] = {{plain + ".aes", 0},
                                                   {plain, FILE_SHARE_READ | FILE_SHARE_WRITE}};
    for (const auto& [held, sharing] : cases) {
        view.boxes.clear();
        HANDLE handle = ::CreateFileW(io::longPath(held).c_str(), GENERIC_WRITE, sharing, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
        const bool done = test::runJob(view, test::Job::Encrypt, {plain}).allDone();
        ::CloseHandle(handle);
        EXPECT_EQ(done, held == plain) << held;
        EXPECT_EQ(boxTexts(), done ? std::vector<std::string>{}
                                   : std::vector<std::string>{jobs::fileErrorMessage(
                                         io::FileError(io::FileOperation::Rename, held, EBUSY))});
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"p.txt", "p.txt.aes"}));
    }
    EXPECT_PRED2(test::contains, jobs::reasonText(EBUSY),
                 "wird von einem anderen Programm verwendet");
}

}  // namespace
}  // namespace marnoq
