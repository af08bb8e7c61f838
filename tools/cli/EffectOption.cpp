#include "EffectOption.h"

#include "EffectRecord.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>

namespace tesk::cli {

namespace {

enum class Field { Text, Strength, BadNumber };

/// Whether a field is a number and, when it is, whether it is a usable strength.
Field readStrength(std::string_view field, float& value) {
    if (field.size() > 1 && field[0] == '+' && field[1] != '-' && field[1] != '+') {
        field.remove_prefix(1);
    }
    long double number = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), number);
    if (end != field.data() + field.size() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        return Field::Text;
    }
    if (ec == std::errc::result_out_of_range) {
        // Beyond even a long double: huge, or, with a negative exponent, as good as 0.
        const size_t e = field.find_first_of("eE");
        if (e == std::string_view::npos || e + 1 >= field.size() || field[e + 1] != '-') {
            return Field::BadNumber;
        }
        number = 0;
    }
    // The range of the effect dialog's strength boxes.
    if (!std::isfinite(number) || number < -100 || number > 100) {
        return Field::BadNumber;
    }
    value = static_cast<float>(number);
    return Field::Strength;
}

} // namespace

bool parseEffectOption(const std::string& text, EffectOption& effect) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
        return false;
    }
    const std::string_view kind(text.data(), colon);
    if (kind == "normal") {
        effect.type = EFFECT_NORMAL;
    } else if (kind == "centroid") {
        effect.type = EFFECT_CENTROID;
    } else if (kind == "composite") {
        effect.type = EFFECT_COMPOSITE;
    } else {
        return false;
    }

    std::vector<std::string_view> fields;
    for (size_t start = colon + 1;;) {
        const size_t next = text.find(':', start);
        const size_t end = next == std::string::npos ? text.size() : next;
        if (end == start) {
            return false;
        }
        fields.emplace_back(text.data() + start, end - start);
        if (next == std::string::npos) {
            break;
        }
        start = next + 1;
    }

    // The first field always belongs to the picture.
    float strengths[4] = {};
    size_t count = 0;
    while (count < 4 && fields.size() > 1) {
        const Field field = readStrength(fields.back(), strengths[3 - count]);
        if (field == Field::BadNumber) {
            return false;
        }
        if (field == Field::Text) {
            break;
        }
        fields.pop_back();
        ++count;
    }
    effect.picture.assign(
        fields.front().data(),
        static_cast<size_t>(fields.back().data() + fields.back().size() - fields.front().data()));
    for (size_t i = 0; i < count; ++i) {
        effect.strengths[i] = strengths[4 - count + i];
    }
    return true;
}

} // namespace tesk::cli
