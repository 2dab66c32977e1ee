// A command line taken apart into its arguments.
#include <gtest/gtest.h>

#include "base/CommandLine.h"

namespace {

TEST(CommandLine, SplitsAtBlanksOutsideQuotes) {
    const struct {
        const char* line;
        std::vector<std::string> arguments;
    } cases[] = {
        {"", {}},
        {"   ", {}},
        {"-s job.orvane", {"-s", "job.orvane"}},
        {"  a    b  ", {"a", "b"}},
        {"-s\tjob.orvane\t \"a\tb\"", {"-s", "job.orvane", "a\tb"}}, // tabs are blanks
        {"\"C:\\My Jobs\\a.orvane\"", {"C:\\My Jobs\\a.orvane"}},
        {"--proc\"C:\\a b\"", {"--procC:\\a b"}},
        {"\"--procC:\\a b\"", {"--procC:\\a b"}},
        {"\"\" x", {"x"}},
        {"a\\\"b c\"", {"a\\b c"}}, // a backslash does not escape the quote
        {"C:\\表\\ソ.orvane", {"C:\\表\\ソ.orvane"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.arguments, SplitCommandLine(c.line)) << c.line;
}

} // namespace
