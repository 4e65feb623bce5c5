#include "NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwctype>
#include <limits>
#include <string>
#include <system_error>

namespace {

// Runs to_chars into a buffer that grows until the text fits, then widens it.
template <typename Convert> CString ToWide(Convert convert) {
    std::string buffer(32, '\0');
    for (;;) {
        std::to_chars_result result = convert(buffer.data(), buffer.data() + buffer.size());
        if (result.ec == std::errc()) {
            return CString(buffer.data(), result.ptr);
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool IsNumberChar(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || c == L'.' || c == L'+' ||
           c == L'-';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A comma with a digit on either side is a decimal comma ("7,5"): readers whose
// keyboard or habit writes one mean the number, not 7.
bool IsDecimalComma(std::wstring_view text, std::size_t i) {
    return text[i] == L',' && i > 0 && i + 1 < text.size() && IsDigit(text[i - 1]) && IsDigit(text[i + 1]);
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The exponent of a matched number, saturated far beyond any double's range.
long long ReadExponent(std::string_view text) {
    constexpr long long SATURATED = 1LL << 40;
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long value = 0;
    std::from_chars_result result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range || value > SATURATED) {
        value = SATURATED;
    }
    return negative ? -value : value;
}

// from_chars reports overflow and underflow alike; strtod tells them apart by
// the magnitude, which the position of the first significant digit and the
// exponent decide (digits count 4 bits each in hex, whose exponent is binary).
bool IsOverflow(std::string_view matched, bool hex) {
    const std::size_t exponentAt = matched.find_first_of(hex ? "pP" : "eE");
    const std::string_view mantissa = matched.substr(0, exponentAt);
    const long long exponent = exponentAt == std::string_view::npos ? 0 : ReadExponent(matched.substr(exponentAt + 1));

    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return false;
    }
    const long long digitPosition =
        first < point ? static_cast<long long>(point - first - 1) : -static_cast<long long>(first - point);
    return digitPosition * (hex ? 4 : 1) + exponent > 0;
}

// An unsigned number as strtod reads it; the text starts right after the sign.
std::optional<double> ParseUnsigned(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin == end || *begin == '+' || *begin == '-') {
        return std::nullopt;
    }
    double value = 0.0;
    bool hex = false;
    std::from_chars_result result{};
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') &&
        (IsHexDigit(text[2]) || text[2] == '.')) {
        result = std::from_chars(begin + 2, end, value, std::chars_format::hex);
        hex = result.ec != std::errc::invalid_argument;
        if (hex) {
            begin += 2;
        }
    }
    if (!hex) {
        result = std::from_chars(begin, end, value);
    }
    if (result.ec == std::errc::invalid_argument) {
        return std::nullopt;
    }
    if (result.ec == std::errc::result_out_of_range) {
        const bool overflow = IsOverflow(std::string_view(begin, result.ptr - begin), hex);
        return overflow ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

std::size_t SkipWhiteSpace(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<std::wint_t>(text[i]))) {
        ++i;
    }
    return i;
}

}  // namespace

CString FormatFixed(double value, int decimals) {
    return ToWide(
        [&](char* first, char* last) { return std::to_chars(first, last, value, std::chars_format::fixed, decimals); });
}

CString FormatInt(int value) {
    return ToWide([&](char* first, char* last) { return std::to_chars(first, last, value); });
}

CString FormatGeneral(double value) {
    return ToWide(
        [&](char* first, char* last) { return std::to_chars(first, last, value, std::chars_format::general, 6); });
}

std::optional<double> ScanNumber(std::wstring_view text) {
    std::size_t i = SkipWhiteSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    std::string narrow;
    for (; i < text.size(); ++i) {
        if (IsDecimalComma(text, i)) {
            narrow.push_back('.');
        } else if (IsNumberChar(text[i])) {
            narrow.push_back(static_cast<char>(text[i]));
        } else {
            break;
        }
    }
    const std::optional<double> magnitude = ParseUnsigned(narrow);
    if (!magnitude) {
        return std::nullopt;
    }
    return negative ? -*magnitude : *magnitude;
}

double ParseDiameter(std::wstring_view text) {
    const std::optional<double> value = ScanNumber(text);
    return value && std::isfinite(*value) ? *value : 0.0;
}

int ParseInteger(std::wstring_view text) {
    std::size_t i = SkipWhiteSpace(text);
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Accumulates the magnitude, saturating just past the int range.
    constexpr std::int64_t LIMIT = static_cast<std::int64_t>(INT_MAX) + 1;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = std::min(magnitude * 10 + (text[i] - L'0'), LIMIT);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}
