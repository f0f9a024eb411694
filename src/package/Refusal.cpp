#include "package/Refusal.h"

std::string BuildLogText(const Refusal& refusal) {
    std::string text = refusal.section;
    if (!refusal.item.empty()) text += " " + refusal.item;
    text += ": " + refusal.problem;
    if (!refusal.fix.empty()) text += ". " + refusal.fix;
    return text;
}
