#pragma once
// Reads the fuzzer's bytes front to back as the values of a record or an exam.
// An exhausted input reads as zeros, so every byte string maps onto one set of values.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "base/WideString.h"
#include "model/NoduleItem.h"

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

    bool Bool() { return (Byte() & 1) != 0; }

    // The bytes of a value as they lie in memory: any bit pattern at all.
    template <typename T> T Raw() {
        std::array<std::uint8_t, sizeof(T)> bytes{};
        for (std::uint8_t& b : bytes) {
            b = Byte();
        }
        T value;
        std::memcpy(&value, bytes.data(), sizeof(T));
        return value;
    }

    // Mostly the small values that enumerations and counts take (a few beyond
    // each table included), sometimes the extremes or any int.
    int Int() {
        const std::uint8_t mode = Byte();
        if (mode < 192) {
            return mode % 16 - 2;
        }
        if (mode < 224) {
            return EXTREME_INTS[mode % EXTREME_INTS.size()];
        }
        return Raw<std::int32_t>();
    }

    // Mostly diameters as the editors store them (typed tenths plus the nudge),
    // then the edges of the size classes, the values a double can hardly hold,
    // and any bit pattern (NaNs with payloads, subnormals).
    double Double() {
        const std::uint8_t mode = Byte();
        if (mode < 96) {
            return Raw<std::uint16_t>() % 1000 / 10.0 + SIZE_NUDGE_MM;
        }
        if (mode < 144) {
            return SIZE_EDGES_MM[mode % SIZE_EDGES_MM.size()];
        }
        if (mode < 200) {
            return SPECIAL_DOUBLES[mode % SPECIAL_DOUBLES.size()];
        }
        return Raw<double>();
    }

    float Float() {
        const std::uint8_t mode = Byte();
        if (mode < 96) {
            return static_cast<float>(Raw<std::uint16_t>() % 10000) / 100.0f;
        }
        if (mode < 160) {
            return SPECIAL_FLOATS[mode % SPECIAL_FLOATS.size()];
        }
        return Raw<float>();
    }

    // A text made of pieces: plain and Korean characters, "%" sequences, white
    // space, control characters, unpaired surrogates, any 16-bit code unit, the
    // report's own words, and very long runs. Code units stay within 16 bits, as
    // in the UTF-16 text of the Windows controls.
    CString Text() {
        CString text;
        const int nPieces = Byte() % 9;
        for (int i = 0; i < nPieces && text.size() < MAX_TEXT_LENGTH; ++i) {
            AppendPiece(text);
        }
        if (text.size() > MAX_TEXT_LENGTH) {
            text.resize(MAX_TEXT_LENGTH);
        }
        return text;
    }

private:
    static constexpr std::size_t MAX_TEXT_LENGTH = 1 << 16;

    static constexpr std::array<int, 8> EXTREME_INTS = {
        INT_MIN, INT_MIN + 1, INT_MAX, INT_MAX - 1, -1000, 1000, 255, 256,
    };

    // Both sides of every threshold of the rules, in mm, as means and as a larger axis.
    static constexpr std::array<double, 16> SIZE_EDGES_MM = {
        3.9499, 3.95,      3.9501, 5.9499,     5.95,  5.9501,  7.95,  7.9501,
        9.999,  9.9999999, 10.0,   10.0000001, 14.95, 14.9501, 29.95, 29.9501,
    };

    static constexpr std::array<double, 16> SPECIAL_DOUBLES = {
        0.0,
        -0.0,
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::denorm_min(),
        -std::numeric_limits<double>::denorm_min(),
        std::numeric_limits<double>::min(),
        std::numeric_limits<double>::max(),
        -std::numeric_limits<double>::max(),
        -7.0001,
        214748364.75,
        -214748364.85,
        1e300,
        static_cast<double>(std::numeric_limits<float>::max()),
    };

    static constexpr std::array<float, 12> SPECIAL_FLOATS = {
        0.0f,
        -0.0f,
        std::numeric_limits<float>::quiet_NaN(),
        -std::numeric_limits<float>::quiet_NaN(),
        std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::min(),
        std::numeric_limits<float>::max(),
        -std::numeric_limits<float>::max(),
        1.125f,
        1.2f,
    };

    static constexpr std::array<const wchar_t*, 24> SPECIAL_TEXTS = {
        L"%",
        L"%s",
        L"%n",
        L"%d%%",
        L"%ls%999999999d",
        L"\r\n",
        L"\r",
        L"\n",
        L"\t",
        L" ",
        L"\x3000",
        L"\x00A0",
        L"\x0085",
        L"\x2028",
        L"\v\f",
        L"S",
        L"C",
        L"2b",
        L"4A",
        L"결론: ",
        L"\r\n\r\n결론: 범주 4B 폐암 매우 의심\r\n",
        L"영상소견\r\n",
        L"발견된 결절 없음.",
        L"\r\n추가 내용: \r\n",
    };

    static constexpr std::array<wchar_t, 8> SPACES = {
        L' ', L'\t', L'\r', L'\n', L'\v', L'\f', L'\x3000', L'\x00A0',
    };

    wchar_t CodeUnit() { return static_cast<wchar_t>(Raw<std::uint16_t>()); }

    void AppendPiece(CString& text) {
        switch (Byte() % 8) {
        case 0:  // bytes as Latin-1 characters, controls included
            for (int n = Byte() % 16; n > 0; --n) {
                text += static_cast<wchar_t>(Byte());
            }
            break;
        case 1: text += SPECIAL_TEXTS[Byte() % SPECIAL_TEXTS.size()]; break;
        case 2:  // Hangul syllables
            for (int n = Byte() % 8; n > 0; --n) {
                text += static_cast<wchar_t>(0xAC00 + Raw<std::uint16_t>() % 11172);
            }
            break;
        case 3:  // one half of a surrogate pair, alone
            text += static_cast<wchar_t>(0xD800 + Raw<std::uint16_t>() % 0x800);
            break;
        case 4: text += CodeUnit(); break;
        case 5: {  // a long line, up to a very long one; shorter ones are likelier, as they run faster
            const wchar_t unit = Bool() ? CodeUnit() : L'가';
            const std::size_t length = Raw<std::uint16_t>() >> (Byte() % 16);
            text.append(length, unit);
            break;
        }
        case 6: {  // a C0 control character or DEL
            const int c = Byte() % 33;
            text += static_cast<wchar_t>(c == 32 ? 0x7F : c);
            break;
        }
        case 7:
            for (int n = Byte() % 8; n > 0; --n) {
                text += SPACES[Byte() % SPACES.size()];
            }
            break;
        }
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};
