// Bit-level building blocks: CRC, bit reader and writer, scale factor and coefficient codes, ciphers.
#include "hca_bit_reader.h"
#include "hca_bit_writer.h"
#include "hca_cipher.h"
#include "hca_crc.h"
#include "hca_frame_syntax.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>
#include <random>
#include <set>
#include <tuple>

namespace hca {
namespace {

TEST(Crc16, MatchesTheStandardCheckValueAndCancelsWhenAppended) {
    const std::string check = "123456789";
    std::vector<uint8_t> data(check.begin(), check.end());
    EXPECT_EQ(crc16(data), 0xFEE8); // check value of the polynomial 0x8005 / init 0 / unreflected CRC
    data.push_back(0xFE);
    data.push_back(0xE8);
    EXPECT_EQ(crc16(data), 0);
}

TEST(BitFields, WriterAndReaderAgreeOnMixedWidths) {
    std::mt19937 random(3);
    std::vector<std::pair<uint32_t, int>> fields;
    for (int i = 0; i < 500; ++i) {
        int bits = static_cast<int>(random() % 25);
        fields.emplace_back(bits == 0 ? 0 : random() & ((1u << bits) - 1), bits);
    }
    std::vector<uint8_t> buffer(2000);
    BitWriter writer(buffer);
    for (auto [value, bits] : fields)
        writer.write(value, bits);
    BitReader reader(buffer);
    for (auto [value, bits] : fields)
        ASSERT_EQ(reader.read(bits), value);
    EXPECT_EQ(reader.position(), writer.position());
}

TEST(BitFields, ReadingPastTheEndGivesZerosAndReportsOverrun) {
    const std::array<uint8_t, 2> data = {0xFF, 0xFF};
    BitReader reader(data);
    EXPECT_EQ(reader.read(12), 0xFFFu);
    EXPECT_EQ(reader.read(12), 0xF00u);
    EXPECT_TRUE(reader.overrun(16));
}

TEST(ScaleFactors, EveryWidthRoundTripsIncludingEscapes) {
    std::mt19937 random(5);
    std::vector<uint8_t> values(128);
    for (auto& v : values)
        v = static_cast<uint8_t>(20 + random() % 8);
    values[40] = 63; // forces an escape for every delta width
    values[41] = 0;
    for (unsigned width = 1; width <= 6; ++width) {
        std::vector<uint8_t> buffer(200);
        BitWriter writer(buffer);
        write_scale_factors(writer, values, width);
        BitReader reader(buffer);
        std::vector<uint8_t> decoded(values.size());
        ASSERT_TRUE(read_scale_factors(reader, decoded));
        EXPECT_EQ(decoded, values) << "width " << width;
        EXPECT_EQ(reader.position(), writer.position()) << "width " << width;
    }
}

TEST(ScaleFactors, CheapestCodingReportsTheBitsItWrites) {
    std::vector<uint8_t> smooth(100);
    std::iota(smooth.begin(), smooth.end(), uint8_t{0});
    for (const auto& values : {smooth, std::vector<uint8_t>(50, 0), std::vector<uint8_t>{9, 60, 3, 41, 41}}) {
        const auto coding = cheapest_scale_factor_coding(values);
        std::vector<uint8_t> buffer(200);
        BitWriter writer(buffer);
        write_scale_factors(writer, values, coding.delta_bits);
        EXPECT_EQ(static_cast<int>(writer.position()), coding.bits);
    }
    EXPECT_EQ(cheapest_scale_factor_coding(smooth).delta_bits, 2u);
}

// One step past either end of 0..63 is flagged and held at the end, so a damaged frame never indexes
// past the tables.
TEST(ScaleFactors, DeltasLeavingTheRangeAreFlaggedAndHeldAtTheEnd) {
    for (const auto& [first, delta, held] : {std::tuple{0u, 0u, 0}, std::tuple{63u, 2u, 63}}) {
        std::vector<uint8_t> buffer(4);
        BitWriter writer(buffer);
        writer.write(2, 3);     // width 2: deltas -1, 0, +1
        writer.write(first, 6); // first value
        writer.write(delta, 2); // 0 is -1, 2 is +1
        BitReader reader(buffer);
        std::vector<uint8_t> decoded(2);
        EXPECT_FALSE(read_scale_factors(reader, decoded)) << first;
        EXPECT_EQ(decoded[1], held) << first;
    }
}

TEST(CoefficientCodes, EveryValueOfEveryResolutionRoundTripsWithItsLength) {
    for (unsigned r = 1; r <= 15; ++r) {
        for (int value = -max_coefficient(r); value <= max_coefficient(r); ++value) {
            std::vector<uint8_t> buffer(4, 0);
            BitWriter writer(buffer);
            write_coefficient(writer, r, value);
            writer.write(0x5, 3); // a marker right after the code
            EXPECT_EQ(static_cast<int>(writer.position()), coefficient_bits(r, value) + 3);
            BitReader reader(buffer);
            EXPECT_EQ(read_coefficient(reader, r), value) << "resolution " << r;
            EXPECT_EQ(reader.read(3), 0x5u) << "resolution " << r << " value " << value;
        }
    }
}

TEST(Resolution, FollowsScaleFactorNoiseAndBoundary) {
    EXPECT_EQ(coefficient_resolution(0, 0, 0, 0, 1, 15), 0u);
    EXPECT_EQ(coefficient_resolution(63, 0, packed_noise(0, 127), 0, 1, 15), 15u); // below zero position
    EXPECT_EQ(coefficient_resolution(1, 0, packed_noise(200, 0), 0, 1, 15), 1u); // clamped up to the minimum
    EXPECT_EQ(coefficient_resolution(1, 0, packed_noise(200, 0), 0, 0, 15), 0u);
    // Coefficients below the boundary B sit one position lower, so never at a coarser resolution.
    const int noise = packed_noise(100, 64);
    EXPECT_GE(coefficient_resolution(50, 0, noise, 10, 1, 15),
              coefficient_resolution(50, 0, noise, 100, 1, 15));
}

std::array<uint8_t, 256> table_of(const Cipher& cipher) {
    std::array<uint8_t, 256> table;
    std::iota(table.begin(), table.end(), uint8_t{0});
    cipher.decrypt(table);
    return table;
}

TEST(Cipher, KeylessAndKeyedTablesArePermutationsFixingZeroAndFF) {
    for (const Cipher& cipher :
         {Cipher(1, 0), Cipher(56, 0x0123456789ABCDEFull), Cipher(56, 0x30DBE1ABull, 0x55AA)}) {
        const auto table = table_of(cipher);
        EXPECT_EQ(table[0], 0);
        EXPECT_EQ(table[255], 255);
        EXPECT_EQ(std::set<uint8_t>(table.begin(), table.end()).size(), 256u);
        EXPECT_FALSE(cipher.is_identity());
    }
    EXPECT_TRUE(Cipher(0, 0).is_identity());
    EXPECT_TRUE(Cipher(56, 0).is_identity()); // key code 0 means unencrypted
}

} // namespace
} // namespace hca
