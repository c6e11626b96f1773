// Display forms of cell values.
#include "sheet/model/DisplayText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace sheet {
namespace {

// Significant digits General shows before a number goes scientific or is rounded.
constexpr int kGeneralDigits = 11;
constexpr int kScientificDigits = 6;

void stripTrailingZeros(std::string& mantissa)
{
    if (mantissa.find('.') == std::string::npos)
        return;
    while (!mantissa.empty() && mantissa.back() == '0')
        mantissa.pop_back();
    if (!mantissa.empty() && mantissa.back() == '.')
        mantissa.pop_back();
}

std::string scientificText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*E", kScientificDigits - 1, value);
    std::string text(buffer);
    const auto e = text.find('E');
    std::string mantissa = text.substr(0, e);
    stripTrailingZeros(mantissa);
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return mantissa + buffer;
}

}  // namespace

std::string generalNumberText(double value)
{
    if (!std::isfinite(value))
        return "#NUM!";
    if (value == 0)
        return "0";
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e11 || magnitude < 1e-9)
        return scientificText(value);
    // Round to the significant digits first, then print with just enough decimals.
    const int integerDigits = static_cast<int>(std::floor(std::log10(magnitude))) + 1;
    const int decimals = std::max(0, kGeneralDigits - integerDigits);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    if (std::fabs(std::strtod(buffer, nullptr)) >= 1e11)
        return scientificText(value);  // rounding carried it to twelve digits
    stripTrailingZeros(text);
    if (text == "-0")
        return "0";
    return text;
}

std::string timeText(double value)
{
    const double fraction = value - std::floor(value);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400)
        seconds = 0;  // rounds up to the next midnight
    const int hour24 = static_cast<int>(seconds / 3600);
    const int minute = static_cast<int>(seconds / 60 % 60);
    const int second = static_cast<int>(seconds % 60);
    int hour12 = hour24 % 12;
    if (hour12 == 0)
        hour12 = 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, minute, second, hour24 < 12 ? "AM" : "PM");
    return buffer;
}

std::string displayText(const Cell& cell, const CellFormat& format)
{
    if (const auto* text = std::get_if<CellText>(&cell.value))
        return text->str();
    if (const auto* number = std::get_if<double>(&cell.value)) {
        // A negative date-time has no time of day to show; its number is shown instead.
        if (format.numberFormat == kNumberFormatTime && *number >= 0 && std::isfinite(*number))
            return timeText(*number);
        return generalNumberText(*number);
    }
    return {};
}

}  // namespace sheet
