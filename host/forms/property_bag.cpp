#include "property_bag.h"

#include <cstdint>
#include <limits>

namespace forms {

std::string LongToText(std::int32_t value) {
    return std::to_string(value);
}

std::optional<std::int32_t> TextToLong(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    std::int64_t n = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        n = n * 10 + (c - '0');
        if (n > static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1) {
            return std::nullopt;
        }
    }
    if (negative) {
        n = -n;
    }
    if (n > std::numeric_limits<std::int32_t>::max() ||
        n < std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(n);
}

std::string PropertyBag::Read(std::string_view key, std::string_view readDefault) const {
    auto it = values_.find(key);
    return it == values_.end() ? std::string(readDefault) : it->second;
}

std::int32_t PropertyBag::ReadLong(std::string_view key, std::int32_t readDefault) const {
    auto it = values_.find(key);
    if (it == values_.end()) {
        return readDefault;
    }
    return TextToLong(it->second).value_or(readDefault);
}

bool PropertyBag::ReadBool(std::string_view key, bool readDefault) const {
    return ReadLong(key, readDefault ? -1 : 0) != 0;
}

void PropertyBag::Write(std::string_view key, std::string_view value,
                        std::string_view writeDefault) {
    auto it = values_.find(key);
    if (value == writeDefault) {
        if (it != values_.end()) {
            values_.erase(it);
        }
    } else if (it != values_.end()) {
        it->second = std::string(value);
    } else {
        values_.emplace(std::string(key), std::string(value));
    }
}

void PropertyBag::WriteLong(std::string_view key, std::int32_t value, std::int32_t writeDefault) {
    Write(key, LongToText(value), LongToText(writeDefault));
}

void PropertyBag::WriteBool(std::string_view key, bool value, bool writeDefault) {
    WriteLong(key, value ? -1 : 0, writeDefault ? -1 : 0);
}

bool PropertyBag::Contains(std::string_view key) const {
    return values_.find(key) != values_.end();
}

namespace {

void Escape(std::string& out, std::string_view s) {
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '=':
            out += "\\=";
            break;
        default:
            out += c;
        }
    }
}

// Unescapes one line into key and value; false when it is not a property line.
bool SplitLine(std::string_view line, std::string& key, std::string& value) {
    std::string* target = &key;
    bool split = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (c == '\\') {
            if (++i == line.size()) {
                return false;
            }
            switch (line[i]) {
            case '\\':
                *target += '\\';
                break;
            case 'n':
                *target += '\n';
                break;
            case 'r':
                *target += '\r';
                break;
            case '=':
                *target += '=';
                break;
            default:
                return false;
            }
        } else if (c == '=' && !split) {
            split = true;
            target = &value;
        } else {
            *target += c;
        }
    }
    return split;
}

} // namespace

std::string PropertyBag::ToText() const {
    std::string out;
    for (const auto& [key, value] : values_) {
        Escape(out, key);
        out += '=';
        Escape(out, value);
        out += '\n';
    }
    return out;
}

std::optional<PropertyBag> PropertyBag::FromText(std::string_view text) {
    PropertyBag bag;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        std::string key, value;
        if (!SplitLine(line, key, value)) {
            return std::nullopt;
        }
        bag.values_[key] = std::move(value);
    }
    return bag;
}

} // namespace forms
