// The aerotrace tool is built on the module's tracks and recording files
// alone: its program holds their code but none of the host binding, the
// settings, the engine's running parts, the windows and dialogs or the views.
#include <gtest/gtest.h>

#include <string>

#include "tool_support.h"

TEST(ToolBinary, HoldsTheTracksButNoHostSettingsOrWindowCode) {
    ASSERT_TRUE(HaveProgram("nm")) << "nm is not installed (binutils)";
    const std::string symbols = Shell("nm -C --defined-only " + std::string(AEROTRACE_TOOL_PATH) + " 2>&1");
    for (const char* present : {"ValidateRecording(", "ScanTempTrack(", "WriteRecordingFile(", "EncodeLatitude("})
        EXPECT_NE(symbols.find(present), std::string::npos) << present;
    for (const char* absent :
         {"ImportTable", "HostCacheState(", "HostInterfacesPresent(", "LoadSettings(", "LoadKeyTable(",
          "ShowMessageBox(", "DialogRun(", "ChooseOpenFile(", "LoadRecording(", "StartRecording(", "CaptureTick(",
          "StartReplayBuffer(", "BuildModuleMenuModel(", "ViewMenuCommand(", "ModuleInit"})
        EXPECT_EQ(symbols.find(absent), std::string::npos) << absent;
}
