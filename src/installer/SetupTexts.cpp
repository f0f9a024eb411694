#include "installer/SetupTexts.h"

std::string FillArguments(const std::string& text, const std::vector<std::string>& arguments) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        size_t index = i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : arguments.size();
        if (text[i] == '%' && index < arguments.size() && index < 9) {
            out += arguments[index];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string SetupTexts::Get(int id, const std::vector<std::string>& arguments) const {
    std::string text;
    profile_->GetValue(text, "STRINGS", std::to_string(id), std::string());
    return FillArguments(text, arguments);
}

std::string SetupTexts::Lines() const {
    std::string lines;
    ForEachLine(*profile_, "STRINGS", [&](const std::string& line) { lines += line + "\r\n"; });
    return lines;
}
