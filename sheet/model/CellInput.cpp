// Parsing of cell input into times, numbers and texts.
#include "sheet/model/CellInput.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace sheet {
namespace {

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads one to two digits (or exactly two when `exactlyTwo`) at `pos`.
std::optional<int> readField(std::string_view s, std::size_t& pos, bool exactlyTwo)
{
    std::size_t start = pos;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < 2)
        ++pos;
    const std::size_t length = pos - start;
    if (length == 0 || (exactlyTwo && length != 2))
        return std::nullopt;
    if (pos < s.size() && isDigit(s[pos]))
        return std::nullopt;  // three digits or more
    int value = 0;
    for (std::size_t i = start; i < pos; ++i)
        value = value * 10 + (s[i] - '0');
    return value;
}

}  // namespace

std::optional<double> parseTimeOfDay(std::string_view text)
{
    const std::string_view s = trimmed(text);
    std::size_t pos = 0;
    const auto hours = readField(s, pos, false);
    if (!hours || pos >= s.size() || s[pos] != ':')
        return std::nullopt;
    ++pos;
    const auto minutes = readField(s, pos, true);
    if (!minutes || *minutes > 59)
        return std::nullopt;
    int seconds = 0;
    if (pos < s.size() && s[pos] == ':') {
        ++pos;
        const auto sec = readField(s, pos, true);
        if (!sec || *sec > 59)
            return std::nullopt;
        seconds = *sec;
    }
    std::string_view rest = trimmed(s.substr(pos));
    int hour = *hours;
    if (rest.empty()) {
        if (hour > 23)
            return std::nullopt;
    } else {
        if (rest.size() != 2 || std::toupper(static_cast<unsigned char>(rest[1])) != 'M')
            return std::nullopt;
        const char half = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
        if ((half != 'A' && half != 'P') || hour > 12)
            return std::nullopt;
        if (hour == 12)
            hour = 0;  // 12 AM is midnight, 12 PM noon
        if (half == 'P')
            hour += 12;
    }
    return (hour * 3600.0 + *minutes * 60.0 + seconds) / 86400.0;
}

std::optional<double> parseNumber(std::string_view text)
{
    std::string_view s = trimmed(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    // Only a plain decimal form is a number: digits with an optional point and exponent. This keeps
    // "inf", "nan", hexadecimal and signs after the first character out.
    std::size_t pos = 0, digits = 0;
    while (pos < s.size() && isDigit(s[pos]))
        ++pos, ++digits;
    if (pos < s.size() && s[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (pos < s.size() && (s[pos] == 'e' || s[pos] == 'E')) {
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
            ++pos;
        std::size_t expDigits = 0;
        while (pos < s.size() && isDigit(s[pos]))
            ++pos, ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (pos != s.size())
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(s.data(), s.data() + s.size(), value);
    if (result.ec != std::errc() || result.ptr != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;  // out of range numbers stay text, as a spreadsheet keeps them
    return negative ? -value : value;
}

ParsedInput parseCellInput(std::string_view text)
{
    if (text.empty())
        return {std::monostate{}, std::nullopt};
    if (text.front() != '=') {
        if (auto time = parseTimeOfDay(text))
            return {*time, kNumberFormatTime};
        if (auto number = parseNumber(text))
            return {*number == 0 ? 0.0 : *number, kNumberFormatGeneral};
    }
    return {CellText(text), std::nullopt};
}

}  // namespace sheet
