// Which exit code each outcome of a run gives a scheduler.
#include <gtest/gtest.h>

#include "run/RunFacts.h"

namespace {

TEST(ExitCode, EachOutcomeHasItsCode) {
    auto facts = [](auto change) {
        RunFacts f;
        f.unattended = true;
        f.search = SearchEnd::Completed;
        change(f);
        return f;
    };
    struct Case {
        const char* name;
        RunFacts facts;
        int code;
    };
    const Case cases[] = {
        {"all rows", facts([](RunFacts&) {}), 0},
        {"interactive, whatever happened", facts([](RunFacts& f) {
             f.unattended = false;
             f.search = SearchEnd::Failed;
         }),
         0},
        {"a row failed", facts([](RunFacts& f) { f.rowsFailed = 1; }), 1},
        {"a row not reached", facts([](RunFacts& f) { f.rowsNotDone = 1; }), 1},
        {"entries left out", facts([](RunFacts& f) { f.leftOut = 1; }), 1},
        {"log lacks lines", facts([](RunFacts& f) { f.logIncomplete = true; }), 1},
        {"job refused", facts([](RunFacts& f) { f.jobRefused = true; }), 2},
        {"a folder in use by another run", facts([](RunFacts& f) {
             f.folderInUse = true;
             f.search = SearchEnd::NotRun;
         }),
         2},
        {"never searched", facts([](RunFacts& f) { f.search = SearchEnd::NotRun; }), 2},
        {"search failed", facts([](RunFacts& f) { f.search = SearchEnd::Failed; }), 2},
        {"log not opened", facts([](RunFacts& f) { f.syncEnd = SyncEnd::LogNotOpened; }), 2},
        {"guard refused", facts([](RunFacts& f) { f.syncEnd = SyncEnd::Refused; }), 2},
        {"search stopped", facts([](RunFacts& f) { f.search = SearchEnd::Stopped; }), 3},
        {"execution stopped", facts([](RunFacts& f) {
             f.syncEnd = SyncEnd::Stopped;
             f.rowsNotDone = 4;
         }),
         3},
        {"execution aborted", facts([](RunFacts& f) { f.syncEnd = SyncEnd::Aborted; }), 3},
        {"refused outweighs failed rows", facts([](RunFacts& f) {
             f.jobRefused = true;
             f.rowsFailed = 2;
         }),
         2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.code, ExitCodeFor(c.facts)) << c.name;
}

} // namespace
