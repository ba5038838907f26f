#include "FakeHardware.h"

#include "hardware/EcTransaction.h"

#include <gtest/gtest.h>

namespace sentinax {
namespace {

using test::FakeHardware;

class EcTransactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        hw().Reset();
        lib = hw().Table();
    }
    static FakeHardware& hw() { return FakeHardware::Instance(); }
    HardwareLibrary lib;
};

TEST_F(EcTransactionTest, ReadsTheCountOfBytesNamedInTheBuffer) {
    hw().EcResponses[{0x13, 0x14}] = {0x34, 0x12};
    hw().ObfDelay = 3;
    hw().IbfPolls = 2;
    const uint8_t command[2] = {0x13, 0x14};
    uint8_t buffer[2] = {2, 0};
    EXPECT_TRUE(EcTransaction(lib, command, 2, false, buffer));
    EXPECT_EQ(buffer[0], 0x34);
    EXPECT_EQ(buffer[1], 0x12);
}

TEST_F(EcTransactionTest, ZeroLengthCommandClearsTheCount) {
    uint8_t buffer[2] = {2, 9};
    EXPECT_TRUE(EcTransaction(lib, nullptr, 0, false, buffer));
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[1], 9);
    EXPECT_EQ(hw().StatusReads, 0);
}

TEST_F(EcTransactionTest, StaleOutputByteIsDiscardedFirst) {
    hw().ecOut = {0x77};
    hw().EcResponses[{0x14, 0x00}] = {33, 0};
    const uint8_t command[2] = {0x14, 0x00};
    uint8_t buffer[2] = {2, 0};
    EcTransaction(lib, command, 2, false, buffer);
    EXPECT_EQ(buffer[0], 33);
}

TEST_F(EcTransactionTest, MissingOutputByteEndsTheExchangeWithinThePollBound) {
    hw().EcResponses[{0x13, 0x00}] = {50, 0};
    hw().EcStuck = true;
    const uint8_t command[2] = {0x13, 0x00};
    uint8_t buffer[2] = {2, 0xAA};
    EXPECT_FALSE(EcTransaction(lib, command, 2, false, buffer));
    // The buffer keeps what it held: the count and the old second byte.
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(buffer[1], 0xAA);
    // One status read before the command, one before the second command
    // byte, then the bounded wait for byte 0.
    EXPECT_EQ(hw().StatusReads, 2 + kEcPollLimit);
}

TEST_F(EcTransactionTest, ByteSeenOnlyOnTheLastAllowedPollIsNotTaken) {
    hw().EcResponses[{0x13, 0x00}] = {50, 0};
    const uint8_t command[2] = {0x13, 0x00};

    hw().ObfDelay = kEcPollLimit - 2; // shows on poll 4094: taken
    uint8_t buffer[2] = {1, 0};
    EXPECT_TRUE(EcTransaction(lib, command, 2, false, buffer));
    EXPECT_EQ(buffer[0], 50);

    SetUp();
    hw().EcResponses[{0x13, 0x00}] = {50, 0};
    hw().ObfDelay = kEcPollLimit - 1; // shows on poll 4095: too late
    uint8_t late[2] = {1, 0};
    EXPECT_FALSE(EcTransaction(lib, command, 2, false, late));
    EXPECT_EQ(late[0], 1);
}

TEST_F(EcTransactionTest, InputBufferThatNeverDrainsEndsTheExchange) {
    hw().IbfPolls = 1 << 30;
    hw().EcResponses[{0x13, 0x14}] = {1, 2};
    const uint8_t command[2] = {0x13, 0x14};
    uint8_t buffer[2] = {2, 0};
    EXPECT_FALSE(EcTransaction(lib, command, 2, false, buffer));
    EXPECT_EQ(buffer[0], 2);
    EXPECT_LE(hw().StatusReads, 1 + kEcPollLimit);
}

TEST_F(EcTransactionTest, WriteOnlyReadsNothingBack) {
    hw().EcResponses[{0x13, 0x14}] = {1, 2};
    const uint8_t command[2] = {0x13, 0x14};
    uint8_t buffer[2] = {2, 0};
    EXPECT_TRUE(EcTransaction(lib, command, 2, true, buffer));
    EXPECT_EQ(buffer[0], 2);
}

} // namespace
} // namespace sentinax
