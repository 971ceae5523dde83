#include "script/records.h"

#include <gtest/gtest.h>

#include <memory>

namespace ry {
namespace {

TEST(ScriptTables, ScriptTableHoldsOneHundredScripts) {
    auto t = std::make_unique<ScriptTables>();
    for (int i = 1; i <= kScriptCapacity; ++i)
        ASSERT_EQ(t->MemStructRys_Get(), i);
    EXPECT_EQ(t->MemStructRys_Get(), -1);
    t->MemStructRys_Free(42);
    EXPECT_EQ(t->MemStructRys_Get(), 42);
}

TEST(ScriptTables, ModulePoolIsSharedAndReusesTheLastFreed) {
    auto t = std::make_unique<ScriptTables>();
    std::int16_t s = t->MemStructRys_Get();
    t->Script(s).NotFromFile = false;
    for (int i = 1; i <= kModuleCapacity; ++i) {
        std::int16_t m = t->MemStructRym_Get();
        ASSERT_EQ(m, i);
        AppendModuleToScript(*t, s, m);
    }
    EXPECT_EQ(t->MemStructRym_Get(), -1);
    EXPECT_EQ(t->MemStructRym_FreeCount(), 0);
    EXPECT_EQ(t->Script(s).ModuleCount, 1000);

    t->MemStructRym_Free(7);
    t->MemStructRym_Free(7); // already free: nothing changes
    EXPECT_EQ(t->MemStructRym_FreeCount(), 1);
    EXPECT_EQ(t->MemStructRym_Get(), 7);
}

TEST(ScriptTables, TakingAFreeRecordLeavesTheRestOfTheFreeListInOrder) {
    auto t = std::make_unique<ScriptTables>();
    for (int i = 1; i <= 5; ++i)
        ASSERT_EQ(t->MemStructRym_Get(), i);
    t->Module(3).Title = "3 Play";
    for (std::int16_t m : {2, 3, 4})
        t->MemStructRym_Free(m); // the free list: 4 3 2 6 7 ...

    struct Case {
        std::int16_t take;
        bool taken;
    };
    const Case cases[] = {{3, true}, {3, false}, {1, false}, {4, true}, {0, false}, {1001, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.take);
        EXPECT_EQ(t->MemStructRym_Take(c.take), c.taken);
    }
    EXPECT_FALSE(t->Module(3).IsFree);
    EXPECT_EQ(t->Module(3).Title, "") << "cleared as a fresh record";
    EXPECT_EQ(t->Module(3).NextModule, -1);
    EXPECT_EQ(t->MemStructRym_FreeCount(), kModuleCapacity - 5 + 1);
    EXPECT_EQ(t->MemStructRym_Get(), 2);
    EXPECT_EQ(t->MemStructRym_Get(), 6);

    // The last record of the pool, at the very end of the list.
    EXPECT_TRUE(t->MemStructRym_Take(kModuleCapacity));
    EXPECT_EQ(t->MemStructRym_FreeCount(), kModuleCapacity - 7);
    EXPECT_EQ(t->MemStructRym_Get(), 7);
}

TEST(ScriptTables, FreshModuleHasTheDefaults) {
    auto t = std::make_unique<ScriptTables>();
    std::int16_t m = t->MemStructRym_Get();
    t->Module(m).ReplayCount = 9;
    t->Module(m).sDialRetry[3] = 0;
    t->Module(m).BoxDisplayMode = 4;
    t->MemStructRym_Free(m);
    ASSERT_EQ(t->MemStructRym_Get(), m);

    const ModuleRecord& r = t->Module(m);
    EXPECT_EQ(r.ReplayCount, 2);
    EXPECT_EQ(r.ReplayPause, 5);
    EXPECT_EQ(r.RunMode, 1);
    EXPECT_EQ(r.RunWait, 1);
    EXPECT_EQ(r.lEmailSendRetries, 3);
    EXPECT_EQ(r.lEmailRetriesDelay, 10);
    EXPECT_EQ(r.iTimeSwitch_Type, 1);
    for (int d = 0; d < 6; ++d) {
        EXPECT_EQ(r.sDialRetry[d], 2);
        EXPECT_EQ(r.sDialDelay[d], 5);
    }
    EXPECT_EQ(r.sTimeSwitch_DaysSelected, "MoTuWeThFrSaSu");
    EXPECT_EQ(r.dTimeSwitch_DateEnd, (DateTime{2099, 12, 31, 23, 59, 0}));
    EXPECT_EQ(r.dTimeSwitch_DateStart, DateTime::Today());
    EXPECT_EQ(r.BoxIndex, -1);
    EXPECT_EQ(r.NextModule, -1);
    EXPECT_FALSE(r.IsFree);
    EXPECT_EQ(r.BoxDisplayMode, 4) << "the selection look is not reset";
}

TEST(ScriptTables, FreeAllReleasesTheChainUnlessNotFromFile) {
    auto t = std::make_unique<ScriptTables>();
    std::int16_t s = t->MemStructRys_Get();
    for (int i = 0; i < 3; ++i)
        AppendModuleToScript(*t, s, t->MemStructRym_Get());
    t->Script(s).StartModule = "Main";

    t->MemStructRys_FreeAll(s); // NotFromFile: left alone
    EXPECT_FALSE(t->Script(s).IsFree);
    EXPECT_EQ(t->MemStructRym_FreeCount(), 997);

    t->Script(s).NotFromFile = false;
    t->MemStructRys_FreeAll(s);
    EXPECT_TRUE(t->Script(s).IsFree);
    EXPECT_EQ(t->Script(s).DefaultModuleDisplayHeight, "long");
    EXPECT_EQ(t->Script(s).StartModule, "");
    EXPECT_EQ(t->MemStructRym_FreeCount(), 1000);
    // The chain is freed front to back, so its last module is handed out first.
    EXPECT_EQ(t->MemStructRym_Get(), 3);
}

} // namespace
} // namespace ry
