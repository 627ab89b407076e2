// The entry records the host reads.
#include <gtest/gtest.h>

#include "core/module.h"

TEST(ModuleRecords, LinkageAndImportTableHoldWhatTheHostReads) {
    EXPECT_EQ(Linkage.moduleId, 0x3566u);
    EXPECT_EQ(Linkage.moduleInit, &ModuleInit);
    EXPECT_EQ(Linkage.moduleDeinit, &ModuleDeinit);
    EXPECT_EQ(Linkage.moduleFlags, 0u);
    EXPECT_EQ(Linkage.modulePriority, 0u);
    EXPECT_EQ(Linkage.moduleVersion, 0x900u);
    EXPECT_EQ(Linkage.moduleTable, nullptr);
    const uint32_t ids[] = {1, 0x0F, 0x19, 2, 0x37, 0x0A, 0x2C, 0x0E, 0x14, 0x17, 0x0D, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(ImportTable[i].moduleId, ids[i]) << "entry " << i;
    EXPECT_EQ(ImportTable[11].interfacePointer, nullptr);
}
