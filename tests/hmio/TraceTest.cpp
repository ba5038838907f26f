#include "HmioFixture.h"

#include <array>
#include <dlfcn.h>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace hmio_test {
namespace {

std::string Name(const std::string& line) {
    return line.substr(0, line.find('('));
}

// The monitor's start-up and one tick, as the end-to-end tests see them.
void StartUpAndTick() {
    LoadNTHMIO();
    GetVid();
    std::array<uint8_t, 20> point{};
    std::vector<uint8_t> table(GetDMILength(point.data()));
    GetDMIData(table.data());
    DetectLM78();
    std::array<uint8_t, 8> params;
    params.fill(0xC9);
    params[0] = 0;
    DetectLM75(params.data(), 0);
    EnableSMSCHWMonitor();
    std::array<int32_t, 30> raw{};
    ValueRAM(raw.data());
    ReadPort(0x66);
    WritePort(0x70, 1);
    ChassisIntrusion();
    ChassisClear();
    ApEnableATIISA();
    UnloadNTHMIO();
}

TEST_F(HmioFixture, TraceLinesInCallOrder) {
    UseScenario("product KX\nversion 1\nvendor 0x1022\nparam 0 45\nslot 0 1350\nslot 7 33\n");
    TraceOn();
    StartUpAndTick();
    const auto lines = TraceLines();
    std::vector<std::string> names;
    for (const auto& line : lines)
        names.push_back(Name(line));
    EXPECT_EQ(names, (std::vector<std::string>{
                         "LoadNTHMIO", "GetVid", "GetDMILength", "GetDMIData", "DetectLM78",
                         "DetectLM75", "EnableSMSCHWMonitor", "ValueRAM", "ReadPort", "WritePort",
                         "ChassisIntrusion", "ChassisClear", "ApEnableATIISA", "UnloadNTHMIO"}));
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "LoadNTHMIO() -> 1");
    EXPECT_EQ(lines[1], "GetVid() -> 0x1022");
    EXPECT_TRUE(std::regex_match(
        lines[2], std::regex(R"(GetDMILength\(\) -> \d+ entry=5f444d495f[0-9a-f]{30})")))
        << lines[2];
    EXPECT_TRUE(std::regex_match(lines[3], std::regex(R"(GetDMIData\(length=\d+\))"))) << lines[3];
    EXPECT_EQ(lines[5],
              "DetectLM75(params=00c9c9c9c9c9c9c9 selector=0) -> 1 params=2dc9c9c9c9c9c9c9");
    EXPECT_EQ(lines[7], "ValueRAM(raw7=0) -> slots 0=1350 7=33");
    EXPECT_EQ(lines[8], "ReadPort(port=0x66) -> 0x00");
    EXPECT_EQ(lines[9], "WritePort(port=0x70 value=0x01) refused");
    EXPECT_EQ(lines[13], "UnloadNTHMIO()");
}

TEST_F(HmioFixture, TraceLinesOfSeveralProcessesNeverMix) {
    UseScenario("slot 0 1350\nslot 1 2\nslot 2 3300\nslot 3 5000\nslot 4 12000\n");
    TraceOn();
    std::vector<pid_t> children;
    for (int c = 0; c < 4; ++c) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            std::array<int32_t, 30> raw{};
            for (int i = 0; i < 300; ++i)
                ValueRAM(raw.data());
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children)
        ::waitpid(pid, nullptr, 0);
    const auto lines = TraceLines();
    EXPECT_EQ(lines.size(), 1200u);
    for (const auto& line : lines)
        ASSERT_EQ(line, "ValueRAM(raw7=0) -> slots 0=1350 1=2 2=3300 3=5000 4=12000");
}

// The built library itself: its entry points (the fourteen and the optional
// ones) and nothing of its insides.
TEST_F(HmioFixture, SharedLibraryExportsTheEntryPointsOnly) {
    UseScenario("vendor 0x8086\n");
    void* library = ::dlopen(HMIO_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << ::dlerror();
    for (const char* name :
         {"GetVid", "DetectLM78", "DetectLM75", "EnableSMSCHWMonitor", "ApEnableATIISA", "ValueRAM",
          "LoadNTHMIO", "UnloadNTHMIO", "GetDMILength", "GetDMIData", "ReadPort", "WritePort",
          "ChassisClear", "ChassisIntrusion", "HmioGetStatus", "HmioSensorReport",
          "HmioNextNotice"})
        EXPECT_NE(::dlsym(library, name), nullptr) << name;
    EXPECT_EQ(::dlsym(library, "_ZN4hmio13ResetInstanceEv"), nullptr);
    EXPECT_EQ(::dlsym(library,
                      "_ZN4hmio14ParseScenarioESt17basic_string_viewIcSt11char_traitsIcEERKNSt7_"
                      "_cxx1112basic_stringIcS2_SaIcEEERSt6vectorIS8_SaIS8_EE"),
              nullptr);
    auto getVid = reinterpret_cast<uint32_t (*)()>(::dlsym(library, "GetVid"));
    ASSERT_NE(getVid, nullptr);
    EXPECT_EQ(getVid(), 0x8086u);
    ::dlclose(library);
}

} // namespace
} // namespace hmio_test
