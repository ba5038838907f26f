// The emulated controller driven by the monitor's own controller client
// (EcTransaction) through the library's ReadPort and WritePort.
#include "HmioFixture.h"

#include "EcTransaction.h"
#include "HardwareLibrary.h"

namespace hmio_test {
namespace {

sentinax::HardwareLibrary PortsOnly() {
    sentinax::HardwareLibrary lib;
    lib.ReadPort = &::ReadPort;
    lib.WritePort = &::WritePort;
    sentinax::FillMissingEntries(lib);
    return lib;
}

struct Reply {
    bool Complete;
    uint8_t Bytes[2];
};

Reply Exchange(uint8_t command, uint8_t argument) {
    const uint8_t bytes[2] = {command, argument};
    Reply reply{false, {2, 0}};
    reply.Complete = sentinax::EcTransaction(PortsOnly(), bytes, 2, false, reply.Bytes);
    return reply;
}

TEST_F(HmioFixture, EmbeddedControllerAnswersThroughTheHandshake) {
    UseScenario("ec 0x13 0x00 = 41 0 | 42 0\n"
                "ec 0x13 0x14 = 0x84 0x03 cycle\n"
                "ec 0x14 0x00 = 34 0 | 35 0 cycle\n"
                "ec-input-busy 3\nec-output-delay 5\n");
    for (int round = 0; round < 3; ++round) {
        const Reply cpu = Exchange(0x13, 0x00);
        const Reply fan = Exchange(0x13, 0x14);
        const Reply sys = Exchange(0x14, 0x00);
        ASSERT_TRUE(cpu.Complete && fan.Complete && sys.Complete);
        EXPECT_EQ(cpu.Bytes[0], round == 0 ? 41 : 42);
        EXPECT_EQ((fan.Bytes[1] * 256 + fan.Bytes[0]) * 3, 2700);
        EXPECT_EQ(sys.Bytes[0], round % 2 == 0 ? 34 : 35);
    }
}

TEST_F(HmioFixture, EmbeddedControllerStatusBitsFollowTheBytes) {
    UseScenario("ec 0x13 0x00 = 0x2d\nec-input-busy 2\n");
    EXPECT_EQ(ReadPort(0x66), 0u);
    WritePort(0x66, 0x13);
    EXPECT_EQ(ReadPort(0x66), 2u);
    EXPECT_EQ(ReadPort(0x66), 2u);
    EXPECT_EQ(ReadPort(0x66), 0u);
    WritePort(0x62, 0x00);
    EXPECT_EQ(ReadPort(0x66), 3u);
    EXPECT_EQ(ReadPort(0x66), 3u);
    EXPECT_EQ(ReadPort(0x66), 1u);
    EXPECT_EQ(ReadPort(0x62), 0x2du);
    EXPECT_EQ(ReadPort(0x66), 0u);
}

TEST_F(HmioFixture, SilentControllerEndsTheBoundedWait) {
    UseScenario("ec 0x13 0x00 = 41 0\nec-no-output\n");
    const Reply reply = Exchange(0x13, 0x00);
    EXPECT_FALSE(reply.Complete);
    EXPECT_EQ(reply.Bytes[0], 2); // left as it was
}

TEST_F(HmioFixture, ControllerThatStopsAnsweringEndsTheBoundedWait) {
    UseScenario("ec 0x13 0x00 = 41 0 | 42 0 | none\n");
    EXPECT_EQ(Exchange(0x13, 0x00).Bytes[0], 41);
    EXPECT_EQ(Exchange(0x13, 0x00).Bytes[0], 42);
    for (int i = 0; i < 3; ++i) {
        const Reply reply = Exchange(0x13, 0x00);
        EXPECT_FALSE(reply.Complete);
        EXPECT_EQ(reply.Bytes[0], 2);
    }
}

TEST_F(HmioFixture, StuckInputBufferEndsTheBoundedWait) {
    UseScenario("ec 0x13 0x00 = 41 0\nec-input-busy 5000\n");
    EXPECT_FALSE(Exchange(0x13, 0x00).Complete);
    UseScenario("ec 0x13 0x00 = 41 0\nec-input-busy 4000\n");
    EXPECT_TRUE(Exchange(0x13, 0x00).Complete);
}

TEST_F(HmioFixture, UnknownCommandGetsNoReply) {
    UseScenario("ec 0x13 0x00 = 41 0\n");
    EXPECT_FALSE(Exchange(0x15, 0x00).Complete);
    EXPECT_EQ(ReadPort(0x80), 0u);
}

} // namespace
} // namespace hmio_test
