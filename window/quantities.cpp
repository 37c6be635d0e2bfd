#include "window/quantities.h"

namespace taliven {

std::string withUnit(std::string_view readoutText, const Quantity& quantity) {
    std::string text(readoutText);
    text += ' ';
    text += quantity.unit;
    return text;
}

std::string spokenReadout(std::string_view readoutText, const Quantity& quantity) {
    std::string text(quantity.name);
    text += ' ';
    text += withUnit(readoutText, quantity);
    return text;
}

std::string clipboardText(const std::array<std::string, 3>& readoutTexts) {
    std::string table;
    for (std::size_t row = 0; row < quantities.size(); ++row) {
        table += quantities[row].name;
        table += '\t';
        table += withUnit(readoutTexts[row], quantities[row]);
        table += row + 1 < quantities.size() ? "\r\n" : "";
    }
    return table;
}

std::string swapSeparator(std::string_view text, std::string_view from, std::string_view to) {
    const std::size_t at = from.empty() ? std::string_view::npos : text.find(from);
    if (at == std::string_view::npos) {
        return std::string(text);
    }
    std::string swapped(text.substr(0, at));
    swapped += to;
    swapped += text.substr(at + from.size());
    return swapped;
}

} // namespace taliven
