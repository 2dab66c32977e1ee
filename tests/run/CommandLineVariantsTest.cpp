// Command lines as schedulers, shortcuts, batch files and other programs write
// them: thousands of variants of valid ones, taken apart and taken as a start.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "AllocationMeter.h"
#include "Mutations.h"
#include "base/CommandLine.h"
#include "run/StartArguments.h"

namespace {

using Arguments = std::vector<std::string>;

bool IsBlank(const std::string& character) {
    return character == " " || character == "\t";
}

// The characters of a text: a lead byte and the byte after it are one.
std::vector<std::string> Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (size_t at = 0; at < text.size();) {
        size_t length = IsDBCSLeadByte(static_cast<BYTE>(text[at])) && at + 1 < text.size() ? 2 : 1;
        characters.push_back(text.substr(at, length));
        at += length;
    }
    return characters;
}

// Each argument in quotes, with a blank between. The last one's closing quote is
// left off: quoting runs to the end anyway, and a lead byte alone at its end
// would take the quote for its second byte.
std::string Joined(const Arguments& arguments) {
    std::string line;
    for (size_t i = 0; i < arguments.size(); ++i)
        line += (i == 0 ? "\"" : "\" \"") + arguments[i];
    return line;
}

bool StartsWith(const std::string& text, const char* start) {
    return text.compare(0, std::strlen(start), start) == 0;
}

// What holds for any command line (a C string: it ends at a NUL): it is taken
// apart holding at most a few string objects per argument and a few copies of
// its bytes, into arguments that
// - are never empty;
// - hold the line's characters in order, whole, without its quotes and the
//   blanks (spaces, tabs) that separate: a double-byte character is never split,
//   even when its second byte is a backslash, quote or blank;
// - hold no blank at all when the line holds no quote;
// - come back the same when joined again in quotes;
// and the start takes "-s" in either case as the unattended run, the rest of the
// last "--proc" and "--ref" argument as their folders, and the last argument
// that is none of these as the job file.
void Check(const std::string& variant) {
    const std::string line = variant.substr(0, variant.find('\0'));
    Arguments arguments;
    StartArguments start;
    size_t peak = 0;
    {
        AllocationMeter meter;
        arguments = SplitCommandLine(line);
        start = ParseStartArguments(arguments);
        peak = meter.Peak();
    }
    EXPECT_LE(peak, 3 * sizeof(std::string) * arguments.size() + 4 * line.size() + 1024);

    std::vector<std::string> expected, taken;
    for (const std::string& character : Characters(line))
        if (character != "\"" && !IsBlank(character))
            expected.push_back(character);
    bool blank = false;
    for (const std::string& argument : arguments) {
        EXPECT_FALSE(argument.empty());
        for (const std::string& character : Characters(argument)) {
            if (IsBlank(character))
                blank = true;
            else
                taken.push_back(character);
        }
    }
    EXPECT_EQ(expected, taken) << "characters lost, added or split";
    if (line.find('"') == std::string::npos) {
        EXPECT_FALSE(blank) << "a blank outside quotes inside an argument";
    }
    EXPECT_EQ(arguments, SplitCommandLine(Joined(arguments))) << Joined(arguments);

    bool unattended = false;
    std::string job, processing, reference;
    for (const std::string& argument : arguments) {
        if (argument == "-s" || argument == "-S")
            unattended = true;
        else if (StartsWith(argument, "--proc"))
            processing = argument.substr(6);
        else if (StartsWith(argument, "--ref"))
            reference = argument.substr(5);
        else
            job = argument;
    }
    EXPECT_EQ(unattended, start.unattended);
    EXPECT_EQ(job, start.jobPath);
    EXPECT_EQ(processing, start.processingFolder);
    EXPECT_EQ(reference, start.referenceFolder);
}

TEST(CommandLineVariants, AnyLineIsTakenApartIntoWholeCharactersAndTakenAsAStart) {
    const std::vector<std::string> pieces = {
        " ",        "\t",       "\"",       "\"\"",     "-s",       "-S",       "--proc",
        "--ref",    "\\",       "\x81",     "\x81\x20", "\x81\x22", "\x81\x09", "\x81\x40",
        "\x83\x5C", "\x95\x5C", "\xE0\x5C", "\xFC\x5C", ".orvane",  "C:\\",
    };
    const std::string lines[] = {
        "-s \"C:\\My Jobs\\表ソ.orvane\" --proc\"D:\\処理 フォルダ\\ソ\" --ref\\\\server\\共有\\表",
        "\"--procC:\\a b\"\tjob.orvane  -S \"\" --refE:\\ソ\\ ",
    };
    std::uint64_t seed = 0x636D646C696E65;
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        ForEachCut(line, Check);
        ForEachVariant(line, seed++, 5000, Check, pieces);
        if (HasFailure())
            return;
    }
}

} // namespace
