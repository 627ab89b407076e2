// scripts/check-dll.sh on small modules made here with the cross compiler:
// it passes a stripped module that imports only what Windows XP has, and
// names every reason why another one would not load there.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tool_support.h"

namespace {

class DllCheck : public ToolTest {
protected:
    // Writes SOURCE to NAME in the test's folder.
    void Write(const std::string& name, const std::string& source) { std::ofstream(name) << source; }
    // Builds with the module's compiler; true when it worked.
    bool Compile(const std::string& arguments) {
        return Shell("i686-w64-mingw32-gcc-win32 " + arguments + " >/dev/null 2>&1 && echo built") == "built\n";
    }
    // Strips FILE as the build does, its debug information beside it.
    bool Strip(const std::string& file) {
        return Shell("i686-w64-mingw32-objcopy --only-keep-debug " + file + " " + file + ".debug && " +
                     "i686-w64-mingw32-objcopy --strip-all --add-gnu-debuglink=" + file + ".debug " + file + " " +
                     file + ".new && mv " + file + ".new " + file + " && echo stripped") == "stripped\n";
    }
    // Runs the check; returns what it printed and sets "status".
    std::string Check(const std::string& dll, const std::string& exe, const std::string& objects) {
        const std::string out = Shell(std::string(AEROTRACE_SCRIPTS) + "/check-dll.sh " + folder + "/" + dll + " " +
                                      folder + "/" + exe + " " + folder + "/" + objects + " 2>&1; echo \"status $?\"");
        const size_t at = out.rfind("status ");
        status = at == std::string::npos ? -1 : std::stoi(out.substr(at + 7));
        return out;
    }

    const std::string xp = "-Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,"
                           "--minor-subsystem-version,1";
    const std::string exports = "#include <windows.h>\n__declspec(dllexport) int Linkage[4];\n"
                                "__declspec(dllexport) int ImportTable[4];\n";
    int status = -1;
};

TEST_F(DllCheck, PassesAStrippedModuleOfWhatXpHas) {
    ASSERT_TRUE(HaveProgram("i686-w64-mingw32-gcc-win32")) << "the cross compiler is missing (scripts/setup.sh)";
    Write("module.c", exports + "BOOL WINAPI DllMain(HINSTANCE i, DWORD r, LPVOID p) {\n"
                                "    (void)i; (void)p; if (r == DLL_PROCESS_ATTACH) Sleep(0); return TRUE; }\n");
    Write("main.c", "int main(void) { return 0; }\n");
    ASSERT_TRUE(Compile("-shared -g -static " + xp + " -o module.dll module.c"));
    ASSERT_TRUE(Compile("-g -static " + xp + " -o tool.exe main.c"));
    Shell("mkdir -p objects");
    ASSERT_TRUE(Compile("-c -o objects/main.obj main.c"));
    ASSERT_TRUE(Strip("module.dll"));
    ASSERT_TRUE(Strip("tool.exe"));
    const std::string out = Check("module.dll", "tool.exe", "objects");
    EXPECT_EQ(status, 0) << out;
}

TEST_F(DllCheck, NamesEveryReasonXpCouldNotLoadAModule) {
    ASSERT_TRUE(HaveProgram("i686-w64-mingw32-gcc-win32")) << "the cross compiler is missing (scripts/setup.sh)";
    // A Vista function, declared for Vista, unstripped, with a thread-local
    // variable in the module's own code and a third export.
    Write("module.c", "#define _WIN32_WINNT 0x0600\n" + exports +
                          "__declspec(dllexport) int Extra;\n"
                          "BOOL WINAPI DllMain(HINSTANCE i, DWORD r, LPVOID p) {\n"
                          "    (void)i; (void)p; return r != DLL_PROCESS_ATTACH || GetTickCount64() != 0; }\n");
    Write("main.c", "int main(void) { return 0; }\n");
    Write("state.c", "__thread int perThread;\nint Touch(void) { return ++perThread; }\n");
    Shell("mkdir -p objects");
    ASSERT_TRUE(Compile("-shared -g -Wl,--major-subsystem-version,6 -o module.dll module.c"));
    ASSERT_TRUE(Compile("-g -static " + xp + " -o tool.exe main.c"));
    ASSERT_TRUE(Strip("tool.exe"));
    ASSERT_TRUE(Compile("-c -o objects/state.obj state.c"));
    const std::string out = Check("module.dll", "tool.exe", "objects");
    EXPECT_NE(status, 0) << out;
    for (const char* reason : {"not known to exist on Windows XP SP3", "kernel32.dll GetTickCount64",
                               "its SubsystemVersion is 6.0: Windows XP is 5.1", "has debug sections: it is not stripped",
                               "has no debug link", "unexpected exports: Extra ImportTable Linkage",
                               "the module's own code has thread-local variables"})
        EXPECT_NE(out.find(reason), std::string::npos) << reason << "\n" << out;
    EXPECT_EQ(out.find("tool.exe: imports"), std::string::npos) << "the tool passes\n" << out;
}

}  // namespace
