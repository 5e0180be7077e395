#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

namespace marnoq::cli {
namespace {

// A command line as typed, split at blanks.
std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), {}};
}

TEST(CliOptions, CommandsSourcesAndNaming) {
    auto parsed = parseArguments(
        {"decrypt", "--password-file", "pw", "--suffix", "-x", "a.aes", "--", "--odd.aes"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->command, Command::Decrypt);
    EXPECT_EQ(parsed.options->passwordSource, PasswordSource::File);
    EXPECT_EQ(parsed.options->passwordFile, "pw");
    EXPECT_EQ(parsed.options->suffix, "-x");
    EXPECT_EQ(parsed.options->files, (std::vector<std::string>{"a.aes", "--odd.aes"}));
    EXPECT_TRUE(parseArguments({"decrypt", "--original-name", "a.aes"}).options->originalName);
    EXPECT_EQ(parseArguments({"--version"}).options->command, Command::Version);
    EXPECT_EQ(parseArguments({"encrypt", "--", "-"}).options->files,
              (std::vector<std::string>{"./-"}));
    auto scripted = parseArguments({"verify", "-r", "-j", "3", "--json", "-q", "d"}).options;
    ASSERT_TRUE(scripted);
    EXPECT_TRUE(scripted->recursive && scripted->json && scripted->quiet);
    EXPECT_EQ(scripted->jobs, 3);
    EXPECT_EQ(parseArguments({"encrypt", "-o", "x.aes", "-"}).options->output, "x.aes");
}

TEST(CliOptions, ScriptSpellingsMeanThePlainOnes) {
    const std::pair<const char*, const char*> same[] = {
        {"encrypt -j4 -rq a", "encrypt -j 4 -r -q a"},
        {"encrypt -qrj2 a", "encrypt -q -r -j 2 a"},
        {"encrypt --jobs=3 --output=x.aes a", "encrypt -j 3 -o x.aes a"},
        {"decrypt --password-file=p=w -ox a.aes", "decrypt --password-file p=w -o x a.aes"},
        // A value stays whole whatever it looks like, and so does everything after "--".
        {"decrypt --suffix -rq a.aes", "decrypt --suffix=-rq a.aes"},
        {"encrypt -o -j4 -- -rq", "encrypt --output=-j4 -- -rq"},
        {"encrypt --force a", "encrypt -f a"},
        {"encrypt -rfq a", "encrypt -r -f -q a"},
        // Other names of the standard streams mean them.
        {"decrypt -o /dev/stdout a.aes", "decrypt -o - a.aes"},
        {"decrypt -o /proc/self/fd/1 a.aes", "decrypt -o - a.aes"},
        {"encrypt -o x /dev/stdin", "encrypt -o x -"},
        {"encrypt /dev/fd/63", "encrypt -- /dev/fd/63"}};
    for (const auto& [scripted, plain] : same) {
        const auto a = parseArguments(words(scripted)).options;
        const auto b = parseArguments(words(plain)).options;
        ASSERT_TRUE(a && b) << scripted;
        EXPECT_EQ(std::tie(a->files, a->jobs, a->output, a->suffix, a->passwordFile, a->recursive,
                           a->quiet, a->force),
                  std::tie(b->files, b->jobs, b->output, b->suffix, b->passwordFile, b->recursive,
                           b->quiet, b->force))
            << scripted;
    }
    EXPECT_EQ(parseArguments({"encrypt", "-rx", "a"}).error, "Unbekannte Option: -rx");
    EXPECT_EQ(parseArguments({"encrypt", "--quiet=1", "a"}).error, "Unbekannte Option: --quiet=1");
}

TEST(CliOptions, RefusalsSayWhy) {
    EXPECT_EQ(parseArguments({}).error, "Kein Befehl angegeben.");
    EXPECT_EQ(parseArguments({"shred", "a"}).error, "Unbekannter Befehl: shred");
    EXPECT_EQ(parseArguments({"encrypt"}).error, "Keine Dateien angegeben.");
    EXPECT_EQ(parseArguments({"encrypt", "--fast", "a"}).error, "Unbekannte Option: --fast");
    EXPECT_EQ(parseArguments({"encrypt", "--suffix", "x", "a"}).error,
              "--suffix passt nicht zu encrypt.");
    EXPECT_FALSE(parseArguments({"decrypt", "--original-name", "--suffix", "x", "a.aes"}).options);
    EXPECT_FALSE(parseArguments({"decrypt", "a.aes", "--password-file"}).options);
    // Outputs and streams that cannot work together.
    const char* const refused[] = {
        "encrypt -o x a b", "encrypt -r -o x d", "verify -o x a.aes", "encrypt -o - a",
        "decrypt --json -o - a.aes", "decrypt -o x -", "encrypt --password-stdin -o x -",
        "encrypt -j 0 a", "encrypt -j zwei a",
        // Options the command does not use, or given twice or together with their opposite.
        "info --password-file pw a.aes", "info -j 2 a.aes", "verify --original-name a.aes",
        "encrypt --password-file pw --password-stdin a", "decrypt -o x --output y a.aes",
        "verify -f a.aes",
        // Streams of the program's own that are no place for data.
        "decrypt -o /dev/stderr a.aes", "decrypt -o /dev/fd/2 a.aes", "decrypt -o /dev/stdin a.aes",
        "encrypt -o x.aes /dev/stdout"};
    for (const auto& arguments : refused) {
        EXPECT_FALSE(parseArguments(words(arguments)).options) << arguments;
    }
    auto leak = parseArguments({"encrypt", "--password=geheim", "a"});
    EXPECT_FALSE(leak.options);
    EXPECT_NE(leak.error.find("nie als Argument"), std::string::npos);
}

}  // namespace
}  // namespace marnoq::cli
